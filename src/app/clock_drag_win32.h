// Dragging the clock with the left button: it follows the pointer once the pointer has moved past
// the system's drag threshold (so a click or a double click never moves it), stays whole inside
// the work area of the monitor under its centre, snaps to that area's edges, and keeps its place
// in the z-order. Where it was let go is handed on to be stored.
#pragma once

#include <windows.h>

#include <functional>
#include <vector>

#include "desktop/clock_place.h"

namespace tavro::app {

class ClockDrag {
public:
    // dropped: the clock's rectangle on the screen where the user let it go.
    explicit ClockDrag(std::function<void(const desktop::ScreenRect&)> dropped) : dropped_(std::move(dropped)) {}

    // WM_LBUTTONDOWN, WM_MOUSEMOVE, WM_LBUTTONUP and WM_CAPTURECHANGED of the clock window; true
    // when the message was the drag's.
    bool onMessage(HWND window, UINT message);
    bool dragging() const { return dragging_; }
    // A drag whose release never came (it went to another window) ends where the pointer is;
    // asked at every tick.
    void releaseIfUp(HWND window);

private:
    void follow(HWND window, POINT pointer);
    void finish(HWND window);

    std::function<void(const desktop::ScreenRect&)> dropped_;
    bool pressed_ = false;
    bool dragging_ = false;
    POINT start_{};      // the pointer at the press, on the screen
    RECT startRect_{};   // the clock at the press, on the screen
    std::vector<desktop::MonitorInfo> monitors_;  // read once a drag starts
};

}  // namespace tavro::app
