// Times the ticket store's refresh against a running fake-jira: from refresh() to the moment the list
// model holds the answer (decoded, sorted, selection kept, rows updated). Prints the first refresh
// (connection set up, 100 rows inserted) and the median and spread of the refreshes that follow.
// Runs in a sealed session: the settings store the token in the keyring.
//
//   bench_refresh URL TOKEN [RUNS]

#include "settings/AppSettings.h"
#include "store/TicketStore.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QSettings>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

using namespace Qt::StringLiterals;

namespace {

// Milliseconds from refresh() to its outcome in the store, or -1 when it failed.
double timedRefresh(TicketStore &store)
{
    QEventLoop loop;
    QElapsedTimer timer;
    double ms = -1;
    timer.start();
    store.refresh([&] {
        ms = double(timer.nsecsElapsed()) / 1e6;
        loop.quit();
    });
    if (ms < 0)
        loop.exec();
    return store.errorMessage().isEmpty() ? ms : -1;
}

double percentile(QList<double> sorted, double p)
{
    const auto at = qsizetype(p * double(sorted.size() - 1) + 0.5);
    return sorted.at(std::clamp<qsizetype>(at, 0, sorted.size() - 1));
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: bench_refresh URL TOKEN [RUNS]\n");
        return 2;
    }
    const int runs = argc > 3 ? std::max(1, atoi(argv[3])) : 200;
    QTemporaryDir config;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, config.path());
    QCoreApplication::setOrganizationName(u"TessarinBench"_s);
    QCoreApplication::setApplicationName(u"TessarinBench"_s);

    AppSettings settings;
    settings.setBaseURLString(QString::fromLocal8Bit(argv[1]));
    settings.setToken(QString::fromLocal8Bit(argv[2]));
    TicketStore store(&settings);

    const double first = timedRefresh(store);
    if (first < 0) {
        std::fprintf(stderr, "bench_refresh: refresh failed: %s\n", qPrintable(store.errorMessage()));
        return 1;
    }
    const int rows = store.filteredModel()->rowCount();
    QList<double> times;
    for (int i = 0; i < runs; ++i) {
        const double ms = timedRefresh(store);
        if (ms < 0) {
            std::fprintf(stderr, "bench_refresh: refresh failed: %s\n", qPrintable(store.errorMessage()));
            return 1;
        }
        times.append(ms);
    }
    std::sort(times.begin(), times.end());
    std::printf("first refresh (connect, %d rows inserted): %.2f ms\n", rows, first);
    std::printf("refresh of %d issues: median %.2f ms, p10 %.2f ms, p90 %.2f ms, min %.2f ms (%d runs)\n", rows,
                percentile(times, 0.5), percentile(times, 0.1), percentile(times, 0.9), times.constFirst(), runs);
    std::printf("refresh-median-ms %.3f\n", percentile(times, 0.5));
    settings.waitForKeyring();
    return 0;
}
