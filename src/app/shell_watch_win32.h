// A hidden top-level window of the clock's own. The clock window itself lives as a child of the
// shell's program-manager window, so it gets neither the end-of-session messages nor the shell's
// "TaskbarCreated" broadcast; this window receives them for it. It also carries the clock's timer,
// which must outlive a clock window taken away with its parent (Wine does not tell the clock).
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <optional>

namespace tavro::app {

// A set clock (WM_TIMECHANGE) or resume from sleep: `moved` runs, and the answer the message
// wants is given; nothing for other messages.
template <typename Moved>
std::optional<LRESULT> onClockMoveMessage(UINT message, WPARAM wParam, Moved moved) {
    if (message == WM_TIMECHANGE) {
        moved();
        return 0;
    }
    if (message != WM_POWERBROADCAST) return std::nullopt;
    if (wParam == PBT_APMRESUMEAUTOMATIC) moved();
    return TRUE;
}

class ShellWatch {
public:
    struct Handlers {
        std::function<void()> shellRestarted;  // "TaskbarCreated": a new program manager is there
        std::function<void()> sessionEnding;   // log-off or shutdown confirmed
        std::function<void()> windowLost;      // the clock window went with its parent
        std::function<void()> displayChanged;  // resolution, work area or scaling changed
        std::function<void()> clockMoved;      // the system clock was set, or the machine woke from sleep
        std::function<void()> tick;            // the tick armed by armTick came
    };
    static std::unique_ptr<ShellWatch> create(HINSTANCE instance, Handlers handlers);
    ~ShellWatch();
    ShellWatch(const ShellWatch&) = delete;
    ShellWatch& operator=(const ShellWatch&) = delete;

    HWND hwnd() const { return hwnd_; }
    // Asks for windowLost to run from the message loop, out of the dying window's own messages.
    void reportWindowLost() const;
    // The tick, once, `ms` from now; armed again, the earlier one is replaced.
    void armTick(UINT ms) const;
    // No timer of this window fires any more.
    void stopTimers() const;

private:
    explicit ShellWatch(Handlers handlers) : handlers_(std::move(handlers)) {}
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void onClockMoved() const;

    Handlers handlers_;
    HWND hwnd_ = nullptr;
    UINT taskbarCreated_ = 0;
};

}  // namespace tavro::app
