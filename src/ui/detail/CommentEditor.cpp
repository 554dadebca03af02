#include "CommentEditor.h"

#include "client/JiraClient.h"
#include "ui/common/MessageText.h"

#include <QRegularExpression>

using namespace Qt::StringLiterals;

namespace {

QString draftSlot(const QString &commentId)
{
    return commentId.isEmpty() ? u"comment"_s : u"edit-"_s + commentId;
}

} // namespace

CommentEditor::CommentEditor(const QUrl &server, QString issueKey, QString commentId, QString original,
                             JiraClient *client, QObject *parent)
    : QObject(parent)
    , m_server(server)
    , m_issueKey(std::move(issueKey))
    , m_commentId(std::move(commentId))
    , m_original(std::move(original))
    , m_text(m_original)
    , m_client(client)
    , m_draft(new Draft(server, m_issueKey, draftSlot(m_commentId), this))
    , m_mentions(new UserLookUp(UserLookUp::Source::AnyUsers, client, m_issueKey, this))
{
    // What was being typed when the pane closed, the post failed or the app ended.
    if (!m_draft->isEmpty())
        m_text = m_draft->value().value("text"_L1).toString();
}

void CommentEditor::setText(const QString &text)
{
    if (m_text == text)
        return;
    m_text = text;
    m_draft->setValue(hasDraft() ? QJsonObject {{u"text"_s, text}} : QJsonObject());
    emit textChanged();
}

std::optional<CommentEditor::Mention> CommentEditor::mentionBefore(const QString &text, qsizetype cursor)
{
    if (cursor < 0 || cursor > text.size())
        return std::nullopt;
    // Jira Server's login names: letters, digits and . _ - @ ; "@" must start a word.
    static const QRegularExpression typed(u"(?:^|\\s)@([\\w.\\-]+)$"_s);
    const QRegularExpressionMatch match = typed.match(QStringView(text).left(cursor));
    if (!match.hasMatch())
        return std::nullopt;
    return Mention {match.capturedStart(1) - 1, match.captured(1)};
}

void CommentEditor::updateMention(int cursor)
{
    const std::optional<Mention> mention = mentionBefore(m_text, cursor);
    m_mentions->lookUp(mention ? mention->query : QString());
}

int CommentEditor::chooseMention(int index, int cursor)
{
    const std::optional<Mention> mention = mentionBefore(m_text, cursor);
    if (!mention || index < 0 || index >= m_mentions->users().size())
        return cursor;
    const JiraUser &user = m_mentions->users().at(index);
    // Server mentions by login name; the display name would not link.
    const QString inserted = u"[~"_s + user.name.value_or(user.displayName) + u"]"_s;
    QString text = m_text;
    text.replace(mention->at, cursor - mention->at, inserted);
    m_mentions->clear();
    setText(text);
    return int(mention->at + inserted.size());
}

void CommentEditor::post()
{
    if (m_isPosting || !m_client || m_text.trimmed().isEmpty())
        return;
    setPosting(true);
    setError({});
    m_draft->flush(); // a crash while the post is under way keeps the text
    const QString sent = m_text;
    // Bound to the client, which outlives the pane: a confirmed comment leaves no draft behind even when
    // the pane was closed meanwhile.
    QPointer<CommentEditor> editor(this);
    auto done = [editor, sent, server = m_server, issueKey = m_issueKey,
                 slot = draftSlot(m_commentId)](JiraResult<JiraComment> result) {
        if (!editor) {
            if (result) {
                Draft kept(server, issueKey, slot);
                if (kept.value().value("text"_L1).toString() == sent)
                    kept.discard();
            }
            return;
        }
        editor->setPosting(false);
        if (!result) {
            editor->setError(refusalText(result.error()));
            return;
        }
        // Only what was sent is done: text typed while the post was under way stays a draft.
        if (editor->m_text == sent) {
            editor->m_draft->discard();
            editor->m_original = editor->m_commentId.isEmpty() ? QString() : sent;
            editor->m_text = editor->m_original;
            emit editor->textChanged();
        }
        emit editor->posted(result.value());
    };
    if (m_commentId.isEmpty())
        m_client->addComment(m_issueKey, sent, m_client, std::move(done));
    else
        m_client->updateComment(m_issueKey, m_commentId, sent, m_client, std::move(done));
}

void CommentEditor::discard()
{
    m_draft->discard();
    m_mentions->clear();
    setError({});
    if (m_text != m_original) {
        m_text = m_original;
        emit textChanged();
    }
}

void CommentEditor::setPosting(bool posting)
{
    if (m_isPosting == posting)
        return;
    m_isPosting = posting;
    emit isPostingChanged();
}

void CommentEditor::setError(const QString &error)
{
    if (m_error == error)
        return;
    m_error = error;
    emit errorChanged();
}
