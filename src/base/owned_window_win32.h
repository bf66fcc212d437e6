// The window procedure of an object that owns its window: the object comes in through
// lpCreateParams at WM_NCCREATE and is let go at WM_NCDESTROY, so no message reaches an object
// that is gone, and the rest go to the object's handler.
#pragma once

#include <windows.h>

#include "base/window_class_win32.h"

namespace tavro::base {

template <typename Owner, HWND Owner::*Window, LRESULT (Owner::*Handle)(UINT, WPARAM, LPARAM)>
LRESULT CALLBACK ownedWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    if (message == WM_NCCREATE) {
        auto* owner = static_cast<Owner*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        owner->*Window = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(owner));
    }
    auto* owner = reinterpret_cast<Owner*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        if (owner) owner->*Window = nullptr;
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
    return owner ? (owner->*Handle)(message, wParam, lParam) : DefWindowProcW(hwnd, message, wParam, lParam);
}

// A window of the owner's that is never shown but hears the system's broadcasts: top-level, as
// only top-level windows do (not a message-only one). Its class is registered here, which fails
// harmlessly when it is there already. The window handle is the owner's once this returns.
template <typename Owner, HWND Owner::*Window, LRESULT (Owner::*Handle)(UINT, WPARAM, LPARAM)>
void createBroadcastWindow(HINSTANCE instance, const wchar_t* className, Owner* owner) {
    registerWindowClass(instance, {.name = className, .procedure = ownedWindowProc<Owner, Window, Handle>});
    CreateWindowExW(WS_EX_TOOLWINDOW, className, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, instance, owner);
}

}  // namespace tavro::base
