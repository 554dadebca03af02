#pragma once
// Moving text between QString and ICU's UnicodeString: both are UTF-16, so nothing is re-encoded.

#include <QString>

#include <limits>
#include <optional>
#include <unicode/unistr.h>

namespace IcuText {

// None for a text too long for ICU's 32-bit lengths.
inline std::optional<icu::UnicodeString> fromQString(const QString &text)
{
    if (text.size() > std::numeric_limits<int32_t>::max())
        return std::nullopt;
    return icu::UnicodeString(reinterpret_cast<const UChar *>(text.utf16()), int32_t(text.size()));
}

inline QString toQString(const icu::UnicodeString &text)
{
    return QString(reinterpret_cast<const QChar *>(text.getBuffer()), text.length());
}

} // namespace IcuText
