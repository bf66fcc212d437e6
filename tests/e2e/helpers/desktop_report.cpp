// Writes what the desktop looks like from another process to the file named on the command
// line, UTF-8, one "name=value" line each: clock (1 when a window titled "TavroClock" exists),
// parent_class and parent_title (its parent, "" for the desktop), rect (its screen rectangle
// left,top,right,bottom), visible, wallpaper (SPI_GETDESKWALLPAPER), colour (the desktop colour
// as "r g b"), style and tile (WallpaperStyle, TileWallpaper). "set <path>" instead sets the
// wallpaper as a user would in the control panel ("" removes it): stored and announced.
#include <windows.h>

#include <string>

#include "report_file.h"

namespace {

BOOL CALLBACK findChild(HWND hwnd, LPARAM found) {
    wchar_t title[64] = {};
    GetWindowTextW(hwnd, title, 64);
    if (lstrcmpW(title, L"TavroClock") != 0) return TRUE;
    *reinterpret_cast<HWND*>(found) = hwnd;
    return FALSE;
}

BOOL CALLBACK findTopLevel(HWND hwnd, LPARAM found) {
    if (findChild(hwnd, found)) EnumChildWindows(hwnd, findChild, found);
    return *reinterpret_cast<HWND*>(found) ? FALSE : TRUE;
}

std::wstring line(const wchar_t* name, const std::wstring& value) { return name + (L"=" + value) + L"\n"; }

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR target, int) {
    if (std::wstring path = target; path.rfind(L"set ", 0) == 0) {
        path = path.size() > 5 && path[4] == L'"' ? path.substr(5, path.size() - 6) : path.substr(4);
        return SystemParametersInfoW(SPI_SETDESKWALLPAPER, 0, path.data(), SPIF_UPDATEINIFILE | SPIF_SENDWININICHANGE) ? 0 : 1;
    }
    HWND clock = nullptr;
    EnumWindows(findTopLevel, reinterpret_cast<LPARAM>(&clock));
    std::wstring report = line(L"clock", clock ? L"1" : L"0");
    if (clock) {
        HWND parent = GetAncestor(clock, GA_PARENT);
        if (parent == GetDesktopWindow()) parent = nullptr;
        wchar_t className[256] = {}, title[256] = {};
        if (parent) GetClassNameW(parent, className, 256), GetWindowTextW(parent, title, 256);
        RECT r{};
        GetWindowRect(clock, &r);
        report += line(L"parent_class", className) + line(L"parent_title", title) + line(L"visible", IsWindowVisible(clock) ? L"1" : L"0") +
                  line(L"rect", std::to_wstring(r.left) + L"," + std::to_wstring(r.top) + L"," + std::to_wstring(r.right) +
                                    L"," + std::to_wstring(r.bottom));
    }
    wchar_t wallpaper[1024] = {};
    SystemParametersInfoW(SPI_GETDESKWALLPAPER, 1023, wallpaper, 0);
    const COLORREF c = GetSysColor(COLOR_DESKTOP);
    report += line(L"wallpaper", wallpaper) + line(L"colour", std::to_wstring(GetRValue(c)) + L" " +
                                                                  std::to_wstring(GetGValue(c)) + L" " + std::to_wstring(GetBValue(c)));
    for (const wchar_t* name : {L"WallpaperStyle", L"TileWallpaper"}) {
        wchar_t text[64] = {};
        DWORD bytes = sizeof text - sizeof(wchar_t);
        RegGetValueW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", name, RRF_RT_REG_SZ, nullptr, text, &bytes);
        report += line(name[0] == L'W' ? L"style" : L"tile", text);
    }
    return target && *target && report_file::writeWhole(target, report_file::utf8(report)) ? 0 : 3;
}
