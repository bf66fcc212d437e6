// Where the clock stands among the monitors: the place the user dragged it to, kept as a corner
// of one monitor's work area and a distance from it at 96 DPI, so that a clock at the bottom left
// stays at the bottom left when the resolution, the scaling or the task bar changes. Whatever is
// stored, the clock ends up whole inside a work area.
#pragma once

#include <optional>
#include <span>
#include <string>

namespace tavro::desktop {

struct ScreenRect {
    int left = 0, top = 0, right = 0, bottom = 0;
    int width() const { return right - left; }
    int height() const { return bottom - top; }
    bool operator==(const ScreenRect&) const = default;
};

struct MonitorInfo {
    std::wstring device;  // the name the system gives it, "\\.\DISPLAY1"
    ScreenRect area;      // in screen coordinates; the primary's top left is (0, 0)
    ScreenRect work;      // the area less the task bar and docked bars
    int dpi = 96;
    bool primary = false;
    bool operator==(const MonitorInfo&) const = default;
};

enum class Corner { TopLeft = 0, TopRight = 1, BottomLeft = 2, BottomRight = 3 };

// As stored: the monitor by its device name and, should that name be gone, its rectangle; the
// corner of its work area and the clock's distance from it, in pixels at the monitor's DPI of the
// drop (a place of the release before has none stored: 96), so that a drop comes back exactly.
struct StoredPlace {
    std::wstring device;
    ScreenRect monitor;
    int corner = 0;  // a Corner; anything else is no place
    int x = 0, y = 0;
    int dpi = 96;
    bool operator==(const StoredPlace&) const = default;
};

// A distance larger than any screen, or a DPI no monitor has, is no place either.
inline constexpr int kMostPlaceDistance = 32767;
inline constexpr int kLeastPlaceDpi = 24, kMostPlaceDpi = 2400;
// While dragging, an edge this close to the work area's edge (at 96 DPI) goes onto it.
inline constexpr int kSnapPixels = 10;

struct ClockPlacement {
    ScreenRect rect;
    int dpi = 96;  // of the monitor it stands on, for its scale
};

// Pixels at 96 DPI on a monitor of dpi, rounded.
int scaleTo(int pixels96, int dpi);
// Pixels at one DPI at another, rounded.
int scaleBetween(int pixels, int fromDpi, int toDpi);

// The clock of the given size at 96 DPI where the stored place says, on its monitor (found by
// name, else by rectangle, else the primary), at that monitor's scale; without a valid place,
// at fallback on the primary (whose DPI the caller sized it for). Without any monitor: fallback.
ClockPlacement placeClock(const std::optional<StoredPlace>& stored, std::span<const MonitorInfo> monitors,
                          int width96, int height96, const ScreenRect& fallback);

// The monitor a rectangle belongs to: the one holding its centre, else the nearest; -1 if none.
int monitorOf(const ScreenRect& r, std::span<const MonitorInfo> monitors);

// A rectangle being dragged: whole inside its monitor's work area, its edges on that area's
// edges when they come within kSnapPixels (scaled).
ScreenRect dragRect(const ScreenRect& proposed, std::span<const MonitorInfo> monitors);

// The place to store for a clock dropped at r: its monitor, the nearest corner of the work area
// and the distance from it. Nothing without a monitor.
std::optional<StoredPlace> placeOfRect(const ScreenRect& r, std::span<const MonitorInfo> monitors);

}  // namespace tavro::desktop
