#include "documents/withdrawal/model/calendar_day.h"

#include <cmath>
#include <string_view>

#include "support/conversions.h"
#include "support/errors.h"
#include "support/regional.h"
#include "support/trim.h"

namespace lumaro {

namespace {

std::int64_t floorDiv(std::int64_t a, std::int64_t b) {
    std::int64_t q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0)))
        --q;
    return q;
}

// Howard Hinnant's days_from_civil: days since 1970-01-01 of a valid date.
std::int64_t daysFromCivil(std::int64_t y, std::int64_t m, std::int64_t d) {
    y -= m <= 2 ? 1 : 0;
    const std::int64_t era = floorDiv(y, 400);
    const std::int64_t yoe = y - era * 400;
    const std::int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

struct Civil {
    std::int64_t year, month, day;
};

Civil civilFromDays(std::int64_t z) {
    z += 719468;
    const std::int64_t era = floorDiv(z, 146097);
    const std::int64_t doe = z - era * 146097;
    const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const std::int64_t mp = (5 * doy + 2) / 153;
    const std::int64_t d = doy - (153 * mp + 2) / 5 + 1;
    const std::int64_t m = mp < 10 ? mp + 3 : mp - 9;
    return {yoe + era * 400 + (m <= 2 ? 1 : 0), m, d};
}

// The first and last day we can print with a four-digit year.
const std::int64_t kFirstDay = daysFromCivil(100, 1, 1);
const std::int64_t kLastDay = daysFromCivil(9999, 12, 31);

bool inPrintableRange(std::int64_t days) {
    return days >= kFirstDay && days <= kLastDay;
}

// The number at the start of a piece of the date, as a 16-bit whole number.
int pieceValue(std::string_view piece) {
    return toInt16(roundHalfEven(valOfText(std::string(piece))));
}

}  // namespace

CalendarDay calendarDay(int year, int month, int day) {
    // Month first: month 13 is January of the next year, month 0 December of
    // the year before; then the day counts on from the first of that month.
    const std::int64_t months = static_cast<std::int64_t>(year) * 12 + (month - 1);
    const std::int64_t y = floorDiv(months, 12);
    const std::int64_t m = months - y * 12 + 1;
    const std::int64_t days = daysFromCivil(y, m, 1) + (day - 1);
    if (!inPrintableRange(days))
        raiseError(err::kInvalidCall);
    return CalendarDay{days};
}

CalendarDay parseTreatmentDate(const std::string& text) {
    const std::string_view t = trimBlanks(text);
    const std::string_view dayPiece = t.substr(0, 2);
    const std::string_view monthPiece = t.size() > 3 ? t.substr(3, 2) : std::string_view{};
    const std::string_view yearPiece = t.size() > 4 ? t.substr(t.size() - 4) : t;
    return calendarDay(pieceValue(yearPiece), pieceValue(monthPiece), pieceValue(dayPiece));
}

CalendarDay addPeriod(CalendarDay day, double periodDays) {
    // Periods come from the data file and can be any number; refuse what
    // cannot be a date before converting it to whole days.
    if (!std::isfinite(periodDays) || std::fabs(periodDays) > 4.0e6)
        raiseError(err::kOverflow);
    const std::int64_t result = day.days + static_cast<std::int64_t>(std::floor(periodDays));
    if (!inPrintableRange(result))
        raiseError(err::kOverflow);
    return CalendarDay{result};
}

DateTime toDateTime(CalendarDay day) {
    const Civil c = civilFromDays(day.days);
    DateTime t;
    t.year = static_cast<int>(c.year);
    t.month = static_cast<int>(c.month);
    t.day = static_cast<int>(c.day);
    return t;
}

std::string formatDayShort(CalendarDay day) {
    return formatDate_dd_mm_yy(toDateTime(day));
}

std::string formatDayLong(CalendarDay day) {
    return formatDate_dd_mm_yyyy(toDateTime(day));
}

}  // namespace lumaro
