// Keeps the clock where the host rule says while the shell changes its desktop: Show Desktop,
// Task View and wallpaper fades move the icon view between windows, and a restarted shell makes
// new ones. The rule is checked at every tick and at the shell's own window events.
#pragma once

#include <windows.h>

#include <functional>
#include <vector>

#include "base/unique_handle_win32.h"
#include "desktop/desktop_host_win32.h"

namespace tavro::desktop {

class DesktopFollower {
public:
    // window: the clock window now (none while it is being made again); moved: runs after the
    // clock went to another place, to set its position in the new parent's coordinates.
    DesktopFollower(std::function<HWND()> window, std::function<void()> moved);
    ~DesktopFollower();
    DesktopFollower(const DesktopFollower&) = delete;
    DesktopFollower& operator=(const DesktopFollower&) = delete;

    // Re-attaches the clock when it does not hang as the rule says. Called again from inside
    // itself (a style change it caused, an event while it moves the window), it runs once more
    // after the present round instead.
    void check();
    // At every tick: where the clock hangs above the icon view, its place there is looked at
    // again, and the whole desktop only when it changed.
    void tick();
    // The user's alpha and front choice, applied at once.
    void setChoices(const HostChoices& choices);

private:
    static void CALLBACK onWinEvent(HWINEVENTHOOK, DWORD event, HWND hwnd, LONG object, LONG child, DWORD, DWORD) noexcept;
    bool concerns(DWORD event, HWND hwnd) const;
    // Hooks the events of the process that owns the shell's windows, again when it changes.
    void followProcess(DWORD processId);
    void unhook();

    std::function<HWND()> window_;
    std::function<void()> moved_;
    std::vector<base::UniqueWinEventHook> hooks_;
    DWORD hookedProcess_ = 0;
    std::vector<WindowId> shellWindows_;
    Attachment last_;
    HostChoices choices_;
    bool checking_ = false;
    bool again_ = false;
};

}  // namespace tavro::desktop
