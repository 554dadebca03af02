#pragma once
// The state behind the detail pane of one issue: its transitions and comments, loaded when shown, and
// the transition the user picks from the status menu.

#include "CommentEditor.h"
#include "WorkLogForm.h"
#include "ui/attachments/IssueAttachments.h"
#include "client/JiraRecords.h"
#include "ui/forms/EditIssueForm.h"
#include "ui/forms/TransitionForm.h"
#include "ui/forms/UserLookUp.h"
#include "ui/navigation/IssueLinkForm.h"
#include "ui/navigation/IssueRelations.h"
#include "ui/navigation/IssueWatch.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <QVariantList>
#include <QtQml/qqmlregistration.h>

#include <functional>

class AppSettings;
class JiraClient;

class TicketDetail : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Made by the main window for the selected issue.")

    Q_PROPERTY(QString issueId READ issueId CONSTANT FINAL)
    Q_PROPERTY(QString key READ key CONSTANT FINAL)
    Q_PROPERTY(QString issueType READ issueType NOTIFY issueChanged FINAL)
    Q_PROPERTY(QString summary READ summary NOTIFY issueChanged FINAL)
    Q_PROPERTY(QString statusName READ statusName NOTIFY issueChanged FINAL)
    Q_PROPERTY(QString statusCategory READ statusCategory NOTIFY issueChanged FINAL)
    Q_PROPERTY(bool hasPriority READ hasPriority NOTIFY issueChanged FINAL)
    Q_PROPERTY(QString priorityName READ priorityName NOTIFY issueChanged FINAL)
    Q_PROPERTY(bool hasAssignee READ hasAssignee NOTIFY issueChanged FINAL)
    Q_PROPERTY(QString assigneeName READ assigneeName NOTIFY issueChanged FINAL)
    Q_PROPERTY(bool hasDueDate READ hasDueDate NOTIFY issueChanged FINAL)
    Q_PROPERTY(QString dueDate READ dueDate NOTIFY issueChanged FINAL)
    // The description as shown: rich text when the rendered HTML converts, else the plain text.
    Q_PROPERTY(QString descriptionText READ descriptionText NOTIFY issueChanged FINAL)
    Q_PROPERTY(bool descriptionIsRich READ descriptionIsRich NOTIFY issueChanged FINAL)
    Q_PROPERTY(bool hasDescription READ hasDescription NOTIFY issueChanged FINAL)

    // [{id, name, hasFields}] in the server's order.
    Q_PROPERTY(QVariantList transitions READ transitions NOTIFY transitionsChanged FINAL)
    // [{id, author, created, body, bodyIsRich}] in the server's order. Which are the user's own is asked
    // of isOwnComment(), which changes with myName without the comments being made again.
    Q_PROPERTY(QVariantList comments READ comments NOTIFY commentsChanged FINAL)
    // The comments could not be loaded and none are shown: "No comments." would not be true.
    Q_PROPERTY(bool commentsUnavailable READ commentsUnavailable NOTIFY commentsChanged FINAL)
    Q_PROPERTY(bool isLoadingTransitions READ isLoadingTransitions NOTIFY isLoadingTransitionsChanged FINAL)
    Q_PROPERTY(bool isLoadingComments READ isLoadingComments NOTIFY isLoadingCommentsChanged FINAL)
    Q_PROPERTY(bool isTransitioning READ isTransitioning NOTIFY isTransitioningChanged FINAL)
    Q_PROPERTY(QString errorMessage READ errorMessage NOTIFY errorMessageChanged FINAL)
    // The message as the red line shows it: its beginning when the server sent a whole page.
    Q_PROPERTY(QString errorText READ errorText NOTIFY errorMessageChanged FINAL)
    // What the status menu offers when there is no transition: "Loading…" or "No transitions available".
    Q_PROPERTY(QString menuPlaceholder READ menuPlaceholder NOTIFY menuPlaceholderChanged FINAL)
    // The form of the transition being filled in, or null.
    Q_PROPERTY(TransitionForm *form READ form NOTIFY formChanged FINAL)
    // The connected user's login name, once the server has said it.
    Q_PROPERTY(QString myName READ myName NOTIFY myNameChanged FINAL)
    // The editor of a new comment, under the comments.
    Q_PROPERTY(CommentEditor *composer READ composer CONSTANT FINAL)
    // The issue's attachments, loaded with the pane.
    Q_PROPERTY(IssueAttachments *attachments READ attachments CONSTANT FINAL)
    // The edit of one of the user's comments under way, or null.
    Q_PROPERTY(CommentEditor *commentEdit READ commentEdit NOTIFY commentEditChanged FINAL)
    // A comment being deleted, and what went wrong with the last edit or deletion (under that comment).
    Q_PROPERTY(QString busyCommentId READ busyCommentId NOTIFY commentActionChanged FINAL)
    Q_PROPERTY(QString commentActionError READ commentActionError NOTIFY commentActionChanged FINAL)
    Q_PROPERTY(QString commentActionErrorId READ commentActionErrorId NOTIFY commentActionChanged FINAL)
    // Users the issue can be assigned to, as a name is typed.
    Q_PROPERTY(UserLookUp *assignees READ assignees CONSTANT FINAL)
    Q_PROPERTY(bool isAssigning READ isAssigning NOTIFY assignmentChanged FINAL)
    Q_PROPERTY(QString assignError READ assignError NOTIFY assignmentChanged FINAL)
    // The work-log form, open or null.
    Q_PROPERTY(WorkLogForm *workLog READ workLog NOTIFY workLogChanged FINAL)
    // The edit of the issue's fields, while it is open: in place (the summary, the priority) or as the form
    // of all of them, which also shows a conflict or a refusal of an edit begun in place.
    Q_PROPERTY(EditIssueForm *edit READ edit NOTIFY editChanged FINAL)
    Q_PROPERTY(bool editFormShown READ editFormShown NOTIFY editChanged FINAL)
    // The summary is being edited where it is shown.
    Q_PROPERTY(bool editingSummary READ editingSummary NOTIFY editChanged FINAL)
    // The summary as the editor in place starts it, and the priorities Jira offers for this issue (none
    // until its edit metadata is in).
    Q_PROPERTY(QString editSummary READ editSummary NOTIFY editChanged FINAL)
    Q_PROPERTY(QStringList editPriorities READ editPriorities NOTIFY editChanged FINAL)
    // The issue is not one of the list's (opened by key, a link or history): the pane says so.
    Q_PROPERTY(bool inList READ inList NOTIFY inListChanged FINAL)
    // Its parent, sub-tasks and links, read with the pane; whether the user watches it.
    Q_PROPERTY(IssueRelations *relations READ relations CONSTANT FINAL)
    Q_PROPERTY(IssueWatch *watch READ watch CONSTANT FINAL)
    // "Link Issue…", open or null.
    Q_PROPERTY(IssueLinkForm *linkForm READ linkForm NOTIFY linkFormChanged FINAL)
    // "Estimated 2d · Remaining 1d 4h · Logged 4h", empty when the server keeps no time tracking.
    Q_PROPERTY(QString timeTrackingText READ timeTrackingText NOTIFY timeTrackingChanged FINAL)

