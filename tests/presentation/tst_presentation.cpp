// Jira dates read strictly and told as relative phrases in the user's locale and time zone (runs under
// LC_ALL=en_US or de_DE and a TZ away from UTC, see CMakeLists.txt); the server's HTML as Qt rich text
// with nothing fetched or read on the way; the colours and the QML singleton.

#include "OpenWatcher.h"
#include "SealedSession.h"
#include "presentation/HtmlText.h"
#include "presentation/JiraDateFormat.h"
#include "presentation/RelativeTime.h"
#include "presentation/Theme.h"
#include "presentation/ThemeQml.h"

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QJSValue>
#include <QPalette>
#include <QQmlEngine>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>
#include <QTextTable>

using namespace Qt::StringLiterals;
using Theme::Appearance;
using Theme::NamedColor;

namespace {

QDateTime utc(int y, int mo, int d, int h = 0, int mi = 0, int s = 0, int ms = 0)
{
    return QDateTime(QDate(y, mo, d), QTime(h, mi, s, ms), Qt::UTC);
}

QDateTime local(int y, int mo, int d, int h = 0, int mi = 0)
{
    return QDateTime(QDate(y, mo, d), QTime(h, mi), Qt::LocalTime);
}

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
    // Every run of equally formatted text, by its text.
    [[nodiscard]] QMap<QString, QTextCharFormat> runs() const
    {
        QMap<QString, QTextCharFormat> all;
        for (QTextBlock block = begin(); block.isValid(); block = block.next()) {
            for (auto it = block.begin(); !it.atEnd(); ++it)
                all.insert(it.fragment().text(), it.fragment().charFormat());
        }
        return all;
    }
};

void usePalette(const QColor &window)
{
    QPalette palette = QGuiApplication::palette();
    palette.setColor(QPalette::Window, window);
    QGuiApplication::setPalette(palette);
}

} // namespace

// Generated with the core's QML module.
void qml_register_types_Tessarin_Core();

class TestPresentation : public QObject
{
    Q_OBJECT

    bool m_german = false;

private slots:
    void initTestCase()
    {
        requireSealedSession();
        const QString locale = QLocale::system().name();
        QVERIFY2(locale == u"en_US" || locale == u"de_DE", qPrintable(u"unexpected locale "_s + locale));
        m_german = locale == u"de_DE";
        // A bare day must be midnight in the local zone; in UTC that could not be told from midnight UTC.
        QVERIFY2(local(2024, 3, 5).offsetFromUtc() != 0, "run with TZ set to a zone away from UTC");
        // Turkish upper-cases i to İ and lower-cases I to ı: a locale-aware lower-casing of priority
        // names would lose "HIGHEST".
        QLocale::setDefault(QLocale(QLocale::Turkish, QLocale::Turkey));
        qml_register_types_Tessarin_Core();
    }
    void cleanup() { usePalette(Qt::white); }

