#include "app/canvas_clock_painter.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "app/layout.h"
#include "render/seven_segment.h"

namespace tavro::app {

void DirtyRect::add(int l, int t, int r, int b) {
    if (!any) {
        *this = {true, l, t, r, b};
        return;
    }
    left = std::min(left, l);
    top = std::min(top, t);
    right = std::max(right, r);
    bottom = std::max(bottom, b);
}

void CanvasClockPainter::draw7seg(float x, float y, std::wstring_view fieldTemplate, std::wstring_view text,
                                  int colour) {
    render::draw7seg(canvas_, sheet_, drawScale, x, y, std::wstring(fieldTemplate), std::wstring(text), colour);
    // A field is one cell per template character; a leading point may reach 8 px to the left.
    const int left = static_cast<int>(std::floor(x * kCellPixels)) - 8;
    const int top = static_cast<int>(std::floor(y * kCellPixels));
    const int width = static_cast<int>(fieldTemplate.size()) * kCellPixels + 8;
    dirty_.add(left, top, left + width + 8, top + 2 * kCellPixels + 8);
}

void CanvasClockPainter::drawCalender(DateValue now) {
    if (calendar_) calendar_(now);
    dirty_.add(0, 4 * kCellPixels, kPanelWidth, 21 * kCellPixels);
}

DirtyRect CanvasClockPainter::takeDirty() {
    DirtyRect d = dirty_;
    dirty_ = {};
    return d;
}

}  // namespace tavro::app
