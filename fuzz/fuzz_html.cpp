// Any text as a rendered description: converted to rich text, then laid out the way the detail pane
// shows it. Never a crash, a leak, undefined behaviour or a hang (libFuzzer's -timeout).

#include "FuzzSupport.h"
#include "presentation/HtmlText.h"

#include <QAbstractTextDocumentLayout>
#include <QTextDocument>
#include <QUrl>
#include <QVariant>

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    startQtOnce();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const std::optional<QString> rich = attributedFromHTML(QString::fromUtf8(bytesOf(data, size)));
    if (!rich)
        return 0;
    QTextDocument shown;
    shown.setResourceProvider([](const QUrl &) { return QVariant(); });
    shown.setHtml(*rich);
    shown.setTextWidth(600);
    (void)shown.documentLayout()->documentSize();
    return 0;
}
