// What the end-to-end tests run inside Wine beside the clock, one verb each (files are written
// whole, then renamed, so that a test polling for them never reads half):
//   progman [announce]   a stand-in for the shell's "Program Manager" (Wine has none): full screen,
//                        always at the bottom; "announce" broadcasts "TaskbarCreated". Ends on WM_CLOSE.
//   report FILE          the desktop as another process sees it: clock, parent_class, parent_title,
//                        rect (l,t,r,b), visible, wallpaper, colour, style and tile (WallpaperStyle,
//                        TileWallpaper) ("name=value" lines, UTF-8).
//   set-wallpaper PATH   sets the wallpaper as the control panel does.
//   dump FILE CAPTION    dialogs titled CAPTION: "window" (client=l,t,w,h, visible), then a "control"
//                        line per child (id, class, text, rect in client coordinates, visible, style).
//   render FILE W H TEXT TEXT drawn as a dialog's left-aligned label in the dialogs' font, as PPM.
// With any other first argument it records how it was started (command, folder, flags, show) to
// the file named by TAVRO_LAUNCH_RECORD: it stands in for the programs the clock starts.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

std::string utf8(const std::wstring& text) {
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                         nullptr, nullptr);
    std::string out(static_cast<size_t>(size > 0 ? size : 0), '\0');
    if (size > 0)
        WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size, nullptr, nullptr);
    return out;
}

int writeWhole(const std::wstring& path, const std::string& bytes) {
    const std::wstring part = path + L".part";
    const HANDLE file = CreateFileW(part.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 1;
    DWORD written = 0;
    const BOOL ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    return ok && written == bytes.size() && MoveFileExW(part.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING) ? 0 : 1;
}

std::wstring textOf(HWND hwnd, bool className = false) {
    wchar_t text[1024] = {};
    if (className) GetClassNameW(hwnd, text, 1024);
    else GetWindowTextW(hwnd, text, 1024);
    return text;
}

std::string rectText(long a, long b, long c, long d) {
    return std::to_string(a) + "," + std::to_string(b) + "," + std::to_string(c) + "," + std::to_string(d);
}

// The window titled title, top-level or a child of a top-level one (the clock under the program manager).
struct Search {
    std::wstring title;
    HWND found = nullptr;
};
BOOL CALLBACK matchChild(HWND hwnd, LPARAM param) {
    auto& s = *reinterpret_cast<Search*>(param);
    if (textOf(hwnd) == s.title) s.found = hwnd;
    return s.found ? FALSE : TRUE;
}
BOOL CALLBACK matchTopLevel(HWND hwnd, LPARAM param) {
    matchChild(hwnd, param);
    if (!reinterpret_cast<Search*>(param)->found) EnumChildWindows(hwnd, matchChild, param);
    return reinterpret_cast<Search*>(param)->found ? FALSE : TRUE;
}
HWND findWindow(const std::wstring& title) {
    Search s{title};
    EnumWindows(matchTopLevel, reinterpret_cast<LPARAM>(&s));
    return s.found;
}

LRESULT CALLBACK progmanProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_WINDOWPOSCHANGING) {
        reinterpret_cast<WINDOWPOS*>(lParam)->hwndInsertAfter = HWND_BOTTOM;  // stays under all, as the desktop
        return 0;
    }
    if (message == WM_DESTROY) PostQuitMessage(0);
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

int progman(bool announce) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = progmanProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.hbrBackground = CreateSolidBrush(RGB(0, 96, 0));
    wc.lpszClassName = L"Progman";
    if (!RegisterClassW(&wc)) return 1;
    const HWND hwnd = CreateWindowExW(WS_EX_TOOLWINDOW, L"Progman", L"Program Manager", WS_POPUP | WS_CLIPCHILDREN,
                                      0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), nullptr,
                                      nullptr, wc.hInstance, nullptr);
    if (!hwnd) return 1;
    ShowWindow(hwnd, SW_SHOWNOACTIVATE);
    UpdateWindow(hwnd);
    if (announce) PostMessageW(HWND_BROADCAST, RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
    return 0;
}

int report(const std::wstring& file) {
    const HWND clock = findWindow(L"TavroClock");
    std::wstring out = L"clock=" + std::to_wstring(clock ? 1 : 0) + L"\n";
    if (clock) {
        const HWND parent = GetAncestor(clock, GA_PARENT);
        const bool desktop = !parent || parent == GetDesktopWindow();
        RECT r{};
        GetWindowRect(clock, &r);
        out += L"parent_class=" + (desktop ? L"" : textOf(parent, true)) + L"\nparent_title=" +
               (desktop ? L"" : textOf(parent)) + L"\nrect=" +
               std::to_wstring(r.left) + L"," + std::to_wstring(r.top) + L"," + std::to_wstring(r.right) + L"," +
               std::to_wstring(r.bottom) + L"\nvisible=" + std::to_wstring(IsWindowVisible(clock) ? 1 : 0) + L"\n";
    }
    wchar_t wallpaper[1024] = {};
    SystemParametersInfoW(SPI_GETDESKWALLPAPER, 1023, wallpaper, 0);
    const COLORREF c = GetSysColor(COLOR_DESKTOP);
    out += L"wallpaper=" + std::wstring(wallpaper) + L"\ncolour=" + std::to_wstring(GetRValue(c)) + L" " +
           std::to_wstring(GetGValue(c)) + L" " + std::to_wstring(GetBValue(c)) + L"\n";
    for (const wchar_t* name : {L"WallpaperStyle", L"TileWallpaper"}) {
        wchar_t text[64] = {};
        DWORD bytes = sizeof text - sizeof(wchar_t);
        RegGetValueW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", name, RRF_RT_REG_SZ, nullptr, text, &bytes);
        out += (name[0] == L'W' ? L"style=" : L"tile=") + std::wstring(text) + L"\n";
    }
    return writeWhole(file, utf8(out));
}

