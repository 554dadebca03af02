// Jira dates read strictly and told as relative phrases in the user's locale and time zone (runs under
// LC_ALL=en_US or de_DE and a TZ away from UTC, see CMakeLists.txt); the server's HTML as Qt rich text
// (that it reaches nothing on the way is shown end to end in the robustness tests); the colours and the
// QML singleton.

#include "SealedSession.h"
#include "presentation/CoarseClock.h"
#include "presentation/HtmlText.h"
#include "presentation/JiraDateFormat.h"
#include "presentation/RelativeTime.h"
#include "presentation/Theme.h"
#include "presentation/ThemeQml.h"

#include <QFontInfo>
#include <QGuiApplication>
#include <QPalette>
#include <QQmlEngine>
#include <QSignalSpy>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>

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
        const QString invalid = u"|last tuesday|2024-03-05T14:07:09+0100|2024-03-05T14:07:09.123|"
                                "2024-03-05T14:07:09.123+0100x|2024-03-05x|2024-03-05 | 2024-03-05|2024-3-5|2024-13-05|"
                                "2024-02-30|2023-02-29|2024-03-05T24:07:09.123+0100|2024-03-05T14:07:09.123+2500|"
                                "999999999999-01-01"_s;
        for (const QString &text : invalid.split(u'|') + QStringList {u"2024-03-05"_s + QString(100000, u'0')})
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
        QTest::newRow("under a second ago")
            << u"2024-03-05T14:07:08.623+0000"_s << now << u"0 sec. ago"_s << u"vor 0 Sek."_s;
        QTest::newRow("ten days ago") << u"2024-02-24T14:07:09.123+0000"_s << now << u"1 wk. ago"_s << u"vor 1 Woche"_s;
        QTest::newRow("days ahead") << u"2024-03-08T14:07:09.123+0000"_s << now << u"in 3 days"_s << u"in 3 Tagen"_s;
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

    // The clock's next tick lies whole minutes from the last refresh, whichever side of now that is.
    void clockTicksOnTheMinutesOfTheAnchor_data()
    {
        QTest::addColumn<QDateTime>("now");
        QTest::addColumn<QDateTime>("anchor");
        QTest::addColumn<QDateTime>("expected");
        const QDateTime anchor = utc(2024, 3, 5, 10, 0, 30, 0);
        QTest::newRow("between ticks") << utc(2024, 3, 5, 10, 5, 0, 0) << anchor << utc(2024, 3, 5, 10, 5, 30, 0);
        QTest::newRow("anchor ahead") << utc(2024, 3, 5, 9, 58, 0, 0) << anchor << utc(2024, 3, 5, 9, 58, 30, 0);
        QTest::newRow("no anchor: wall minutes")
            << utc(2024, 3, 5, 10, 5, 20, 0) << QDateTime() << utc(2024, 3, 5, 10, 6, 0, 0);
    }
    void clockTicksOnTheMinutesOfTheAnchor()
    {
        QFETCH(QDateTime, now);
        QFETCH(QDateTime, anchor);
        QTEST(CoarseClock::nextTick(now, anchor), "expected");
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
            "<a href=\"/browse/ABC-2\">the other one</a>.</p><p><b>bold</b></p>"
            "<ul><li>one</li><li>two</li></ul><pre>line 1\n  line 2</pre>"_s);
        QVERIFY(richText);
        const Reader document(*richText);
        QCOMPARE(document.find(u"ABC-1"_s).charFormat().anchorHref(),
                 u"https://jira.example.com/browse/ABC-1?focused=1&x=%C3%A9"_s);
        QCOMPARE(document.find(u"the other one"_s).charFormat().anchorHref(), u"/browse/ABC-2"_s);
        QVERIFY(document.find(u"bold"_s).charFormat().fontWeight() >= QFont::Bold);
        QVERIFY(document.find(u"two"_s).block().textList());
        // Leading blanks survive only in a preformatted block.
        QCOMPARE(document.find(u"line 2"_s).block().text(), u"  line 2"_s);
    }

    // Priority names matched whole and without regard to letter case, also where the locale (Turkish here)
    // would lower-case I to a dotless ı; status categories by their exact key.
    void colours()
    {
        for (const Appearance appearance : {Appearance::Light, Appearance::Dark}) {
            const auto colour = [&](NamedColor name) { return Theme::color(name, appearance); };
            QCOMPARE(Theme::priorityColor(u"HIGHEST"_s, appearance), colour(NamedColor::Red));
            QCOMPARE(Theme::priorityColor(u"bLoCkEr"_s, appearance), colour(NamedColor::Red));
            QCOMPARE(Theme::priorityColor(u"Minor"_s, appearance), colour(NamedColor::Blue));
            QCOMPARE(Theme::priorityColor(u" High"_s, appearance), colour(NamedColor::Secondary));
            QCOMPARE(Theme::priorityColor(u"H\u0130GHEST"_s, appearance), colour(NamedColor::Secondary));
            QCOMPARE(Theme::statusCategoryColor(u"done"_s, appearance), colour(NamedColor::Green));
            QCOMPARE(Theme::statusCategoryColor(u"Done"_s, appearance), colour(NamedColor::Secondary));
        }
    }

    // A symbol follows the words only where a font has it, each of its characters (Qt draws a character no
    // font has as an empty box); the words stay either way.
    void symbolOnlyWhereAFontHasIt_data()
    {
        QTest::addColumn<QString>("symbol");
        QTest::addColumn<bool>("anyFont"); // else none at all
        QTest::addColumn<bool>("drawable");
        QTest::newRow("a letter") << u"A"_s << true << true;
        QTest::newRow("no font at all") << u"A"_s << false << false;
        QTest::newRow("an emoji the font lacks") << u"🎉"_s << true << false;
        QTest::newRow("one character of two lacking") << u"A🎉"_s << true << false;
    }
    void symbolOnlyWhereAFontHasIt()
    {
        QFETCH(QString, symbol);
        QFETCH(bool, anyFont);
        QFETCH(bool, drawable);
        // The family ordinary text is drawn in: it has Latin letters, and no colour emoji.
        const QStringList families =
            anyFont ? QStringList {QFontInfo(QGuiApplication::font()).family()} : QStringList();
        const QString words = u"No tickets assigned to you"_s;
        QCOMPARE(Theme::withSymbol(words, symbol, Theme::familiesDraw(symbol, families)),
                 drawable ? words + u' ' + symbol : words);
    }

    // QML finds the singleton as Theme in Tessarin.Core, and it follows the palette between light and dark.
    void qmlSingletonFollowsThePalette()
    {
        QQmlEngine engine;
        auto *theme = engine.singletonInstance<ThemeQml *>(qmlTypeId("Tessarin.Core", 1, 0, "Theme"));
        QVERIFY(theme);
        QSignalSpy changed(theme, &ThemeQml::isDarkChanged);
        usePalette(Qt::black);
        QVERIFY(theme->isDark());
        QCOMPARE(theme->statusColor(u"done"_s), Theme::color(NamedColor::Green, Appearance::Dark));
        usePalette(QColor(0x30, 0x30, 0x30)); // another dark palette is no change of appearance
        usePalette(Qt::white);
        QCOMPARE(changed.size(), 2);
        QCOMPARE(theme->priorityColor(u"Critical"_s), Theme::color(NamedColor::Orange, Appearance::Light));
    }
};

QTEST_MAIN(TestPresentation)
#include "tst_presentation.moc"
