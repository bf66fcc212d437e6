// What the target dialog tests share: polling for windows of this process, a ticking window.
#pragma once

#include <windows.h>

#include <atomic>
#include <string>

#include "wait_until.h"

namespace menu_test {

using win_test::waitUntil;

// A visible top-level window of this process with the class (and caption, when given).
inline HWND findOwnWindow(const wchar_t* windowClass, const wchar_t* caption) {
    for (HWND w = FindWindowExW(nullptr, nullptr, windowClass, caption); w;
         w = FindWindowExW(nullptr, w, windowClass, caption)) {
        DWORD process = 0;
        GetWindowThreadProcessId(w, &process);
        if (process == GetCurrentProcessId() && IsWindowVisible(w)) return w;
    }
    return nullptr;
}

inline HWND waitForWindow(const wchar_t* windowClass, const wchar_t* caption, int milliseconds = 10000) {
    HWND found = nullptr;
    waitUntil([&] { return (found = findOwnWindow(windowClass, caption)) != nullptr; }, milliseconds);
    return found;
}

inline std::wstring windowText(HWND window) {
    wchar_t text[1024] = {};
    GetWindowTextW(window, text, 1024);
    return text;
}

// A window whose timer ticks every 10 ms, as the clock window's does; ticks() counts them.
class TimerWindow {
public:
    TimerWindow() { ticks_ = 0; SetTimer(hwnd_, 1, 10, count); }
    ~TimerWindow() { DestroyWindow(hwnd_); }
    TimerWindow(const TimerWindow&) = delete;
    TimerWindow& operator=(const TimerWindow&) = delete;
    HWND hwnd() const { return hwnd_; }
    int ticks() const { return ticks_; }

private:
    static void CALLBACK count(HWND, UINT, UINT_PTR, DWORD) { ++ticks_; }
    HWND hwnd_ = CreateWindowExW(0, L"STATIC", L"timer", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    static inline std::atomic<int> ticks_ = 0;
};

}  // namespace menu_test
