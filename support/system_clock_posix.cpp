// The local time of this machine on POSIX systems.
#include <chrono>
#include <ctime>

#include "support/services.h"

namespace lumaro {

DateTime SystemClock::now() const {
    const std::time_t t = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
    // localtime_r, not localtime: no shared static buffer.
    std::tm tm{};
    localtime_r(&t, &tm);
    return DateTime{tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec};
}

}  // namespace lumaro
