// The server's HTML as Qt rich text: text and links kept, nothing fetched or read on the way.

#include "OpenWatcher.h"
#include "SealedSession.h"
#include "presentation/HtmlText.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextImageFormat>
#include <QTextList>
#include <QTextTable>

#include <fcntl.h>

using namespace Qt::StringLiterals;

namespace {

// Reads the converted rich text back. The reader resolves no resources either, so that what a test
// sees comes from the conversion alone.
class Reader : public QTextDocument
{
public:
    explicit Reader(const QString &richText)
    {
        setResourceProvider([](const QUrl &) { return QVariant(); });
        setHtml(richText);
    }
};

struct Run
{
    QString text;
    QTextCharFormat format;
};

// Every run of equally formatted text in the rich text, in order.
QList<Run> runs(const QString &richText)
{
    const Reader document(richText);
    QList<Run> all;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it)
            all.append({it.fragment().text(), it.fragment().charFormat()});
    }
    return all;
}

} // namespace

class TestHtml : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { requireSealedSession(); }

    void text_data()
    {
        QTest::addColumn<QString>("html");
        QTest::addColumn<QString>("plainText");

        QTest::newRow("accents and beyond")
            << u"<p>Größe – naïve café, Ærø, 日本語, 😀</p>"_s << u"Größe – naïve café, Ærø, 日本語, 😀"_s;
        // The text is already decoded; a stale charset declaration must not make it decoded again.
        QTest::newRow("misleading charset")
            << u"<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=iso-8859-1\">"
               "</head><body><p>Grüße</p></body></html>"_s
            << u"Grüße"_s;
        QTest::newRow("fragment without markup") << u"plain words"_s << u"plain words"_s;
        QTest::newRow("script not shown")
            << u"<p>before</p><script>document.write('injected')</script><p>after</p>"_s << u"before\nafter"_s;
        QTest::newRow("style not shown") << u"<style>p { color: red }</style><p>styled</p>"_s << u"styled"_s;
    }
    void text()
    {
        QFETCH(QString, html);
        QFETCH(QString, plainText);
        const std::optional<QString> richText = attributedFromHTML(html);
        QVERIFY(richText);
        QCOMPARE(Reader(*richText).toPlainText(), plainText);
    }

    void none_data()
    {
        QTest::addColumn<QString>("html");
        QTest::newRow("empty") << QString();
        QTest::newRow("comment only") << u"<!-- nothing to show -->"_s;
        QTest::newRow("script only") << u"<script>alert(1)</script>"_s;
        QTest::newRow("lone high surrogate") << (u"<p>broken "_s + QChar(0xd800) + u"</p>"_s);
    }
    void none()
    {
        QFETCH(QString, html);
        const std::optional<QString> richText = attributedFromHTML(html);
        QVERIFY2(!richText, qPrintable(richText.value_or(QString())));
    }

    void linksStayLinks()
    {
        const std::optional<QString> richText = attributedFromHTML(
            u"<p>See <a href=\"https://jira.example.com/browse/ABC-1?focused=1&amp;x=%C3%A9\">ABC-1</a>"
            " and <a href=\"/browse/ABC-2\">the other one</a>.</p>"_s);
        QVERIFY(richText);
        QMap<QString, QString> links; // text -> target
        for (const Run &run : runs(*richText)) {
            if (run.format.isAnchor())
                links.insert(run.text, run.format.anchorHref());
        }
        const QMap<QString, QString> expected {
            {u"ABC-1"_s, u"https://jira.example.com/browse/ABC-1?focused=1&x=%C3%A9"_s},
            {u"the other one"_s, u"/browse/ABC-2"_s},
        };
        QCOMPARE(links, expected);
    }

    void structureKept()
    {
        const std::optional<QString> richText =
            attributedFromHTML(u"<p><b>bold</b> <i>italic</i> <code>code()</code></p><ul><li>one</li><li>two</li></ul>"
                               "<pre>line 1\n  line 2</pre><table><tr><th>h</th><td>cell</td></tr></table>"_s);
        QVERIFY(richText);
        const Reader document(*richText);

        QMap<QString, QTextCharFormat> formats;
        for (const Run &run : runs(*richText))
            formats.insert(run.text, run.format);
        QVERIFY(formats.value(u"bold"_s).fontWeight() >= QFont::Bold);
        QVERIFY(formats.value(u"italic"_s).fontItalic());
        QCOMPARE(formats.value(u"code()"_s).fontFamilies().toStringList(), QStringList {u"monospace"_s});

        int listItems = 0;
        bool preformatted = false;
        for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
            if (block.textList() && block.textList()->format().style() == QTextListFormat::ListDisc)
                ++listItems;
            // Leading blanks survive only if the block is still preformatted.
            preformatted |= block.text() == u"  line 2";
        }
        QCOMPARE(listItems, 2);
        QVERIFY(preformatted);

        const QTextCursor cell = document.find(u"cell"_s);
        QVERIFY(!cell.isNull());
        QTextTable *table = cell.currentTable();
        QVERIFY(table);
        QCOMPARE(table->columns(), 2);
    }

    // Remote images and style sheets: the conversion keeps the image in the text for the view to decide
    // on, but makes no connection of its own, not even one left to the event loop.
    void nothingFetched()
    {
        QTcpServer server;
        QVERIFY(server.listen(QHostAddress::LocalHost));
        const QString base = u"http://127.0.0.1:%1"_s.arg(server.serverPort());
        const QString image = base + u"/secure/attachment/1/screenshot.png"_s;

        const std::optional<QString> richText = attributedFromHTML(
            u"<html><head><link rel=\"stylesheet\" href=\"%1/style.css\">"
            "<style>@import url(\"%1/imported.css\");</style></head>"
            "<body><p>Screenshot:</p><p><img src=\"%2\"></p>"
            "<table background=\"%1/table.png\"><tr><td background=\"%1/cell.png\">x</td></tr></table>"
            "<p style=\"background-image: url(%1/bg.png)\">end</p></body></html>"_s.arg(base, image));
        QVERIFY(richText);

        bool imageKept = false;
        for (const Run &run : runs(*richText))
            imageKept |= run.format.isImageFormat() && run.format.toImageFormat().name() == image;
        QVERIFY(imageKept);

        QTest::qWait(200);
        QVERIFY(!server.hasPendingConnections());
    }

    // Local files named by the HTML, as URLs, absolute and relative paths: none is opened. The style
    // sheet would also turn the text red if it were applied.
    void noLocalFileRead()
    {
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        {
            QFile sheet(folder.filePath(u"sheet.css"_s));
            QVERIFY(sheet.open(QIODevice::WriteOnly));
            sheet.write("p { color: #ff0000; }\n");
        }
        QImage pixel(4, 4, QImage::Format_RGB32);
        pixel.fill(Qt::red);
        QVERIFY(pixel.save(folder.filePath(u"pixel.png"_s)));

        OpenWatcher watcher(folder.path());
        QVERIFY(watcher.isWatching());
        // Show that the watcher sees an open before trusting it to see none.
        {
            QFile probe(folder.filePath(u"sheet.css"_s));
            QVERIFY(probe.open(QIODevice::ReadOnly));
        }
        QVERIFY(watcher.touched().contains(u"sheet.css"_s));

        const QString previous = QDir::currentPath();
        QVERIFY(QDir::setCurrent(folder.path()));
        const QUrl sheetUrl = QUrl::fromLocalFile(folder.filePath(u"sheet.css"_s));
        const std::optional<QString> richText = attributedFromHTML(
            u"<html><head><link rel=\"stylesheet\" type=\"text/css\" href=\"%1\">"
            "<link rel=\"stylesheet\" href=\"sheet.css\"><style>@import url(\"%1\");</style></head>"
            "<body><p>text</p><img src=\"%2\"><img src=\"%3\" width=\"4\" height=\"4\"><img src=\"pixel.png\">"
            "</body></html>"_s.arg(sheetUrl.toString(), QUrl::fromLocalFile(folder.filePath(u"pixel.png"_s)).toString(),
                                   folder.filePath(u"pixel.png"_s)));
        QDir::setCurrent(previous);
        QVERIFY(richText);

        QCOMPARE(watcher.touched(), QStringList());
        const Reader document(*richText);
        const QTextCursor text = document.find(u"text"_s);
        QVERIFY(!text.isNull());
        QVERIFY(text.charFormat().foreground().color() != QColor(Qt::red));
    }
};

QTEST_MAIN(TestHtml)
#include "tst_html.moc"
