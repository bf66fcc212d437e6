#include "base/window_class_win32.h"

namespace tavro::base {

void registerWindowClass(HINSTANCE instance, const WindowClass& windowClass) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = windowClass.style;
    wc.lpfnWndProc = windowClass.procedure;
    wc.hInstance = instance;
    wc.hCursor = windowClass.cursor;
    wc.hIcon = windowClass.icon;
    wc.hbrBackground = windowClass.background;
    wc.lpszClassName = windowClass.name;
    RegisterClassExW(&wc);
}

HCURSOR arrowCursor() { return LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW)); }

}  // namespace tavro::base
