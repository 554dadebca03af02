#include "SecretTool.h"

#include <QProcess>
#include <QStringList>

using namespace Qt::StringLiterals;

namespace {

QStringList attributes(const QString &service, const QString &account)
{
    return {u"server"_s, service, u"user"_s, account};
}

QByteArray run(const QStringList &arguments, const QByteArray &input = {}, int *exitCode = nullptr)
{
    QProcess process;
    process.start(u"secret-tool"_s, arguments);
    process.write(input);
    process.closeWriteChannel();
    process.waitForFinished(10'000);
    if (exitCode)
        *exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    return process.readAllStandardOutput() + process.readAllStandardError();
}

} // namespace

namespace SecretTool {

int itemCount(const QString &service, const QString &account)
{
    const QByteArray out = run(QStringList {u"search"_s, u"--all"_s} + attributes(service, account));
    return int(out.count("\nsecret = ") + (out.startsWith("secret = ") ? 1 : 0));
}

std::optional<QByteArray> lookup(const QString &service, const QString &account)
{
    int exitCode = 0;
    const QByteArray out = run(QStringList {u"lookup"_s} + attributes(service, account), {}, &exitCode);
    if (exitCode != 0)
        return std::nullopt;
    return out;
}

bool store(const QString &service, const QString &account, const QByteArray &secret)
{
    int exitCode = 0;
    run(QStringList {u"store"_s, u"--label=test"_s} + attributes(service, account) +
            QStringList {u"type"_s, u"plaintext"_s},
        secret, &exitCode);
    return exitCode == 0;
}

void clear(const QString &service, const QString &account)
{
    run(QStringList {u"clear"_s} + attributes(service, account));
}

} // namespace SecretTool
