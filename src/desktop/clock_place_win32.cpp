#include "desktop/clock_place_win32.h"

#include "desktop/desktop_calls_win32.h"

namespace tavro::desktop {

namespace {

// The program's key; a number or text of another type reads as missing.
constexpr wchar_t kMonitorName[] = L"placeMonitor";
constexpr const wchar_t* kMonitorRectNames[] = {L"placeMonitorLeft", L"placeMonitorTop", L"placeMonitorRight",
                                                L"placeMonitorBottom"};
constexpr wchar_t kCornerName[] = L"placeCorner";
constexpr wchar_t kXName[] = L"placeX";
constexpr wchar_t kYName[] = L"placeY";
constexpr wchar_t kDpiName[] = L"placeDpi";  // missing in a place of the release before: 96

using DpiForMonitorFn = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);

// Bound at run time: shcore came with Windows 8.1.
DpiForMonitorFn dpiForMonitor() {
    static const DpiForMonitorFn fn = [] {
        HMODULE shcore = LoadLibraryW(L"shcore.dll");
        return shcore ? reinterpret_cast<DpiForMonitorFn>(reinterpret_cast<void (*)()>(GetProcAddress(shcore, "GetDpiForMonitor")))
                      : nullptr;
    }();
    return fn;
}

int systemDpi() {
    HDC screen = GetDC(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSX) : 96;
    if (screen) ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : 96;
}

ScreenRect fromRect(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

BOOL CALLBACK addMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM list) {
    MONITORINFOEXW info{};
    info.cbSize = sizeof info;
    if (!GetMonitorInfoW(monitor, &info)) return TRUE;
    MonitorInfo m;
    m.device = info.szDevice;
    m.area = fromRect(info.rcMonitor);
    m.work = fromRect(info.rcWork);
    m.primary = (info.dwFlags & MONITORINFOF_PRIMARY) != 0;
    UINT x = 0, y = 0;
    const DpiForMonitorFn fn = dpiForMonitor();
    m.dpi = fn && SUCCEEDED(fn(monitor, 0 /* MDT_EFFECTIVE_DPI */, &x, &y)) && x > 0 ? static_cast<int>(x) : systemDpi();
    reinterpret_cast<std::vector<MonitorInfo>*>(list)->push_back(std::move(m));
    return TRUE;
}

}  // namespace

std::vector<MonitorInfo> currentMonitors() {
    std::vector<MonitorInfo> monitors;
    EnumDisplayMonitors(nullptr, nullptr, addMonitor, reinterpret_cast<LPARAM>(&monitors));
    return monitors;
}

std::optional<StoredPlace> readStoredPlace() {
    const auto store = makeRegistryRecordStore();
    const auto corner = store->readNumber(kCornerName);
    if (!corner) return std::nullopt;
    StoredPlace place;
    place.corner = *corner;
    // A missing distance is out of range: the place rule then gives the default.
    place.x = store->readNumber(kXName).value_or(-1);
    place.y = store->readNumber(kYName).value_or(-1);
    place.dpi = store->readNumber(kDpiName).value_or(96);
    place.device = store->readText(kMonitorName).value_or(L"");
    int* edges[] = {&place.monitor.left, &place.monitor.top, &place.monitor.right, &place.monitor.bottom};
    for (int i = 0; i < 4; ++i) *edges[i] = store->readNumber(kMonitorRectNames[i]).value_or(0);
    return place;
}

void writeStoredPlace(const StoredPlace& place) {
    const auto store = makeRegistryRecordStore();
    // The corner last: it is what makes a place stored.
    store->remove(kCornerName);
    store->writeText(kMonitorName, place.device);
    const int edges[] = {place.monitor.left, place.monitor.top, place.monitor.right, place.monitor.bottom};
    for (int i = 0; i < 4; ++i) store->writeNumber(kMonitorRectNames[i], edges[i]);
    store->writeNumber(kXName, place.x);
    store->writeNumber(kYName, place.y);
    store->writeNumber(kDpiName, place.dpi);
    store->writeNumber(kCornerName, place.corner);
}

void removeStoredPlace() {
    const auto store = makeRegistryRecordStore();
    store->remove(kCornerName);
    for (const wchar_t* name : {kMonitorName, kXName, kYName, kDpiName}) store->remove(name);
    for (const wchar_t* name : kMonitorRectNames) store->remove(name);
}

}  // namespace tavro::desktop
