// The window classes of the program's own windows, each registered from one description.
#pragma once

#include <windows.h>

namespace tavro::base {

struct WindowClass {
    const wchar_t* name = nullptr;
    WNDPROC procedure = DefWindowProcW;
    UINT style = 0;
    HCURSOR cursor = nullptr;
    HICON icon = nullptr;
    HBRUSH background = nullptr;
};

// Registers the class for the instance. A class that is there already (a window made again, a
// second window of the class) fails harmlessly, as it should.
void registerWindowClass(HINSTANCE instance, const WindowClass& windowClass);

// The system's arrow, which the visible windows show.
HCURSOR arrowCursor();

}  // namespace tavro::base
