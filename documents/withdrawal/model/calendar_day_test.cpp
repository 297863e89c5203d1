#include "documents/withdrawal/model/calendar_day.h"

#include <gtest/gtest.h>

#include "support/errors.h"
#include "tests/fakes/fakes.h"

namespace lumaro {
namespace {

std::string longDate(const std::string& text) {
    return formatDayLong(parseTreatmentDate(text));
}

int errorNumberOf(const std::string& text) {
    return testing::errorOf([&] { parseTreatmentDate(text); });
}

TEST(TreatmentDate, IsNormalisedTheCalendarWay) {
    EXPECT_EQ(longDate("31.02.2024"), "02.03.2024");
    EXPECT_EQ(longDate("29.02.2023"), "01.03.2023");
    EXPECT_EQ(longDate("29.02.2024"), "29.02.2024");
    EXPECT_EQ(longDate("15.13.2024"), "15.01.2025");
    EXPECT_EQ(longDate("00.03.2024"), "29.02.2024");
    EXPECT_EQ(longDate("01.00.2024"), "01.12.2023");
    // Each piece is the number at its start; blanks around the date do not count.
    EXPECT_EQ(longDate("5.03.2024"), "05.03.2024");
    EXPECT_EQ(longDate(" 05/03/2024 "), "05.03.2024");
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
    EXPECT_EQ(formatDayShort(addPeriod(parseTreatmentDate("20.12.2026"), 28)), "17.01.27");
    EXPECT_THROW(addPeriod(start, 1e300), RuntimeError);
    EXPECT_THROW(addPeriod(start, 3.0e6), RuntimeError);
}

TEST(CalendarDay, RoundTripsThroughCivilDates) {
    for (int year : {100, 1600, 1900, 1970, 2024, 2100, 9999}) {
        for (int month = 1; month <= 12; ++month) {
            const DateTime t = toDateTime(calendarDay(year, month, 28));
            EXPECT_TRUE(t.year == year && t.month == month && t.day == 28) << year << "-" << month;
        }
    }
    EXPECT_EQ(calendarDay(2100, 3, 1).days - calendarDay(2100, 2, 28).days, 1);
    EXPECT_EQ(calendarDay(1970, 1, 1).days, 0);
}

}  // namespace
}  // namespace lumaro
