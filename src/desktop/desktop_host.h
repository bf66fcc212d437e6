// Which of the shell's windows holds the clock, and how the clock hangs in it. The shell builds
// its desktop in several ways (one "Progman" holding the icon view; the icon view in a
// "WorkerW" above a wallpaper "WorkerW"; a "Progman" without a redirection surface), and moves
// the icon view while it runs; the clock must lie directly above the icon view wherever it is.
#pragma once

#include <cstdint>
#include <vector>

namespace tavro::desktop {

using WindowId = std::uintptr_t;  // 0: no window

enum class ShellClass : std::uint8_t { Progman, WorkerW, DefView, Other };

// One window of the shell's desktop: a top-level "Progman" or "WorkerW", or a direct child of one.
struct ShellWindow {
    WindowId id = 0;
    WindowId parent = 0;  // 0: a top-level window
    ShellClass kind = ShellClass::Other;
    bool programManagerTitle = false;  // titled "Program Manager"
    bool visible = false;
    bool noRedirectionBitmap = false;  // WS_EX_NOREDIRECTIONBITMAP: only layered children are composed
    int left = 0, top = 0, right = 0, bottom = 0;  // on the screen
};

// The clock window as it stands now.
struct ClockWindow {
    WindowId id = 0;
    WindowId parent = 0;  // 0: a top-level window
    bool child = false;       // WS_CHILD
    bool popup = false;       // WS_POPUP
    bool toolWindow = false;  // WS_EX_TOOLWINDOW
    bool layered = false;     // WS_EX_LAYERED
    int alpha = 0;            // layered with this alpha (LWA_ALPHA); 0 otherwise
    bool topMost = false;     // WS_EX_TOPMOST
    bool noActivate = false;  // WS_EX_NOACTIVATE
};

// Top-level windows in z-order, top first; each one's children follow the top-level windows
// in z-order too (only their order among siblings counts). The clock, when it is a child of
// one of them, is among those children.
struct ShellSnapshot {
    std::vector<ShellWindow> windows;
    ClockWindow clock;
};

struct Attachment {
    WindowId host = 0;         // 0: a top-level window at the bottom of the z-order (or, topMost, above all)
    WindowId insertAfter = 0;  // the sibling the clock goes right under; 0: on top of the host's children
    WindowId above = 0;        // the sibling the clock must lie directly above (the icon view); 0: none
    bool layered = false;      // WS_EX_LAYERED at `alpha`; a layered child has no WS_EX_TOOLWINDOW
    int alpha = 255;
    bool topMost = false;      // a top-level HWND_TOPMOST window that a click does not activate
    bool operator==(const Attachment&) const = default;
};

// What the user chose: the window's alpha (255 opaque) and whether it stands in front of other
// windows instead of on the desktop. Without layered children (before Windows 8) a child that
// need not be layered stays opaque.
struct HostChoices {
    int alpha = 255;
    bool topMost = false;
    bool layeredChildren = true;
};

// The host is the visible, non-empty top-level "Progman" or "WorkerW" holding "SHELLDLL_DefView";
// without one, the visible non-empty "Progman" (titled "Program Manager" first), the clock on top
// of its children; without that, no host. A tree that fits none of these gives one of them:
// never a host that would hide the clock. In front, no host: the shell plays no part. Layered
// where the host composes only layered children, and wherever the alpha is below 255.
Attachment decideHost(const ShellSnapshot& snapshot, const HostChoices& choices = {});

// Whether the clock already hangs as the attachment says: parent, styles, alpha and its place
// directly above the icon view.
bool attachmentHolds(const ShellSnapshot& snapshot, const Attachment& attachment);

}  // namespace tavro::desktop
