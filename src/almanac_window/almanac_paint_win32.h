// The 暦 window's client area: where its parts lie, and the weekday names and the 42 days painted
// in one pass into a bitmap kept between paints, with the look's fonts, brushes and pens. The day
// controls paint nothing themselves: they lie over the cells for the keys, the mouse and screen
// readers.
#pragma once

#include <windows.h>

#include <array>

#include "almanac_window/almanac_look_win32.h"
#include "almanac_window/almanac_month.h"
#include "base/unique_handle_win32.h"

namespace tavro::almanac_window {

struct AlmanacLayout {
    SIZE client{};
    RECT header{}, previous{}, today{}, next{}, status{};  // the controls other than the days
    RECT weekdays{};                                      // the weekday names
    RECT grid{};                                          // the days
    std::array<RECT, kCells> cells{};
};

// In client coordinates: the header and its buttons on top, the weekday names under them, the
// status line at the bottom and the grid filling the rest.
AlmanacLayout layoutAlmanac(int width, int height, int dpi, const AlmanacLook& look);

struct DayMarks {
    int selected = -1, focused = -1;  // cells; -1: none
};

class AlmanacPainter {
public:
    // What lies in `area` of the client (the parts other than the controls), painted onto dc.
    void paint(HDC dc, const RECT& area, const AlmanacMonth& month, const AlmanacLayout& layout,
               const AlmanacLook& look, DayMarks marks, int dpi);

private:
    HDC canvas(HDC dc, SIZE size);

    base::UniqueBitmap bitmap_;  // before the dc: deleted after it, no longer selected
    base::UniqueMemoryDc dc_;
    SIZE size_{};
};

}  // namespace tavro::almanac_window
