#include "IssueLinkForm.h"

#include "client/JiraClient.h"
#include "ui/common/MessageText.h"

using namespace Qt::StringLiterals;

IssueLinkForm::IssueLinkForm(JiraClient *client, QString issueKey, QUrl base, QObject *parent)
    : QObject(parent)
    , m_client(client)
    , m_issueKey(std::move(issueKey))
    , m_base(std::move(base))
    , m_picker(new IssuePicker(client, this))
{
    if (!m_client) {
        m_loadingTypes = false;
        return;
    }
    m_client->fetchIssueLinkTypes(this, [this](JiraResult<QList<JiraIssueLinkType>> types) {
        m_loadingTypes = false;
        if (types)
            m_choices = choicesOf(types.value());
        else
            setState(false, refusalText(types.error()));
        emit phrasesChanged();
    });
}

QList<IssueLinkForm::Choice> IssueLinkForm::choicesOf(const QList<JiraIssueLinkType> &types)
{
    QList<Choice> choices;
    for (const JiraIssueLinkType &type : types) {
        choices.append({type.outward, type.name, true});
        if (type.inward != type.outward)
            choices.append({type.inward, type.name, false});
    }
    return choices;
}

QStringList IssueLinkForm::phrases() const
{
    QStringList phrases;
    for (const Choice &choice : m_choices)
        phrases.append(choice.phrase);
    return phrases;
}

void IssueLinkForm::send(int phraseIndex, const QString &typed, int row)
{
    if (!m_client || m_sending)
        return;
    if (phraseIndex < 0 || phraseIndex >= m_choices.size())
        return setState(false, tr("Choose how the issues are linked."));
    const QString other = m_picker->chosenKey(typed, row, m_base);
    if (other.isEmpty())
        return setState(false, tr("Type the other issue's key, such as PLAT-417, or choose it from the suggestions."));
    if (other == m_issueKey)
        return setState(false, tr("An issue cannot be linked to itself."));

    const Choice &choice = m_choices.at(phraseIndex);
    const QString inward = choice.thisIsInward ? m_issueKey : other;
    const QString outward = choice.thisIsInward ? other : m_issueKey;
    setState(true, {});
    m_client->linkIssues(choice.typeName, inward, outward, this, [this](JiraResult<void> result) {
        if (result) {
            setState(false, {});
            emit linked();
            return;
        }
        // Jira answers a missing permission to link with 401 as well as 403: it is not a sign-in problem.
        setState(false, isPermissionRefusal(result.error()) ? tr("You may not link these issues.")
                                                            : refusalText(result.error()));
    });
}

void IssueLinkForm::setState(bool sending, const QString &error)
{
    if (m_sending == sending && m_error == error)
        return;
    m_sending = sending;
    m_error = error;
    emit stateChanged();
}
