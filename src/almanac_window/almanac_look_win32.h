// The 暦 window's fonts, colours, brushes and pens: the system's message font at the window's DPI,
// and only the system's colours while high contrast is on. Made once for every paint.
#pragma once

#include <windows.h>

#include "almanac_window/almanac_month.h"
#include "base/unique_handle_win32.h"

namespace tavro::almanac_window {

struct AlmanacLook {
    base::UniqueFont font;     // the message font: header, weekdays, the small lines of a day
    base::UniqueFont dayFont;  // the day's number, twice as high
    base::UniqueFont headerFont;  // the month with its era, half as high again, bold
    base::UniqueFont smallFont;   // a day's 干支 and notes, five sixths as high
    int fontHeight = 16;            // pixels of a line of the message font
    int dayFontHeight = 32, smallFontHeight = 12;
    int frameWidth = 3;             // today's frame
    bool highContrast = false;
    COLORREF background = 0, text = 0, red = 0, blue = 0, grid = 0, todayFrame = 0;
    COLORREF selectedBack = 0, selectedText = 0;
    base::UniqueBrush backgroundBrush, selectedBrush;
    base::UniquePen gridPen, todayPen;

    COLORREF colourOf(CellColour colour) const;
};

// Read anew at each DPI or system-settings change.
AlmanacLook loadAlmanacLook(int dpi);

}  // namespace tavro::almanac_window
