// Writes a data file for fake-jira (--data) with 100 open issues assigned to the sample's user, cycled
// from the sample team with their own ids, keys and update times. The newest, which the app selects
// by itself, has 50 comments; the others keep their sample comments.
//
//   bench_data OUTPUT.json

#include "FakeJira.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QTimeZone>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstdio>

using namespace Qt::StringLiterals;

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: bench_data OUTPUT.json\n");
        return 2;
    }
    QFile sampleFile(FakeJira::sampleDataPath());
    if (!sampleFile.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "bench_data: cannot read the sample data\n");
        return 1;
    }
    QJsonObject data = QJsonDocument::fromJson(sampleFile.readAll()).object();
    const QJsonObject myself = data.value("myself"_L1).toObject();
    const QJsonArray sampleIssues = data.value("issues"_L1).toArray();
    const QJsonObject sampleComments = data.value("comments"_L1).toObject();

    QJsonArray allComments;
    for (const QJsonValue &list : sampleComments)
        for (const QJsonValue &comment : list.toArray())
            allComments.append(comment);
    if (allComments.isEmpty()) {
        std::fprintf(stderr, "bench_data: the sample has no comments\n");
        return 1;
    }

    constexpr int issueCount = 100;
    constexpr int commentCount = 50;
    const QDateTime newest(QDate(2026, 12, 10), QTime(10, 0), QTimeZone::utc());
    QJsonArray issues;
    QJsonObject comments;
    for (int i = 0; i < issueCount; ++i) {
        QJsonObject issue = sampleIssues.at(i % sampleIssues.size()).toObject();
        const QString sampleKey = issue.value("key"_L1).toString();
        const QString key = sampleKey.section(u'-', 0, 0) + u'-' + QString::number(5000 + i);
        issue.insert(u"id"_s, QString::number(60000 + i));
        issue.insert(u"key"_s, key);
        QJsonObject fields = issue.value("fields"_L1).toObject();
        fields.insert(u"assignee"_s, myself);
        fields.insert(u"resolution"_s, QJsonValue::Null);
        // One issue every 37 minutes, newest first: distinct times, so the order is fixed.
        fields.insert(u"updated"_s, newest.addSecs(-37 * 60 * i).toString(u"yyyy-MM-ddTHH:mm:ss.zzz+0000"_s));
        issue.insert(u"fields"_s, fields);
        issues.append(issue);

        if (i == 0) {
            QJsonArray many;
            for (int c = 0; c < commentCount; ++c) {
                QJsonObject comment = allComments.at(c % allComments.size()).toObject();
                comment.insert(u"id"_s, QString::number(700000 + c));
                many.append(comment);
            }
            comments.insert(key, many);
        } else if (sampleComments.contains(sampleKey)) {
            comments.insert(key, sampleComments.value(sampleKey));
        }
    }
    data.insert(u"issues"_s, issues);
    data.insert(u"comments"_s, comments);

    QFile out(QString::fromLocal8Bit(argv[1]));
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        out.write(QJsonDocument(data).toJson(QJsonDocument::Indented)) < 0) {
        std::fprintf(stderr, "bench_data: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
