#pragma once
// What every fuzz target needs before its first input: a Qt application object, offscreen, since the
// HTML conversion uses fonts and the decoders use Qt's JSON.

#include <QByteArray>
#include <QGuiApplication>

#include <cstdint>
#include <cstdlib>

inline void startQtOnce()
{
    static int argc = 1;
    static char name[] = "tessarin-fuzz";
    static char *argv[] = {name, nullptr};
    static QGuiApplication *app = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        // Qt's complaints about odd input are expected by the thousand; they are not findings.
        qputenv("QT_LOGGING_RULES", "*=false");
        return new QGuiApplication(argc, argv);
    }();
    (void)app;
}

inline QByteArray bytesOf(const uint8_t *data, size_t size)
{
    // A deep copy: libFuzzer checks that nothing reads beyond `size`.
    return QByteArray(reinterpret_cast<const char *>(data), qsizetype(size));
}
