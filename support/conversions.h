// Forgiving conversions of the data files' texts into numbers, and the
// rounding rules the program relies on.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <variant>

#include "support/regional.h"
#include "support/services.h"

namespace lumaro {

// A money amount: fixed point with four decimal places (1 EUR = 10000).
using Money = std::int64_t;

// Every conversion below that gets a number too large for its type raises
// error 6, one that gets no number raises error 13; so does a text of a
// thousand digits, without ever building a value of that size.

// The platform's "value of text" reading: blanks, tabs and line feeds are
// skipped wherever they stand, '.' is the decimal separator whatever the
// locale, an exponent (E or D) may follow, reading stops at the first character
// that cannot continue the number; no number gives 0.
double valOfText(const std::string& text);

// The system conversion of a text to a number with the regional separators
// (decimal separator, thousands separators ignored, blanks around it allowed,
// a sign, an exponent). A text that is no number raises error 13.
double systemToDouble(const std::string& text, const Regional& r);
// The same syntax read exactly as a money amount; digits beyond the fourth
// decimal round half to even, amounts beyond the range raise error 6.
Money systemToMoney(const std::string& text, const Regional& r);

// Rounding to a whole number with halves going to the even neighbour.
double roundHalfEven(double v);
// Rounded as above and checked against the range; overflow raises error 6.
std::int16_t toInt16(double v);
std::int32_t toInt32(double v);

std::int32_t GanzzahlLesen(const std::string& text, const Regional& r);
double ZahlLesen(const std::string& text, const Regional& r);
Money TextZuBetrag(const std::string& text, const Regional& r);

// NullFilter: typed default for an empty (null) value. The value is given as
// its text; nothing means null.
using NullValue = std::variant<std::monostate, std::int16_t, std::int32_t, double, float, Money,
                               std::string, bool>;
NullValue NullFilter(const Services& s, const std::optional<std::string>& value,
                     const std::string& typeName);

}  // namespace lumaro
