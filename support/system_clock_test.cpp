#include <gtest/gtest.h>

#include <ctime>
#include <tuple>

#include "support/services.h"

namespace lumaro {
namespace {

DateTime fromC(std::time_t t) {
    const std::tm* tm = std::localtime(&t);  // this test is the only caller
    return DateTime{tm->tm_year + 1900, tm->tm_mon + 1, tm->tm_mday,
                    tm->tm_hour,        tm->tm_min,     tm->tm_sec};
}

auto key(const DateTime& d) {
    return std::tie(d.year, d.month, d.day, d.hour, d.minute, d.second);
}

TEST(SystemClock, GivesTheLocalDateAndTimeAsTheCLibrarySeesIt) {
    // A wrong zone, a month from 0 or a year from 1900 falls outside.
    const DateTime before = fromC(std::time(nullptr));
    const DateTime now = SystemClock{}.now();
    const DateTime after = fromC(std::time(nullptr) + 1);
    EXPECT_LE(key(before), key(now));
    EXPECT_LE(key(now), key(after));
}

}  // namespace
}  // namespace lumaro
