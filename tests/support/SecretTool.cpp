#include "SecretTool.h"

#include <QProcess>

using namespace Qt::StringLiterals;

namespace {

// secret-tool with the attributes our keyring code files an account's secret under. Its output, or none
// when it did not succeed.
std::optional<QByteArray> run(const QString &verb, const QString &service, const QString &account,
                              const QStringList &more = {}, const QByteArray &input = {})
{
    QProcess process;
    process.start(u"secret-tool"_s, QStringList {verb} + more + QStringList {u"server"_s, service, u"user"_s, account});
    process.write(input);
    process.closeWriteChannel();
    if (!process.waitForFinished(10'000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return std::nullopt;
    return process.readAllStandardOutput() + process.readAllStandardError();
}

} // namespace

namespace SecretTool {

int itemCount(const QString &service, const QString &account)
{
    const QByteArray out = run(u"search"_s, service, account, {u"--all"_s}).value_or(QByteArray());
    return int(out.count("\nsecret = ") + (out.startsWith("secret = ") ? 1 : 0));
}

std::optional<QByteArray> lookup(const QString &service, const QString &account)
{
    return run(u"lookup"_s, service, account);
}

bool store(const QString &service, const QString &account, const QByteArray &secret)
{
    // "type plaintext" as our keyring code files text.
    return run(u"store"_s, service, account, {u"--label=test"_s, u"type"_s, u"plaintext"_s}, secret).has_value();
}

void clear(const QString &service, const QString &account)
{
    run(u"clear"_s, service, account);
}

} // namespace SecretTool
