// What a large attachment costs the client's memory: a file uploaded to a running fake-jira, then a file
// downloaded from it into a file, each with this process's peak resident growth while it runs. Streamed,
// neither should grow with the file's size.
//
//   bench_attachment_transfer JIRA_URL TOKEN UPLOAD_MB DOWNLOAD_MB
// The fake-jira must take files of UPLOAD_MB (--attachment-limit); it keeps and serves back files of up to
// 32 MiB, so DOWNLOAD_MB is at most 32. Runs in a sealed session: the settings keep the token in the keyring.

#include "ProcessMemory.h"
#include "client/JiraClient.h"
#include "settings/AppSettings.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdio>

using namespace Qt::StringLiterals;

namespace {

bool writeFile(const QString &path, qint64 bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QByteArray block(1024 * 1024, '\0');
    for (qint64 i = 0; i < block.size(); ++i)
        block[i] = char((i * 7919) & 0xff);
    for (qint64 written = 0; written < bytes; written += block.size())
        if (file.write(block.constData(), std::min<qint64>(block.size(), bytes - written)) < 0)
            return false;
    return true;
}

template<typename T> JiraResult<T> wait(std::optional<JiraResult<T>> &result)
{
    while (!result)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    return *result;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 5) {
        std::fprintf(stderr, "usage: %s JIRA_URL TOKEN UPLOAD_MB DOWNLOAD_MB\n", argv[0]);
        return 2;
    }
    AppSettings settings;
    settings.setBaseURLString(QString::fromLocal8Bit(argv[1]));
    settings.setToken(QString::fromLocal8Bit(argv[2]));
    const qint64 uploadBytes = QByteArray(argv[3]).toLongLong() * 1024 * 1024;
    const qint64 downloadBytes = QByteArray(argv[4]).toLongLong() * 1024 * 1024;
    JiraClient client(&settings);
    QTemporaryDir folder;
    const QString big = folder.filePath(u"upload.bin"_s), small = folder.filePath(u"download-source.bin"_s);
    if (!writeFile(big, uploadBytes) || !writeFile(small, downloadBytes)) {
        std::fprintf(stderr, "cannot write the files to send\n");
        return 1;
    }

    // A first small request, so that the connection and TLS are not counted as the transfer's.
    std::optional<JiraResult<JiraAttachmentMeta>> meta;
    client.fetchAttachmentMeta(&app, [&](JiraResult<JiraAttachmentMeta> r) { meta = r; });
    if (!wait(meta)) {
        std::fprintf(stderr, "meta: %s\n", qPrintable(meta->error().message()));
        return 1;
    }

    const auto upload = [&](const QString &path) {
        std::optional<JiraResult<QList<JiraAttachment>>> made;
        client.uploadAttachment(u"PLAT-417"_s, path, QFileInfo(path).fileName(), "application/octet-stream", &app, {},
                                [&](JiraResult<QList<JiraAttachment>> r) { made = r; });
        return wait(made);
    };
    ProcessMemory::PeakGrowth uploadPeak;
    QElapsedTimer timer;
    timer.start();
    const JiraResult<QList<JiraAttachment>> sent = upload(big);
    const qint64 uploadMs = timer.elapsed();
    const qint64 uploadGrowthKb = uploadPeak.kb();
    if (!sent) {
        std::fprintf(stderr, "upload: %d %s\n", sent.error().statusCode(), qPrintable(sent.error().message()));
        return 1;
    }

    const JiraResult<QList<JiraAttachment>> source = upload(small);
    if (!source || source.value().isEmpty())
        return 1;
    QFile target(folder.filePath(u"downloaded.bin"_s));
    if (!target.open(QIODevice::WriteOnly))
        return 1;
    ProcessMemory::PeakGrowth downloadPeak;
    timer.restart();
    std::optional<JiraResult<void>> got;
    client.download(source.value().constFirst().content, &target, &app, {}, [&](JiraResult<void> r) { got = r; });
    const JiraResult<void> received = wait(got);
    const qint64 downloadMs = timer.elapsed();
    const qint64 downloadGrowthKb = downloadPeak.kb();
    target.close();
    if (!received || target.size() != downloadBytes) {
        std::fprintf(stderr, "download failed or short: %lld bytes\n", static_cast<long long>(target.size()));
        return 1;
    }
    std::printf("upload %lld MB: %lld ms, peak resident growth %.1f MB\n", static_cast<long long>(uploadBytes >> 20),
                static_cast<long long>(uploadMs), double(uploadGrowthKb) / 1024.0);
    std::printf("download %lld MB: %lld ms, peak resident growth %.1f MB\n",
                static_cast<long long>(downloadBytes >> 20), static_cast<long long>(downloadMs),
                double(downloadGrowthKb) / 1024.0);
    return 0;
}