    void parse_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QDateTime>("expected"); // invalid: no date
        QTest::newRow("offset +0100") << u"2024-03-05T14:07:09.123+0100"_s << utc(2024, 3, 5, 13, 7, 9, 123);
        QTest::newRow("offset -0500") << u"2024-03-05T14:07:09.123-0500"_s << utc(2024, 3, 5, 19, 7, 9, 123);
        QTest::newRow("offset crosses the year") << u"2024-01-01T00:30:00.000+0100"_s << utc(2023, 12, 31, 23, 30);
        QTest::newRow("bare day, local midnight") << u"2024-03-05"_s << local(2024, 3, 5).toUTC();
        QTest::newRow("leap day") << u"2024-02-29"_s << local(2024, 2, 29).toUTC();
        const QStringList invalid {QString(),
                                   u"last tuesday"_s,
                                   u"2024-03-05T14:07:09+0100"_s,
                                   u"2024-03-05T14:07:09.123"_s,
                                   u"2024-03-05T14:07:09.123+0100x"_s,
                                   u"2024-03-05x"_s,
                                   u"2024-03-05 "_s,
                                   u" 2024-03-05"_s,
                                   u"2024-3-5"_s,
                                   u"2024-13-05"_s,
                                   u"2024-02-30"_s,
                                   u"2023-02-29"_s,
                                   u"2024-03-05T24:07:09.123+0100"_s,
                                   u"2024-03-05T14:07:09.123+2500"_s,
                                   u"999999999999-01-01"_s,
                                   u"2024-03-05"_s + QString(100000, u'0')};
        for (const QString &text : invalid)
            QTest::addRow("not a date: %s", qPrintable(text.left(32))) << text << QDateTime();
    }
    void parse()
    {
        QFETCH(QString, text);
        QFETCH(QDateTime, expected);
        const std::optional<QDateTime> parsed = JiraDateFormat::parse(text);
        QCOMPARE(parsed.value_or(QDateTime()), expected);
    }

    void relativeTimeString_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QDateTime>("now");
        QTest::addColumn<QString>("english");
        QTest::addColumn<QString>("german");
        const QDateTime now = utc(2024, 3, 5, 14, 7, 9, 123);
        QTest::newRow("hours ago") << u"2024-03-05T11:07:09.123+0000"_s << now << u"3 hr. ago"_s << u"vor 3 Std."_s;
        QTest::newRow("offset counts") << u"2024-03-05T14:07:09.123+0100"_s << now << u"1 hr. ago"_s << u"vor 1 Std."_s;
        QTest::newRow("under a second ago")
            << u"2024-03-05T14:07:08.623+0000"_s << now << u"0 sec. ago"_s << u"vor 0 Sek."_s;
        QTest::newRow("a second short of a day")
            << u"2024-03-04T14:07:10.123+0000"_s << now << u"23 hr. ago"_s << u"vor 23 Std."_s;
        QTest::newRow("ten days ago") << u"2024-02-24T14:07:09.123+0000"_s << now << u"1 wk. ago"_s << u"vor 1 Woche"_s;
        QTest::newRow("months ago") << u"2024-01-02T14:07:09.123+0000"_s << now << u"2 mo. ago"_s
                                    << u"vor 2\u00a0Monaten"_s;
        QTest::newRow("days ahead") << u"2024-03-08T14:07:09.123+0000"_s << now << u"in 3 days"_s << u"in 3 Tagen"_s;
        QTest::newRow("a year ahead") << u"2025-06-01T00:00:00.000+0000"_s << now << u"in 1 yr."_s << u"in 1 Jahr"_s;
        // A bare day is midnight local time: these read differently if it were taken as UTC.
        QTest::newRow("day, earlier today")
            << u"2024-03-05"_s << local(2024, 3, 5, 9, 30) << u"9 hr. ago"_s << u"vor 9 Std."_s;
        QTest::newRow("day, two days ago")
            << u"2024-03-05"_s << local(2024, 3, 7, 10) << u"2 days ago"_s << u"vor 2 Tagen"_s;
        QTest::newRow("day, tomorrow") << u"2024-03-06"_s << local(2024, 3, 5, 22) << u"in 2 hr."_s << u"in 2 Std."_s;
        QTest::newRow("words, not echoed") << u"recently"_s << now << QString() << QString();
    }
    void relativeTimeString()
    {
        QFETCH(QString, text);
        QFETCH(QDateTime, now);
        QTEST(::relativeTimeString(text, now), m_german ? "german" : "english");
    }

    void relativePhraseOutOfRange()
    {
        const QDateTime now = utc(2024, 3, 5);
        for (const QDateTime &date : {QDateTime(), QDateTime(QDate(200000000, 1, 1), QTime(0, 0), Qt::UTC)}) {
            QCOMPARE(relativePhrase(date, now), QString());
            QCOMPARE(relativePhrase(now, date), QString());
        }
    }

    void htmlText_data()
    {
        QTest::addColumn<QString>("html");
        QTest::addColumn<QString>("plainText"); // empty: refused
        QTest::newRow("accents and beyond")
            << u"<p>Größe – naïve café, Ærø, 日本語, 😀</p>"_s << u"Größe – naïve café, Ærø, 日本語, 😀"_s;
        // The text is already decoded; a stale charset declaration must not make it decoded again.
        QTest::newRow("misleading charset") << u"<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; "
                                               "charset=iso-8859-1\"></head><body><p>Grüße</p></body></html>"_s
                                            << u"Grüße"_s;
        QTest::newRow("fragment without markup") << u"plain words"_s << u"plain words"_s;
        QTest::newRow("script not shown")
            << u"<p>before</p><script>document.write('injected')</script><p>after</p>"_s << u"before\nafter"_s;
        QTest::newRow("style not shown") << u"<style>p { color: red }</style><p>styled</p>"_s << u"styled"_s;
        QTest::newRow("empty") << QString() << QString();
        QTest::newRow("comment only") << u"<!-- nothing to show -->"_s << QString();
        QTest::newRow("script only") << u"<script>alert(1)</script>"_s << QString();
        QTest::newRow("lone high surrogate") << (u"<p>broken "_s + QChar(0xd800) + u"</p>"_s) << QString();
    }
    void htmlText()
    {
        QFETCH(QString, html);
        QFETCH(QString, plainText);
        const std::optional<QString> richText = attributedFromHTML(html);
        QCOMPARE(richText.has_value(), !plainText.isEmpty());
        if (richText)
            QCOMPARE(Reader(*richText).toPlainText(), plainText);
    }

    void htmlStructureAndLinksKept()
    {
        const std::optional<QString> richText = attributedFromHTML(
            u"<p>See <a href=\"https://jira.example.com/browse/ABC-1?focused=1&amp;x=%C3%A9\">ABC-1</a> and "
            "<a href=\"/browse/ABC-2\">the other one</a>.</p><p><b>bold</b> <i>italic</i> <code>code()</code></p>"
            "<ul><li>one</li><li>two</li></ul><pre>line 1\n  line 2</pre>"
            "<table><tr><th>h</th><td>cell</td></tr></table>"_s);
        QVERIFY(richText);
        const Reader document(*richText);
        const QMap<QString, QTextCharFormat> runs = document.runs();
        QCOMPARE(runs.value(u"ABC-1"_s).anchorHref(), u"https://jira.example.com/browse/ABC-1?focused=1&x=%C3%A9"_s);
        QCOMPARE(runs.value(u"the other one"_s).anchorHref(), u"/browse/ABC-2"_s);
        QVERIFY(runs.value(u"bold"_s).fontWeight() >= QFont::Bold);
        QVERIFY(runs.value(u"italic"_s).fontItalic());
        QCOMPARE(runs.value(u"code()"_s).fontFamilies().toStringList(), QStringList {u"monospace"_s});
        int listItems = 0;
        bool preformatted = false;
        for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
            listItems += block.textList() && block.textList()->format().style() == QTextListFormat::ListDisc;
            preformatted |= block.text() == u"  line 2"; // leading blanks survive only in a preformatted block
        }
        QCOMPARE(listItems, 2);
        QVERIFY(preformatted);
        QTextTable *table = document.find(u"cell"_s).currentTable();
        QVERIFY(table && table->columns() == 2);
    }

    // Remote images and style sheets: the conversion keeps the image in the text for the view to decide
    // on, but makes no connection of its own, not even one left to the event loop.
    void htmlFetchesNothing()
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
        for (const QTextCharFormat &format : Reader(*richText).runs())
            imageKept |= format.isImageFormat() && format.toImageFormat().name() == image;
        QVERIFY(imageKept);
        QTest::qWait(200);
        QVERIFY(!server.hasPendingConnections());
    }

    // Local files named by the HTML, as URLs, absolute and relative paths: none is opened. The style
    // sheet would also turn the text red if it were applied.
    void htmlReadsNoLocalFile()
    {
        QTemporaryDir folder;
        QFile sheet(folder.filePath(u"sheet.css"_s));
        QVERIFY(sheet.open(QIODevice::WriteOnly) && sheet.write("p { color: #ff0000; }\n") > 0);
        sheet.close();
        QImage pixel(4, 4, QImage::Format_RGB32);
        pixel.fill(Qt::red);
        QVERIFY(pixel.save(folder.filePath(u"pixel.png"_s)));
        OpenWatcher watcher(folder.path());
        QVERIFY(watcher.isWatching());
        // Show that the watcher sees an open before trusting it to see none.
        QVERIFY(sheet.open(QIODevice::ReadOnly));
        sheet.close();
        QVERIFY(watcher.touched().contains(u"sheet.css"_s));

        const QString previous = QDir::currentPath();
        QVERIFY(QDir::setCurrent(folder.path()));
        const std::optional<QString> richText = attributedFromHTML(
            u"<html><head><link rel=\"stylesheet\" type=\"text/css\" href=\"%1\">"
            "<link rel=\"stylesheet\" href=\"sheet.css\"><style>@import url(\"%1\");</style></head>"
            "<body><p>text</p><img src=\"%2\"><img src=\"%3\" width=\"4\" height=\"4\"><img src=\"pixel.png\">"
            "</body></html>"_s.arg(QUrl::fromLocalFile(sheet.fileName()).toString(),
                                   QUrl::fromLocalFile(folder.filePath(u"pixel.png"_s)).toString(),
                                   folder.filePath(u"pixel.png"_s)));
        QDir::setCurrent(previous);
        QVERIFY(richText);
        QCOMPARE(watcher.touched(), QStringList());
        QVERIFY(Reader(*richText).find(u"text"_s).charFormat().foreground().color() != QColor(Qt::red));
    }

    void priorityColour_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<NamedColor>("expected");
        const std::pair<const char16_t *, NamedColor> table[] = {
            {u"highest", NamedColor::Red},     {u"blocker", NamedColor::Red},   {u"high", NamedColor::Orange},
            {u"critical", NamedColor::Orange}, {u"medium", NamedColor::Yellow}, {u"major", NamedColor::Yellow},
            {u"low", NamedColor::Blue},        {u"minor", NamedColor::Blue},    {u"lowest", NamedColor::Gray},
            {u"trivial", NamedColor::Gray},
        };
        for (const auto &[name, colour] : table) {
            const QString lower = QString::fromUtf16(name);
            for (const QString &spelling : {lower, lower.left(1).toUpper() + lower.mid(1), lower.toUpper()})
                QTest::addRow("%s", qPrintable(spelling)) << spelling << colour;
        }
        QTest::newRow("mixed case") << u"bLoCkEr"_s << NamedColor::Red;
        for (const QString &other : {u" High"_s, u"High "_s, QString(), u"Urgent"_s, u"Highest!"_s})
            QTest::addRow("not a priority: '%s'", qPrintable(other)) << other << NamedColor::Secondary;
        // Unicode lower-cases the dotted capital I to i plus a combining dot, not to a plain i.
        QTest::newRow("dotted capital I") << u"H\u0130GHEST"_s << NamedColor::Secondary;
    }
    void priorityColour()
    {
        QFETCH(QString, name);
        QFETCH(NamedColor, expected);
        QCOMPARE(Theme::priorityColorName(name), expected);
        QCOMPARE(Theme::priorityColor(name, Appearance::Dark), Theme::color(expected, Appearance::Dark));
    }

    void statusCategoryColour_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<NamedColor>("expected");
        QTest::newRow("done") << u"done"_s << NamedColor::Green;
        QTest::newRow("indeterminate") << u"indeterminate"_s << NamedColor::Blue;
        for (const QString &other : {u"new"_s, QString(), u"Done"_s, u" done"_s, u"In Progress"_s})
            QTest::addRow("secondary: '%s'", qPrintable(other)) << other << NamedColor::Secondary;
    }
    void statusCategoryColour()
    {
        QFETCH(QString, key);
        QFETCH(NamedColor, expected);
        QCOMPARE(Theme::statusCategoryColor(key, Appearance::Light), Theme::color(expected, Appearance::Light));
    }

    // Each appearance needs seven colours that can be told apart, opaque, and lighter in the dark
    // variant than in the light one (dark text on white, light text on black).
    void palettes()
    {
        const NamedColor all[] = {NamedColor::Red,  NamedColor::Orange, NamedColor::Yellow,   NamedColor::Blue,
                                  NamedColor::Gray, NamedColor::Green,  NamedColor::Secondary};
        QSet<QRgb> seen;
        for (const NamedColor name : all) {
            const QColor light = Theme::color(name, Appearance::Light), dark = Theme::color(name, Appearance::Dark);
            QVERIFY(light.alpha() == 255 && dark.alpha() == 255);
            QVERIFY2(light.lightnessF() < dark.lightnessF(), qPrintable(QString::number(int(name))));
            seen << light.rgba() << dark.rgba();
        }
        QCOMPARE(seen.size(), 14);
    }

    // QML finds the singleton as Theme in Tessarin.Core; it answers script calls and follows the palette.
    void qmlSingletonFollowsThePalette()
    {
        QQmlEngine engine;
        auto *theme = engine.singletonInstance<ThemeQml *>(qmlTypeId("Tessarin.Core", 1, 0, "Theme"));
        QVERIFY(theme);
        engine.globalObject().setProperty(u"Theme"_s, engine.newQObject(theme));
        const auto evaluate = [&engine](const QString &script) { return engine.evaluate(script).toVariant(); };
        QCOMPARE(evaluate(u"Theme.priorityColor('Critical')"_s).value<QColor>(),
                 Theme::color(NamedColor::Orange, Appearance::Light));
        QCOMPARE(evaluate(u"Theme.relativeTimeString('not a date')"_s).toString(), QString());
        QCOMPARE(evaluate(u"Theme.attributedFromHTML('') === undefined"_s).toBool(), true);
        QVERIFY(evaluate(u"Theme.attributedFromHTML('<p>caf\\u00e9</p>') ?? ''"_s).toString().contains(u"café"_s));

        QSignalSpy changed(theme, &ThemeQml::isDarkChanged);
        usePalette(Qt::black);
        QVERIFY(theme->isDark());
        QCOMPARE(evaluate(u"Theme.statusColor('done')"_s).value<QColor>(),
                 Theme::color(NamedColor::Green, Appearance::Dark));
        usePalette(QColor(0x30, 0x30, 0x30)); // another dark palette is no change of appearance
        usePalette(Qt::white);
        QCOMPARE(changed.size(), 2);
        QVERIFY(!theme->isDark());
    }
};

QTEST_MAIN(TestPresentation)
#include "tst_presentation.moc"
