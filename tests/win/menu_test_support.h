// What the target dialog tests share: polling for windows of this process, and a window whose
// timer ticks as the clock window's does.
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

class TimerWindow {
public:
    TimerWindow() {
        WNDCLASSW wc{};
        wc.lpfnWndProc = proc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"TavroMenuTestTimer";
        RegisterClassW(&wc);
        hwnd_ = CreateWindowExW(0, wc.lpszClassName, L"timer", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                wc.hInstance, this);
        SetTimer(hwnd_, 1, 10, nullptr);
    }
    ~TimerWindow() { DestroyWindow(hwnd_); }
    TimerWindow(const TimerWindow&) = delete;
    TimerWindow& operator=(const TimerWindow&) = delete;
    HWND hwnd() const { return hwnd_; }
    int ticks() const { return ticks_; }

private:
    static LRESULT CALLBACK proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_NCCREATE)
            SetWindowLongPtrW(hwnd, GWLP_USERDATA, (LONG_PTR)reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        if (message != WM_TIMER) return DefWindowProcW(hwnd, message, wParam, lParam);
        ++reinterpret_cast<TimerWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA))->ticks_;
        return 0;
    }
    HWND hwnd_ = nullptr;
    std::atomic<int> ticks_ = 0;
};

}  // namespace menu_test
