#include "desktop/desktop_host.h"

#include <algorithm>

namespace tavro::desktop {

namespace {

// A window the clock can be seen in: shown and with an area (a child is clipped to its parent).
bool canHold(const ShellWindow& w, const ShellSnapshot& s) {
    return w.id != 0 && w.parent == 0 && w.id != s.clock.id && w.visible && w.right > w.left && w.bottom > w.top &&
           (w.kind == ShellClass::Progman || w.kind == ShellClass::WorkerW);
}

const ShellWindow* childOf(const ShellSnapshot& s, WindowId host, ShellClass kind) {
    for (const ShellWindow& w : s.windows)
        if (w.parent == host && w.kind == kind) return &w;
    return nullptr;
}

// The host's child directly above `view`, the clock left out; 0 when the view is on top.
WindowId siblingAbove(const ShellSnapshot& s, WindowId host, WindowId view) {
    WindowId above = 0;
    for (const ShellWindow& w : s.windows) {
        if (w.parent != host || w.id == s.clock.id) continue;
        if (w.id == view) return above;
        above = w.id;
    }
    return 0;
}

}  // namespace

Attachment decideHost(const ShellSnapshot& s, const HostChoices& choices) {
    const int alpha = std::clamp(choices.alpha, 1, 255);
    const bool translucent = alpha < 255;
    const auto hung = [&](WindowId host, WindowId insertAfter, WindowId above, bool noRedirection) {
        const bool layered = noRedirection || (translucent && choices.layeredChildren);
        return Attachment{host, insertAfter, above, layered, layered ? alpha : 255, false};
    };
    if (choices.topMost) return {0, 0, 0, translucent, alpha, true};
    // The topmost window holding the icon view: with two, the one the user sees.
    for (const ShellWindow& host : s.windows) {
        if (!canHold(host, s)) continue;
        if (const ShellWindow* view = childOf(s, host.id, ShellClass::DefView))
            return hung(host.id, siblingAbove(s, host.id, view->id), view->id, host.noRedirectionBitmap);
    }
    const ShellWindow* manager = nullptr;
    for (const ShellWindow& w : s.windows) {
        if (w.kind != ShellClass::Progman || !canHold(w, s)) continue;
        if (w.programManagerTitle) {
            manager = &w;
            break;
        }
        if (!manager) manager = &w;
    }
    if (manager) return hung(manager->id, 0, 0, manager->noRedirectionBitmap);
    return {0, 0, 0, translucent, alpha, false};
}

bool attachmentHolds(const ShellSnapshot& s, const Attachment& a) {
    const ClockWindow& c = s.clock;
    if (a.layered ? !(c.layered && c.alpha == a.alpha) : c.layered) return false;
    if (a.host == 0) return c.parent == 0 && c.popup && !c.child && c.topMost == a.topMost && c.noActivate == a.topMost;
    if (c.parent != a.host || !c.child || c.popup || (a.layered && c.toolWindow)) return false;
    // Its place among the host's children: right above the icon view, or first of all.
    bool seenClock = false;
    for (const ShellWindow& w : s.windows) {
        if (w.parent != a.host) continue;
        if (seenClock) return w.id == a.above;
        if (w.id != c.id) {
            if (a.above == 0) return false;  // something lies above the clock
            continue;
        }
        if (a.above == 0) return true;
        seenClock = true;
    }
    return false;
}

}  // namespace tavro::desktop
