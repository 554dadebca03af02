// Times what one keystroke in the search field costs with 100 issues listed: narrowing the list by
// filter and search text, and bringing the list model up to date row by row. Prints time per keystroke.

#include "FakeJira.h"
#include "client/JiraRecords.h"
#include "store/TicketListModel.h"
#include "store/TicketOrder.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstdio>

using namespace Qt::StringLiterals;

namespace {

// 100 issues cycled from the fake Jira's sample team, each with its own id, key and update time.
QList<JiraIssue> hundredIssues()
{
    QFile file(FakeJira::sampleDataPath());
    if (!file.open(QIODevice::ReadOnly))
        qFatal("sample data missing");
    const QJsonArray sample = QJsonDocument::fromJson(file.readAll()).object().value("issues"_L1).toArray();
    QJsonArray issues;
    for (int i = 0; i < 100; ++i) {
        QJsonObject issue = sample.at(i % sample.size()).toObject();
        issue.insert(u"id"_s, QString::number(20000 + i));
        issue.insert(u"key"_s, issue.value("key"_L1).toString() + u"%1"_s.arg(i));
        issues.append(issue);
    }
    const QByteArray body = QJsonDocument(QJsonObject{{u"issues"_s, issues}}).toJson(QJsonDocument::Compact);
    JiraResult<JiraSearchResponse> decoded = decodeJiraAnswer<JiraSearchResponse>(body);
    if (!decoded)
        qFatal("sample does not decode: %s", qPrintable(decoded.error().detail()));
    QList<JiraIssue> list = decoded.value().issues;
    sortIntoTicketOrder(list);
    return list;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QList<JiraIssue> tickets = hundredIssues();
    // Typing a search and deleting it again, with each filter: the keystrokes a user makes.
    const QString typed = u"gateway restart"_s;
    QStringList keystrokes;
    for (qsizetype n = 1; n <= typed.size(); ++n)
        keystrokes.append(typed.left(n));
    for (qsizetype n = typed.size() - 1; n >= 0; --n)
        keystrokes.append(typed.left(n));

    const int rounds = 200;
    qint64 filterNs = 0;
    qint64 modelNs = 0;
    qint64 count = 0;
    TicketListModel model;
    model.setIssues(tickets);
    for (int round = 0; round < rounds; ++round) {
        const auto filter = StatusFilter::allCases().at(round % 4);
        for (const QString &search : std::as_const(keystrokes)) {
            QElapsedTimer timer;
            timer.start();
            const QList<JiraIssue> kept = filterTickets(tickets, filter, search);
            filterNs += timer.nsecsElapsed();
            timer.restart();
            model.setIssues(kept);
            modelNs += timer.nsecsElapsed();
            ++count;
        }
    }
    std::printf("filter + search over %lld issues: %.2f us per keystroke\n", qlonglong(tickets.size()),
                double(filterNs) / count / 1000.0);
    std::printf("list model update (row by row):  %.2f us per keystroke\n", double(modelNs) / count / 1000.0);
    std::printf("total per keystroke:              %.2f us (%lld keystrokes)\n",
                double(filterNs + modelNs) / count / 1000.0, qlonglong(count));
    return 0;
}
