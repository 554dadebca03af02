#pragma once
// What is typed for a new comment on an issue, or for an edit of one of the user's own comments: kept as
// a draft on disk while it is typed, posted when asked (once, however often asked), with users mentioned
// by picking them as "@name" is typed. The server's answer is the comment shown; nothing before it.

#include "cache/Draft.h"
#include "client/JiraRecords.h"
#include "ui/forms/UserLookUp.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QtQml/qqmlregistration.h>

#include <optional>

class JiraClient;

class CommentEditor : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Made by the detail pane.")

    // Empty for a new comment.
    Q_PROPERTY(QString commentId READ commentId CONSTANT FINAL)
    Q_PROPERTY(QString text READ text WRITE setText NOTIFY textChanged FINAL)
    // What was typed differs from what the server has: worth keeping, and worth a Discard.
    Q_PROPERTY(bool hasDraft READ hasDraft NOTIFY textChanged FINAL)
    Q_PROPERTY(bool isPosting READ isPosting NOTIFY isPostingChanged FINAL)
    Q_PROPERTY(QString error READ error NOTIFY errorChanged FINAL)
    // Users matching the mention being typed at the cursor.
    Q_PROPERTY(UserLookUp *mentions READ mentions CONSTANT FINAL)

public:
    // `original` is the comment's text for an edit, empty for a new comment.
    CommentEditor(const QUrl &server, QString issueKey, QString commentId, QString original, JiraClient *client,
                  QObject *parent = nullptr);

    [[nodiscard]] QString commentId() const { return m_commentId; }
    [[nodiscard]] QString text() const { return m_text; }
    void setText(const QString &text);
    [[nodiscard]] bool hasDraft() const { return m_text != m_original; }
    [[nodiscard]] bool isPosting() const { return m_isPosting; }
    [[nodiscard]] QString error() const { return m_error; }
    [[nodiscard]] UserLookUp *mentions() const { return m_mentions; }

    // Looks at the text before the cursor: "@" and letters after a space or at the start look users up.
    Q_INVOKABLE void updateMention(int cursor);
    // Replaces the mention typed before the cursor with the user's "[~name]"; the new cursor position.
    Q_INVOKABLE int chooseMention(int index, int cursor);

    // Posts a new comment or saves the edit. Nothing is posted while a post is under way or the text is blank.
    Q_INVOKABLE void post();
    // Forgets what was typed, on disk too.
    Q_INVOKABLE void discard();

    // The mention being typed before `cursor`: where its "@" is and what follows it.
    struct Mention
    {
        qsizetype at;
        QString query;
    };
    [[nodiscard]] static std::optional<Mention> mentionBefore(const QString &text, qsizetype cursor);

signals:
    void textChanged();
    void isPostingChanged();
    void errorChanged();
    // The server took the comment: the comment as it now stands (new or edited).
    void posted(const JiraComment &comment);

private:
    void setPosting(bool posting);
    void setError(const QString &error);

    QUrl m_server;
    QString m_issueKey;
    QString m_commentId;
    QString m_original;
    QString m_text;
    QPointer<JiraClient> m_client;
    Draft *m_draft;
    UserLookUp *m_mentions;
    bool m_isPosting = false;
    QString m_error;
};
