#include "WorkLogForm.h"

#include "client/JiraClient.h"
#include "client/JiraFieldKinds.h"
#include "ui/common/MessageText.h"

#include <QDateTime>

using namespace Qt::StringLiterals;

namespace {

const auto startedFormat = u"yyyy-MM-dd HH:mm"_s;
const auto draftSlot = u"worklog"_s;

} // namespace

WorkLogForm::WorkLogForm(const QUrl &server, QString issueKey, JiraClient *client, QObject *parent)
    : QObject(parent)
    , m_server(server)
    , m_issueKey(std::move(issueKey))
    , m_client(client)
    , m_draft(new Draft(server, m_issueKey, draftSlot, this))
{
    const QJsonObject kept = m_draft->value();
    m_timeSpent = kept.value("timeSpent"_L1).toString();
    m_started = kept.value("started"_L1).toString(QDateTime::currentDateTime().toString(startedFormat));
    m_comment = kept.value("comment"_L1).toString();
}

bool WorkLogForm::hasDraft(const QUrl &server, const QString &issueKey)
{
    return !Draft(server, issueKey, draftSlot).isEmpty();
}

void WorkLogForm::setTimeSpent(const QString &text)
{
    if (m_timeSpent == text)
        return;
    m_timeSpent = text;
    setErrors({}, m_startedError, m_error);
    edited();
}

void WorkLogForm::setStarted(const QString &text)
{
    if (m_started == text)
        return;
    m_started = text;
    setErrors(m_timeSpentError, {}, m_error);
    edited();
}

void WorkLogForm::setComment(const QString &text)
{
    if (m_comment == text)
        return;
    m_comment = text;
    edited();
}

void WorkLogForm::edited()
{
    m_draft->setValue({{u"timeSpent"_s, m_timeSpent}, {u"started"_s, m_started}, {u"comment"_s, m_comment}});
    emit valuesChanged();
}

void WorkLogForm::send()
{
    if (m_isSending || !m_client)
        return;
    const QDateTime started = QDateTime::fromString(m_started.trimmed(), startedFormat);
    const QString timeError =
        isJiraDuration(m_timeSpent) ? QString() : tr("Enter the time in Jira's notation, such as 1h 30m, 2d or 45m.");
    const QString startedError = started.isValid() ? QString() : tr("Enter when the work started as YYYY-MM-DD HH:MM.");
    setErrors(timeError, startedError, {});
    if (!timeError.isEmpty() || !startedError.isEmpty())
        return;

    setSending(true);
    m_draft->flush();
    const JiraWorklogRequest request {m_timeSpent.simplified(), jiraDateTimeText(started), m_comment};
    // Bound to the client, which outlives the pane: logged work leaves no draft behind to be sent twice,
    // even when the pane was closed meanwhile.
    QPointer<WorkLogForm> form(this);
    auto done = [form, kept = m_draft->value(), server = m_server, issueKey = m_issueKey](JiraResult<void> result) {
        if (!form) {
            if (result) {
                Draft draft(server, issueKey, draftSlot);
                if (draft.value() == kept)
                    draft.discard();
            }
            return;
        }
        form->setSending(false);
        if (result) {
            form->m_draft->discard();
            emit form->logged();
            return;
        }
        form->failed(result.error());
    };
    m_client->addWorklog(m_issueKey, request, m_client, std::move(done));
}

void WorkLogForm::failed(const JiraError &error)
{
    const std::optional<JiraErrorCollection> collection = jiraErrorCollection(error);
    if (!collection) {
        setErrors({}, {}, shortenedForDisplay(userFacingText(error)));
        return;
    }
    QString timeSpent;
    QString started;
    QStringList others = collection->errorMessages;
    for (const auto &[key, message] : collection->errors) {
        if (key == "timeLogged"_L1 || key == "timeSpent"_L1)
            timeSpent = message;
        else if (key == "started"_L1)
            started = message;
        else
            others.append(message);
    }
    setErrors(timeSpent, started, others.join(u'\n'));
}

void WorkLogForm::discard()
{
    m_draft->discard();
}

void WorkLogForm::setErrors(const QString &timeSpent, const QString &started, const QString &error)
{
    if (m_timeSpentError == timeSpent && m_startedError == started && m_error == error)
        return;
    m_timeSpentError = timeSpent;
    m_startedError = started;
    m_error = error;
    emit errorsChanged();
}

void WorkLogForm::setSending(bool sending)
{
    if (m_isSending == sending)
        return;
    m_isSending = sending;
    emit isSendingChanged();
}
