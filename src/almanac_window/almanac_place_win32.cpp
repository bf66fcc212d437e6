#include "almanac_window/almanac_place_win32.h"

#include <algorithm>

#include "base/display_dpi_win32.h"
#include "settings/registry_store.h"

namespace tavro::almanac_window {

namespace {

using settings::kAlmanacHeight;
using settings::kAlmanacLeft;
using settings::kAlmanacTop;
using settings::kAlmanacWidth;
using settings::kMissingNumber;
constexpr int kDefaultWidthAt96 = 700, kDefaultHeightAt96 = 600;
constexpr int kMinSide = 200, kMaxSide = 16384;

// Enough of the title bar on a monitor's work area to take it with the mouse.
bool titleBarShown(const RECT& r) {
    const RECT bar{r.left, r.top, r.right, r.top + GetSystemMetrics(SM_CYCAPTION)};
    const HMONITOR monitor = MonitorFromRect(&bar, MONITOR_DEFAULTTONULL);
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (!monitor || !GetMonitorInfoW(monitor, &info)) return false;
    RECT shown{};
    return IntersectRect(&shown, &bar, &info.rcWork) && shown.right - shown.left >= 100 &&
           shown.bottom - shown.top >= (bar.bottom - bar.top) / 2;
}

RECT defaultRect(HWND clock) {
    const HMONITOR monitor = MonitorFromWindow(clock, MONITOR_DEFAULTTOPRIMARY);
    MONITORINFO info{};
    info.cbSize = sizeof info;
    GetMonitorInfoW(monitor, &info);
    const RECT& work = info.rcWork;
    // Not the clock window's DPI: it hangs in the shell's window, of another process's awareness.
    const int dpi = base::monitorDpi(monitor);
    const int width = std::min<int>(MulDiv(kDefaultWidthAt96, dpi, 96), work.right - work.left);
    const int height = std::min<int>(MulDiv(kDefaultHeightAt96, dpi, 96), work.bottom - work.top);
    const int left = work.left + (work.right - work.left - width) / 2;
    const int top = work.top + (work.bottom - work.top - height) / 2;
    return {left, top, left + width, top + height};
}

}  // namespace

RECT almanacOpeningRect(HWND clock) {
    const int left = settings::readSetting(kAlmanacLeft), top = settings::readSetting(kAlmanacTop);
    const int width = settings::readSetting(kAlmanacWidth), height = settings::readSetting(kAlmanacHeight);
    const auto sane = [](int v, int low, int high) { return v != kMissingNumber && v >= low && v <= high; };
    if (sane(left, -kMaxSide * 4, kMaxSide * 4) && sane(top, -kMaxSide * 4, kMaxSide * 4) &&
        sane(width, kMinSide, kMaxSide) && sane(height, kMinSide, kMaxSide)) {
        const RECT stored{left, top, left + width, top + height};
        if (titleBarShown(stored)) return stored;
    }
    return defaultRect(clock);
}

void storeAlmanacRect(const RECT& r) {
    if (r.right - r.left <= 0 || r.bottom - r.top <= 0) return;
    settings::writeSetting(kAlmanacLeft, r.left);
    settings::writeSetting(kAlmanacTop, r.top);
    settings::writeSetting(kAlmanacWidth, r.right - r.left);
    settings::writeSetting(kAlmanacHeight, r.bottom - r.top);
}

}  // namespace tavro::almanac_window
