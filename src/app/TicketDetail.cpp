#include "TicketDetail.h"

#include "JiraImageAccess.h"
#include "MessageText.h"
#include "client/JiraClient.h"
#include "presentation/HtmlText.h"
#include "settings/AppSettings.h"

#include <QDesktopServices>

#include <algorithm>
#include <QVariantMap>

using namespace Qt::StringLiterals;

TicketDetail::TicketDetail(const JiraIssue &issue, AppSettings *settings, JiraClient *client,
                           Refresh refresh, QObject *parent)
    : QObject(parent)
    , m_issue(issue)
    , m_settings(settings)
    , m_client(client)
    , m_refresh(std::move(refresh))
{
    updateDescription();
}

void TicketDetail::setIssue(const JiraIssue &issue)
{
    Q_ASSERT(issue.id == m_issue.id);
    m_issue = issue;
    updateDescription();
    emit issueChanged();
}

void TicketDetail::updateDescription()
{
    const auto &rendered = m_issue.renderedFields;
    if (rendered && rendered->description) {
        if (std::optional<QString> rich = attributedFromHTML(*rendered->description)) {
            m_descriptionText = restrictImagesToServer(*rich, m_settings->baseURL());
            m_descriptionIsRich = true;
            return;
        }
    }
    m_descriptionText = m_issue.fields.description.value_or(QString());
    m_descriptionIsRich = false;
}

QString TicketDetail::priorityName() const
{
    return m_issue.fields.priority ? m_issue.fields.priority->name : QString();
}

QString TicketDetail::assigneeName() const
{
    return m_issue.fields.assignee ? m_issue.fields.assignee->displayName : QString();
}

QVariantList TicketDetail::transitions() const
{
    QVariantList list;
    list.reserve(m_transitions.size());
    for (const JiraTransition &transition : m_transitions)
        list.append(QVariantMap {
            {u"id"_s, transition.id}, {u"name"_s, transition.name}, {u"hasFields"_s, !transition.fields.isEmpty()}});
    return list;
}

void TicketDetail::setComments(QList<JiraComment> comments)
{
    m_comments = std::move(comments);
    m_commentsForView.clear();
    m_commentsForView.reserve(m_comments.size());
    for (const JiraComment &comment : std::as_const(m_comments)) {
        std::optional<QString> rich = comment.renderedBody ? attributedFromHTML(*comment.renderedBody) : std::nullopt;
        m_commentsForView.append(QVariantMap {
            {u"id"_s, comment.id},
            {u"author"_s, comment.author.displayName},
            {u"created"_s, comment.created},
            {u"body"_s, rich ? restrictImagesToServer(*rich, m_settings->baseURL()) : comment.body.value_or(QString())},
            {u"bodyIsRich"_s, rich.has_value()},
        });
    }
    emit commentsChanged();
}

QString TicketDetail::errorText() const
{
    return shortenedForDisplay(m_errorMessage);
}

QString TicketDetail::menuPlaceholder() const
{
    if (!m_transitions.isEmpty())
        return {};
    return m_isLoadingTransitions ? u"Loading…"_s : u"No transitions available"_s;
}

void TicketDetail::load()
{
    loadTransitions();
    loadComments();
}

void TicketDetail::loadTransitions()
{
    if (!m_client)
        return;
    // What is loaded belongs to the issue as it was: nothing of it is offered while the new list comes.
    if (!m_transitions.isEmpty()) {
        m_transitions.clear();
        emit transitionsChanged();
    }
    setLoadingTransitions(true);
    // Bound to the pane: when another issue is selected the answer is dropped with it.
    m_client->fetchTransitions(m_issue.key, this, [this](JiraResult<QList<JiraTransition>> result) {
        m_transitions = result ? std::move(result).value() : QList<JiraTransition>();
        emit transitionsChanged();
        setLoadingTransitions(false);
    });
}

void TicketDetail::loadComments()
{
    if (!m_client)
        return;
    setLoadingComments(true);
    m_client->fetchComments(m_issue.key, this, [this](JiraResult<QList<JiraComment>> result) {
        // A failed reload keeps the comments shown: they were true when they came.
        const bool unavailable = !result && m_comments.isEmpty();
        if (result)
            setComments(std::move(result).value());
        if (unavailable != m_commentsUnavailable) {
            m_commentsUnavailable = unavailable;
            emit commentsChanged();
        }
        setLoadingComments(false);
    });
}

