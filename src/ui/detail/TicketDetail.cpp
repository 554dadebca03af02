#include "TicketDetail.h"

#include "client/JiraClient.h"
#include "client/JiraIssueKeys.h"
#include "presentation/CoarseClock.h"
#include "presentation/HtmlText.h"
#include "settings/AppSettings.h"
#include "ui/common/JiraImageAccess.h"
#include "ui/common/MessageText.h"

#include <QDesktopServices>
#include <QScopeGuard>
#include <QVariantMap>

#include <algorithm>

using namespace Qt::StringLiterals;

TicketDetail::TicketDetail(const JiraIssue &issue, AppSettings *settings, JiraClient *client, Refresh refresh,
                           QObject *parent)
    : QObject(parent)
    , m_issue(issue)
    , m_settings(settings)
    , m_client(client)
    , m_refresh(std::move(refresh))
    , m_composer(new CommentEditor(settings->baseURL(), issue.key, {}, {}, client, this))
    , m_attachments(new IssueAttachments(issue.key, settings, client, this))
    , m_assignees(new UserLookUp(UserLookUp::Source::AssignableUsers, client, issue.key, this))
    , m_relations(new IssueRelations(client, this))
    , m_watch(new IssueWatch(client, issue.key, [this] { return m_myName; }, this))
{
    updateDescription();
    m_relations->setIssue(issue);
    connect(m_relations, &IssueRelations::linksChanged, this, [this] { loadIssue(); });
    // The server's comment, rendered, in its place: nothing is shown before the server has it.
    connect(m_composer, &CommentEditor::posted, this, [this](const JiraComment &comment) {
        // The window's clock may lag a minute behind: a comment just posted is not "in 6 sec.".
        CoarseClock::instance()->update();
        QList<JiraComment> comments = m_comments;
        comments.append(comment);
        setComments(std::move(comments));
    });
    // A work log left unfinished opens again with the pane.
    if (WorkLogForm::hasDraft(settings->baseURL(), issue.key))
        openWorkLog();
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
    updateCommentsForView();
    resumeEdit();
}

void TicketDetail::resumeEdit()
{
    // An edit left unfinished opens again once its comment is there and known to be the user's.
    if (m_commentEdit || m_myName.isEmpty())
        return;
    for (const JiraComment &comment : std::as_const(m_comments)) {
        if (isOwnComment(comment.id) && !Draft(m_settings->baseURL(), m_issue.key, u"edit-"_s + comment.id).isEmpty()) {
            editComment(comment.id);
            return;
        }
    }
}