struct Dump {
    std::wstring caption;
    std::string out;
    HWND dialog = nullptr;
};
BOOL CALLBACK dumpControl(HWND child, LPARAM param) {
    auto& dump = *reinterpret_cast<Dump*>(param);
    if (GetParent(child) != dump.dialog) return TRUE;  // only the dialog's own controls
    RECT r{};
    GetWindowRect(child, &r);
    POINT topLeft{r.left, r.top};
    ScreenToClient(dump.dialog, &topLeft);
    char style[16];
    std::snprintf(style, sizeof style, "%08lX", static_cast<unsigned long>(GetWindowLongW(child, GWL_STYLE)));
    dump.out += "control\tid=" + std::to_string(GetDlgCtrlID(child)) + "\tclass=" + utf8(textOf(child, true)) +
                "\ttext=" + utf8(textOf(child)) + "\trect=" +
                rectText(topLeft.x, topLeft.y, r.right - r.left, r.bottom - r.top) +
                "\tvisible=" + (IsWindowVisible(child) ? "1" : "0") + "\tstyle=" + style + "\n";
    return TRUE;
}
BOOL CALLBACK dumpDialog(HWND hwnd, LPARAM param) {
    auto& dump = *reinterpret_cast<Dump*>(param);
    if (textOf(hwnd, true) != L"#32770" || textOf(hwnd) != dump.caption) return TRUE;
    RECT client{};
    GetClientRect(hwnd, &client);
    POINT origin{0, 0};
    ClientToScreen(hwnd, &origin);
    dump.out += "window\tclient=" + rectText(origin.x, origin.y, client.right, client.bottom) +
                "\tvisible=" + (IsWindowVisible(hwnd) ? "1" : "0") + "\n";
    dump.dialog = hwnd;
    EnumChildWindows(hwnd, dumpControl, param);
    return TRUE;
}

// The dialog manager's font for a DS_SETFONT template of 9 points at the screen's resolution.
int render(const std::wstring& file, int width, int height, const std::wstring& text) {
    if (width <= 0 || height <= 0 || width > 4096 || height > 4096) return 2;
    HDC screen = GetDC(nullptr);
    const int fontHeight = -MulDiv(9, GetDeviceCaps(screen, LOGPIXELSY), 72);
    HDC dc = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof info.bmiHeader, width, -height, 1, 32, BI_RGB};  // top row first
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    ReleaseDC(nullptr, screen);
    if (!dc || !bitmap || !bits) return 1;
    HFONT font = CreateFontW(fontHeight, 0, 0, 0, FW_DONTCARE, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0, 0, 0,
                             L"\xFF2D\xFF33 \x30B4\x30B7\x30C3\x30AF");  // ＭＳ ゴシック
    HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
    HGDIOBJ oldFont = SelectObject(dc, font);
    RECT box{0, 0, width, height};
    FillRect(dc, &box, GetSysColorBrush(COLOR_BTNFACE));
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    DrawTextW(dc, text.c_str(), -1, &box, DT_LEFT | DT_EXPANDTABS | DT_WORDBREAK);
    GdiFlush();
    std::string out = "P6\n" + std::to_string(width) + " " + std::to_string(height) + "\n255\n";
    const auto* p = static_cast<const unsigned char*>(bits);  // B, G, R, unused
    for (int i = 0; i < width * height; ++i) out += {static_cast<char>(p[4 * i + 2]), static_cast<char>(p[4 * i + 1]),
                                                     static_cast<char>(p[4 * i])};
    SelectObject(dc, oldFont);
    SelectObject(dc, oldBitmap);
    DeleteObject(font);
    DeleteObject(bitmap);
    DeleteDC(dc);
    return writeWhole(file, out);
}

int recordLaunch() {
    wchar_t record[1024] = {}, folder[1024] = {};
    const DWORD length = GetEnvironmentVariableW(L"TAVRO_LAUNCH_RECORD", record, 1024);
    if (length == 0 || length >= 1024) return 2;
    GetCurrentDirectoryW(1024, folder);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    GetStartupInfoW(&startup);
    return writeWhole(record, "command=" + utf8(GetCommandLineW()) + "\nfolder=" + utf8(folder) +
                                  "\nflags=" + std::to_string(startup.dwFlags) +
                                  "\nshow=" + std::to_string(startup.wShowWindow) + "\n");
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    int count = 0;
    wchar_t** args = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!args) return 2;
    const std::vector<std::wstring> arg(args, args + count);
    LocalFree(args);
    const std::wstring verb = count > 1 ? arg[1] : L"";
    if (verb == L"progman") return progman(count > 2 && arg[2] == L"announce");
    if (verb == L"report" && count == 3) return report(arg[2]);
    if (verb == L"set-wallpaper" && count == 3) {
        std::wstring path = arg[2];
        return SystemParametersInfoW(SPI_SETDESKWALLPAPER, 0, path.data(), SPIF_UPDATEINIFILE | SPIF_SENDWININICHANGE)
                   ? 0 : 1;
    }
    if (verb == L"dump" && count == 4) {
        Dump dump{arg[3]};
        EnumWindows(dumpDialog, reinterpret_cast<LPARAM>(&dump));
        return writeWhole(arg[2], dump.out);
    }
    if (verb == L"render" && count == 6) return render(arg[2], _wtoi(arg[3].c_str()), _wtoi(arg[4].c_str()), arg[5]);
    if (verb == L"progman" || verb == L"report" || verb == L"set-wallpaper" || verb == L"dump" || verb == L"render")
        return 2;
    return recordLaunch();
}