public:
    // Refreshes the list and runs its argument once the refresh has ended, whatever its outcome.
    using Refresh = std::function<void(std::function<void()> ended)>;
    // `refresh` runs after each successful transition, even when the pane is gone by then.
    TicketDetail(const JiraIssue &issue, AppSettings *settings, JiraClient *client, Refresh refresh,
                 QObject *parent = nullptr);

    // A newer copy of the same issue, from a refresh: the pane keeps its state.
    void setIssue(const JiraIssue &issue);
    [[nodiscard]] const JiraIssue &issue() const { return m_issue; }

    [[nodiscard]] QString issueId() const { return m_issue.id; }
    [[nodiscard]] QString key() const { return m_issue.key; }
    [[nodiscard]] QString issueType() const { return m_issue.fields.issuetype.name; }
    [[nodiscard]] QString summary() const { return m_issue.fields.summary; }
    [[nodiscard]] QString statusName() const { return m_issue.fields.status.name; }
    [[nodiscard]] QString statusCategory() const { return m_issue.fields.status.statusCategory.key; }
    [[nodiscard]] bool hasPriority() const { return m_issue.fields.priority.has_value(); }
    [[nodiscard]] QString priorityName() const;
    [[nodiscard]] bool hasAssignee() const { return m_issue.fields.assignee.has_value(); }
    [[nodiscard]] QString assigneeName() const;
    [[nodiscard]] bool hasDueDate() const { return m_issue.fields.duedate.has_value(); }
    [[nodiscard]] QString dueDate() const { return m_issue.fields.duedate.value_or(QString()); }
    [[nodiscard]] QString descriptionText() const { return m_descriptionText; }
    [[nodiscard]] bool descriptionIsRich() const { return m_descriptionIsRich; }
    [[nodiscard]] bool hasDescription() const { return !m_descriptionText.isEmpty() || m_descriptionIsRich; }

    [[nodiscard]] QVariantList transitions() const;
    [[nodiscard]] QVariantList comments() const { return m_commentsForView; }
    [[nodiscard]] const QList<JiraTransition> &transitionList() const { return m_transitions; }
    [[nodiscard]] const QList<JiraComment> &commentList() const { return m_comments; }
    [[nodiscard]] bool isLoadingTransitions() const { return m_isLoadingTransitions; }
    [[nodiscard]] bool isLoadingComments() const { return m_isLoadingComments; }
    [[nodiscard]] bool commentsUnavailable() const { return m_commentsUnavailable; }
    [[nodiscard]] bool isTransitioning() const { return m_isTransitioning; }
    [[nodiscard]] QString errorMessage() const { return m_errorMessage; }
    [[nodiscard]] QString errorText() const;
    [[nodiscard]] QString menuPlaceholder() const;

    // Both loads at once; neither waits for the other.
    Q_INVOKABLE void load();
    Q_INVOKABLE void loadTransitions();
    Q_INVOKABLE void loadComments();
    // Performs the transition at once, without asking for any field.
    Q_INVOKABLE void performTransition(const QString &transitionId);
    // Performs a transition without a screen at once; opens the form of one with a screen.
    Q_INVOKABLE void chooseTransition(const QString &transitionId);
    [[nodiscard]] TransitionForm *form() const { return m_form; }
    Q_INVOKABLE void closeForm();

    // The connected user's login name: their comments are theirs to edit and delete.
    void setMyName(const QString &name);
    [[nodiscard]] QString myName() const { return m_myName; }
    Q_INVOKABLE [[nodiscard]] bool isOwnComment(const QString &commentId) const;
    [[nodiscard]] CommentEditor *composer() const { return m_composer; }
    [[nodiscard]] IssueAttachments *attachments() const { return m_attachments; }
    [[nodiscard]] CommentEditor *commentEdit() const { return m_commentEdit; }
    Q_INVOKABLE void editComment(const QString &commentId);
    Q_INVOKABLE void closeCommentEdit();
    Q_INVOKABLE void deleteComment(const QString &commentId);
    [[nodiscard]] QString busyCommentId() const { return m_busyCommentId; }
    [[nodiscard]] QString commentActionError() const { return m_commentActionError; }
    [[nodiscard]] QString commentActionErrorId() const { return m_commentActionErrorId; }

    [[nodiscard]] UserLookUp *assignees() const { return m_assignees; }
    // By login name; an empty name unassigns. The list refreshes after: given to someone else, the issue
    // leaves it.
    Q_INVOKABLE void assign(const QString &userName);
    Q_INVOKABLE void assignToMe();
    Q_INVOKABLE void assignTo(int suggestion);
    [[nodiscard]] bool isAssigning() const { return m_isAssigning; }
    [[nodiscard]] QString assignError() const { return m_assignError; }

    [[nodiscard]] WorkLogForm *workLog() const { return m_workLog; }
    [[nodiscard]] EditIssueForm *edit() const { return m_edit; }
    // "Edit…": the fields Jira lets the user edit, filled with what the issue holds.
    Q_INVOKABLE void openEdit();
    Q_INVOKABLE void closeEdit();
    // A click on the summary (or F2) or the priority: that field edited where it is shown.
    Q_INVOKABLE void editInPlace(const QString &fieldKey);
    [[nodiscard]] bool editFormShown() const { return m_edit && m_editFormShown; }
    // Once the edit metadata is in: the editor in place opens with what may be edited.
    [[nodiscard]] bool editingSummary() const;
    [[nodiscard]] QString editSummary() const;
    [[nodiscard]] QStringList editPriorities() const;
    Q_INVOKABLE void saveSummary(const QString &summary);
    Q_INVOKABLE void savePriority(int index);
    Q_INVOKABLE void openWorkLog();
    Q_INVOKABLE void closeWorkLog();
    [[nodiscard]] QString timeTrackingText() const { return m_timeTrackingText; }

    [[nodiscard]] bool inList() const { return m_inList; }
    void setInList(bool inList);
    [[nodiscard]] IssueRelations *relations() const { return m_relations; }
    [[nodiscard]] IssueWatch *watch() const { return m_watch; }
    [[nodiscard]] IssueLinkForm *linkForm() const { return m_linkForm; }
    Q_INVOKABLE void openLinkForm();
    Q_INVOKABLE void closeLinkForm();
    // Reads the issue again: its relations, and all of it when no list brings newer copies; then `done`.
    Q_INVOKABLE void loadIssue() { loadIssue({}); }
    void loadIssue(std::function<void()> done);
    // Shows another issue of the server in the pane.
    Q_INVOKABLE void openIssue(const QString &key) { emit openIssueRequested(key); }

    // base URL + "/browse/" + key, invalid when no server is configured.
    [[nodiscard]] QUrl browseURL() const;
    [[nodiscard]] static QUrl browseURL(const QUrl &base, const QString &key);
    Q_INVOKABLE void openInJira() const;
    // "New Sub-task…": the window's content opens the form.
    Q_INVOKABLE void newSubtask() { emit newSubtaskRequested(); }
    // Opens a link from the description or a comment: one to an issue of this server in the pane, any other
    // in the browser (http, https and mailto only).
    Q_INVOKABLE bool openLink(const QString &link);
    [[nodiscard]] static bool isOpenableLink(const QUrl &url);

