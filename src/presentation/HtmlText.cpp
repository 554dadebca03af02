#include "HtmlText.h"

#include <QStringEncoder>
#include <QTextDocument>
#include <QUrl>
#include <QVariant>

namespace {

// QTextDocument asks for resources while it imports: linked and imported style sheets at once, images
// whenever something measures them. Its default answer reads local files and Qt resources, and an
// application-wide provider could reach anything, so this document answers every request with nothing.
class InertDocument final : public QTextDocument
{
public:
    InertDocument()
    {
        // A provider of its own also keeps QTextDocument::defaultResourceProvider() out of the way.
        setResourceProvider([](const QUrl &) { return QVariant(); });
    }

protected:
    QVariant loadResource(int, const QUrl &) override { return {}; }
};

bool isValidUtf16(const QString &text)
{
    QStringEncoder encoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    const QByteArray encoded = encoder.encode(text);
    return !encoder.hasError();
}

} // namespace

std::optional<QString> attributedFromHTML(const QString &html)
{
    // The server's bytes arrive as UTF-8 and must reach the importer unchanged; a text that would
    // need a replacement character to encode is refused rather than silently altered.
    if (!isValidUtf16(html))
        return std::nullopt;

    // Handing over a QString (not bytes) also means a <meta charset> in the HTML cannot make the
    // importer decode the text a second time with the wrong encoding.
    InertDocument document;
    document.setHtml(html);
    if (document.isEmpty())
        return std::nullopt;
    return document.toHtml();
}
