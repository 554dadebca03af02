#include "MessageText.h"

QString shortenedForDisplay(const QString &message, qsizetype limit)
{
    if (message.size() <= limit)
        return message;
    qsizetype cut = limit;
    if (cut > 0 && message.at(cut - 1).isHighSurrogate())
        --cut; // never split a character in two
    return message.left(cut) + QChar(0x2026);
}
