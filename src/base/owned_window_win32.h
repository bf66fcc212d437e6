// The window procedure of an object that owns its window: the object comes in through
// lpCreateParams at WM_NCCREATE and is let go at WM_NCDESTROY, so no message reaches an object
// that is gone, and the rest go to the object's handler.
#pragma once

#include <windows.h>

namespace tavro::base {

template <typename Owner, HWND Owner::*Window, LRESULT (Owner::*Handle)(UINT, WPARAM, LPARAM)>
LRESULT CALLBACK ownedWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
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

}  // namespace tavro::base
