#include "app/layout.h"

#include <cmath>

namespace tavro::app {

float drawScaleForDpi(int dpi, int sizePercent) {
    return static_cast<float>((dpi > 0 ? dpi : 96) * sizePercent) / 19200.0f;
}

double cellPixels(float drawScale) { return static_cast<double>(drawScale) * kPictureCell; }

int cellsToPixels(float drawScale, int cells) { return static_cast<int>(std::lround(cellPixels(drawScale) * cells)); }

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

WindowRect clockWindowRect(int screenLeft, int screenTop, int screenWidth, ViewMode mode, float drawScale,
                           int sizePercent) {
    const double cell = cellPixels(drawScale);
    const float sized = drawScale * static_cast<float>(sizePercent) / 100.0f;
    if (!(cell >= 1.0) || !(cellPixels(sized) >= 1.0)) return {screenLeft, screenTop, 0, 0};
    const double gridWidth = std::floor(screenWidth / cell) * cell;
    return {screenLeft + static_cast<int>(std::lround(gridWidth - cell - cellPixels(sized) * kPanelCells)),
            screenTop + cellsToPixels(drawScale, 1), cellsToPixels(sized, kPanelCells),
            cellsToPixels(sized, rowsForView(mode))};
}

WindowRect toParentClient(const WindowRect& onScreen, int clientLeft, int clientTop) {
    return {onScreen.left - clientLeft, onScreen.top - clientTop, onScreen.width, onScreen.height};
}

}  // namespace tavro::app
