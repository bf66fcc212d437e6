#include "app/canvas_clock_painter.h"

#include <string>

namespace tavro::app {

void CanvasClockPainter::draw7seg(float x, float y, std::wstring_view fieldTemplate, std::wstring_view text,
                                  int colour) {
    dirty_.add(render::draw7seg(canvas_, sheet_, drawScale_, x, y, std::wstring(fieldTemplate), std::wstring(text),
                                colour));
}

void CanvasClockPainter::showMonthOf(DateValue now) {
    if (calendar_) calendar_(now);
}

DirtyRect CanvasClockPainter::takeDirty() {
    DirtyRect d = dirty_;
    dirty_ = {};
    return d;
}

}  // namespace tavro::app