void TicketDetail::chooseTransition(const QString &transitionId)
{
    const auto found = std::find_if(m_transitions.cbegin(), m_transitions.cend(),
                                    [&](const JiraTransition &transition) { return transition.id == transitionId; });
    if (found == m_transitions.cend() || found->fields.isEmpty())
        return performTransition(transitionId);
    if (m_isTransitioning)
        return;
    closeForm();
    m_form = new TransitionForm(*found, m_issue.key, m_client, [this](const JiraTransitionRequest &request) {
        perform(request);
    }, this);
    emit formChanged();
}

void TicketDetail::closeForm()
{
    if (!m_form)
        return;
    TransitionForm *form = m_form;
    m_form = nullptr;
    emit formChanged();
    // After the view has let go of it: its dialog goes first, and never sees the form gone.
    form->deleteLater();
}

void TicketDetail::performTransition(const QString &transitionId)
{
    perform(JiraTransitionRequest {{transitionId}, {}, {}});
}

void TicketDetail::perform(const JiraTransitionRequest &request)
{
    if (!m_client || m_isTransitioning)
        return;
    setTransitioning(true);
    setErrorMessage({});
    // The transition outlives the pane: it is bound to the client, which the store keeps, so a pane
    // closed meanwhile still gets its list refreshed, and only a pane still alive hears the outcome.
    QPointer<TicketDetail> pane(this);
    QPointer<TransitionForm> form(m_form);
    m_client->performTransition(m_issue.key, request, m_client,
                                [pane, form, refresh = m_refresh](JiraResult<void> result) {
                                    if (result) {
                                        if (pane && form && pane->m_form == form)
                                            pane->closeForm();
                                        // Busy until the list shows the new status (or could not be
                                        // refreshed): the pill never shows the old status as current.
                                        const auto ended = [pane] {
                                            if (pane)
                                                pane->setTransitioning(false);
                                        };
                                        if (refresh)
                                            refresh(ended);
                                        else
                                            ended();
                                        // The issue has left its status: its transitions (and likely its
                                        // comments) are another's now.
                                        if (pane)
                                            pane->load();
                                        return;
                                    }
                                    if (!pane)
                                        return;
                                    pane->setTransitioning(false);
                                    // A form still open shows Jira's answer beside what was entered.
                                    if (form && pane->m_form == form)
                                        form->failed(result.error());
                                    else
                                        pane->setErrorMessage(userFacingText(result.error()));
                                });
}

QUrl TicketDetail::browseURL() const
{
    return browseURL(m_settings->baseURL(), m_issue.key);
}

QUrl TicketDetail::browseURL(const QUrl &base, const QString &key)
{
    if (!base.isValid())
        return {};
    QUrl url = base;
    url.setPath(base.path() + u"/browse/"_s + key);
    return url;
}

void TicketDetail::openInJira() const
{
    const QUrl url = browseURL();
    if (url.isValid())
        QDesktopServices::openUrl(url);
}

void TicketDetail::setLoadingTransitions(bool loading)
{
    if (m_isLoadingTransitions == loading)
        return;
    m_isLoadingTransitions = loading;
    emit isLoadingTransitionsChanged();
    emit menuPlaceholderChanged();
}

void TicketDetail::setLoadingComments(bool loading)
{
    if (m_isLoadingComments == loading)
        return;
    m_isLoadingComments = loading;
    emit isLoadingCommentsChanged();
}

void TicketDetail::setTransitioning(bool transitioning)
{
    if (m_isTransitioning == transitioning)
        return;
    m_isTransitioning = transitioning;
    emit isTransitioningChanged();
}

void TicketDetail::setErrorMessage(const QString &message)
{
    if (m_errorMessage == message)
        return;
    m_errorMessage = message;
    emit errorMessageChanged();
}

bool TicketDetail::isOpenableLink(const QUrl &url)
{
    const QString scheme = url.scheme().toLower();
    if (!url.isValid())
        return false;
    if (scheme == u"mailto"_s)
        return !url.path().isEmpty();
    return (scheme == u"http"_s || scheme == u"https"_s) && !url.host().isEmpty();
}

bool TicketDetail::openLink(const QString &link) const
{
    // Jira renders links to its own pages relative to the server.
    QUrl url(link, QUrl::StrictMode);
    if (url.isRelative() && m_settings->baseURL().isValid()) {
        QUrl base = m_settings->baseURL();
        base.setPath(base.path() + u"/"_s);
        url = base.resolved(url);
    }
    if (!isOpenableLink(url))
        return false;
    return QDesktopServices::openUrl(url);
}
