// What the end-to-end tests run inside Wine beside the clock, one verb each (files are written
// whole, then renamed, so that a test polling for them never reads half):
//   progman [announce|LEFT]  a stand-in for the shell's "Program Manager" (Wine has none): from x LEFT
//                        (negative: a monitor left of the primary; 0 by default) to the primary's right
//                        edge, always at the bottom; "announce" broadcasts "TaskbarCreated". Ends on WM_CLOSE.
//   mode W H             changes the display to W x H; exit code 0 when the system took it.
//   report FILE          the desktop as another process sees it: clock, parent_class, parent_title,
//                        rect (l,t,r,b), visible, wallpaper, colour, style and tile (WallpaperStyle,
//                        TileWallpaper) ("name=value" lines, UTF-8).
//   close [TITLE]        posts WM_CLOSE to the window titled TITLE ("TavroClock"), top-level or child.
//   set-wallpaper PATH   sets the wallpaper as the control panel does.
//   tooltip FILE         the text of every visible tooltip control, each followed by a line "--".
//   dump FILE CAPTION    dialogs titled CAPTION: "window" (client=l,t,w,h, visible), then a "control"
//                        line per child (id, class, text, rect in client coordinates, visible).
// With any other first argument it records how it was started (command, folder, flags, show) to
// the file named by TAVRO_LAUNCH_RECORD: it stands in for the programs the clock starts.
#include <windows.h>

#include <string>
#include <vector>

namespace {

using std::to_string;

std::string utf8(const std::wstring& text) {
    std::string out(text.size() * 3 + 1, '\0');
    const int n = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, out.data(), int(out.size()), nullptr, nullptr);
    out.resize(n > 0 ? n - 1 : 0);
    return out;
}

int writeWhole(const std::wstring& path, const std::string& bytes) {
    const std::wstring part = path + L".part";
    const HANDLE file = CreateFileW(part.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 1;
    DWORD written = 0;
    const BOOL ok = WriteFile(file, bytes.data(), DWORD(bytes.size()), &written, nullptr);
    CloseHandle(file);
    return ok && written == bytes.size() && MoveFileExW(part.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING) ? 0 : 1;
}

std::string text(HWND hwnd, bool className = false) {
    wchar_t buffer[1024] = {};
    className ? GetClassNameW(hwnd, buffer, 1024) : GetWindowTextW(hwnd, buffer, 1024);
    return utf8(buffer);
}

std::string list(long a, long b, long c, long d) { return to_string(a) + "," + to_string(b) + "," + to_string(c) + "," + to_string(d); }

// The window titled wanted, top-level or a child of one (the clock under the program manager).
std::string wanted;
HWND found = nullptr;
BOOL CALLBACK match(HWND hwnd, LPARAM topLevel) {
    if (text(hwnd) == wanted) found = hwnd;
    else if (topLevel) EnumChildWindows(hwnd, match, 0);
    return !found;
}
HWND findWindow(const std::string& title) {
    wanted = title;
    EnumWindows(match, 1);
    return found;
}

LRESULT CALLBACK progmanProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_WINDOWPOSCHANGING) {
        reinterpret_cast<WINDOWPOS*>(lParam)->hwndInsertAfter = HWND_BOTTOM;  // under all, as the desktop
        return 0;
    }
    if (message == WM_DESTROY) PostQuitMessage(0);
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

int progman(bool announce, int left) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = progmanProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.hbrBackground = CreateSolidBrush(RGB(0, 96, 0));
    wc.lpszClassName = L"Progman";
    const HWND hwnd = RegisterClassW(&wc) ? CreateWindowExW(WS_EX_TOOLWINDOW, L"Progman", L"Program Manager",
        WS_POPUP | WS_CLIPCHILDREN, left, 0, GetSystemMetrics(SM_CXSCREEN) - left, GetSystemMetrics(SM_CYSCREEN), nullptr,
        nullptr, wc.hInstance, nullptr) : nullptr;
    if (!hwnd) return 1;
    ShowWindow(hwnd, SW_SHOWNOACTIVATE);
    if (announce) PostMessageW(HWND_BROADCAST, RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
    return 0;
}

int report(const std::wstring& file) {
    const HWND clock = findWindow("TavroClock");
    std::string out = "clock=" + to_string(clock ? 1 : 0) + "\n";
    if (clock) {
        HWND parent = GetAncestor(clock, GA_PARENT);
        if (parent == GetDesktopWindow()) parent = nullptr;
        RECT r{};
        GetWindowRect(clock, &r);
        out += "parent_class=" + (parent ? text(parent, true) : "") + "\nparent_title=" + (parent ? text(parent) : "") +
               "\nrect=" + list(r.left, r.top, r.right, r.bottom) + "\nvisible=" + to_string(IsWindowVisible(clock) ? 1 : 0) + "\n";
    }
    wchar_t wallpaper[1024] = {};
    SystemParametersInfoW(SPI_GETDESKWALLPAPER, 1023, wallpaper, 0);
    const COLORREF c = GetSysColor(COLOR_DESKTOP);
    out += "wallpaper=" + utf8(wallpaper) + "\ncolour=" + to_string(GetRValue(c)) + " " + to_string(GetGValue(c)) + " " +
           to_string(GetBValue(c)) + "\n";
    for (const wchar_t* name : {L"WallpaperStyle", L"TileWallpaper"}) {
        wchar_t value[64] = {};
        DWORD bytes = sizeof value - sizeof(wchar_t);
        RegGetValueW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", name, RRF_RT_REG_SZ, nullptr, value, &bytes);
        out += (name[0] == L'W' ? "style=" : "tile=") + utf8(value) + "\n";
    }
    return writeWhole(file, out);
}

