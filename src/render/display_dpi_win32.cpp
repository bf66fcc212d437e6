#include "render/display_dpi_win32.h"

namespace tavro::render {

namespace {

// Bound at run time: these calls came with Windows 8.1 and 10, and the program runs on 7 too.
template <typename Function>
Function procedure(const wchar_t* dll, const char* name) {
    HMODULE module = GetModuleHandleW(dll);
    if (!module) module = LoadLibraryW(dll);  // stays loaded for the process: the calls are used again
    if (!module) return nullptr;
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

using SetContextFn = BOOL(WINAPI*)(HANDLE);
using SetAwarenessFn = HRESULT(WINAPI*)(int);
using DpiForMonitorFn = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
using DpiForWindowFn = UINT(WINAPI*)(HWND);

constexpr int kProcessPerMonitorDpiAware = 2;
constexpr int kEffectiveDpi = 0;
// DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2 and _PER_MONITOR_AWARE: pseudo-handles -4 and -3.
const HANDLE kPerMonitorV2 = reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-4));
const HANDLE kPerMonitor = reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-3));

int systemDpi() {
    HDC screen = GetDC(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSX) : 96;
    if (screen) ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : 96;
}

}  // namespace

void makeProcessDpiAware() {
    if (auto setContext = procedure<SetContextFn>(L"user32.dll", "SetProcessDpiAwarenessContext")) {
        if (setContext(kPerMonitorV2) || setContext(kPerMonitor)) return;
        if (GetLastError() == ERROR_ACCESS_DENIED) return;  // the manifest has set it already
    }
    if (auto setAwareness = procedure<SetAwarenessFn>(L"shcore.dll", "SetProcessDpiAwareness")) {
        if (SUCCEEDED(setAwareness(kProcessPerMonitorDpiAware))) return;
    }
    SetProcessDPIAware();
}

int primaryMonitorDpi() { return monitorDpi(MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY)); }

int monitorDpi(HMONITOR monitor) {
    if (auto forMonitor = procedure<DpiForMonitorFn>(L"shcore.dll", "GetDpiForMonitor")) {
        UINT x = 0, y = 0;
        if (monitor && SUCCEEDED(forMonitor(monitor, kEffectiveDpi, &x, &y)) && x > 0) return static_cast<int>(x);
    }
    return systemDpi();
}

int windowDpi(HWND window) {
    if (auto forWindow = procedure<DpiForWindowFn>(L"user32.dll", "GetDpiForWindow")) {
        const UINT dpi = window ? forWindow(window) : 0;
        if (dpi > 0) return static_cast<int>(dpi);
    }
    return systemDpi();
}

}  // namespace tavro::render
