// Run inside Wine beside the clock: "tavro_parentwatch LOG SECONDS" watches the clock's window
// ("TavroClock", top-level or a child) from another process for that long, as fast as it can
// read it, and writes to LOG each change of what it sees: "MS PARENTCLASS layered=0|1" (ms since
// the start, the class of the parent, "" for none, and WS_EX_LAYERED). Wine announces no parent
// change as an event, so the watch reads the window over and over instead.
#include <windows.h>

#include <string>

static HWND clock = nullptr;

static BOOL CALLBACK match(HWND hwnd, LPARAM topLevel) {
    wchar_t title[32] = {};
    InternalGetWindowText(hwnd, title, 32);
    if (std::wstring(title) == L"TavroClock") clock = hwnd;
    else if (topLevel) EnumChildWindows(hwnd, match, 0);
    return !clock;
}

int wmain(int count, wchar_t** arg) {
    if (count != 3 || (EnumWindows(match, 1), !clock)) return 1;
    std::string log, last;
    const DWORD start = GetTickCount(), length = static_cast<DWORD>(_wtoi(arg[2])) * 1000;
    while (GetTickCount() - start < length && IsWindow(clock)) {
        char parent[64] = "";
        if (const HWND p = GetAncestor(clock, GA_PARENT); p && p != GetDesktopWindow()) GetClassNameA(p, parent, 64);
        const bool layered = GetWindowLongPtrW(clock, GWL_EXSTYLE) & WS_EX_LAYERED;
        const std::string now = std::string(parent) + (layered ? " layered=1" : " layered=0");
        if (now != last) log += std::to_string(GetTickCount() - start) + " " + now + "\n";
        last = now;
    }
    const HANDLE file = CreateFileW(arg[1], GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;  // the handle closes as the process ends
    return file != INVALID_HANDLE_VALUE && WriteFile(file, log.data(), DWORD(log.size()), &written, nullptr) ? 0 : 1;
}
