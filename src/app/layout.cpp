#include "app/layout.h"

namespace tavro::app {

ViewMode viewModeFromStored(long stored) {
    if (stored == 1) return ViewClock;
    if (stored == 2) return ViewClockCalender;
    return ViewCountdown;
}

int rowsForView(ViewMode mode) {
    switch (mode) {
        case ViewClock: return 4;
        case ViewClockCalender: return 21;
        default: return kFullPanelRows;
    }
}

WindowRect clockWindowRect(int screenWidth, ViewMode mode) {
    const int gridWidth = screenWidth / kCellPixels * kCellPixels;
    return {gridWidth - kCellPixels * 23, kCellPixels, kPanelWidth, rowsForView(mode) * kCellPixels};
}

}  // namespace tavro::app
