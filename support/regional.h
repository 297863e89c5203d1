// Regional number separators and the few number and date patterns the program uses.
#pragma once

#include <cstdint>
#include <string>

namespace lumaro {

struct DateTime;

struct Regional {
    char decimal = ',';
    char thousands = '.';
};

// "##0.00": at least one digit before, exactly two after the decimal separator,
// no grouping, '-' in front when negative. value is a money amount in 1/10000.
std::string formatAmount(std::int64_t amountTenThousandths, const Regional& r);

// Shortest decimal form with the regional separator: 7 -> "7", 2.5 -> "2,5".
std::string formatShortest(double value, const Regional& r);

// The platform's ordinary number-to-text conversion of a whole number.
std::string formatInteger(long long value);

std::string formatDate_yy_mm_dd(const DateTime& t);              // "10_09_26" for 26 September 2010
std::string formatTime_hh_mm_ss(const DateTime& t);              // "14:03:27"
std::string formatDate_dd_mm_yyyy(const DateTime& t);            // "26.09.2010"
std::string formatDate_dd_mm_yy(const DateTime& t);              // "26.09.10"
std::string formatDateTime_dd_mm_yyyy_hh_mm(const DateTime& t);  // "26.09.2010 14:03"

}  // namespace lumaro
