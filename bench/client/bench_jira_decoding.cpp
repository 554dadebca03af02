// How much strict decoding of a 100-issue search answer costs beside the bare JSON parse of the same
// bytes. The answer is built from the fake Jira's sample team, rendered HTML included.

#include "FakeJira.h"
#include "client/JiraRecords.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstdio>

using namespace Qt::StringLiterals;

namespace {

QByteArray searchAnswer(int count)
{
    QFile file(FakeJira::sampleDataPath());
    if (!file.open(QIODevice::ReadOnly))
        qFatal("no sample data");
    const QJsonArray sample = QJsonDocument::fromJson(file.readAll()).object().value("issues"_L1).toArray();
    QJsonArray issues;
    for (int i = 0; i < count; ++i) {
        QJsonObject issue = sample.at(i % sample.size()).toObject();
        issue.insert(u"id"_s, QString::number(30000 + i));
        issue.insert(u"key"_s, u"PLAT-"_s + QString::number(1000 + i));
        issue.insert(u"expand"_s, u"operations,versionedRepresentations,editmeta,changelog,renderedFields"_s);
        issues.append(issue);
    }
    return QJsonDocument(QJsonObject {{u"expand"_s, u"names,schema"_s},
                                      {u"startAt"_s, 0},
                                      {u"maxResults"_s, 100},
                                      {u"total"_s, count},
                                      {u"issues"_s, issues}})
        .toJson(QJsonDocument::Compact);
}

// Best of several rounds, in microseconds per answer.
template<typename Work> double timePerAnswer(Work &&work, int iterations)
{
    double best = 1e300;
    for (int round = 0; round < 5; ++round) {
        QElapsedTimer timer;
        timer.start();
        for (int i = 0; i < iterations; ++i)
            work();
        best = std::min(best, double(timer.nsecsElapsed()) / 1000.0 / iterations);
    }
    return best;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QByteArray body = searchAnswer(100);
    const int iterations = 200;

    qsizetype sink = 0;
    const double parse = timePerAnswer([&] { sink += QJsonDocument::fromJson(body).object().size(); }, iterations);
    const double decode = timePerAnswer(
        [&] {
            const JiraResult<JiraSearchResponse> result = decodeJiraAnswer<JiraSearchResponse>(body);
            if (!result.ok())
                qFatal("the answer does not decode");
            sink += result.value().issues.size();
        },
        iterations);

    const double megabytes = double(body.size()) / 1e6;
    std::printf("search answer: 100 issues, %lld bytes\n", static_cast<long long>(body.size()));
    std::printf("bare JSON parse : %9.1f us per answer, %7.1f MB/s\n", parse, megabytes / (parse / 1e6));
    std::printf("strict decoding : %9.1f us per answer, %7.1f MB/s (parse included)\n", decode,
                megabytes / (decode / 1e6));
    std::printf("ratio           : %9.2f x the bare parse (goal: at most 1.50)\n", decode / parse);
    return sink > 0 ? 0 : 1;
}
