#include "RelativeTime.h"

#include "IcuText.h"
#include "JiraDateFormat.h"

#include <QLocale>

#include <cstdlib>
#include <memory>
#include <unicode/calendar.h>
#include <unicode/reldatefmt.h>

namespace {

icu::Locale userLocale()
{
    const QLocale system = QLocale::system();
    // The C locale is what a session without LANG gets; English reads better there than ICU's root.
    if (system.language() == QLocale::C)
        return icu::Locale("en_US_POSIX");
    // QLocale::name() drops the script (zh_TW for zh_Hant_TW), so the tag is built from its parts.
    QString tag = QLocale::languageToCode(system.language());
    if (system.script() != QLocale::AnyScript)
        tag += u'-' + QLocale::scriptToCode(system.script());
    if (system.territory() != QLocale::AnyTerritory)
        tag += u'-' + QLocale::territoryToCode(system.territory());
    UErrorCode status = U_ZERO_ERROR;
    icu::Locale locale = icu::Locale::forLanguageTag(tag.toStdString(), status);
    return U_SUCCESS(status) && !locale.isBogus() ? locale : icu::Locale("en_US_POSIX");
}

const icu::Locale &sharedUserLocale()
{
    static const icu::Locale locale = userLocale();
    return locale;
}

// Counts the whole units between two instants in the user's calendar and time zone. A calendar is a
// working object that fieldDifference moves along, so the shared one is main-thread only.
icu::Calendar *sharedCalendar()
{
    static const std::unique_ptr<icu::Calendar> calendar = [] {
        UErrorCode status = U_ZERO_ERROR;
        std::unique_ptr<icu::Calendar> made(icu::Calendar::createInstance(sharedUserLocale(), status));
        return U_SUCCESS(status) ? std::move(made) : nullptr;
    }();
    return calendar.get();
}

struct Unit
{
    UCalendarDateFields field;
    URelativeDateTimeUnit unit;
};

constexpr Unit unitsLargestFirst[] = {
    {UCAL_YEAR, UDAT_REL_UNIT_YEAR},         {UCAL_MONTH, UDAT_REL_UNIT_MONTH},
    {UCAL_WEEK_OF_YEAR, UDAT_REL_UNIT_WEEK}, {UCAL_DATE, UDAT_REL_UNIT_DAY},
    {UCAL_HOUR_OF_DAY, UDAT_REL_UNIT_HOUR},  {UCAL_MINUTE, UDAT_REL_UNIT_MINUTE},
    {UCAL_SECOND, UDAT_REL_UNIT_SECOND},
};

// ICU's calendar clamps instants beyond about 5.8 million years instead of refusing them, which would
// give a confident but wrong count; nothing from the server lies that far out.
bool withinCalendar(const QDateTime &instant)
{
    constexpr qint64 limitMSecs = 10'000'000'000'000'000; // about 317,000 years
    return instant.isValid() && std::abs(instant.toMSecsSinceEpoch()) <= limitMSecs;
}

} // namespace

const icu::RelativeDateTimeFormatter *relativeFormatter()
{
    static const std::unique_ptr<const icu::RelativeDateTimeFormatter> formatter =
        []() -> std::unique_ptr<const icu::RelativeDateTimeFormatter> {
        UErrorCode status = U_ZERO_ERROR;
        auto made = std::make_unique<icu::RelativeDateTimeFormatter>(sharedUserLocale(), nullptr, UDAT_STYLE_SHORT,
                                                                     UDISPCTX_CAPITALIZATION_NONE, status);
        return U_SUCCESS(status) ? std::move(made) : nullptr;
    }();
    return formatter.get();
}

QString relativePhrase(const QDateTime &date, const QDateTime &reference)
{
    const icu::RelativeDateTimeFormatter *formatter = relativeFormatter();
    icu::Calendar *calendar = sharedCalendar();
    if (!formatter || !calendar || !withinCalendar(date) || !withinCalendar(reference))
        return {};

    UErrorCode status = U_ZERO_ERROR;
    const auto target = UDate(date.toMSecsSinceEpoch());
    calendar->setTime(UDate(reference.toMSecsSinceEpoch()), status);
    double count = 0;
    URelativeDateTimeUnit unit = UDAT_REL_UNIT_SECOND;
    for (const Unit &candidate : unitsLargestFirst) {
        // Moves the calendar on by the whole units counted, so the next field counts the remainder.
        const int32_t difference = calendar->fieldDifference(target, candidate.field, status);
        if (U_FAILURE(status))
            return {};
        if (difference != 0) {
            count = difference;
            unit = candidate.unit;
            break;
        }
    }
    // Under a second in the past, or this very instant, reads as past ("0 sec. ago"): ICU takes the sign
    // of zero.
    if (count == 0 && date <= reference)
        count = -0.0;

    icu::UnicodeString phrase;
    formatter->formatNumeric(count, unit, phrase, status);
    return U_SUCCESS(status) ? IcuText::toQString(phrase) : QString();
}

QString relativeTimeString(const QString &text, const QDateTime &now)
{
    const std::optional<QDateTime> date = JiraDateFormat::parse(text);
    return date ? relativePhrase(*date, now) : QString();
}
