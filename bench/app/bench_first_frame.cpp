// The floor for the start-up and memory figures: an ApplicationWindow with one Label, in the style the
// app uses, that reports its first frame the way the app's bench hook does and quits.
//
//   bench_first_frame            prints "tessarin-bench first-frame <CLOCK_MONOTONIC ns> <VmHWM kB>", quits
//   TESSARIN_BENCH_KEEP_RUNNING=1  reports, then stays open (for the idle figure)

#include "app/ProcessProbe.h"

#include <QFile>
#include <QGuiApplication>
#include <QQmlApplicationEngine>
#include <QQuickStyle>
#include <QQuickWindow>

#include <atomic>
#include <cstdio>
#include <ctime>

using namespace Qt::StringLiterals;

namespace {

using ProcessProbe::monotonicNs;
using ProcessProbe::peakResidentKb;

const char *const windowQml = R"(
import QtQuick
import QtQuick.Controls
ApplicationWindow {
    width: 1080
    height: 680
    visible: true
    title: "First frame"
    Label { anchors.centerIn: parent; text: "Hello" }
}
)";

} // namespace

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    QQuickStyle::setStyle(u"Fusion"_s);
    const bool keepRunning = qEnvironmentVariableIntValue("TESSARIN_BENCH_KEEP_RUNNING") != 0;

    QQmlApplicationEngine engine;
    engine.loadData(windowQml);
    if (engine.rootObjects().isEmpty())
        return 1;
    auto *window = qobject_cast<QQuickWindow *>(engine.rootObjects().constFirst());
    if (!window)
        return 1;
    std::atomic<bool> reported {false};
    // frameSwapped comes from the render thread when there is one.
    QObject::connect(
        window, &QQuickWindow::frameSwapped, window,
        [&reported, keepRunning] {
            if (reported.exchange(true))
                return;
            const qint64 at = monotonicNs();
            std::printf("tessarin-bench first-frame %lld %lld\n", static_cast<long long>(at),
                        static_cast<long long>(peakResidentKb()));
            std::fflush(stdout);
            if (!keepRunning)
                QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
        },
        Qt::DirectConnection);
    return QGuiApplication::exec();
}
