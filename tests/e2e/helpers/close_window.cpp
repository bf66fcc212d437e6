// Finds the window titled "TavroClock", or the title given on the command line (a top-level
// window or a child of one, as the clock is under the program manager), and posts it WM_CLOSE,
// as the popup menu's exit item does. Exit code 0 when a window was found, 1 when none was.
#include <windows.h>

#include <cwchar>

namespace {

const wchar_t* title = L"TavroClock";

BOOL CALLBACK findChild(HWND hwnd, LPARAM found) {
    wchar_t text[256] = {};
    GetWindowTextW(hwnd, text, 256);
    if (lstrcmpW(text, title) != 0) return TRUE;
    *reinterpret_cast<HWND*>(found) = hwnd;
    return FALSE;
}

BOOL CALLBACK findTopLevel(HWND hwnd, LPARAM found) {
    findChild(hwnd, found);
    if (!*reinterpret_cast<HWND*>(found)) EnumChildWindows(hwnd, findChild, found);
    return *reinterpret_cast<HWND*>(found) ? FALSE : TRUE;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR commandLine, int) {
    // A title with a space arrives in quotes.
    if (commandLine && *commandLine == L'"') {
        ++commandLine;
        if (wchar_t* end = wcschr(commandLine, L'"')) *end = L'\0';
    }
    if (commandLine && *commandLine) title = commandLine;
    HWND found = nullptr;
    EnumWindows(findTopLevel, reinterpret_cast<LPARAM>(&found));
    if (!found) return 1;
    PostMessageW(found, WM_CLOSE, 0, 0);
    return 0;
}
