#include "desktop/desktop_follower_win32.h"

#include <algorithm>
#include <cwchar>

namespace tavro::desktop {

namespace {
// WinEvent callbacks carry no context; one clock window, one follower.
DesktopFollower* following = nullptr;

// What moves the icon view or takes its window away: a parent change, a new order of a host's
// children, a window shown (a raised WorkerW) or destroyed.
constexpr DWORD kEventRanges[][2] = {{EVENT_OBJECT_DESTROY, EVENT_OBJECT_SHOW},
                                     {EVENT_OBJECT_REORDER, EVENT_OBJECT_REORDER},
                                     {EVENT_OBJECT_PARENTCHANGE, EVENT_OBJECT_PARENTCHANGE}};
}  // namespace

DesktopFollower::DesktopFollower(std::function<HWND()> window, std::function<void()> moved)
    : window_(std::move(window)), moved_(std::move(moved)) {
    following = this;
}

DesktopFollower::~DesktopFollower() {
    unhook();
    if (following == this) following = nullptr;
}

void DesktopFollower::check() {
    if (checking_) {
        again_ = true;
        return;
    }
    checking_ = true;
    // Bounded: a shell that keeps moving its windows must not hold the thread.
    for (int round = 0; round < 3; ++round) {
        again_ = false;
        const HWND clock = window_ ? window_() : nullptr;
        if (!clock) break;
        BackGround now = setBackGround(clock, choices_);
        shellWindows_ = std::move(now.shellWindows);
        last_ = now.attachment;
        DWORD process = 0;
        if (now.attachment.host) GetWindowThreadProcessId(reinterpret_cast<HWND>(now.attachment.host), &process);
        followProcess(process);
        if (now.moved && moved_) moved_();
        if (!again_) break;
    }
    checking_ = false;
}

void DesktopFollower::tick() {
    const HWND clock = window_ ? window_() : nullptr;
    // Without an icon view to lie on, a new one anywhere changes the answer: the whole desktop.
    // The icon view moved, a window put between, a host hidden or gone: the whole desktop too.
    if (clock && attachmentStands(clock, last_)) return;
    check();
}

void DesktopFollower::setChoices(const HostChoices& choices) {
    choices_ = choices;
    check();
}

bool DesktopFollower::concerns(DWORD event, HWND hwnd) const {
    if (std::find(shellWindows_.begin(), shellWindows_.end(), reinterpret_cast<WindowId>(hwnd)) !=
        shellWindows_.end())
        return true;
    if (event == EVENT_OBJECT_DESTROY) return false;  // a window gone has no class left to read
    wchar_t name[32] = {};
    GetClassNameW(hwnd, name, 32);
    return std::wcscmp(name, L"Progman") == 0 || std::wcscmp(name, L"WorkerW") == 0 ||
           std::wcscmp(name, L"SHELLDLL_DefView") == 0;
}

void CALLBACK DesktopFollower::onWinEvent(HWINEVENTHOOK, DWORD event, HWND hwnd, LONG object, LONG child, DWORD,
                                          DWORD) noexcept {
    if (!following || !hwnd || object != OBJID_WINDOW || child != CHILDID_SELF) return;
    if (following->concerns(event, hwnd)) following->check();
}

void DesktopFollower::followProcess(DWORD processId) {
    if (processId == hookedProcess_) return;
    unhook();
    hookedProcess_ = processId;
    if (!processId) return;
    // Out of context: delivered through this thread's message loop, nothing loaded into the shell.
    for (const auto& range : kEventRanges)
        if (HWINEVENTHOOK hook = SetWinEventHook(range[0], range[1], nullptr, onWinEvent, processId, 0,
                                                 WINEVENT_OUTOFCONTEXT | WINEVENT_SKIPOWNPROCESS))
            hooks_.emplace_back(hook);
}

void DesktopFollower::unhook() {
    hooks_.clear();
    hookedProcess_ = 0;
}

}  // namespace tavro::desktop
