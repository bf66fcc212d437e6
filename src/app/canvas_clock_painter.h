// The tick's drawing onto the window canvas, remembering which pixels it touched so the
// window repaints only those.
#pragma once

#include <functional>

#include "app/clock_tick.h"
#include "render/canvas.h"
#include "render/seven_segment.h"

namespace tavro::app {

using DirtyRect = render::PixelBounds;

class CanvasClockPainter : public ClockPainter {
public:
    using CalendarDrawer = std::function<void(DateValue)>;
    CanvasClockPainter(render::Canvas& canvas, const render::Image& sheet, float drawScale, CalendarDrawer calendar)
        : canvas_(canvas), sheet_(sheet), drawScale_(drawScale), calendar_(std::move(calendar)) {}

    void draw7seg(float x, float y, std::wstring_view fieldTemplate, std::wstring_view text, int colour) override;
    // The calendar's cells come back through draw7seg, so they mark their own pixels.
    void showMonthOf(DateValue now) override;

    // What was drawn since the last call.
    DirtyRect takeDirty();

private:
    render::Canvas& canvas_;
    const render::Image& sheet_;
    float drawScale_;
    CalendarDrawer calendar_;
    DirtyRect dirty_;
};

}  // namespace tavro::app
