#include "JiraDateFormat.h"

#include "IcuText.h"

#include <cmath>
#include <memory>
#include <unicode/smpdtfmt.h>

namespace {

std::unique_ptr<const icu::SimpleDateFormat> makeParser(const char16_t *pattern)
{
    UErrorCode status = U_ZERO_ERROR;
    // en_US_POSIX keeps parsing free of the user's language, digits and calendar.
    auto format =
        std::make_unique<icu::SimpleDateFormat>(icu::UnicodeString(pattern), icu::Locale("en_US_POSIX"), status);
    if (U_FAILURE(status))
        return nullptr;
    // Strict: no out-of-range fields rolled over, no partial literals, no guessed layouts.
    format->setLenient(false);
    return format;
}

// Dates this far out are nonsense from the server; the bound also keeps the conversion to whole
// milliseconds defined.
constexpr double maxAbsoluteMSecs = 1e16; // about 317,000 years

std::optional<QDateTime> parseWhole(const icu::SimpleDateFormat *format, const QString &text)
{
    // No Jira date is anywhere near this long; a bigger text is not worth handing to ICU.
    constexpr qsizetype longestDate = 64;
    if (!format || text.isEmpty() || text.size() > longestDate)
        return std::nullopt;
    // ICU skips white space in front of a number even when strict. The text is taken as it is, so a
    // blank in front rejects it just as a blank behind does.
    if (text.front().isSpace())
        return std::nullopt;
    const std::optional<icu::UnicodeString> source = IcuText::fromQString(text);
    if (!source)
        return std::nullopt;
    icu::ParsePosition position(0);
    const UDate parsed = format->parse(*source, position);
    if (position.getErrorIndex() >= 0 || position.getIndex() != source->length())
        return std::nullopt;
    if (!std::isfinite(parsed) || std::fabs(parsed) > maxAbsoluteMSecs)
        return std::nullopt;
    return QDateTime::fromMSecsSinceEpoch(qint64(parsed), Qt::UTC);
}

} // namespace

namespace JiraDateFormat {

const icu::SimpleDateFormat *timestamp()
{
    static const auto format = makeParser(u"yyyy-MM-dd'T'HH:mm:ss.SSSZ");
    return format.get();
}

const icu::SimpleDateFormat *day()
{
    static const auto format = makeParser(u"yyyy-MM-dd");
    return format.get();
}

std::optional<QDateTime> parseTimestamp(const QString &text)
{
    return parseWhole(timestamp(), text);
}

std::optional<QDateTime> parseDay(const QString &text)
{
    return parseWhole(day(), text);
}

std::optional<QDateTime> parse(const QString &text)
{
    if (auto instant = parseTimestamp(text))
        return instant;
    return parseDay(text);
}

} // namespace JiraDateFormat
