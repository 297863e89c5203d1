#include "support/conversions.h"

#include <cfloat>
#include <cmath>
#include <limits>

#include "support/codepage.h"
#include "support/errors.h"
#include "support/trim.h"

namespace lumaro {
namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

std::string asciiLower(std::string s) {
    for (char& c : s) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return s;
}

// A text that is nothing but a separator means 0. The comma counts whatever
// the regional settings say, as the host writes German texts.
bool isLoneSeparator(const std::string& t, const Regional& r) {
    return t == "," || (t.size() == 1 && t[0] == r.decimal);
}

constexpr char kEuro = '\x80';  // "€" in Windows-1252

}  // namespace

double roundHalfEven(double v) {
    if (!std::isfinite(v))
        return v;
    const double below = std::floor(v);
    const double fraction = v - below;  // exact for every double
    if (fraction > 0.5)
        return below + 1;
    if (fraction < 0.5)
        return below;
    return std::fmod(below, 2.0) == 0 ? below : below + 1;
}

std::int16_t toInt16(double v) {
    const double r = roundHalfEven(v);
    if (!(r >= std::numeric_limits<std::int16_t>::min() &&
          r <= std::numeric_limits<std::int16_t>::max()))
        raiseError(err::kOverflow);  // NaN included
    return static_cast<std::int16_t>(r);
}

std::int32_t toInt32(double v) {
    const double r = roundHalfEven(v);
    if (!(r >= std::numeric_limits<std::int32_t>::min() &&
          r <= std::numeric_limits<std::int32_t>::max()))
        raiseError(err::kOverflow);
    return static_cast<std::int32_t>(r);
}

std::int32_t GanzzahlLesen(const std::string& text, const Regional& r) {
    const std::string_view trimmed = trimBlanks(text);
    bool negative = false;
    std::string digits;
    for (char c : trimmed) {
        if (c == r.thousands)
            continue;  // grouping is dropped before the scan
        if (c == '-') {
            negative = true;  // wherever it stands: "5-" is -5
        } else if (isDigit(c)) {
            if (!(digits.empty() && c == '0'))
                digits += c;  // leading zeros carry no value
        } else {
            break;
        }
    }
    if (digits.empty())
        return 0;
    // The digits are converted first and negated afterwards, so -2147483648
    // overflows like 2147483648 does. More than ten digits cannot fit, which
    // also keeps a text of a thousand digits from being read any further.
    if (digits.size() > 10)
        raiseError(err::kOverflow);
    const long long value = std::stoll(digits);
    if (value > std::numeric_limits<std::int32_t>::max())
        raiseError(err::kOverflow);
    return static_cast<std::int32_t>(negative ? -value : value);
}

double ZahlLesen(const std::string& text, const Regional& r) {
    std::string t(trimBlanks(text));
    if (t.empty() || isLoneSeparator(t, r))
        return 0;
    const std::string lower = asciiLower(t);
    if (lower == "false")
        return 0;
    if (lower == "true")
        return -1;
    if (t[0] == r.decimal)
        t.insert(t.begin(), '0');
    // Digits are kept; the first other character, whatever it is, becomes the
    // decimal separator, so "12.5" and "12,5" read alike and "1.234,5" is
    // 1.2345; later ones are dropped. A minus counts only in front.
    std::string result;
    bool separatorPlaced = false;
    for (std::size_t i = 0; i < t.size(); ++i) {
        const char c = t[i];
        if (c == '-') {
            if (i == 0)
                result += c;
        } else if (isDigit(c)) {
            result += c;
        } else if (!separatorPlaced) {
            result += r.decimal;
            separatorPlaced = true;
        }
    }
    const std::string check(trimBlanks(result));
    if (check == "-" || isLoneSeparator(check, r))
        return 0;
    return systemToDouble(result, r);
}

Money TextZuBetrag(const std::string& text, const Regional& r) {
    if (trimBlanks(text).empty())
        return 0;
    // From the right: currency marks (S, SFr, €) and blanks go, the rightmost
    // other character is the decimal separator and every other one to its
    // left is taken for grouping. "12,50 EUR" is therefore 1250: the R is the
    // rightmost other character.
    std::string reversed;
    bool separatorPlaced = false;
    for (auto it = text.rbegin(); it != text.rend(); ++it) {
        const char c = *it;
        if (isDigit(c) || c == '-') {
            reversed += c;
        } else if (c == ' ' || c == 'S' || c == 'F' || c == 'r' || c == kEuro) {
            // dropped
        } else if (!separatorPlaced) {
            reversed += r.decimal;
            separatorPlaced = true;
        }
    }
    const std::string result(reversed.rbegin(), reversed.rend());
    const std::string check(trimBlanks(result));
    if (check.empty() || isLoneSeparator(check, r))
        return 0;
    return systemToMoney(result, r);
}

NullValue NullFilter(const Services& s, const std::optional<std::string>& value,
                     const std::string& typeName) {
    const bool isNull = !value.has_value();
    // The numeric types give a 16-bit 0 for an empty value, not a zero of
    // their own type, as the platform's untyped 0 did.
    const bool blank = isNull || trimBlanks(*value).empty();
    if (typeName == "Integer") {
        if (blank)
            return std::int16_t{0};
        return toInt16(systemToDouble(*value, s.regional));
    }
    if (typeName == "Long") {
        if (blank)
            return std::int16_t{0};
        return toInt32(systemToDouble(*value, s.regional));
    }
    if (typeName == "Double") {
        if (blank)
            return std::int16_t{0};
        return systemToDouble(*value, s.regional);
    }
    if (typeName == "Currency") {
        if (blank)
            return std::int16_t{0};
        return systemToMoney(*value, s.regional);
    }
    if (typeName == "Single") {
        if (blank)
            return std::int16_t{0};
        const double d = systemToDouble(*value, s.regional);
        if (std::fabs(d) > FLT_MAX)
            raiseError(err::kOverflow);
        return static_cast<float>(d);
    }
    if (typeName == "String") {
        return isNull ? std::string{} : *value;
    }
    if (typeName == "String+") {
        if (isNull || value->empty())
            return std::string(" ");
        return *value;
    }
    if (typeName == "Boolean") {
        // A truth value arrives as its text; "True"/"False" are read as such,
        // a blank text counts as 0, anything else must be a number.
        if (blank)
            return false;
        const std::string lower = asciiLower(std::string(trimBlanks(*value)));
        if (lower == "true")
            return true;
        if (lower == "false")
            return false;
        return systemToDouble(*value, s.regional) != 0;
    }
    s.messages.show(ansi("NullFilter enthält einen falschen Wert"), typeName,
                    MessageIcon::Information);
    return std::monostate{};
}

}  // namespace lumaro
