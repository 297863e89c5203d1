// The local time of this machine on Windows.
//
// GetLocalTime reads the clock in the zone and daylight-saving rule the user
// set in Windows, the time every other program of the practice shows; the C
// runtime's localtime would instead follow a TZ variable when one happens to
// be set.
#include <windows.h>

#include "support/services.h"

namespace lumaro {

DateTime SystemClock::now() const {
    SYSTEMTIME st{};
    ::GetLocalTime(&st);
    return DateTime{st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond};
}

}  // namespace lumaro
