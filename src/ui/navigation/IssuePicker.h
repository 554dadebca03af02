#pragma once
// Issues suggested as a key or words are typed, from Jira's issue picker: once a few letters are typed and
// typing pauses; only the answer to the newest text is offered. Any issue of the server, as Jira's own link
// dialog asks: no query narrows the picker's "Current Search" to a list.

#include "client/JiraRecords.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <QUrl>
#include <QVariantList>
#include <QtQml/qqmlregistration.h>

class JiraClient;

class IssuePicker : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Made by the window or form it serves.")

    // [{key, summary, section, startsSection}]: Jira's sections in its order (the issues viewed lately
    // first), each issue once, the first of each section marked to show the section's label above it.
    Q_PROPERTY(QVariantList suggestions READ suggestions NOTIFY suggestionsChanged FINAL)
    // An answer for the newest text is awaited.
    Q_PROPERTY(bool isSearching READ isSearching NOTIFY isSearchingChanged FINAL)

public:
    static constexpr int pauseMs = 250;
    static constexpr qsizetype minimumLetters = 2;

    explicit IssuePicker(JiraClient *client, QObject *parent = nullptr);

    [[nodiscard]] QVariantList suggestions() const { return m_suggestions; }
    [[nodiscard]] bool isSearching() const { return m_searching; }
    // Text too short offers nothing; an answer still on its way for older text is dropped.
    Q_INVOKABLE void search(const QString &text);
    Q_INVOKABLE void clear();
    // The key of the suggestion at `row`, or empty.
    Q_INVOKABLE [[nodiscard]] QString keyAt(int row) const;
    // What Enter takes: the suggestion at `row` when one is chosen, else the key or link to an issue of
    // the server at `base` typed, else the first suggestion; empty when there is none of them.
    [[nodiscard]] QString chosenKey(const QString &typed, int row, const QUrl &base) const;

signals:
    void suggestionsChanged();
    void isSearchingChanged();

private:
    void send();
    void setSearching(bool searching);

    QPointer<JiraClient> m_client;
    QString m_text;
    QTimer m_pause;
    int m_sequence = 0;
    bool m_searching = false;
    QVariantList m_suggestions;
};
