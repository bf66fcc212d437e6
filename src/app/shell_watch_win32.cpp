#include "app/shell_watch_win32.h"

#include "base/owned_window_win32.h"

namespace tavro::app {

namespace {
constexpr wchar_t kClass[] = L"TavroClockShellWatch";
constexpr UINT kWindowLost = WM_APP + 1;
// The timers of this window.
enum Timer : UINT_PTR { kTickTimer = 1 };
}  // namespace

std::unique_ptr<ShellWatch> ShellWatch::create(HINSTANCE instance, Handlers handlers) {
    std::unique_ptr<ShellWatch> watch(new ShellWatch(std::move(handlers)));
    watch->taskbarCreated_ = RegisterWindowMessageW(L"TaskbarCreated");
    base::createBroadcastWindow<ShellWatch, &ShellWatch::hwnd_, &ShellWatch::handleMessage>(instance, kClass, watch.get());
    if (!watch->hwnd_) return nullptr;
    return watch;
}

ShellWatch::~ShellWatch() {
    if (hwnd_) DestroyWindow(hwnd_);
}

void ShellWatch::onClockMoved() const {
    if (handlers_.clockMoved) handlers_.clockMoved();
}

void ShellWatch::reportWindowLost() const { PostMessageW(hwnd_, kWindowLost, 0, 0); }

void ShellWatch::armTick(UINT ms) const { SetTimer(hwnd_, kTickTimer, ms, nullptr); }

void ShellWatch::stopTimers() const { KillTimer(hwnd_, kTickTimer); }

LRESULT ShellWatch::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (const auto answer = onClockMoveMessage(message, wParam, [this] { onClockMoved(); })) return *answer;
    if (message == taskbarCreated_ && taskbarCreated_ != 0) {
        if (handlers_.shellRestarted) handlers_.shellRestarted();
        return 0;
    }
    switch (message) {
        case WM_TIMER:
            if (wParam == kTickTimer && handlers_.tick) handlers_.tick();
            return 0;
        case kWindowLost:
            if (handlers_.windowLost) handlers_.windowLost();
            return 0;
        case WM_DISPLAYCHANGE:
        case WM_DPICHANGED:
            if (handlers_.displayChanged) handlers_.displayChanged();
            return 0;
        case WM_SETTINGCHANGE:
            if (wParam == SPI_SETWORKAREA && handlers_.displayChanged) handlers_.displayChanged();
            break;
        case WM_ENDSESSION:
            if (wParam && handlers_.sessionEnding) handlers_.sessionEnding();
            return 0;
    }
    return DefWindowProcW(hwnd_, message, wParam, lParam);
}

}  // namespace tavro::app