std::string dump;
HWND dialog = nullptr;
BOOL CALLBACK dumpControl(HWND child, LPARAM) {
    if (GetParent(child) != dialog) return TRUE;  // only the dialog's own controls
    RECT r{};
    GetWindowRect(child, &r);
    POINT at{r.left, r.top};
    ScreenToClient(dialog, &at);
    dump += "control\tid=" + to_string(GetDlgCtrlID(child)) + "\tclass=" + text(child, true) + "\ttext=" + text(child) +
            "\trect=" + list(at.x, at.y, r.right - r.left, r.bottom - r.top) +
            "\tvisible=" + (IsWindowVisible(child) ? "1" : "0") + "\n";
    return TRUE;
}
BOOL CALLBACK dumpDialog(HWND hwnd, LPARAM) {
    if (text(hwnd, true) != "#32770" || text(hwnd) != wanted) return TRUE;
    RECT client{};
    POINT origin{0, 0};
    GetClientRect(hwnd, &client), ClientToScreen(hwnd, &origin);
    dump += "window\tclient=" + list(origin.x, origin.y, client.right, client.bottom) +
            "\tvisible=" + (IsWindowVisible(hwnd) ? "1" : "0") + "\n";
    EnumChildWindows(dialog = hwnd, dumpControl, 0);
    return TRUE;
}

std::string tooltips;
BOOL CALLBACK addTooltip(HWND hwnd, LPARAM) {
    if (IsWindowVisible(hwnd) && text(hwnd, true) == "tooltips_class32") {
        // WM_GETTEXT reads a tooltip's text across processes; GetWindowText would not ask it.
        wchar_t buffer[1024] = {};
        SendMessageTimeoutW(hwnd, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(buffer), SMTO_ABORTIFHUNG, 5000, nullptr);
        tooltips += utf8(buffer) + "\n--\n";
    }
    return TRUE;
}

int changeMode(int width, int height) {
    DEVMODEW mode{};
    mode.dmSize = sizeof mode;
    mode.dmPelsWidth = static_cast<DWORD>(width);
    mode.dmPelsHeight = static_cast<DWORD>(height);
    mode.dmFields = DM_PELSWIDTH | DM_PELSHEIGHT;
    return ChangeDisplaySettingsExW(nullptr, &mode, nullptr, 0, nullptr) == DISP_CHANGE_SUCCESSFUL ? 0 : 1;
}

int recordLaunch() {
    wchar_t record[1024] = {}, folder[1024] = {};
    const DWORD length = GetEnvironmentVariableW(L"TAVRO_LAUNCH_RECORD", record, 1024);
    if (length == 0 || length >= 1024) return 2;
    GetCurrentDirectoryW(1024, folder);
    STARTUPINFOW startup{sizeof startup};
    GetStartupInfoW(&startup);
    return writeWhole(record, "command=" + utf8(GetCommandLineW()) + "\nfolder=" + utf8(folder) + "\nflags=" +
                                  to_string(startup.dwFlags) + "\nshow=" + to_string(startup.wShowWindow) + "\n");
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    int count = 0;
    wchar_t** args = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!args) return 2;
    const std::vector<std::wstring> arg(args, args + count);
    LocalFree(args);
    const std::wstring verb = count > 1 ? arg[1] : L"";
    if (verb == L"progman") return progman(count > 2 && arg[2] == L"announce", count > 2 ? _wtoi(arg[2].c_str()) : 0);
    if (verb == L"mode") return count == 4 ? changeMode(_wtoi(arg[2].c_str()), _wtoi(arg[3].c_str())) : 2;
    if (verb == L"close") {
        const HWND window = findWindow(count > 2 ? utf8(arg[2]) : "TavroClock");
        return window && PostMessageW(window, WM_CLOSE, 0, 0) ? 0 : 1;
    }
    if (verb == L"report") return count == 3 ? report(arg[2]) : 2;
    if (verb == L"set-wallpaper")
        return count == 3 && SystemParametersInfoW(SPI_SETDESKWALLPAPER, 0, const_cast<wchar_t*>(arg[2].c_str()),
                                                   SPIF_UPDATEINIFILE | SPIF_SENDWININICHANGE) ? 0 : 1;
    if (verb == L"tooltip") {
        if (count != 3) return 2;
        EnumWindows(addTooltip, 0);
        return writeWhole(arg[2], tooltips);
    }
    if (verb == L"dump") {
        if (count != 4) return 2;
        wanted = utf8(arg[3]);
        EnumWindows(dumpDialog, 0);
        return writeWhole(arg[2], dump);
    }
    return recordLaunch();
}
