// The tick's drawing onto the window canvas, remembering which pixels it touched so the
// window repaints only those.
#pragma once

#include <functional>

#include "app/clock_tick.h"
#include "render/canvas.h"

namespace tavro::app {

struct DirtyRect {
    bool any = false;
    int left = 0, top = 0, right = 0, bottom = 0;  // right and bottom exclusive
    void add(int l, int t, int r, int b);
};

class CanvasClockPainter : public ClockPainter {
public:
    using CalendarDrawer = std::function<void(DateValue)>;
    CanvasClockPainter(render::Canvas& canvas, const render::Image& sheet, CalendarDrawer calendar)
        : canvas_(canvas), sheet_(sheet), calendar_(std::move(calendar)) {}

    void draw7seg(float x, float y, std::wstring_view fieldTemplate, std::wstring_view text, int colour) override;
    void drawCalender(DateValue now) override;

    // What was drawn since the last call.
    DirtyRect takeDirty();

private:
    render::Canvas& canvas_;
    const render::Image& sheet_;
    CalendarDrawer calendar_;
    DirtyRect dirty_;
};

}  // namespace tavro::app
