// The sidebar's list model: always equal to what it was given, changed row by row where it can.

#include "IssueBuilder.h"
#include "SealedSession.h"
#include "store/TicketListModel.h"
#include "store/TicketOrder.h"

#include <QAbstractItemModelTester>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

QList<JiraIssue> manyTickets(int count)
{
    QList<JiraIssue> issues;
    for (int i = 0; i < count; ++i) {
        const QString key = (i % 3 == 0 ? u"PAY-%1"_s : i % 3 == 1 ? u"OPS-%1"_s : u"WEB-%1"_s).arg(i);
        issues.append(makeIssue(QString::number(1000 + i), key, u"Summary %1"_s.arg(i), u"new"_s,
                                u"2024-01-01T00:00:%1.000+0000"_s.arg(59 - i % 60, 2, 10, QChar(u'0'))));
    }
    return issues;
}

QStringList modelKeys(const TicketListModel &model)
{
    QStringList keys;
    for (int row = 0; row < model.rowCount(); ++row)
        keys.append(model.data(model.index(row), TicketListModel::KeyRole).toString());
    return keys;
}

} // namespace

class TestTicketListModel : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { requireSealedSession(); }

    void typingNarrowsWithoutReset()
    {
        TicketListModel model;
        QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
        const QList<JiraIssue> tickets = manyTickets(30);
        model.setIssues(tickets);
        QCOMPARE(model.rowCount(), 30);

        QSignalSpy resets(&model, &QAbstractItemModel::modelReset);
        QSignalSpy removed(&model, &QAbstractItemModel::rowsRemoved);
        QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
        const QString search = u"pay-2"_s;
        for (qsizetype length = 1; length <= search.size(); ++length) {
            model.setIssues(filterTickets(tickets, StatusFilter::All, search.left(length)));
            QCOMPARE(modelKeys(model), keysOf(filterTickets(tickets, StatusFilter::All, search.left(length))));
        }
        QCOMPARE(modelKeys(model), (QStringList {u"PAY-21"_s, u"PAY-24"_s, u"PAY-27"_s}));
        for (qsizetype length = search.size() - 1; length >= 0; --length)
            model.setIssues(filterTickets(tickets, StatusFilter::All, search.left(length)));
        QCOMPARE(modelKeys(model), keysOf(tickets));
        QCOMPARE(resets.count(), 0);
        QVERIFY(removed.count() > 0);
        QVERIFY(inserted.count() > 0);
    }

    void refreshChangesOnlyChangedRows()
    {
        TicketListModel model;
        QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
        QList<JiraIssue> tickets = manyTickets(5);
        model.setIssues(tickets);

        QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
        QSignalSpy resets(&model, &QAbstractItemModel::modelReset);
        tickets[2].fields.summary = u"Renamed"_s; // same id, status and update time: equal, but shown differently
        tickets[4].fields.priority = JiraPriority {u"High"_s};
        model.setIssues(tickets);
        QCOMPARE(resets.count(), 0);
        QCOMPARE(changed.count(), 2);
        QCOMPARE(changed.at(0).at(0).value<QModelIndex>().row(), 2);
        QCOMPARE(changed.at(1).at(0).value<QModelIndex>().row(), 4);
        QCOMPARE(model.data(model.index(2), TicketListModel::SummaryRole).toString(), u"Renamed"_s);
        QCOMPARE(model.data(model.index(4), TicketListModel::PriorityNameRole).toString(), u"High"_s);
        QCOMPARE(model.data(model.index(4), TicketListModel::HasPriorityRole).toBool(), true);
        QCOMPARE(model.data(model.index(3), TicketListModel::HasPriorityRole).toBool(), false);
    }

    // Whatever sequence of lists arrives (subsets, reorders, duplicates), the model ends equal to the last
    // one and never breaks the model contract on the way.
    void anySequenceEndsEqual()
    {
        TicketListModel model;
        QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
        const QList<JiraIssue> pool = manyTickets(40);
        QRandomGenerator random(20240105);
        for (int round = 0; round < 300; ++round) {
            QList<JiraIssue> next;
            for (const JiraIssue &issue : pool) {
                if (random.bounded(3) != 0)
                    next.append(issue);
            }
            if (round % 7 == 0 && !next.isEmpty())
                std::swap(next.first(), next.last());
            if (round % 31 == 0 && !next.isEmpty())
                next.append(next.first());
            model.setIssues(next);
            QCOMPARE(modelKeys(model), keysOf(next));
            if (QTest::currentTestFailed())
                return;
        }
        model.setIssues({});
        QCOMPARE(model.rowCount(), 0);
    }

    void rowLookup()
    {
        TicketListModel model;
        model.setIssues(manyTickets(3));
        QCOMPARE(model.rowOfIssue(u"1002"_s), 2);
        QCOMPARE(model.rowOfIssue(u"999"_s), -1);
        QCOMPARE(model.issueIdAt(0), u"1000"_s);
        QCOMPARE(model.issueIdAt(3), QString());
        QCOMPARE(model.issueIdAt(-1), QString());
    }
};

QTEST_GUILESS_MAIN(TestTicketListModel)
#include "tst_ticketlistmodel.moc"
