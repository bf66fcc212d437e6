#include "desktop/clock_place.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

namespace tavro::desktop {

namespace {

// Whole inside the area where it fits; its top left inside the area where it does not.
ScreenRect inside(ScreenRect r, const ScreenRect& area) {
    const int width = r.width(), height = r.height();
    r.left = std::max(area.left, std::min(r.left, area.right - width));
    r.top = std::max(area.top, std::min(r.top, area.bottom - height));
    return {r.left, r.top, r.left + width, r.top + height};
}

bool isLeft(Corner c) { return c == Corner::TopLeft || c == Corner::BottomLeft; }
bool isTop(Corner c) { return c == Corner::TopLeft || c == Corner::TopRight; }

int primaryOf(std::span<const MonitorInfo> monitors) {
    for (std::size_t i = 0; i < monitors.size(); ++i)
        if (monitors[i].primary) return static_cast<int>(i);
    return monitors.empty() ? -1 : 0;
}

// By name first: a monitor keeps its name through a change of resolution. By rectangle when the
// name went to another one or is gone (a driver update renumbers them).
int findMonitor(const StoredPlace& place, std::span<const MonitorInfo> monitors) {
    if (!place.device.empty())
        for (std::size_t i = 0; i < monitors.size(); ++i)
            if (monitors[i].device == place.device) return static_cast<int>(i);
    if (place.monitor.width() > 0 && place.monitor.height() > 0)
        for (std::size_t i = 0; i < monitors.size(); ++i)
            if (monitors[i].area == place.monitor) return static_cast<int>(i);
    return primaryOf(monitors);
}

bool valid(const StoredPlace& p) {
    return p.corner >= 0 && p.corner <= 3 && p.x >= 0 && p.x <= kMostPlaceDistance && p.y >= 0 &&
           p.y <= kMostPlaceDistance && p.dpi >= kLeastPlaceDpi && p.dpi <= kMostPlaceDpi;
}

int64_t distanceSquared(const ScreenRect& area, int x, int y) {
    const int64_t dx = x < area.left ? area.left - x : x >= area.right ? x - area.right + 1 : 0;
    const int64_t dy = y < area.top ? area.top - y : y >= area.bottom ? y - area.bottom + 1 : 0;
    return dx * dx + dy * dy;
}

}  // namespace

int scaleTo(int pixels96, int dpi) { return scaleBetween(pixels96, 96, dpi); }

int scaleBetween(int pixels, int fromDpi, int toDpi) {
    // An unknown DPI counts as 96.
    const double from = fromDpi > 0 ? fromDpi : 96, to = toDpi > 0 ? toDpi : 96;
    return static_cast<int>(std::lround(pixels * to / from));
}

ClockPlacement placeClock(const std::optional<StoredPlace>& stored, std::span<const MonitorInfo> monitors,
                          int width96, int height96, const ScreenRect& fallback) {
    const int primary = primaryOf(monitors);
    if (primary < 0) return {fallback, 96};
    if (!stored || !valid(*stored)) return {inside(fallback, monitors[primary].work), monitors[primary].dpi};
    const MonitorInfo& m = monitors[findMonitor(*stored, monitors)];
    const auto corner = static_cast<Corner>(stored->corner);
    const int width = scaleTo(width96, m.dpi), height = scaleTo(height96, m.dpi);
    const int x = scaleBetween(stored->x, stored->dpi, m.dpi), y = scaleBetween(stored->y, stored->dpi, m.dpi);
    const int left = isLeft(corner) ? m.work.left + x : m.work.right - x - width;
    const int top = isTop(corner) ? m.work.top + y : m.work.bottom - y - height;
    return {inside({left, top, left + width, top + height}, m.work), m.dpi};
}

int monitorOf(const ScreenRect& r, std::span<const MonitorInfo> monitors) {
    const int x = r.left + r.width() / 2, y = r.top + r.height() / 2;
    int best = -1;
    int64_t bestDistance = std::numeric_limits<int64_t>::max();
    for (std::size_t i = 0; i < monitors.size(); ++i) {
        const int64_t d = distanceSquared(monitors[i].area, x, y);
        if (d < bestDistance) best = static_cast<int>(i), bestDistance = d;
    }
    return best;
}

ScreenRect dragRect(const ScreenRect& proposed, std::span<const MonitorInfo> monitors) {
    const int at = monitorOf(proposed, monitors);
    if (at < 0) return proposed;
    const MonitorInfo& m = monitors[at];
    const int snap = scaleTo(kSnapPixels, m.dpi);
    ScreenRect r = inside(proposed, m.work);
    const int width = r.width(), height = r.height();
    if (r.left - m.work.left <= snap) r.left = m.work.left;
    else if (m.work.right - r.right <= snap) r.left = m.work.right - width;
    if (r.top - m.work.top <= snap) r.top = m.work.top;
    else if (m.work.bottom - r.bottom <= snap) r.top = m.work.bottom - height;
    return inside({r.left, r.top, r.left + width, r.top + height}, m.work);
}

std::optional<StoredPlace> placeOfRect(const ScreenRect& r, std::span<const MonitorInfo> monitors) {
    const int at = monitorOf(r, monitors);
    if (at < 0) return std::nullopt;
    const MonitorInfo& m = monitors[at];
    const ScreenRect c = inside(r, m.work);
    // The nearer side of the work area's middle, across and down.
    const bool left = 2 * (c.left - m.work.left) + c.width() <= m.work.width();
    const bool top = 2 * (c.top - m.work.top) + c.height() <= m.work.height();
    const Corner corner = left ? (top ? Corner::TopLeft : Corner::BottomLeft) : (top ? Corner::TopRight : Corner::BottomRight);
    const auto distance = [](int pixels) { return std::clamp(pixels, 0, kMostPlaceDistance); };
    StoredPlace place;
    place.device = m.device;
    place.monitor = m.area;
    place.corner = static_cast<int>(corner);
    place.x = distance(left ? c.left - m.work.left : m.work.right - c.right);
    place.y = distance(top ? c.top - m.work.top : m.work.bottom - c.bottom);
    place.dpi = std::clamp(m.dpi > 0 ? m.dpi : 96, kLeastPlaceDpi, kMostPlaceDpi);
    return place;
}

}  // namespace tavro::desktop
