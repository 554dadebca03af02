#include "IssuePicker.h"

#include "client/JiraClient.h"
#include "client/JiraIssueKeys.h"

#include <QSet>
#include <QVariantMap>

using namespace Qt::StringLiterals;

IssuePicker::IssuePicker(JiraClient *client, QObject *parent)
    : QObject(parent)
    , m_client(client)
{
    m_pause.setSingleShot(true);
    m_pause.setInterval(pauseMs);
    connect(&m_pause, &QTimer::timeout, this, &IssuePicker::send);
}

void IssuePicker::search(const QString &text)
{
    const QString trimmed = text.trimmed();
    if (trimmed == m_text && (m_pause.isActive() || m_searching))
        return;
    ++m_sequence; // an answer still coming is for older text
    m_text = trimmed;
    if (m_text.size() < minimumLetters) {
        clear();
        return;
    }
    setSearching(true);
    m_pause.start();
}

void IssuePicker::clear()
{
    ++m_sequence;
    m_pause.stop();
    setSearching(false);
    if (m_suggestions.isEmpty())
        return;
    m_suggestions.clear();
    emit suggestionsChanged();
}

QString IssuePicker::keyAt(int row) const
{
    return row >= 0 && row < m_suggestions.size() ? m_suggestions.at(row).toMap().value(u"key"_s).toString()
                                                   : QString();
}

QString IssuePicker::chosenKey(const QString &typed, int row, const QUrl &base) const
{
    if (const QString chosen = keyAt(row); !chosen.isEmpty())
        return chosen;
    return jiraIssueKey(typed, base).value_or(keyAt(0));
}

void IssuePicker::send()
{
    if (!m_client) {
        setSearching(false);
        return;
    }
    const int sequence = ++m_sequence;
    // Bound to this object: a dialog closed meanwhile drops the answer.
    m_client->pickIssues(m_text, {}, this, [this, sequence](JiraResult<QList<JiraPickerSection>> result) {
        if (sequence != m_sequence)
            return;
        setSearching(false);
        // A failed answer offers nothing rather than suggestions for older text; Enter still opens a key.
        m_suggestions.clear();
        if (!result) {
            emit suggestionsChanged();
            return;
        }
        QSet<QString> listed;
        for (const JiraPickerSection &section : result.value()) {
            bool first = true;
            for (const JiraPickerIssue &issue : section.issues) {
                if (issue.key.isEmpty() || listed.contains(issue.key))
                    continue;
                listed.insert(issue.key);
                m_suggestions.append(QVariantMap {{u"key"_s, issue.key},
                                                  {u"summary"_s, issue.summaryText},
                                                  {u"section"_s, section.label},
                                                  {u"startsSection"_s, first}});
                first = false;
            }
        }
        emit suggestionsChanged();
    });
}

void IssuePicker::setSearching(bool searching)
{
    if (m_searching == searching)
        return;
    m_searching = searching;
    emit isSearchingChanged();
}
