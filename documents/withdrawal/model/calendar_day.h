// Whole days for the treatment date and the ends of the withdrawal periods.
//
// The host writes the treatment date as "dd.mm.yyyy", but a hand-edited or
// half-written file may hold anything there. The date is read piece by piece
// and normalised the calendar way (31.02.2024 is 2 March 2024, month 13 is
// January of the next year, day 0 the last day of the month before), so the
// printed end dates follow from the printed treatment date by plain counting.
#pragma once

#include <cstdint>
#include <string>

#include "support/services.h"

namespace lumaro {

// Days since 1 January 1970 in the Gregorian calendar.
struct CalendarDay {
    std::int64_t days = 0;
    friend bool operator==(CalendarDay, CalendarDay) = default;
};

// The date of year, month and day after normalising month and day. Years
// outside 100..9999 after normalising raise error 5: no printed record may
// carry a date the program cannot write with four digits.
CalendarDay calendarDay(int year, int month, int day);

// Reads a treatment date: day from characters 1-2, month from 4-5, year from
// the last four characters, each the number at the start of its piece (0 when
// there is none), rounded half to even. Blanks around the text are ignored.
// Pieces beyond the 16-bit range raise error 6.
CalendarDay parseTreatmentDate(const std::string& text);

// day plus the whole days of a period; a fraction of a day does not move the
// date. A result outside the years 100..9999 raises error 6.
CalendarDay addPeriod(CalendarDay day, double periodDays);

DateTime toDateTime(CalendarDay day);

std::string formatDayShort(CalendarDay day);  // "dd.mm.yy"
std::string formatDayLong(CalendarDay day);   // "dd.mm.yyyy"

}  // namespace lumaro
