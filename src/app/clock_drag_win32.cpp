#include "app/clock_drag_win32.h"

#include <cstdlib>

#include "desktop/clock_place_win32.h"

namespace tavro::app {

namespace {
// Where the pointer is now, for the moves. GetMessagePos was seen under Wine to keep the press's
// position for the moves of a child of another process's window; a move's own lParam is relative
// to where the window stood when it was sent, which a drag has changed.
POINT pointer() {
    POINT at{};
    GetCursorPos(&at);
    return at;
}

// Where the pointer was when the message being handled was posted: for the press and the release.
// Under load the press is handled after the pointer has moved on (seen under Wine: the clock then
// lagged a whole step behind the pointer and was dropped short of the release).
POINT messagePoint() {
    const DWORD at = GetMessagePos();
    return {static_cast<short>(LOWORD(at)), static_cast<short>(HIWORD(at))};
}

// The button that sends WM_LBUTTONDOWN, held down now (VK_LBUTTON is the physical left one).
bool buttonHeld() { return GetAsyncKeyState(GetSystemMetrics(SM_SWAPBUTTON) ? VK_RBUTTON : VK_LBUTTON) < 0; }
}  // namespace

bool ClockDrag::onMessage(HWND window, UINT message) {
    switch (message) {
        case WM_LBUTTONDOWN:
            pressed_ = true;
            dragging_ = false;
            start_ = messagePoint();
            GetWindowRect(window, &startRect_);
            SetCapture(window);
            // A press handled after the button went up again (seen under Wine, under load: the moves
            // and the release had gone to the windows under the pointer before the capture) ends
            // the drag where the pointer is now.
            releaseIfUp(window);
            return true;
        case WM_MOUSEMOVE:
            if (!pressed_) return false;
            follow(window, pointer());
            return true;
        case WM_LBUTTONUP:
            if (!pressed_) return false;
            // A move still queued or merged as the button went up never comes: the drop is where
            // the pointer was at the release.
            follow(window, messagePoint());
            finish(window);
            return true;
        case WM_CAPTURECHANGED:
            // Taken by another window (a menu, a dialog): the clock stays where it got to.
            if (!pressed_) return false;
            finish(window);
            return true;
        default:
            return false;
    }
}

void ClockDrag::releaseIfUp(HWND window) {
    if (!pressed_ || buttonHeld()) return;
    follow(window, pointer());
    finish(window);
}

void ClockDrag::follow(HWND window, POINT pointer) {
    const int dx = pointer.x - start_.x, dy = pointer.y - start_.y;
    if (!dragging_) {
        // Within the threshold it is still a click, or the first half of a double click.
        if (std::abs(dx) < GetSystemMetrics(SM_CXDRAG) && std::abs(dy) < GetSystemMetrics(SM_CYDRAG)) return;
        dragging_ = true;
        monitors_ = desktop::currentMonitors();
    }
    const desktop::ScreenRect proposed{startRect_.left + dx, startRect_.top + dy, startRect_.right + dx,
                                       startRect_.bottom + dy};
    const desktop::ScreenRect shown = desktop::dragRect(proposed, monitors_);
    POINT at{shown.left, shown.top};
    // A child is placed in its parent's client coordinates; the parent may be another process's.
    const HWND parent = GetAncestor(window, GA_PARENT);
    if (parent && parent != GetDesktopWindow()) ScreenToClient(parent, &at);
    // No z-order change and no activation: the clock stays where it lies among the windows.
    SetWindowPos(window, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOOWNERZORDER | SWP_NOACTIVATE);
}

void ClockDrag::finish(HWND window) {
    const bool moved = dragging_;
    pressed_ = dragging_ = false;  // before ReleaseCapture: its WM_CAPTURECHANGED ends nothing more
    if (GetCapture() == window) ReleaseCapture();
    if (!moved || !dropped_) return;
    RECT r{};
    GetWindowRect(window, &r);
    dropped_({r.left, r.top, r.right, r.bottom});
}

}  // namespace tavro::app
