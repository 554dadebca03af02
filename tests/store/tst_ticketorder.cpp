// Which issues the list shows and in which order, apart from the store and the network.

#include "IssueBuilder.h"
#include "SealedSession.h"
#include "store/StatusFilter.h"
#include "store/TicketOrder.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// One issue per category, and one whose category only differs from "done" in letter case.
QList<JiraIssue> sampleTickets()
{
    return {
        makeIssue(u"1"_s, u"ABC-12"_s, u"Checkout times out"_s, u"indeterminate"_s, u"2024-01-05T10:00:00.000+0000"_s),
        makeIssue(u"2"_s, u"PAY-7"_s, u"Refund the Abc order"_s, u"new"_s, u"2024-01-04T10:00:00.000+0000"_s),
        makeIssue(u"3"_s, u"PAY-9"_s, u"Ship the receipts"_s, u"done"_s, u"2024-01-03T10:00:00.000+0000"_s),
        makeIssue(u"4"_s, u"OPS-1"_s, u"Rotate the keys"_s, u"Done"_s, u"2024-01-02T10:00:00.000+0000"_s),
        makeIssue(u"5"_s, u"OPS-2"_s, u"Archive abc logs"_s, u"undefined"_s, u"2024-01-01T10:00:00.000+0000"_s),
        makeIssue(u"6"_s, u"WEB-3"_s, u"Déjà vu in the ÉDITEUR"_s, u"done"_s, u"2023-12-31T10:00:00.000+0000"_s),
    };
}

} // namespace

class TestTicketOrder : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { requireSealedSession(); }

    void filterRawValues()
    {
        QCOMPARE(StatusFilter::allCases(),
                 (QList<StatusFilter::Case> {StatusFilter::All, StatusFilter::Todo, StatusFilter::InProgress,
                                             StatusFilter::Done}));
        QStringList raw;
        for (StatusFilter::Case filter : StatusFilter::allCases()) {
            raw.append(StatusFilter::rawValue(filter));
            QCOMPARE(StatusFilter::fromRawValue(raw.constLast()), filter);
        }
        QCOMPARE(raw, (QStringList {u"All"_s, u"To Do"_s, u"In Progress"_s, u"Done"_s}));
        QCOMPARE(StatusFilter::fromRawValue(u"to do"_s), std::nullopt);
        QCOMPARE(StatusFilter::fromRawValue(u"ToDo"_s), std::nullopt);
        QCOMPARE(StatusFilter::fromRawValue(u" Done"_s), std::nullopt);
        QCOMPARE(StatusFilter::fromRawValue(QString()), std::nullopt);
    }

    void filterAndSearch_data()
    {
        QTest::addColumn<StatusFilter::Case>("filter");
        QTest::addColumn<QString>("search");
        QTest::addColumn<QStringList>("keys");
        const auto all = StatusFilter::All;
        QTest::newRow("all, no search") << all << QString() << QStringList {u"ABC-12"_s, u"PAY-7"_s, u"PAY-9"_s,
                                                                            u"OPS-1"_s,  u"OPS-2"_s, u"WEB-3"_s};
        QTest::newRow("to do") << StatusFilter::Todo << QString() << QStringList {u"PAY-7"_s};
        QTest::newRow("in progress") << StatusFilter::InProgress << QString() << QStringList {u"ABC-12"_s};
        QTest::newRow("done is exact") << StatusFilter::Done << QString() << QStringList {u"PAY-9"_s, u"WEB-3"_s};
        QTest::newRow("letter case ignored, key or summary")
            << all << u"abc"_s << QStringList {u"ABC-12"_s, u"PAY-7"_s, u"OPS-2"_s};
        QTest::newRow("a leading blank counts") << all << u" abc"_s << QStringList {u"PAY-7"_s, u"OPS-2"_s};
        QTest::newRow("one blank is a search")
            << all << u" "_s << QStringList {u"ABC-12"_s, u"PAY-7"_s, u"PAY-9"_s, u"OPS-1"_s, u"OPS-2"_s, u"WEB-3"_s};
        QTest::newRow("letters not in a row") << all << u"acb"_s << QStringList {};
        QTest::newRow("filter and search both apply") << StatusFilter::Done << u"pay"_s << QStringList {u"PAY-9"_s};
        QTest::newRow("search matching another category") << StatusFilter::Todo << u"ship"_s << QStringList {};
        QTest::newRow("non-ASCII case folding") << all << u"éditeur"_s << QStringList {u"WEB-3"_s};
        QTest::newRow("accents count") << all << u"deja"_s << QStringList {};
        QTest::newRow("part of a key") << all << u"s-1"_s << QStringList {u"OPS-1"_s};
    }
    void filterAndSearch()
    {
        QFETCH(StatusFilter::Case, filter);
        QFETCH(QString, search);
        QFETCH(QStringList, keys);
        QCOMPARE(keysOf(filterTickets(sampleTickets(), filter, search)), keys);
    }

    void ticketOrder_data()
    {
        QTest::addColumn<QStringList>("updated"); // as the server sends them, keys are A, B, C, ...
        QTest::addColumn<QStringList>("keys");
        QTest::newRow("newest first") << QStringList {u"2024-01-02T09:00:00.000+0100"_s,
                                                      u"2024-01-03T09:00:00.000+0100"_s,
                                                      u"2024-01-01T09:00:00.000+0100"_s}
                                      << QStringList {u"B"_s, u"A"_s, u"C"_s};
        QTest::newRow("equal texts keep the server's order")
            << QStringList {u"2024-01-01T09:00:00.000+0000"_s, u"2024-02-01T09:00:00.000+0000"_s,
                            u"2024-01-01T09:00:00.000+0000"_s, u"2024-01-01T09:00:00.000+0000"_s}
            << QStringList {u"B"_s, u"A"_s, u"C"_s, u"D"_s};
        // Texts, not instants: 10:00+0200 is earlier than 09:00+0000 but sorts after it.
        QTest::newRow("offsets are not applied")
            << QStringList {u"2024-01-01T09:00:00.000+0000"_s, u"2024-01-01T10:00:00.000+0200"_s}
            << QStringList {u"B"_s, u"A"_s};
        QTest::newRow("empty list") << QStringList {} << QStringList {};
    }
    void ticketOrder()
    {
        QFETCH(QStringList, updated);
        QFETCH(QStringList, keys);
        QList<JiraIssue> issues;
        for (qsizetype i = 0; i < updated.size(); ++i) {
            const QString key(QChar(char16_t(u'A' + i)));
            issues.append(makeIssue(QString::number(i), key, key, u"new"_s, updated.at(i)));
        }
        sortIntoTicketOrder(issues);
        QCOMPARE(keysOf(issues), keys);
    }
};

QTEST_GUILESS_MAIN(TestTicketOrder)
#include "tst_ticketorder.moc"