void TicketDetail::updateCommentsForView()
{
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

void TicketDetail::setMyName(const QString &name)
{
    if (m_myName == name)
        return;
    m_myName = name;
    m_attachments->setMyName(name);
    emit myNameChanged();
    resumeEdit();
}

bool TicketDetail::isOwnComment(const QString &commentId) const
{
    return !m_myName.isEmpty() && std::any_of(m_comments.cbegin(), m_comments.cend(), [&](const JiraComment &comment) {
        return comment.id == commentId && comment.author.name == m_myName;
    });
}

void TicketDetail::editComment(const QString &commentId)
{
    const auto found = std::find_if(m_comments.cbegin(), m_comments.cend(),
                                    [&](const JiraComment &comment) { return comment.id == commentId; });
    if (found == m_comments.cend() || !isOwnComment(commentId))
        return;
    closeCommentEdit();
    m_commentEdit = new CommentEditor(m_settings->baseURL(), m_issue.key, commentId, found->body.value_or(QString()),
                                      m_client, this);
    connect(m_commentEdit, &CommentEditor::posted, this, [this](const JiraComment &edited) {
        QList<JiraComment> comments = m_comments;
        for (JiraComment &comment : comments) {
            if (comment.id == edited.id)
                comment = edited;
        }
        closeCommentEdit();
        setComments(std::move(comments));
    });
    emit commentEditChanged();
}

void TicketDetail::closeCommentEdit()
{
    if (!m_commentEdit)
        return;
    CommentEditor *edit = m_commentEdit;
    m_commentEdit = nullptr;
    emit commentEditChanged();
    edit->deleteLater(); // its draft stays on disk unless discarded
}

void TicketDetail::deleteComment(const QString &commentId)
{
    if (!m_client || !m_busyCommentId.isEmpty())
        return;
    setCommentAction(commentId, {}, {});
    m_client->deleteComment(m_issue.key, commentId, this, [this, commentId](JiraResult<void> result) {
        if (!result) {
            setCommentAction({}, commentId, refusalText(result.error()));
            return;
        }
        setCommentAction({}, {}, {});
        if (m_commentEdit && m_commentEdit->commentId() == commentId) {
            m_commentEdit->discard();
            closeCommentEdit();
        }
        QList<JiraComment> comments = m_comments;
        comments.removeIf([&](const JiraComment &comment) { return comment.id == commentId; });
        setComments(std::move(comments));
    });
}

void TicketDetail::setCommentAction(const QString &busyId, const QString &errorId, const QString &error)
{
    m_busyCommentId = busyId;
    m_commentActionErrorId = errorId;
    m_commentActionError = error;
    emit commentActionChanged();
}

void TicketDetail::assign(const QString &userName)
{
    if (!m_client || m_isAssigning)
        return;
    setAssigning(true, {});
    m_assignees->clear();
    const std::optional<QString> name = userName.isEmpty() ? std::nullopt : std::optional<QString>(userName);
    // Bound to the client: the list refreshes even when the pane is gone by then.
    QPointer<TicketDetail> pane(this);
    m_client->assignIssue(m_issue.key, name, m_client, [pane, refresh = m_refresh](JiraResult<void> result) {
        if (!result) {
            if (pane)
                pane->setAssigning(false, refusalText(result.error()));
            return;
        }
        const auto ended = [pane] {
            if (pane)
                pane->setAssigning(false, {});
        };
        if (refresh)
            refresh(ended);
        else
            ended();
    });
}

void TicketDetail::assignToMe()
{
    if (!m_myName.isEmpty())
        assign(m_myName);
}

void TicketDetail::assignTo(int suggestion)
{
    if (suggestion >= 0 && suggestion < m_assignees->users().size())
        assign(m_assignees->users().at(suggestion).name.value_or(QString()));
}

void TicketDetail::setAssigning(bool assigning, const QString &error)
{
    if (m_isAssigning == assigning && m_assignError == error)
        return;
    m_isAssigning = assigning;
    m_assignError = error;
    emit assignmentChanged();
}

void TicketDetail::openWorkLog()
{
    if (m_workLog)
        return;
    m_workLog = new WorkLogForm(m_settings->baseURL(), m_issue.key, m_client, this);
    connect(m_workLog, &WorkLogForm::logged, this, [this] {
        closeWorkLog();
        loadTimeTracking();
    });
    emit workLogChanged();
}

void TicketDetail::closeWorkLog()
{
    if (!m_workLog)
        return;
    WorkLogForm *form = m_workLog;
    m_workLog = nullptr;
    emit workLogChanged();
    form->deleteLater(); // its draft stays on disk unless discarded
}

void TicketDetail::editInPlace(const QString &fieldKey)
{
    if (!m_edit || !m_editFormShown) {
        m_inPlace = fieldKey;
        emit editChanged();
    }
    if (m_edit || !m_client)
        return;
    m_editFormShown = false;
    m_edit = new EditIssueForm(m_settings, m_client, m_issue.key, this);
    connect(m_edit, &EditIssueForm::saved, this, [this] {
        closeEdit();
        if (m_refresh)
            m_refresh([] { });
    });
    connect(m_edit, &EditIssueForm::fieldsChanged, this, &TicketDetail::editChanged);
    // Someone else's change, or Jira's refusal, is shown with the whole form.
    const auto needsForm = [this] {
        if (m_edit && !m_editFormShown && (!m_edit->conflicts().isEmpty() || !m_edit->error().isEmpty())) {
            m_editFormShown = true;
            emit editChanged();
        }
    };
    connect(m_edit, &EditIssueForm::conflictsChanged, this, needsForm);
    connect(m_edit, &EditIssueForm::errorChanged, this, needsForm);
    m_edit->start();
    emit editChanged();
}

void TicketDetail::openEdit()
{
    editInPlace({});
    if (!m_edit || m_editFormShown)
        return;
    m_editFormShown = true;
    emit editChanged();
}

void TicketDetail::closeEdit()
{
    if (!m_edit)
        return;
    EditIssueForm *form = m_edit;
    m_edit = nullptr;
    m_editFormShown = false;
    m_inPlace.clear();
    emit editChanged();
    form->deleteLater(); // a description being typed stays in its draft
}

bool TicketDetail::editingSummary() const
{
    return m_edit && !m_editFormShown && m_inPlace == u"summary"_s && m_edit->field(u"summary"_s);
}

QString TicketDetail::editSummary() const
{
    const FormField *field = m_edit ? m_edit->field(u"summary"_s) : nullptr;
    return field ? field->text() : m_issue.fields.summary;
}

QStringList TicketDetail::editPriorities() const
{
    const FormField *field = m_edit ? m_edit->field(u"priority"_s) : nullptr;
    return field ? field->options() : QStringList();
}

void TicketDetail::saveSummary(const QString &summary)
{
    FormField *field = m_edit ? m_edit->field(u"summary"_s) : nullptr;
    if (!field)
        return;
    field->setText(summary);
    m_edit->save();
    // A summary Jira refuses is said under the field, with the whole form.
    if (!field->error().isEmpty())
        openEdit();
}

void TicketDetail::savePriority(int index)
{
    FormField *field = m_edit ? m_edit->field(u"priority"_s) : nullptr;
    if (!field)
        return;
    field->setChoice(index);
    m_edit->save();
}

void TicketDetail::loadTimeTracking()
{
    if (!m_client)
        return;
    m_client->fetchTimeTracking(m_issue.key, this, [this](JiraResult<JiraTimeTracking> result) {
        if (!result)
            return; // what is shown was true when it came
        const JiraTimeTracking &tracking = result.value();
        QStringList parts;
        if (tracking.originalEstimate)
            parts.append(tr("Estimated %1", "time tracking: the original estimate").arg(*tracking.originalEstimate));
        if (tracking.remainingEstimate)
            parts.append(tr("Remaining %1", "time tracking: the remaining estimate").arg(*tracking.remainingEstimate));
        if (tracking.timeSpent)
            parts.append(tr("Logged %1", "time tracking: the time logged").arg(*tracking.timeSpent));
        const QString text = parts.join(u" · "_s);
        if (text != m_timeTrackingText) {
            m_timeTrackingText = text;
            emit timeTrackingChanged();
        }
    });
}

QString TicketDetail::errorText() const
{
    return shortenedForDisplay(m_errorMessage);
}

QString TicketDetail::menuPlaceholder() const
{
    if (!m_transitions.isEmpty())
        return {};
    return m_isLoadingTransitions ? tr("Loading…") : tr("No transitions available");
}

void TicketDetail::load()
{
    loadTransitions();
    loadComments();
    loadTimeTracking();
    m_attachments->load();
    loadIssue();
    m_watch->load();
}

void TicketDetail::loadIssue(std::function<void()> done)
{
    if (!m_client) {
        if (done)
            done();
        return;
    }
    m_client->fetchIssue(m_issue.key, this, [this, done = std::move(done)](JiraResult<JiraIssue> result) {
        const auto finish = qScopeGuard([&done] {
            if (done)
                done();
        });
        if (!result || result.value().id != m_issue.id)
            return; // the relations stay as last read; the pane's other parts say what failed
        m_relations->setIssue(result.value());
        // An issue of the list gets its newer copies from the list's refreshes; another is read here, and
        // what it offers is read again once it has changed.
        if (m_inList || (result.value() == m_issue && result.value().fields.summary == m_issue.fields.summary))
            return;
        const bool updated = result.value().fields.updated != m_issue.fields.updated;
        setIssue(result.value());
        if (updated) {
            loadTransitions();
            loadComments();
            loadTimeTracking();
        }
    });
}

void TicketDetail::setInList(bool inList)
{
    if (m_inList == inList)
        return;
    m_inList = inList;
    emit inListChanged();
}

void TicketDetail::openLinkForm()
{
    if (m_linkForm)
        return;
    m_linkForm = new IssueLinkForm(m_client, m_issue.key, m_settings->baseURL(), this);
    connect(m_linkForm, &IssueLinkForm::linked, this, [this] {
        closeLinkForm();
        loadIssue();
    });
    emit linkFormChanged();
}

void TicketDetail::closeLinkForm()
{
    if (!m_linkForm)
        return;
    m_linkForm->deleteLater(); // QML may still hold it until the bindings have moved on
    m_linkForm = nullptr;
    emit linkFormChanged();
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
    m_form = new TransitionForm(
        *found, m_issue.key, m_client, [this](const JiraTransitionRequest &request) { return perform(request); }, this);
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
    (void)perform(JiraTransitionRequest {{transitionId}, {}, {}});
}

bool TicketDetail::perform(const JiraTransitionRequest &request)
{
    if (!m_client || m_isTransitioning)
        return false;
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
    return true;
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

bool TicketDetail::openLink(const QString &link)
{
    if (const std::optional<QString> key = jiraBrowseKey(QUrl(link), m_settings->baseURL())) {
        emit openIssueRequested(*key);
        return true;
    }
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
