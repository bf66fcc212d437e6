// Changes of the display for the clock's tests, run in the clock's own (virtual) desktop.
//
//   display_change.exe mode WIDTH HEIGHT
//     ChangeDisplaySettingsEx to that resolution; exit code 0 when the system took it.
//   display_change.exe progman LEFT
//     A stand-in program manager ("Progman" / "Program Manager") whose window spans from x LEFT
//     (negative: a monitor left of the primary) to the primary monitor's right edge, at the
//     bottom of the z-order, until WM_CLOSE.
#include <windows.h>

#include <cwchar>
#include <cwctype>

namespace {

LRESULT CALLBACK progmanProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_WINDOWPOSCHANGING) {
        reinterpret_cast<WINDOWPOS*>(lParam)->hwndInsertAfter = HWND_BOTTOM;
        return 0;
    }
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

int changeMode(int width, int height) {
    DEVMODEW mode{};
    mode.dmSize = sizeof mode;
    mode.dmPelsWidth = static_cast<DWORD>(width);
    mode.dmPelsHeight = static_cast<DWORD>(height);
    mode.dmFields = DM_PELSWIDTH | DM_PELSHEIGHT;
    return ChangeDisplaySettingsExW(nullptr, &mode, nullptr, 0, nullptr) == DISP_CHANGE_SUCCESSFUL ? 0 : 1;
}

int wideProgman(HINSTANCE instance, int left) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = progmanProc;
    wc.hInstance = instance;
    wc.hbrBackground = CreateSolidBrush(RGB(0, 0, 96));
    wc.lpszClassName = L"Progman";
    if (!RegisterClassW(&wc)) return 1;
    const int right = GetSystemMetrics(SM_CXSCREEN);
    const HWND hwnd = CreateWindowExW(WS_EX_TOOLWINDOW, L"Progman", L"Program Manager", WS_POPUP | WS_CLIPCHILDREN,
                                      left, 0, right - left, GetSystemMetrics(SM_CYSCREEN), nullptr, nullptr,
                                      instance, nullptr);
    if (!hwnd) return 1;
    ShowWindow(hwnd, SW_SHOWNOACTIVATE);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
    return 0;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int) {
    wchar_t verb[16] = {};
    int a = 0, b = 0;
    const int n = commandLine ? swscanf(commandLine, L"%15ls %d %d", verb, &a, &b) : 0;
    if (n == 3 && std::wcscmp(verb, L"mode") == 0) return changeMode(a, b);
    if (n >= 2 && std::wcscmp(verb, L"progman") == 0) return wideProgman(instance, a);
    return 2;
}
