#include "desktop/desktop_host_win32.h"

#include <cwchar>

// Declared for Windows 8 and later only; older systems never set it, so reading it is harmless.
#ifndef WS_EX_NOREDIRECTIONBITMAP
#define WS_EX_NOREDIRECTIONBITMAP 0x00200000L
#endif

namespace tavro::desktop {

namespace {

// An odd tree must not make a tick slow. Hidden windows do not count: Explorer and other
// programs leave ever more hidden WorkerWs above the icons' one in a long session. The
// backstop is the most USER handles a session can hold, against a walk that loops.
constexpr int kMostWindowsPerClass = 32;
constexpr int kMostChildren = 64;
constexpr int kMostSteps = 65536;

WindowId idOf(HWND h) { return reinterpret_cast<WindowId>(h); }
HWND handleOf(WindowId id) { return reinterpret_cast<HWND>(id); }

ShellClass classOf(HWND h) {
    wchar_t name[32] = {};
    GetClassNameW(h, name, 32);
    if (std::wcscmp(name, L"Progman") == 0) return ShellClass::Progman;
    if (std::wcscmp(name, L"WorkerW") == 0) return ShellClass::WorkerW;
    if (std::wcscmp(name, L"SHELLDLL_DefView") == 0) return ShellClass::DefView;
    return ShellClass::Other;
}

ShellWindow describe(HWND h, WindowId parent, ShellClass kind) {
    ShellWindow w;
    w.id = idOf(h);
    w.parent = parent;
    w.kind = kind;
    if (kind == ShellClass::Progman) {
        // Reads the stored title: GetWindowText could send WM_GETTEXT.
        wchar_t title[32] = {};
        InternalGetWindowText(h, title, 32);
        w.programManagerTitle = std::wcscmp(title, L"Program Manager") == 0;
    }
    w.visible = IsWindowVisible(h) != FALSE;
    w.noRedirectionBitmap = (GetWindowLongPtrW(h, GWL_EXSTYLE) & WS_EX_NOREDIRECTIONBITMAP) != 0;
    RECT r{};
    GetWindowRect(h, &r);
    w.left = r.left, w.top = r.top, w.right = r.right, w.bottom = r.bottom;
    return w;
}

ClockWindow describeClock(HWND clock) {
    ClockWindow k;
    k.id = idOf(clock);
    const HWND parent = GetAncestor(clock, GA_PARENT);
    k.parent = parent == GetDesktopWindow() ? 0 : idOf(parent);
    const LONG_PTR style = GetWindowLongPtrW(clock, GWL_STYLE), ex = GetWindowLongPtrW(clock, GWL_EXSTYLE);
    k.child = (style & WS_CHILD) != 0;
    k.popup = (style & WS_POPUP) != 0;
    k.toolWindow = (ex & WS_EX_TOOLWINDOW) != 0;
    k.layered = (ex & WS_EX_LAYERED) != 0;
    k.topMost = (ex & WS_EX_TOPMOST) != 0;
    k.noActivate = (ex & WS_EX_NOACTIVATE) != 0;
    BYTE alpha = 0;
    DWORD flags = 0;
    if (k.layered && GetLayeredWindowAttributes(clock, nullptr, &alpha, &flags) && (flags & LWA_ALPHA)) k.alpha = alpha;
    return k;
}

void setLayered(HWND clock, const Attachment& a) {
    const LONG_PTR ex = GetWindowLongPtrW(clock, GWL_EXSTYLE);
    // A layered child is composed only without the tool-window style; a popup keeps it, for no
    // task-bar button. In front, a click must not make it the active window.
    LONG_PTR want = a.layered && a.host ? (ex | WS_EX_LAYERED) & ~LONG_PTR{WS_EX_TOOLWINDOW}
                    : a.layered         ? ex | WS_EX_LAYERED | WS_EX_TOOLWINDOW
                                        : (ex & ~LONG_PTR{WS_EX_LAYERED}) | WS_EX_TOOLWINDOW;
    want = a.topMost ? want | WS_EX_NOACTIVATE : want & ~LONG_PTR{WS_EX_NOACTIVATE};
    if (want != ex) SetWindowLongPtrW(clock, GWL_EXSTYLE, want);
    if (a.layered) SetLayeredWindowAttributes(clock, 0, static_cast<BYTE>(a.alpha), LWA_ALPHA);
    // Without the style a window keeps the layered picture until it paints again.
    if ((ex & WS_EX_LAYERED) && !a.layered) InvalidateRect(clock, nullptr, FALSE);
}

// Current Windows 11 does not compose a child of the desktop's layer that was layered at the
// moment of SetParent: the style is off for the call, and set again afterwards where the host
// needs it. A window in front leaves the topmost band first: a child has no place in it.
void setParentUnlayered(HWND clock, HWND parent) {
    const LONG_PTR ex = GetWindowLongPtrW(clock, GWL_EXSTYLE);
    if (ex & WS_EX_LAYERED) SetWindowLongPtrW(clock, GWL_EXSTYLE, ex & ~LONG_PTR{WS_EX_LAYERED});
    if (parent && (ex & WS_EX_TOPMOST))
        SetWindowPos(clock, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    SetParent(clock, parent);
}

// Windows takes a window's owned popups (the day tooltip, an open dialog) into the topmost band
// with it. Wine 8 puts the window right under its lowest owned popup instead, and makes it
// topmost only where a topmost window follows there (measured): a hidden one stands in that place
// for the move.
void putInFront(HWND clock, UINT flags) {
    const HWND marker = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, L"STATIC", nullptr, WS_POPUP,
                                        0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
    SetWindowPos(clock, HWND_TOPMOST, 0, 0, 0, 0, flags);
    if (marker) DestroyWindow(marker);
}

}  // namespace

ShellSnapshot takeShellSnapshot(HWND clock) {
    ShellSnapshot s;
    for (const wchar_t* name : {L"Progman", L"WorkerW"}) {
        const ShellClass kind = name[0] == L'P' ? ShellClass::Progman : ShellClass::WorkerW;
        HWND h = nullptr;
        for (int shown = 0, step = 0; shown < kMostWindowsPerClass && step < kMostSteps &&
                                      (h = FindWindowExW(nullptr, h, name, nullptr));
             ++step) {
            // A hidden window can hold no clock; its children are not read either.
            if (!IsWindowVisible(h)) continue;
            s.windows.push_back(describe(h, 0, kind));
            ++shown;
        }
    }
    const std::size_t topLevels = s.windows.size();
    for (std::size_t i = 0; i < topLevels; ++i) {
        const WindowId parent = s.windows[i].id;
        HWND c = GetWindow(handleOf(parent), GW_CHILD);
        for (int n = 0; c && n < kMostChildren; ++n, c = GetWindow(c, GW_HWNDNEXT))
            s.windows.push_back(describe(c, parent, c == clock ? ShellClass::Other : classOf(c)));
    }
    s.clock = describeClock(clock);
    return s;
}

bool attachmentStands(HWND clock, const Attachment& a) {
    if (a.topMost)  // in front: only its own styles count, and a change of them comes as WM_STYLECHANGED
        return GetAncestor(clock, GA_PARENT) == GetDesktopWindow() &&
               (GetWindowLongPtrW(clock, GWL_EXSTYLE) & WS_EX_TOPMOST) && IsWindowVisible(clock);
    return a.above && GetWindow(clock, GW_HWNDNEXT) == handleOf(a.above) &&
           GetAncestor(clock, GA_PARENT) == handleOf(a.host) && GetWindow(clock, GW_HWNDPREV) == handleOf(a.insertAfter) &&
           IsWindowVisible(clock);
}

void applyAttachment(HWND clock, const Attachment& a) {
    const HWND host = handleOf(a.host);
    const HWND now = GetAncestor(clock, GA_PARENT);
    // The style bits as 32 bits: WS_POPUP does not fit a 32-bit LONG_PTR.
    const auto was = static_cast<DWORD>(GetWindowLongPtrW(clock, GWL_STYLE));
    DWORD style = was;
    if (host) {
        if (now != host) setParentUnlayered(clock, host);
        style = (style & ~DWORD{WS_POPUP}) | WS_CHILD;
    } else {
        if (now != GetDesktopWindow()) setParentUnlayered(clock, nullptr);
        style = (style & ~DWORD{WS_CHILD}) | WS_POPUP;
    }
    if (style != was) SetWindowLongPtrW(clock, GWL_STYLE, static_cast<LONG_PTR>(static_cast<LONG>(style)));
    setLayered(clock, a);
    constexpr UINT kFlags = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_FRAMECHANGED;
    // HWND_BOTTOM also takes a window out of the topmost band.
    if (a.topMost) putInFront(clock, kFlags);
    else SetWindowPos(clock, !host ? HWND_BOTTOM : a.insertAfter ? handleOf(a.insertAfter) : HWND_TOP, 0, 0, 0, 0, kFlags);
    // A frame change has been seen to drop WS_EX_LAYERED: the style and the alpha once more.
    setLayered(clock, a);
}

BackGround setBackGround(HWND clock, const HostChoices& choices) {
    BackGround result;
    if (!clock) return result;
    const ShellSnapshot s = takeShellSnapshot(clock);
    result.attachment = decideHost(s, choices);
    for (const ShellWindow& w : s.windows) result.shellWindows.push_back(w.id);
    // SetParent can wait on the new parent's thread (seen for 2 s under Wine): a hung shell is
    // left alone until it answers again.
    if (result.attachment.host && IsHungAppWindow(handleOf(result.attachment.host))) return result;
    if (!attachmentHolds(s, result.attachment)) {
        applyAttachment(clock, result.attachment);
        result.moved = true;
    }
    return result;
}

}  // namespace tavro::desktop
