#include "desktop/clock_place_win32.h"

#include "base/display_dpi_win32.h"
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
    m.dpi = base::monitorDpi(monitor);
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
    store->writeNumber(kCornerName, place.corner);
}

void removeStoredPlace() {
    const auto store = makeRegistryRecordStore();
    store->remove(kCornerName);
    for (const wchar_t* name : {kMonitorName, kXName, kYName}) store->remove(name);
    for (const wchar_t* name : kMonitorRectNames) store->remove(name);
}

}  // namespace tavro::desktop
