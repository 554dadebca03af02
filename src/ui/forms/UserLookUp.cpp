#include "UserLookUp.h"

#include "client/JiraClient.h"

#include <QVariantMap>

using namespace Qt::StringLiterals;

UserLookUp::UserLookUp(Source source, JiraClient *client, QString issueKey, QObject *parent)
    : QObject(parent)
    , m_source(source)
    , m_client(client)
    , m_issueKey(std::move(issueKey))
{
    m_pause.setSingleShot(true);
    m_pause.setInterval(pauseMs);
    connect(&m_pause, &QTimer::timeout, this, &UserLookUp::send);
}

void UserLookUp::lookUp(const QString &text)
{
    ++m_sequence; // an answer still coming is for older text
    m_text = text.trimmed();
    if (m_text.isEmpty()) {
        clear();
        return;
    }
    m_pause.start();
}

void UserLookUp::clear()
{
    ++m_sequence;
    m_pause.stop();
    if (m_users.isEmpty() && m_suggestions.isEmpty())
        return;
    m_users.clear();
    m_suggestions.clear();
    emit suggestionsChanged();
}

void UserLookUp::send()
{
    if (!m_client)
        return;
    const int sequence = ++m_sequence;
    // Bound to this object: a form or editor closed meanwhile drops the answer.
    auto done = [this, sequence](JiraResult<QList<JiraUser>> result) {
        if (sequence != m_sequence || !result)
            return;
        m_users = std::move(result).value();
        m_suggestions.clear();
        for (const JiraUser &user : std::as_const(m_users)) {
            m_suggestions.append(
                QVariantMap {{u"name"_s, user.name.value_or(QString())},
                             {u"displayName"_s, user.displayName},
                             {u"detail"_s, user.emailAddress.value_or(user.name.value_or(QString()))}});
        }
        emit suggestionsChanged();
    };
    if (m_source == Source::AssignableUsers)
        m_client->searchAssignableUsers(m_issueKey, m_text, this, std::move(done));
    else if (m_source == Source::ProjectAssignableUsers)
        m_client->searchProjectAssignableUsers(m_issueKey, m_text, this, std::move(done));
    else
        m_client->searchUsers(m_text, this, std::move(done));
}
