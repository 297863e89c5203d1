#include "support/regional.h"

#include <charconv>

#include "support/services.h"

namespace lumaro {
namespace {

// Two digits with a leading zero; values outside 0..99 keep their last two.
std::string twoDigits(int v) {
    if (v < 0)
        v = -v;
    v %= 100;
    return std::string{static_cast<char>('0' + v / 10), static_cast<char>('0' + v % 10)};
}

std::string fourDigits(int v) {
    if (v < 0)
        v = -v;
    v %= 10000;
    return twoDigits(v / 100) + twoDigits(v % 100);
}

}  // namespace

std::string formatAmount(std::int64_t amount, const Regional& r) {
    // Work in unsigned so that the most negative amount has a magnitude too.
    const bool negative = amount < 0;
    std::uint64_t magnitude =
        negative ? 0 - static_cast<std::uint64_t>(amount) : static_cast<std::uint64_t>(amount);
    // The pattern shows hundredths; the two digits dropped from the fixed
    // four decimals round half away from zero, as the platform's Format does.
    std::uint64_t hundredths = magnitude / 100;
    if (magnitude % 100 >= 50)
        ++hundredths;
    std::string out = negative ? "-" : "";
    out += std::to_string(hundredths / 100);
    out += r.decimal;
    out += twoDigits(static_cast<int>(hundredths % 100));
    return out;
}

std::string formatShortest(double value, const Regional& r) {
    if (value == 0)
        return "0";  // never "-0"
    // The platform writes a double with 15 significant digits and drops
    // trailing zeros, so sums such as 12.3 + 4.5 come out as "16,8" rather than
    // the last binary digit's "16,799999999999997". to_chars, unlike printf,
    // never looks at the C locale, which the GUI toolkit sets from the user's.
    char buf[64];
    auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::general, 15);
    std::string out(buf, res.ptr);
    for (char& c : out) {
        if (c == '.')
            c = r.decimal;
        else if (c == 'e')
            c = 'E';
    }
    return out;
}

std::string formatInteger(long long value) {
    return std::to_string(value);
}

std::string formatDate_yy_mm_dd(const DateTime& t) {
    return twoDigits(t.year) + "_" + twoDigits(t.month) + "_" + twoDigits(t.day);
}

std::string formatTime_hh_mm_ss(const DateTime& t) {
    return twoDigits(t.hour) + ":" + twoDigits(t.minute) + ":" + twoDigits(t.second);
}

std::string formatDate_dd_mm_yyyy(const DateTime& t) {
    return twoDigits(t.day) + "." + twoDigits(t.month) + "." + fourDigits(t.year);
}

std::string formatDate_dd_mm_yy(const DateTime& t) {
    return twoDigits(t.day) + "." + twoDigits(t.month) + "." + twoDigits(t.year);
}

std::string formatDateTime_dd_mm_yyyy_hh_mm(const DateTime& t) {
    return formatDate_dd_mm_yyyy(t) + " " + twoDigits(t.hour) + ":" + twoDigits(t.minute);
}

}  // namespace lumaro
