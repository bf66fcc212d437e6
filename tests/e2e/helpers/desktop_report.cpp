// Writes what the desktop looks like from another process to the file named on the command
// line, UTF-8, one "name=value" line each: clock (1 when a window titled "TavroClock" exists),
// parent_class and parent_title (its parent, "" for the desktop), rect (its screen rectangle
// left,top,right,bottom), visible, wallpaper (SPI_GETDESKWALLPAPER), colour (the desktop
// colour as "r g b"), style and tile (WallpaperStyle, TileWallpaper). It is written under another
// name and then renamed.
#include <windows.h>

#include <string>

#include "report_file.h"

namespace {

constexpr wchar_t kTitle[] = L"TavroClock";

BOOL CALLBACK findChild(HWND hwnd, LPARAM found) {
    wchar_t title[64] = {};
    GetWindowTextW(hwnd, title, 64);
    if (lstrcmpW(title, kTitle) != 0) return TRUE;
    *reinterpret_cast<HWND*>(found) = hwnd;
    return FALSE;
}

BOOL CALLBACK findTopLevel(HWND hwnd, LPARAM found) {
    findChild(hwnd, found);
    if (!*reinterpret_cast<HWND*>(found)) EnumChildWindows(hwnd, findChild, found);
    return *reinterpret_cast<HWND*>(found) ? FALSE : TRUE;
}

std::wstring textOf(HWND hwnd, bool className) {
    wchar_t text[256] = {};
    if (className) GetClassNameW(hwnd, text, 256);
    else GetWindowTextW(hwnd, text, 256);
    return text;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR commandLine, int) {
    const std::wstring target = commandLine ? commandLine : L"";
    if (target.empty()) return 2;
    HWND clock = nullptr;
    EnumWindows(findTopLevel, reinterpret_cast<LPARAM>(&clock));

    std::wstring report = L"clock=" + std::to_wstring(clock ? 1 : 0) + L"\n";
    if (clock) {
        const HWND parent = GetAncestor(clock, GA_PARENT);
        const bool desktop = !parent || parent == GetDesktopWindow();
        RECT r{};
        GetWindowRect(clock, &r);
        report += L"parent_class=" + (desktop ? std::wstring() : textOf(parent, true)) + L"\n";
        report += L"parent_title=" + (desktop ? std::wstring() : textOf(parent, false)) + L"\n";
        report += L"rect=" + std::to_wstring(r.left) + L"," + std::to_wstring(r.top) + L"," +
                  std::to_wstring(r.right) + L"," + std::to_wstring(r.bottom) + L"\n";
        report += L"visible=" + std::to_wstring(IsWindowVisible(clock) ? 1 : 0) + L"\n";
    }
    wchar_t wallpaper[1024] = {};
    SystemParametersInfoW(SPI_GETDESKWALLPAPER, 1024, wallpaper, 0);
    wallpaper[1023] = L'\0';
    report += L"wallpaper=" + std::wstring(wallpaper) + L"\n";
    const COLORREF colour = GetSysColor(COLOR_DESKTOP);
    report += L"colour=" + std::to_wstring(GetRValue(colour)) + L" " + std::to_wstring(GetGValue(colour)) + L" " +
              std::to_wstring(GetBValue(colour)) + L"\n";

    for (const wchar_t* name : {L"WallpaperStyle", L"TileWallpaper"}) {
        wchar_t text[64] = {};
        DWORD bytes = sizeof text - sizeof(wchar_t);
        RegGetValueW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", name, RRF_RT_REG_SZ, nullptr, text, &bytes);
        report += std::wstring(name[0] == L'W' ? L"style=" : L"tile=") + text + L"\n";
    }
    return report_file::writeWhole(target, report_file::utf8(report)) ? 0 : 3;
}
