// Writes a data file for fake-jira (--data) with 100 open issues assigned to the sample's user, cycled
// from the sample team (FakeJira::crowdedSample). The newest, which the app selects by itself, has 50
// comments.
//
//   bench_data OUTPUT.json

#include "FakeJira.h"

#include <QCoreApplication>
#include <QFile>
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
    const QJsonObject data = FakeJira::crowdedSample(100, 50);
    if (data.isEmpty()) {
        std::fprintf(stderr, "bench_data: cannot read the sample data\n");
        return 1;
    }

    QFile out(QString::fromLocal8Bit(argv[1]));
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        out.write(QJsonDocument(data).toJson(QJsonDocument::Indented)) < 0) {
        std::fprintf(stderr, "bench_data: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
