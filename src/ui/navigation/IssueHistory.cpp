#include "IssueHistory.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

using namespace Qt::StringLiterals;

IssueHistory::IssueHistory(QObject *parent)
    : QObject(parent)
{ }

void IssueHistory::visited(const QString &key, const QString &summary)
{
    if (key.isEmpty())
        return;
    // Arrived where Back or Forward led; any other issue shown meanwhile branches from where the step began.
    const bool arrived = m_stepFrom && m_trail.at(m_at) == key;
    if (m_stepFrom && !arrived) {
        m_at = *m_stepFrom;
        emit changed();
    }
    m_stepFrom.reset();
    if (!arrived && (m_at < 0 || m_trail.at(m_at) != key)) {
        m_trail.resize(m_at + 1);
        m_trail.append(key);
        if (m_trail.size() > trailLimit)
            m_trail.removeFirst();
        m_at = m_trail.size() - 1;
        emit changed();
    }

    const ViewedIssue viewed {key, summary};
    if (!m_recent.isEmpty() && m_recent.first() == viewed)
        return;
    m_recent.removeIf([&](const ViewedIssue &issue) { return issue.key == key; });
    m_recent.prepend(viewed);
    if (m_recent.size() > recentLimit)
        m_recent.resize(recentLimit);
    save();
    emit recentChanged();
}

std::optional<QString> IssueHistory::goBack()
{
    if (!canGoBack())
        return std::nullopt;
    m_stepFrom = m_stepFrom.value_or(m_at);
    --m_at;
    emit changed();
    return m_trail.at(m_at);
}

std::optional<QString> IssueHistory::goForward()
{
    if (!canGoForward())
        return std::nullopt;
    m_stepFrom = m_stepFrom.value_or(m_at);
    ++m_at;
    emit changed();
    return m_trail.at(m_at);
}

void IssueHistory::stepFailed()
{
    if (!m_stepFrom)
        return;
    m_at = *m_stepFrom;
    m_stepFrom.reset();
    emit changed();
}

void IssueHistory::setStore(const QString &path, const QByteArray &owner)
{
    if (path == m_path && owner == m_owner)
        return;
    m_path = path;
    m_owner = owner;
    m_trail.clear();
    m_at = -1;
    m_stepFrom.reset();
    m_recent.clear();
    if (!owner.isEmpty()) {
        QFile file(path);
        const QJsonObject kept =
            file.open(QIODevice::ReadOnly) ? QJsonDocument::fromJson(file.read(1024 * 1024)).object() : QJsonObject();
        if (kept.value("owner"_L1).toString().toLatin1() == owner) {
            for (const QJsonValue &value : kept.value("recent"_L1).toArray()) {
                const QString key = value["key"_L1].toString();
                if (!key.isEmpty() && m_recent.size() < recentLimit)
                    m_recent.append({key, value["summary"_L1].toString()});
            }
        }
    }
    emit changed();
    emit recentChanged();
}

void IssueHistory::forget(const QStringList &keys)
{
    if (m_recent.removeIf([&](const ViewedIssue &issue) { return keys.contains(issue.key); }) == 0)
        return;
    save();
    emit recentChanged();
}

void IssueHistory::save() const
{
    if (m_owner.isEmpty() || m_path.isEmpty())
        return;
    QJsonArray recent;
    for (const ViewedIssue &issue : m_recent)
        recent.append(QJsonObject {{u"key"_s, issue.key}, {u"summary"_s, issue.summary}});
    const QJsonObject kept {{u"owner"_s, QString::fromLatin1(m_owner)}, {u"recent"_s, recent}};

    // Private like the lists kept beside it: summaries can be confidential.
    const QFileInfo info(m_path);
    QDir().mkpath(info.path());
    QFile::setPermissions(info.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    QSaveFile file(m_path);
    if (!file.open(QIODevice::WriteOnly))
        return;
    file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    file.write(QJsonDocument(kept).toJson(QJsonDocument::Compact));
    file.commit();
}
