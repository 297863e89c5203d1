// The value conversions on any text, under German, English and Swiss
// separators. A RuntimeError (6 overflow, 13 no number) is an allowed answer;
// a crash, undefined behaviour or a wrong round trip is not.
//
// Input: the text. Its first eight bytes also give a double and a money
// amount for the formatting routines, which must read back as written.
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>

#include "fuzz/fuzz_world.h"
#include "support/conversions.h"
#include "support/errors.h"
#include "support/regional.h"

namespace lumaro::fuzzing {
namespace {

template <typename F>
void allowingRuntimeError(F f) {
    try {
        f();
    } catch (const RuntimeError& e) {
        check(e.number() == err::kOverflow || e.number() == err::kTypeMismatch,
              "a conversion raised error " + std::to_string(e.number()));
    }
}

std::string trimSpaces(const std::string& s) {
    const auto first = s.find_first_not_of(' ');
    if (first == std::string::npos)
        return {};
    return s.substr(first, s.find_last_not_of(' ') - first + 1);
}

// GanzzahlLesen as the host's users know it: grouping dropped, a minus
// anywhere before the first other character makes the number negative,
// digits are collected up to that character. Overflow is reported as nothing.
std::optional<std::int32_t> expectedWholeNumber(const std::string& text, const Regional& r) {
    std::string digits;
    bool negative = false;
    for (char c : trimSpaces(text)) {
        if (c == r.thousands)
            continue;
        if (c == '-')
            negative = true;
        else if (c >= '0' && c <= '9')
            digits += c;
        else
            break;
    }
    digits.erase(0, digits.find_first_not_of('0'));
    if (digits.empty())
        return 0;
    if (digits.size() > 10 || (digits.size() == 10 && digits > "2147483647"))
        return std::nullopt;
    const long long v = std::stoll(digits);
    return static_cast<std::int32_t>(negative ? -v : v);
}

void wholeNumbers(const std::string& text, const Regional& r) {
    const auto expected = expectedWholeNumber(text, r);
    try {
        const std::int32_t got = GanzzahlLesen(text, r);
        check(expected && *expected == got, "GanzzahlLesen read " + std::to_string(got));
    } catch (const RuntimeError& e) {
        check(!expected && e.number() == err::kOverflow,
              "GanzzahlLesen raised " + std::to_string(e.number()) + " for a number in range");
    }
}

void readers(const std::string& text, const Regional& r) {
    wholeNumbers(text, r);
    allowingRuntimeError(
        [&] { check(std::isfinite(ZahlLesen(text, r)), "ZahlLesen: not finite"); });
    allowingRuntimeError([&] { TextZuBetrag(text, r); });
    allowingRuntimeError([&] {
        const double d = systemToDouble(text, r);
        check(std::isfinite(d), "systemToDouble: not finite");
        // The shortest form reads back as a number with the same 15 digits.
        const std::string s = formatShortest(d, r);
        const double back = systemToDouble(s, r);
        check(formatShortest(back, r) == s, "formatShortest does not read back: " + s);
    });
    allowingRuntimeError([&] { systemToMoney(text, r); });
    allowingRuntimeError([&] { check(std::isfinite(valOfText(text)), "valOfText: not finite"); });
}

// formatAmount shows hundredths, the rest rounded half away from zero.
// Worked in unsigned so that the most negative amount has a magnitude too;
// the rounded magnitude never leaves the range of Money.
Money roundedToHundredths(Money m) {
    const bool negative = m < 0;
    const std::uint64_t magnitude =
        negative ? 0 - static_cast<std::uint64_t>(m) : static_cast<std::uint64_t>(m);
    const std::uint64_t hundredths = magnitude / 100 + (magnitude % 100 >= 50 ? 1 : 0);
    const std::uint64_t back = hundredths * 100;
    if (!negative)
        return static_cast<Money>(back);
    return back == 0 ? 0 : -static_cast<Money>(back - 1) - 1;
}

// Fifteen digits of a double within a hair of the largest one round up past
// it ("1,79769313486232E+308"), and reading that back overflows, as it did on
// the platform the host's users know. Below this every value reads back.
constexpr double kLargestReadBack = 1.79769313486231e308;

void shortestReadsBack(double d, const Regional& r) {
    if (!std::isfinite(d)) {
        formatShortest(d, r);
        return;
    }
    const std::string s = formatShortest(d, r);
    double back = 0;
    try {
        back = systemToDouble(s, r);
    } catch (const RuntimeError& e) {
        if (std::fabs(d) > kLargestReadBack && e.number() == err::kOverflow)
            return;
        finding("formatShortest wrote what the program cannot read: " + s);
    }
    check(back == d || std::fabs(back - d) <= std::fabs(d) * 1e-14,
          "formatShortest lost the value: " + s);
    check(formatShortest(back, r) == s, "formatShortest is not stable: " + s);
    // Without an exponent the forgiving reader agrees with the strict one.
    if (s.find('E') == std::string::npos)
        check(ZahlLesen(s, r) == back, "ZahlLesen misreads " + s);
}

void formatters(double d, Money m, const Regional& r) {
    shortestReadsBack(d, r);
    const std::string amount = formatAmount(m, r);
    const Money expected = roundedToHundredths(m);
    // Amounts are written into forms and read back from the host's texts,
    // with a currency sign after them.
    try {
        check(TextZuBetrag(amount + " \x80", r) == expected, "TextZuBetrag misreads " + amount);
        check(systemToMoney(amount, r) == expected, "systemToMoney misreads " + amount);
    } catch (const RuntimeError& e) {
        finding("formatAmount wrote what the program cannot read: " + amount);
    }
    if (m > std::numeric_limits<std::int32_t>::min() &&
        m <= std::numeric_limits<std::int32_t>::max()) {
        const auto n = static_cast<std::int32_t>(m);
        check(GanzzahlLesen(formatInteger(n), r) == n, "GanzzahlLesen misreads its own digits");
    }
}

}  // namespace
}  // namespace lumaro::fuzzing

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace lumaro;
    using namespace lumaro::fuzzing;
    const std::string text(asText(data, size));
    double d = 0;
    Money m = 0;
    if (size >= 8) {
        std::memcpy(&d, data, 8);
        std::memcpy(&m, data, 8);
    }
    for (const Regional r : {Regional{',', '.'}, Regional{'.', ','}, Regional{'.', '\''}}) {
        readers(text, r);
        formatters(d, m, r);
    }
    return 0;
}
