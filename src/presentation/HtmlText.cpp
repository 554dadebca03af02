#include "HtmlText.h"

#include <QStringEncoder>
#include <QTextDocument>
#include <QUrl>
#include <QVariant>

#include <algorithm>
#include <iterator>

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

// Qt's HTML import recurses once per nested table and crashes on a few thousand levels, and laying out
// nested tables takes time that doubles with each level (twenty levels freeze the view for seconds).
// Other elements nest without recursion, but parsing slows with the square of the depth. No page Jira
// renders comes near these limits; a text that does is refused like any other that cannot be shown.
constexpr int maxTableDepth = 8;
constexpr int maxElementDepth = 512;

bool isVoidElement(QStringView name)
{
    static const QStringView voids[] = {u"area",  u"base", u"br",   u"col",   u"embed",  u"hr",    u"img",
                                        u"input", u"link", u"meta", u"param", u"source", u"track", u"wbr"};
    return std::any_of(std::begin(voids), std::end(voids),
                       [&](QStringView v) { return name.compare(v, Qt::CaseInsensitive) == 0; });
}

// Elements that the importer closes by itself when the next one starts; counting them would make a
// long list of unclosed paragraphs look deep.
bool closesItself(QStringView name)
{
    static const QStringView implied[] = {u"p",      u"li",       u"dt",    u"dd",    u"tr",
                                          u"td",     u"th",       u"thead", u"tbody", u"tfoot",
                                          u"option", u"colgroup", u"html",  u"head",  u"body"};
    return std::any_of(std::begin(implied), std::end(implied),
                       [&](QStringView v) { return name.compare(v, Qt::CaseInsensitive) == 0; });
}

// Whether the element nesting stays within what the importer and the layout handle. One pass over the
// tags; comments are skipped, attributes are not parsed.
bool hasSafeNesting(const QString &html)
{
    int tables = 0;
    int elements = 0;
    const qsizetype size = html.size();
    for (qsizetype at = html.indexOf(u'<'); at >= 0 && at < size; at = html.indexOf(u'<', at)) {
        if (QStringView(html).sliced(at).startsWith(u"<!--")) {
            // One left open hides nothing: the importer may not take it as a comment at all (inside a
            // tag, for one), so the tags after it still count.
            const qsizetype end = html.indexOf(u"-->", at + 4);
            at = end < 0 ? at + 4 : end + 3;
            continue;
        }
        qsizetype nameStart = at + 1;
        const bool closing = nameStart < size && html.at(nameStart) == u'/';
        if (closing)
            ++nameStart;
        qsizetype nameEnd = nameStart;
        while (nameEnd < size && (html.at(nameEnd).isLetterOrNumber() || html.at(nameEnd) == u'-'))
            ++nameEnd;
        at = nameEnd > at + 1 ? nameEnd : at + 1;
        if (nameEnd == nameStart)
            continue;
        const QStringView name = QStringView(html).sliced(nameStart, nameEnd - nameStart);
        const bool isTable = name.compare(u"table", Qt::CaseInsensitive) == 0;
        if (closing) {
            if (isTable)
                tables = std::max(0, tables - 1);
            if (!isVoidElement(name) && !closesItself(name))
                elements = std::max(0, elements - 1);
            continue;
        }
        const qsizetype tagEnd = html.indexOf(u'>', nameEnd);
        const bool selfClosing = tagEnd > 0 && html.at(tagEnd - 1) == u'/';
        if (isTable && !selfClosing && ++tables > maxTableDepth)
            return false;
        if (!isVoidElement(name) && !closesItself(name) && !selfClosing && ++elements > maxElementDepth)
            return false;
    }
    return true;
}

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
    if (!hasSafeNesting(html))
        return std::nullopt;

    // Handing over a QString (not bytes) also means a <meta charset> in the HTML cannot make the
    // importer decode the text a second time with the wrong encoding.
    InertDocument document;
    document.setHtml(html);
    if (document.isEmpty())
        return std::nullopt;
    return document.toHtml();
}
