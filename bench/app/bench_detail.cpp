// Times what the detail pane pays for an issue with 50 comments: one read of TicketDetail's `comments`
// property (each read converts every comment's rendered HTML to rich text), beside one conversion pass
// done once. The pane's QML reads the property in several bindings, so a load costs a multiple of it.
// Runs in a sealed session: the settings store the token in the keyring.
//
//   bench_detail DATA.json        (a fake-jira data file, as bench_data writes)

#include "FakeJira.h"
#include "client/JiraClient.h"
#include "settings/AppSettings.h"
#include "ui/detail/TicketDetail.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QGuiApplication>
#include <QSettings>
#include <QTemporaryDir>

#include <cstdio>

using namespace Qt::StringLiterals;

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: bench_detail DATA.json\n");
        return 2;
    }
    QTemporaryDir config;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, config.path());
    QCoreApplication::setOrganizationName(u"TessarinBench"_s);
    QCoreApplication::setApplicationName(u"TessarinBench"_s);

    FakeJira jira;
    QString error;
    if (!jira.loadData(QString::fromLocal8Bit(argv[1]), &error) || !jira.listen()) {
        std::fprintf(stderr, "bench_detail: fake Jira: %s\n", qPrintable(error));
        return 1;
    }
    AppSettings settings;
    settings.setBaseURLString(jira.url().toString());
    settings.setToken(jira.token());
    JiraClient client(&settings);

    QEventLoop loop;
    QList<JiraIssue> issues;
    client.fetchAssignedIssues(&app, [&](JiraResult<JiraSearchResponse> result) {
        if (result)
            issues = std::move(result).value().issues;
        loop.quit();
    });
    loop.exec();
    if (issues.isEmpty()) {
        std::fprintf(stderr, "bench_detail: the search found nothing\n");
        return 1;
    }

    // The newest issue is the one with many comments.
    TicketDetail detail(issues.constFirst(), &settings, &client, {});
    QObject::connect(&detail, &TicketDetail::isLoadingCommentsChanged, &loop, [&] {
        if (!detail.isLoadingComments())
            loop.quit();
    });
    detail.loadComments();
    loop.exec();
    const qsizetype count = detail.commentList().size();

    const int runs = 20;
    QElapsedTimer timer;
    timer.start();
    qsizetype chars = 0;
    for (int i = 0; i < runs; ++i)
        chars += detail.comments().size();
    const double perRead = double(timer.nsecsElapsed()) / runs / 1e6;
    std::printf("detail pane, %lld comments: one read of `comments` (HTML to rich text for each): %.2f ms\n",
                static_cast<long long>(count), perRead);
    std::printf("detail-comments-read-ms %.3f\n", perRead);
    settings.waitForKeyring();
    return chars > 0 ? 0 : 1;
}
