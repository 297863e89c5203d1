// Reading numbers out of texts: the platform's "value of text" (valOfText) and
// its regional conversions to double and to money (systemToDouble,
// systemToMoney).
//
// Both first take the text apart into a sign, a string of significant digits
// and a power of ten, and only then build the value. That way a text of a
// thousand digits costs a thousand steps and ends in a clean overflow error,
// and money amounts are exact instead of going through a binary double.
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>

#include "support/conversions.h"
#include "support/errors.h"

namespace lumaro {
namespace {

// value = (negative ? -1 : 1) * digits * 10^exponent; digits has no leading
// zeros and is empty for zero.
struct DecimalNumber {
    bool negative = false;
    std::string digits;
    long long exponent = 0;
};

// Exponents are clamped well beyond any representable value, so that a long
// run of fraction digits or an absurd exponent cannot overflow the counter.
constexpr long long kExponentLimit = 1'000'000'000;

long long clampExponent(long long e) {
    if (e > kExponentLimit)
        return kExponentLimit;
    if (e < -kExponentLimit)
        return -kExponentLimit;
    return e;
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

void appendIntegerDigit(DecimalNumber& n, char c) {
    if (n.digits.empty() && c == '0')
        return;
    n.digits += c;
}

void appendFractionDigit(DecimalNumber& n, char c) {
    if (!(n.digits.empty() && c == '0'))
        n.digits += c;
    n.exponent = clampExponent(n.exponent - 1);
}

// Reads [sign] digit+ at pos into e; false (pos unchanged) when there is no digit.
bool readExponent(const std::string& t, std::size_t& pos, long long& e) {
    std::size_t p = pos;
    bool negative = false;
    if (p < t.size() && (t[p] == '+' || t[p] == '-')) {
        negative = t[p] == '-';
        ++p;
    }
    if (p >= t.size() || !isDigit(t[p]))
        return false;
    long long value = 0;
    while (p < t.size() && isDigit(t[p])) {
        if (value < kExponentLimit)
            value = value * 10 + (t[p] - '0');
        ++p;
    }
    e = negative ? -value : value;
    pos = p;
    return true;
}

// Number of digits before the decimal point of a non-zero number.
long long magnitudeOf(const DecimalNumber& n) {
    return static_cast<long long>(n.digits.size()) + n.exponent;
}

double toDouble(const DecimalNumber& n) {
    if (n.digits.empty())
        return 0.0;
    const long long magnitude = magnitudeOf(n);
    // The largest double has 309 digits before the point, the smallest
    // subnormal 323 zeros after it.
    if (magnitude > 310)
        raiseError(err::kOverflow);
    if (magnitude < -330)
        return 0.0;
    const std::string text = n.digits + "e" + std::to_string(n.exponent);
    double value = 0;
    auto res = std::from_chars(text.data(), text.data() + text.size(), value);
    if (res.ec == std::errc::result_out_of_range) {
        if (magnitude > 0)
            raiseError(err::kOverflow);
        return 0.0;  // too small: the platform gives 0 too
    }
    if (res.ec != std::errc{} || std::isinf(value))
        raiseError(err::kOverflow);
    return n.negative ? -value : value;
}

// Money in 1/10000, the fifth decimal and beyond rounded half to even.
Money toMoney(const DecimalNumber& n) {
    if (n.digits.empty())
        return 0;
    const long long shift = n.exponent + 4;  // digits * 10^shift ten-thousandths
    const long long wholeDigits = static_cast<long long>(n.digits.size()) + shift;
    // 922337203685477.5807 has 19 digits as ten-thousandths.
    if (wholeDigits > 19)
        raiseError(err::kOverflow);
    std::uint64_t value = 0;
    const std::size_t keep = wholeDigits <= 0 ? 0 : static_cast<std::size_t>(wholeDigits);
    for (std::size_t i = 0; i < keep; ++i) {
        const char c = i < n.digits.size() ? n.digits[i] : '0';
        value = value * 10 + static_cast<std::uint64_t>(c - '0');
    }
    if (keep < n.digits.size()) {
        // Digits were dropped: keep holds the digits before the rounding place,
        // unless the number lies wholly below it (then the first dropped
        // digit may be a zero we never stored).
        const long long firstDropped = wholeDigits;  // index into digits, may be < 0
        char dropped = firstDropped < 0 ? '0' : n.digits[static_cast<std::size_t>(firstDropped)];
        bool restNonZero = false;
        const std::size_t restFrom =
            firstDropped < 0 ? 0 : static_cast<std::size_t>(firstDropped) + 1;
        for (std::size_t i = restFrom; i < n.digits.size() && !restNonZero; ++i)
            restNonZero = n.digits[i] != '0';
        if (dropped > '5' || (dropped == '5' && (restNonZero || value % 2 == 1)))
            ++value;
    }
    constexpr auto kMax = static_cast<std::uint64_t>(std::numeric_limits<Money>::max());
    if (n.negative) {
        if (value > kMax + 1)
            raiseError(err::kOverflow);
        return static_cast<Money>(0 - value);
    }
    if (value > kMax)
        raiseError(err::kOverflow);
    return static_cast<Money>(value);
}

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

// The regional syntax: blanks around, one sign before or after the number,
// digits with thousands separators (not leading), a decimal separator, an
// exponent. Anything else in the text makes it no number.
std::optional<DecimalNumber> parseRegional(const std::string& t, const Regional& r) {
    DecimalNumber n;
    std::size_t p = 0;
    const std::size_t end = t.size();
    while (p < end && isBlank(t[p]))
        ++p;
    bool signSeen = false;
    if (p < end && (t[p] == '+' || t[p] == '-')) {
        n.negative = t[p] == '-';
        signSeen = true;
        ++p;
    }
    bool anyDigit = false;
    while (p < end) {
        if (isDigit(t[p])) {
            appendIntegerDigit(n, t[p]);
            anyDigit = true;
        } else if (t[p] == r.thousands && anyDigit && r.thousands != r.decimal) {
            // grouping is ignored wherever it stands in the whole part
        } else {
            break;
        }
        ++p;
    }
    if (p < end && t[p] == r.decimal) {
        ++p;
        while (p < end && isDigit(t[p])) {
            appendFractionDigit(n, t[p]);
            anyDigit = true;
            ++p;
        }
    }
    if (!anyDigit)
        return std::nullopt;
    if (p < end && (t[p] == 'e' || t[p] == 'E')) {
        ++p;
        long long e = 0;
        if (!readExponent(t, p, e))
            return std::nullopt;
        n.exponent = clampExponent(n.exponent + e);
    }
    if (p < end && !signSeen && (t[p] == '+' || t[p] == '-')) {
        n.negative = t[p] == '-';
        ++p;
    }
    while (p < end && isBlank(t[p]))
        ++p;
    if (p != end)
        return std::nullopt;
    return n;
}

}  // namespace

double valOfText(const std::string& text) {
    // Blanks, tabs and line feeds do not count anywhere in the text: "1 2" is 12.
    std::string t;
    t.reserve(text.size());
    for (char c : text) {
        if (c != ' ' && c != '\t' && c != '\n')
            t += c;
    }
    DecimalNumber n;
    std::size_t p = 0;
    if (p < t.size() && (t[p] == '+' || t[p] == '-')) {
        n.negative = t[p] == '-';
        ++p;
    }
    bool anyDigit = false;
    while (p < t.size() && isDigit(t[p])) {
        appendIntegerDigit(n, t[p++]);
        anyDigit = true;
    }
    if (p < t.size() && t[p] == '.') {
        ++p;
        while (p < t.size() && isDigit(t[p])) {
            appendFractionDigit(n, t[p++]);
            anyDigit = true;
        }
    }
    if (anyDigit && p < t.size() && (t[p] == 'e' || t[p] == 'E' || t[p] == 'd' || t[p] == 'D')) {
        std::size_t q = p + 1;
        long long e = 0;
        if (readExponent(t, q, e))
            n.exponent = clampExponent(n.exponent + e);
    }
    return toDouble(n);
}

double systemToDouble(const std::string& text, const Regional& r) {
    auto n = parseRegional(text, r);
    if (!n)
        raiseError(err::kTypeMismatch);
    return toDouble(*n);
}

Money systemToMoney(const std::string& text, const Regional& r) {
    auto n = parseRegional(text, r);
    if (!n)
        raiseError(err::kTypeMismatch);
    return toMoney(*n);
}

}  // namespace lumaro
