#pragma once
// What the user is typing for one issue (a comment, an edit of a comment, a work log), kept on disk as it
// is typed so that a failed post, a closed pane, a crash or a restart loses none of it. One file per
// draft under $XDG_DATA_HOME/Tessarin/drafts (folder 0700, files 0600), named by a digest of the server,
// the issue and the draft's slot, replaced as a whole (QSaveFile). Removed only when the server has taken
// what it held or the user discards it.

#include <QJsonObject>
#include <QObject>
#include <QString>
#include <QTimer>
#include <QUrl>

class Draft : public QObject
{
    Q_OBJECT

public:
    // How long typing pauses before what was typed is written.
    static constexpr int savePauseMs = 400;

    // Reads what the draft held when it was last written.
    Draft(const QUrl &server, const QString &issueKey, const QString &slot, QObject *parent = nullptr);
    // Writes what is still unwritten.
    ~Draft() override;

    [[nodiscard]] QJsonObject value() const { return m_value; }
    [[nodiscard]] bool isEmpty() const { return m_value.isEmpty(); }
    // Kept, and written once typing pauses. An empty value removes the file.
    void setValue(const QJsonObject &value);
    // Writes now. False when the file could not be written.
    bool flush();
    // Forgets the draft, on disk too.
    void discard();

    [[nodiscard]] QString filePath() const { return m_path; }
    [[nodiscard]] static QString folder();

private:
    QString m_issueKey;
    QString m_slot;
    QString m_path;
    QJsonObject m_value;
    QTimer m_saveTimer;
    bool m_unwritten = false;
};
