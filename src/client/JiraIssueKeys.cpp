#include "JiraIssueKeys.h"

#include "JiraClient.h"

#include <QRegularExpression>

using namespace Qt::StringLiterals;

namespace {

const QRegularExpression keyPattern(u"^([A-Z][A-Z0-9_]*)-([1-9][0-9]{0,17})$"_s);

std::optional<QString> asKey(const QString &text)
{
    const QString upper = text.trimmed().toUpper();
    if (!keyPattern.match(upper).hasMatch())
        return std::nullopt;
    return upper;
}

} // namespace

std::optional<QString> jiraBrowseKey(const QUrl &link, const QUrl &base)
{
    const QUrl url = base.resolved(link);
    if (!url.isValid() || (url.scheme() != "http"_L1 && url.scheme() != "https"_L1) ||
        jiraOrigin(url) != jiraOrigin(base))
        return std::nullopt;
    QString context = base.path(QUrl::FullyDecoded);
    while (context.endsWith(u'/'))
        context.chop(1);
    const QString path = url.path(QUrl::FullyDecoded);
    const QString prefix = context + u"/browse/"_s;
    if (!path.startsWith(prefix))
        return std::nullopt;
    QString rest = path.mid(prefix.size());
    if (rest.endsWith(u'/'))
        rest.chop(1);
    if (rest.contains(u'/'))
        return std::nullopt;
    // A link keeps the key's own letters: Jira's links are upper case, and a lower-case one still opens it.
    return asKey(rest);
}

std::optional<QString> jiraIssueKey(const QString &text, const QUrl &base)
{
    const QString trimmed = text.trimmed();
    if (const std::optional<QString> key = asKey(trimmed))
        return key;
    if (!trimmed.contains(u"://"_s))
        return std::nullopt;
    return jiraBrowseKey(QUrl(trimmed), base);
}
