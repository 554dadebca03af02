// Jira date texts read strictly, and turned into relative phrases in the user's locale and time zone.
// Runs under LC_ALL=en_US or de_DE and a TZ away from UTC (see CMakeLists.txt).

#include "SealedSession.h"
#include "presentation/JiraDateFormat.h"
#include "presentation/RelativeTime.h"

#include <QLocale>
#include <QTest>
#include <QTimeZone>

using namespace Qt::StringLiterals;

namespace {

QDateTime utc(int y, int mo, int d, int h = 0, int mi = 0, int s = 0, int ms = 0)
{
    return QDateTime(QDate(y, mo, d), QTime(h, mi, s, ms), Qt::UTC);
}

QDateTime local(int y, int mo, int d, int h = 0, int mi = 0)
{
    return QDateTime(QDate(y, mo, d), QTime(h, mi), Qt::LocalTime);
}

} // namespace

class TestDates : public QObject
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
    }

    void parse_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QDateTime>("expected"); // invalid: no date

        QTest::newRow("offset +0100") << u"2024-03-05T14:07:09.123+0100"_s << utc(2024, 3, 5, 13, 7, 9, 123);
        QTest::newRow("offset +0000") << u"2024-03-05T14:07:09.123+0000"_s << utc(2024, 3, 5, 14, 7, 9, 123);
        QTest::newRow("offset -0500") << u"2024-03-05T14:07:09.123-0500"_s << utc(2024, 3, 5, 19, 7, 9, 123);
        QTest::newRow("offset crosses the year") << u"2024-01-01T00:30:00.000+0100"_s << utc(2023, 12, 31, 23, 30);
        QTest::newRow("bare day, local midnight") << u"2024-03-05"_s << local(2024, 3, 5).toUTC();
        QTest::newRow("leap day") << u"2024-02-29"_s << local(2024, 2, 29).toUTC();

        QTest::newRow("empty") << QString() << QDateTime();
        QTest::newRow("words") << u"last tuesday"_s << QDateTime();
        QTest::newRow("no milliseconds") << u"2024-03-05T14:07:09+0100"_s << QDateTime();
        QTest::newRow("no offset") << u"2024-03-05T14:07:09.123"_s << QDateTime();
        QTest::newRow("garbage after timestamp") << u"2024-03-05T14:07:09.123+0100x"_s << QDateTime();
        QTest::newRow("garbage after day") << u"2024-03-05x"_s << QDateTime();
        QTest::newRow("blank after day") << u"2024-03-05 "_s << QDateTime();
        QTest::newRow("blank before day") << u" 2024-03-05"_s << QDateTime();
        QTest::newRow("one-digit month and day") << u"2024-3-5"_s << QDateTime();
        QTest::newRow("month 13") << u"2024-13-05"_s << QDateTime();
        QTest::newRow("30 February") << u"2024-02-30"_s << QDateTime();
        QTest::newRow("29 February, no leap year") << u"2023-02-29"_s << QDateTime();
        QTest::newRow("hour 24") << u"2024-03-05T24:07:09.123+0100"_s << QDateTime();
        QTest::newRow("offset +2500") << u"2024-03-05T14:07:09.123+2500"_s << QDateTime();
        QTest::newRow("twelve-digit year") << u"999999999999-01-01"_s << QDateTime();
        QTest::newRow("very long text") << (u"2024-03-05"_s + QString(100000, u'0')) << QDateTime();
    }
    void parse()
    {
        QFETCH(QString, text);
        QFETCH(QDateTime, expected);
        const std::optional<QDateTime> parsed = JiraDateFormat::parse(text);
        if (!expected.isValid()) {
            QVERIFY2(!parsed, qPrintable(parsed ? parsed->toString(Qt::ISODateWithMs) : QString()));
            return;
        }
        QVERIFY(parsed);
        QCOMPARE(*parsed, expected);
    }

    void relativeTimeString_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QDateTime>("now");
        QTest::addColumn<QString>("english");
        QTest::addColumn<QString>("german");

        const QDateTime now = utc(2024, 3, 5, 14, 7, 9, 123);
        QTest::newRow("hours ago, +0000")
            << u"2024-03-05T11:07:09.123+0000"_s << now << u"3 hr. ago"_s << u"vor 3 Std."_s;
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

        QTest::newRow("empty") << QString() << now << QString() << QString();
        QTest::newRow("words, not echoed") << u"recently"_s << now << QString() << QString();
    }
    void relativeTimeString()
    {
        QFETCH(QString, text);
        QFETCH(QDateTime, now);
        QFETCH(QString, english);
        QFETCH(QString, german);
        QCOMPARE(::relativeTimeString(text, now), m_german ? german : english);
    }

    void relativePhraseOutOfRange_data()
    {
        QTest::addColumn<QDateTime>("date");
        QTest::newRow("invalid") << QDateTime();
        QTest::newRow("beyond the calendar") << QDateTime(QDate(200000000, 1, 1), QTime(0, 0), Qt::UTC);
    }
    void relativePhraseOutOfRange()
    {
        QFETCH(QDateTime, date);
        const QDateTime now = utc(2024, 3, 5);
        QCOMPARE(relativePhrase(date, now), QString());
        QCOMPARE(relativePhrase(now, date), QString());
    }
};

QTEST_MAIN(TestDates)
#include "tst_dates.moc"
