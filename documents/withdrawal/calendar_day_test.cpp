#include "documents/withdrawal/calendar_day.h"

#include <gtest/gtest.h>

#include "support/errors.h"

namespace lumaro {
namespace {

std::string longDate(const std::string& text) {
    return formatDayLong(parseTreatmentDate(text));
}

int errorNumberOf(const std::string& text) {
    try {
        parseTreatmentDate(text);
    } catch (const RuntimeError& e) {
        return e.number();
    }
    return 0;
}

TEST(TreatmentDate, IsNormalisedTheCalendarWay) {
    EXPECT_EQ(longDate("05.03.2024"), "05.03.2024");
    EXPECT_EQ(longDate("31.02.2024"), "02.03.2024");
    EXPECT_EQ(longDate("29.02.2023"), "01.03.2023");
    EXPECT_EQ(longDate("29.02.2024"), "29.02.2024");
    EXPECT_EQ(longDate("15.13.2024"), "15.01.2025");
    EXPECT_EQ(longDate("00.03.2024"), "29.02.2024");
    EXPECT_EQ(longDate("32.12.2024"), "01.01.2025");
    EXPECT_EQ(longDate("01.00.2024"), "01.12.2023");
    EXPECT_EQ(longDate("31.12.1899"), "31.12.1899");
}

TEST(TreatmentDate, ReadsTheNumberAtTheStartOfEachPiece) {
    // "5.03.2024": day "5.", month "3.", year "2024".
    EXPECT_EQ(longDate("5.03.2024"), "05.03.2024");
    EXPECT_EQ(longDate(" 05.03.2024 "), "05.03.2024") << "blanks around the date are ignored";
    EXPECT_EQ(longDate("05/03/2024"), "05.03.2024");
    EXPECT_EQ(longDate("1x.03.2024"), "01.03.2024");
}

TEST(TreatmentDate, RefusesWhatIsNoPrintableDate) {
    EXPECT_EQ(errorNumberOf("ab.cd.efgh"), 5) << "year 0";
    EXPECT_EQ(errorNumberOf("05.03.24"), 5) << "the last four characters give year 3";
    EXPECT_EQ(errorNumberOf("05.03.9e99"), err::kOverflow);
    EXPECT_EQ(errorNumberOf("31.12.9999"), 0);
    EXPECT_EQ(errorNumberOf("32.12.9999"), 5);
}

TEST(EndDate, AddsWholeDaysOfThePeriod) {
    const CalendarDay start = parseTreatmentDate("31.02.2024");
    EXPECT_EQ(formatDayLong(addPeriod(start, 7)), "09.03.2024");
    EXPECT_EQ(formatDayShort(addPeriod(start, 7)), "09.03.24");
    EXPECT_EQ(formatDayLong(addPeriod(start, 2.9)), "04.03.2024") << "a fraction does not count";
    EXPECT_EQ(formatDayLong(addPeriod(start, 0)), "02.03.2024");
    const CalendarDay newYear = parseTreatmentDate("20.12.2026");
    EXPECT_EQ(formatDayShort(addPeriod(newYear, 28)), "17.01.27");
    EXPECT_EQ(formatDayLong(addPeriod(parseTreatmentDate("01.01.2028"), 365)), "31.12.2028");
}

TEST(EndDate, PeriodsBeyondAnyCalendarAreAnOverflow) {
    const CalendarDay start = parseTreatmentDate("01.01.2024");
    EXPECT_THROW(addPeriod(start, 1e300), RuntimeError);
    EXPECT_THROW(addPeriod(start, 3.0e6), RuntimeError);
    EXPECT_NO_THROW(addPeriod(start, 2.0e6));
}

TEST(CalendarDay, RoundTripsThroughCivilDates) {
    for (int year : {100, 1600, 1900, 1970, 2000, 2024, 2100, 9999}) {
        for (int month = 1; month <= 12; ++month) {
            const DateTime t = toDateTime(calendarDay(year, month, 28));
            EXPECT_EQ(t.year, year);
            EXPECT_EQ(t.month, month);
            EXPECT_EQ(t.day, 28);
        }
    }
    EXPECT_EQ(calendarDay(2024, 3, 1).days - calendarDay(2024, 2, 28).days, 2);
    EXPECT_EQ(calendarDay(2100, 3, 1).days - calendarDay(2100, 2, 28).days, 1);
    EXPECT_EQ(calendarDay(1970, 1, 1).days, 0);
}

}  // namespace
}  // namespace lumaro
