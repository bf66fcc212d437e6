#include "app/local_time_win32.h"

namespace tavro::app {

namespace {
// Past the boundary by a little, so that a timer that fires a few ms early still sees the new second.
constexpr UINT kPastTheSecondMs = 3;
}

datetime::DateValue localNow() {
    SYSTEMTIME t;
    GetLocalTime(&t);
    return datetime::makeDateTime({t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond});
}

UINT millisecondsToNextSecond() {
    SYSTEMTIME t;
    GetLocalTime(&t);
    return 1000 - t.wMilliseconds + kPastTheSecondMs;
}

}  // namespace tavro::app