signals:
    void newSubtaskRequested();
    void openIssueRequested(const QString &key);
    void inListChanged();
    void linkFormChanged();
    void issueChanged();
    void transitionsChanged();
    void commentsChanged();
    void isLoadingTransitionsChanged();
    void isLoadingCommentsChanged();
    void isTransitioningChanged();
    void errorMessageChanged();
    void menuPlaceholderChanged();
    void formChanged();
    void commentEditChanged();
    void myNameChanged();
    void commentActionChanged();
    void assignmentChanged();
    void workLogChanged();
    void editChanged();
    void timeTrackingChanged();

private:
    void updateDescription();
    void setComments(QList<JiraComment> comments);
    void setLoadingTransitions(bool loading);
    void setLoadingComments(bool loading);
    void setTransitioning(bool transitioning);
    void setErrorMessage(const QString &message);
    // False when nothing was sent: no client, or a transition already under way.
    bool perform(const JiraTransitionRequest &request);
    void updateCommentsForView();
    void resumeEdit();
    void setCommentAction(const QString &busyId, const QString &errorId, const QString &error);
    void setAssigning(bool assigning, const QString &error);
    void loadTimeTracking();

    JiraIssue m_issue;
    AppSettings *m_settings;
    QPointer<JiraClient> m_client;
    Refresh m_refresh;
    QString m_descriptionText;
    bool m_descriptionIsRich = false;
    QList<JiraTransition> m_transitions;
    QList<JiraComment> m_comments;
    // What the view reads, converted once per load: the pane reads it from several bindings.
    QVariantList m_commentsForView;
    bool m_isLoadingTransitions = false;
    bool m_isLoadingComments = false;
    bool m_commentsUnavailable = false;
    bool m_isTransitioning = false;
    QString m_errorMessage;
    QPointer<TransitionForm> m_form;
    QString m_myName;
    CommentEditor *m_composer;
    IssueAttachments *m_attachments;
    QPointer<CommentEditor> m_commentEdit;
    QString m_busyCommentId;
    QString m_commentActionError;
    QString m_commentActionErrorId;
    UserLookUp *m_assignees;
    bool m_isAssigning = false;
    QString m_assignError;
    QPointer<WorkLogForm> m_workLog;
    QPointer<EditIssueForm> m_edit;
    bool m_editFormShown = false;
    QString m_inPlace; // the field edited in place
    QString m_timeTrackingText;
    bool m_inList = true;
    IssueRelations *m_relations;
    IssueWatch *m_watch;
    QPointer<IssueLinkForm> m_linkForm;
};
