// A stand-in for the shell's program-manager window, which Wine does not have: a top-level window
// of class "Progman", titled "Program Manager", covering the screen, below every other window.
// With "announce" on the command line it broadcasts "TaskbarCreated", as a restarted shell does.
#include <windows.h>

#include <cwchar>

LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_WINDOWPOSCHANGING) reinterpret_cast<WINDOWPOS*>(lParam)->hwndInsertAfter = HWND_BOTTOM;
    if (message == WM_DESTROY) PostQuitMessage(0);
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = windowProc;
    wc.hInstance = instance;
    wc.hbrBackground = CreateSolidBrush(RGB(0, 96, 0));
    wc.lpszClassName = L"Progman";
    const HWND hwnd = CreateWindowExW(WS_EX_TOOLWINDOW, MAKEINTATOM(RegisterClassW(&wc)), L"Program Manager",
                                      WS_POPUP | WS_CLIPCHILDREN, 0, 0, GetSystemMetrics(SM_CXSCREEN),
                                      GetSystemMetrics(SM_CYSCREEN), nullptr, nullptr, instance, nullptr);
    if (!hwnd) return 1;
    ShowWindow(hwnd, SW_SHOWNOACTIVATE);
    if (std::wcsstr(commandLine, L"announce")) PostMessageW(HWND_BROADCAST, RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
    return 0;
}
