#include "MessageText.h"

#include "client/JiraRecords.h"

#include <QStringList>

QString shortenedForDisplay(const QString &message, qsizetype limit)
{
    if (message.size() <= limit)
        return message;
    qsizetype cut = limit;
    if (cut > 0 && message.at(cut - 1).isHighSurrogate())
        --cut; // never split a character in two
    return message.left(cut) + QChar(0x2026);
}

QString refusalText(const JiraError &error)
{
    if (const std::optional<JiraErrorCollection> collection = jiraErrorCollection(error)) {
        QStringList messages = collection->errorMessages;
        for (const auto &[key, message] : collection->errors)
            messages.append(message);
        if (!messages.isEmpty())
            return messages.join(u'\n');
    }
    return shortenedForDisplay(userFacingText(error));
}
