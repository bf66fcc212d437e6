// Run inside Wine beside the clock: "tavro_parentwatch LOG SECONDS" appends a line to LOG for
// every parent change of the clock's window ("TavroClock") that the system announces while it
// runs: "PARENTCLASS layered=0|1" (the clock's WS_EX_LAYERED as read in the event's callback),
// then ends. The hook is out of context: whether the style read is the one at the moment of
// SetParent depends on how the system delivers the event (the test says what it relies on).
#include <windows.h>

#include <string>

namespace {

std::wstring logPath;
std::string lines;

void append(const std::string& line) {
    lines += line + "\n";
    const HANDLE file = CreateFileW(logPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    WriteFile(file, lines.data(), DWORD(lines.size()), &written, nullptr);
    CloseHandle(file);
}

void CALLBACK onEvent(HWINEVENTHOOK, DWORD, HWND hwnd, LONG object, LONG, DWORD, DWORD) {
    wchar_t title[64] = {};
    if (object != OBJID_WINDOW || !hwnd || !InternalGetWindowText(hwnd, title, 64) || std::wstring(title) != L"TavroClock")
        return;
    const bool layered = (GetWindowLongPtrW(hwnd, GWL_EXSTYLE) & WS_EX_LAYERED) != 0;
    char parent[64] = "";
    if (const HWND p = GetAncestor(hwnd, GA_PARENT); p && p != GetDesktopWindow()) GetClassNameA(p, parent, 64);
    append(std::string(parent) + " layered=" + (layered ? "1" : "0"));
}

}  // namespace

int wmain(int count, wchar_t** arg) {
    if (count != 3) return 2;
    logPath = arg[1];
    append("watching");
    if (!SetWinEventHook(EVENT_OBJECT_PARENTCHANGE, EVENT_OBJECT_PARENTCHANGE, nullptr, onEvent, 0, 0,
                         WINEVENT_OUTOFCONTEXT | WINEVENT_SKIPOWNPROCESS))
        return 1;
    SetTimer(nullptr, 0, static_cast<UINT>(_wtoi(arg[2])) * 1000, nullptr);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (msg.message == WM_TIMER) break;
        DispatchMessageW(&msg);
    }
    return 0;
}
