#include "desktop/clock_place_win32.h"

#include "base/display_dpi_win32.h"
#include "desktop/desktop_calls_win32.h"

namespace tavro::desktop {

namespace {

using settings::kPlaceCorner;
using settings::kPlaceMonitor;
using settings::kPlaceMonitorEdges;
using settings::kPlaceX;
using settings::kPlaceY;
using settings::kPlaceDpi;

ScreenRect fromRect(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

BOOL CALLBACK addMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM list) noexcept {
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
    const auto corner = store->readNumber(kPlaceCorner.name);
    if (!corner) return std::nullopt;
    StoredPlace place;
    place.corner = *corner;
    // A missing distance is out of range: the place rule then gives the default.
    place.x = store->readNumber(kPlaceX.name).value_or(kPlaceX.otherwise);
    place.y = store->readNumber(kPlaceY.name).value_or(kPlaceY.otherwise);
    place.dpi = store->readNumber(kPlaceDpi.name).value_or(kPlaceDpi.otherwise);
    place.device = store->readText(kPlaceMonitor.name).value_or(std::wstring(kPlaceMonitor.otherwise));
    int* edges[] = {&place.monitor.left, &place.monitor.top, &place.monitor.right, &place.monitor.bottom};
    for (int i = 0; i < 4; ++i)
        *edges[i] = store->readNumber(kPlaceMonitorEdges[i].name).value_or(kPlaceMonitorEdges[i].otherwise);
    return place;
}

void writeStoredPlace(const StoredPlace& place) {
    const auto store = makeRegistryRecordStore();
    // The corner last: it is what makes a place stored.
    store->remove(kPlaceCorner.name);
    store->writeText(kPlaceMonitor.name, place.device);
    const int edges[] = {place.monitor.left, place.monitor.top, place.monitor.right, place.monitor.bottom};
    for (int i = 0; i < 4; ++i) store->writeNumber(kPlaceMonitorEdges[i].name, edges[i]);
    store->writeNumber(kPlaceX.name, place.x);
    store->writeNumber(kPlaceY.name, place.y);
    store->writeNumber(kPlaceDpi.name, place.dpi);
    store->writeNumber(kPlaceCorner.name, place.corner);
}

void removeStoredPlace() {
    const auto store = makeRegistryRecordStore();
    store->remove(kPlaceCorner.name);
    for (const std::wstring_view name : {kPlaceMonitor.name, kPlaceX.name, kPlaceY.name, kPlaceDpi.name}) store->remove(name);
    for (const settings::NumberSetting& edge : kPlaceMonitorEdges) store->remove(edge.name);
}

}  // namespace tavro::desktop
