// Where the clock window stands and how high each view makes it.
#pragma once

namespace tavro::app {

inline constexpr float drawScale = 0.5f;  // every picture, text and position is drawn at half size
inline constexpr int kCellPixels = 20;     // one grid unit at drawScale
inline constexpr int kPanelCells = 22;
inline constexpr int kPanelWidth = kPanelCells * kCellPixels;
inline constexpr int kFullPanelRows = 29;  // the canvas always holds every panel

enum ViewMode { ViewClock = 1, ViewClockCalender = 2, ViewCountdown = 3 };

// Any stored value other than 1 or 2 is the countdown view.
ViewMode viewModeFromStored(long stored);
int rowsForView(ViewMode mode);

struct WindowRect {
    int left, top, width, height;
};

// One cell down from the top; the right edge one cell short of the screen width rounded down
// to the 20-pixel mosaic grid, so the panel lies on the wallpaper's tiles.
WindowRect clockWindowRect(int screenWidth, ViewMode mode);

}  // namespace tavro::app
