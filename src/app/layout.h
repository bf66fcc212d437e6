// Where the clock window stands, how high each view makes it, and where every field of the
// panel lies. Everything is measured in cells of 40 picture pixels, which drawScale turns into
// screen pixels: 0.5 at 96 DPI, DPI / 192 in general, 1.0 at 192 DPI where the pictures are 1:1.
#pragma once

#include <string_view>

namespace tavro::app {

inline constexpr int kPictureCell = 40;    // one grid unit in picture pixels
inline constexpr int kPanelCells = 22;
inline constexpr int kFullPanelRows = 29;  // the canvas always holds every panel

// 0.5 for a DPI the system cannot tell (0 or less); the user's size in percent on top (100: the
// monitor's own).
float drawScaleForDpi(int dpi, int sizePercent = 100);
// Screen pixels of one cell, and of a whole number of cells, at that scale.
double cellPixels(float drawScale);
int cellsToPixels(float drawScale, int cells);

// The views, by their stored numbers (viewMode). The one rule: any stored value other than 1 or
// 2 is the countdown view, at start-up and in the menu's check mark.
enum ViewMode { ViewClock = 1, ViewClockCalender = 2, ViewCountdown = 3 };
ViewMode viewModeFromStored(long stored);
int rowsForView(ViewMode mode);

struct WindowRect {
    int left, top, width, height;
    bool operator==(const WindowRect&) const = default;
};

// In screen coordinates of the primary monitor, whose top left is (screenLeft, screenTop), at the
// monitor's drawScale: one cell down from the top; the right edge one cell short of the screen
// width rounded down to the cell grid, so the panel lies on the wallpaper's tiles. At another
// size the clock keeps that top right corner.
WindowRect clockWindowRect(int screenLeft, int screenTop, int screenWidth, ViewMode mode, float drawScale,
                           int sizePercent = 100);

// The same rectangle in the client coordinates of a parent whose client area's top left is at
// (clientLeft, clientTop) on the screen; the program manager's may start left of or above the
// primary monitor.
WindowRect toParentClient(const WindowRect& onScreen, int clientLeft, int clientTop);

// The numeric fields of the panel, in grid units (draw7seg's x and row).
struct FieldPlace {
    float x;
    std::wstring_view fieldTemplate;
};
inline constexpr float kNowRow = 1, kTargetRow = 22, kCountdownRow = 26;
inline constexpr float kDateTimeLeft = 1;  // the present time and the target start at column 1
// year, month, day, hour, minute, second: columns after kDateTimeLeft
inline constexpr FieldPlace kDateTimeFields[6] = {{0, L"0000"}, {5, L"Z0"},  {8, L"Z0"},
                                                  {11, L"Z0"},  {14, L"00"}, {17, L"00"}};
// days with the direction arrow, hours, minutes, seconds
inline constexpr FieldPlace kCountdownFields[4] = {{6, L"↓ZZZ0"}, {12, L"Z0"}, {15, L"00"}, {18, L"00"}};

}  // namespace tavro::app
