// What runs inside Wine beside the clock, for the end-to-end tests, tools/run_clock.sh (report,
// close) and bench/idle_under_wine.sh (shell), one verb each (files are written whole, then
// renamed, so that a test polling for them never reads half):
//   progman [announce|LEFT]  a stand-in for the shell's "Program Manager" (Wine has none): from x LEFT
//                        (negative: a monitor left of the primary; 0 by default) to the primary's right
//                        edge, always at the bottom; "announce" broadcasts "TaskbarCreated". Ends on WM_CLOSE.
//   shell LAYOUT LOG [late]  a stand-in shell desktop as real Windows builds it (classic: Progman >
//                        SHELLDLL_DefView > SysListView32; split: the icon view in a WorkerW above a
//                        wallpaper WorkerW above Progman; 24h2: Progman with WS_EX_NOREDIRECTIONBITMAP
//                        holding the icon view above a WorkerW, and a tiny utility WorkerW). "late"
//                        broadcasts "TaskbarCreated" first and makes the windows 1.5 s later, as a
//                        restarted shell may. After it is up and after each change it appends to LOG
//                        "NAME MS": how long until the clock hung right above the icon view again
//                        (with alpha 255 on 24h2), or "NAME timeout" after 5 s (90 s for the clock's
//                        start). Ends on WM_CLOSE.
//   shell-do ACTION      tells the stand-in shell to change while the clock runs: split, show (Show
//                        Desktop), back (the windows back), unlayer (the clock's WS_EX_LAYERED taken
//                        away with a frame change, as other programs' style changes do), hang (its
//                        window procedure sleeps 10 s).
//   shell-hung           exit code 0 while the stand-in shell does not answer.
//   mode W H             changes the display to W x H; exit code 0 when the system took it.
//   report FILE          the desktop as another process sees it: clock, parent_class, parent_title,
//                        rect (l,t,r,b), work (its monitor's work area, as a new process sees it), visible, exe (the clock process's image), wallpaper, colour, style and tile (WallpaperStyle,
//                        TileWallpaper); and of the clock window: clock_style, clock_exstyle (hex),
//                        alpha (none unless layered), below (the class of the sibling right under it),
//                        at_centre and over_app (what WindowFromPoint gives at its centre, alone and
//                        with an ordinary application window put over it: "clock", "app" or a class)
//                        ("name=value" lines, UTF-8).
//   close [TITLE]        posts WM_CLOSE to the window titled TITLE ("TavroClock"), top-level or child.
//   set-wallpaper PATH   sets the wallpaper as the control panel does.
//   hold FILE HELD       keeps FILE open, others allowed to read it only (as a virus scanner or a
//                        backup may), until it is ended; writes the file HELD once it holds it.
//   tooltip FILE         the text of every visible tooltip control, each followed by a line "--".
//   almanac FILE         the 暦 window: title, rect (l,t,r,b), focus (the focused control's id), clipboard
//                        (its text), then a "control" line per child (id, enabled, rect on the screen, text by WM_GETTEXT);
//                        line breaks in texts written as "\\n".
//   almanac-time FILE X Y  double-clicks the clock at its client point (X, Y), then pages ten months on
//                        with PageDown and back: open_ms (until the 暦 window and all its controls are
//                        painted), page_ms and page_max_ms (median and worst PageDown until the new month is
//                        painted); the window stays open.
//   settings-time FILE   with the settings window open on a clock at the default place at 100 % of
//                        96 DPI, changes the digit colour and the size ten times each and times
//                        each until the screen shows it: colour_ms, colour_max_ms, size_ms,
//                        size_max_ms (median and worst).
//   tray FILE            the notification areas (Wine's stand-alone tray, a task bar's Shell_TrayWnd) and
//                        their child windows ("tray"/"icon" lines: class, rect l,t,r,b, visible), then
//                        every visible balloon ("balloon": the same and its text).
//   refusing-tray FILE   a notification area that refuses every icon, as a shell too busy at log-on
//                        does (the clock's Shell_NotifyIcon gets FALSE): a hidden top-level
//                        "Shell_TrayWnd" above Wine's own, which the call finds first. Writes FILE
//                        "ready", then "refused" at its first refusal; ends when killed.
//   dump FILE CAPTION    dialogs (and the clock's reminder notices) titled CAPTION: "window" (client=l,t,w,h,
//                        rect l,t,r,b, visible, foreground, topmost), then a "control" line per child (id,
//                        class, text (a combo box's selection, an edit's text asked of it; "\\n" for line
//                        breaks), rect in client coordinates, visible, checked (BM_GETCHECK of a button), enabled);
//                        a list view's rows as rows=ROW//ROW..., each its columns' texts then its check
//                        state, "|" apart; a date and time picker's time=yyyy-mm-dd hh:mm.
// With any other first argument it records how it was started (command, folder, flags, show) to
// the file named by TAVRO_LAUNCH_RECORD: it stands in for the programs the clock starts.
#include <windows.h>
#include <shellapi.h>
#include <commctrl.h>  // TTS_BALLOON

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "base/unique_handle_win32.h"

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
    BOOL ok = FALSE;
    DWORD written = 0;
    {  // closed before the move
        const tavro::base::UniqueFile file(CreateFileW(part.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
        if (!file) return 1;
        ok = WriteFile(file.get(), bytes.data(), DWORD(bytes.size()), &written, nullptr);
    }
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

// The stand-in shell. Its windows keep their order among the top-level windows unless it moves
// them itself, as the shell's desktop windows do.
enum Action : WPARAM { Split = 1, ShowDesktop, Back, Unlayer, Hang };
const wchar_t* const kActions[] = {L"", L"split", L"show", L"back", L"unlayer", L"hang"};
constexpr UINT kDo = WM_APP + 40;
constexpr UINT_PTR kWatch = 1;

struct StandIn {
    HWND progman = nullptr, view = nullptr, home = nullptr, icons = nullptr, wallpaper = nullptr, raised = nullptr;
    bool ordering = true, is24h2 = false;
    std::wstring log;
    std::string entries;
    // The change being watched: what, since when, under which host the clock belongs.
    std::string watching;
    DWORD since = 0;
    HWND expected = nullptr;
} shell;

void note(const std::string& entry) {
    shell.entries += entry + "\n";
    writeWhole(shell.log, shell.entries);
}

bool clockSettled(HWND clock) {
    if (!clock || GetAncestor(clock, GA_PARENT) != shell.expected || GetWindow(clock, GW_HWNDNEXT) != shell.view)
        return false;
    if (!shell.is24h2) return true;
    BYTE alpha = 0;
    DWORD flags = 0;
    return (GetWindowLongPtrW(clock, GWL_EXSTYLE) & WS_EX_LAYERED) && GetLayeredWindowAttributes(clock, nullptr, &alpha, &flags) &&
           alpha == 255;
}

// Polled from a timer, so that the stand-in keeps answering while the clock moves.
void watch(const std::string& what, HWND host) {
    shell.watching = what, shell.since = GetTickCount(), shell.expected = host;
    SetTimer(shell.progman, kWatch, 5, nullptr);
}

void onWatch() {
    const DWORD elapsed = GetTickCount() - shell.since;
    found = nullptr;
    if (clockSettled(findWindow("TavroClock"))) note(shell.watching + " " + to_string(elapsed));
    else if (elapsed > (shell.watching == "start" ? 90000u : 5000u)) note(shell.watching + " timeout");
    else return;
    KillTimer(shell.progman, kWatch);
}

void act(WPARAM action);

LRESULT CALLBACK standInProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_WINDOWPOSCHANGING && !shell.ordering) reinterpret_cast<WINDOWPOS*>(lParam)->flags |= SWP_NOZORDER;
    if (hwnd != shell.progman || !shell.progman) return DefWindowProcW(hwnd, message, wParam, lParam);
    if (message == WM_TIMER && wParam == kWatch) onWatch();
    if (message == WM_DESTROY) PostQuitMessage(0);
    if (message == kDo) {
        act(wParam);
        return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

HWND make(const wchar_t* className, const wchar_t* title, HWND parent, int x, int y, int w, int h, DWORD ex = 0) {
    const DWORD style = (parent ? WS_CHILD | WS_CLIPSIBLINGS : WS_POPUP) | WS_CLIPCHILDREN | WS_VISIBLE;
    return CreateWindowExW(ex | (parent ? 0 : WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE), className, title, style, x, y, w, h,
                           parent, nullptr, GetModuleHandleW(nullptr), nullptr);
}

HWND fullScreen(const wchar_t* className, const wchar_t* title = L"", DWORD ex = 0) {
    return make(className, title, nullptr, 0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), ex);
}

void order(HWND window, HWND after) {
    shell.ordering = true;
    SetWindowPos(window, after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    shell.ordering = false;
}

// The icons into a WorkerW over a wallpaper WorkerW, both over Progman.
void split() {
    shell.wallpaper = fullScreen(L"WorkerW");
    shell.icons = fullScreen(L"WorkerW");
    SetParent(shell.view, shell.icons);
    for (HWND w : {shell.icons, shell.wallpaper, shell.progman}) order(w, HWND_BOTTOM);
    shell.home = shell.icons;
}

void act(WPARAM action) {
    switch (action) {
        case Split:
            split();
            return watch("split", shell.icons);
        case ShowDesktop:
            if (shell.is24h2) {
                order(shell.progman, HWND_TOP);
                return watch("show", shell.progman);
            }
            if (!shell.raised) shell.raised = fullScreen(L"WorkerW");
            SetParent(shell.view, shell.raised);
            ShowWindow(shell.raised, SW_SHOWNOACTIVATE);
            order(shell.raised, HWND_TOP);
            return watch("show", shell.raised);
        case Back:
            if (shell.is24h2) {
                order(shell.progman, HWND_BOTTOM);
                return watch("back", shell.progman);
            }
            SetParent(shell.view, shell.home);  // on top of the home's children, over the clock
            if (shell.raised) ShowWindow(shell.raised, SW_HIDE);
            return watch("back", shell.home);
        case Unlayer: {
            found = nullptr;
            const HWND clock = findWindow("TavroClock");
            SetWindowLongPtrW(clock, GWL_EXSTYLE, GetWindowLongPtrW(clock, GWL_EXSTYLE) & ~LONG_PTR{WS_EX_LAYERED});
            SetWindowPos(clock, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
            return watch("unlayer", shell.home);
        }
        case Hang:
            Sleep(10000);
            return;
    }
}

int standInShell(const std::wstring& layout, const std::wstring& log, bool late) {
    shell.log = log;
    shell.is24h2 = layout == L"24h2";
    WNDCLASSW wc{};
    wc.lpfnWndProc = standInProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    for (auto [name, colour] : {std::pair{L"Progman", RGB(0, 96, 0)}, {L"WorkerW", RGB(0, 0, 96)},
                                {L"SHELLDLL_DefView", RGB(96, 96, 0)}, {L"SysListView32", RGB(0, 96, 96)}}) {
        wc.lpszClassName = name;
        wc.hbrBackground = CreateSolidBrush(colour);
        if (!RegisterClassW(&wc)) return 1;
    }
    if (late) {
        PostMessageW(HWND_BROADCAST, RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
        Sleep(1500);
    }
    const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    shell.progman = fullScreen(L"Progman", L"Program Manager", shell.is24h2 ? 0x00200000 /* WS_EX_NOREDIRECTIONBITMAP */ : 0);
    if (!shell.progman) return 1;
    order(shell.progman, HWND_BOTTOM);
    shell.home = shell.progman;
    shell.view = make(L"SHELLDLL_DefView", L"", shell.progman, 0, 0, width, height);
    make(L"SysListView32", L"FolderView", shell.view, 0, 0, width, height);
    if (shell.is24h2) {
        // The wallpaper layer below the icons, and a utility window away from the clock.
        order(make(L"WorkerW", L"", shell.progman, 0, 0, width, height), HWND_BOTTOM);
        order(make(L"WorkerW", L"", nullptr, 20, height - 80, 136, 39), HWND_BOTTOM);
        order(shell.progman, HWND_BOTTOM);
    }
    if (layout == L"split") split();
    shell.ordering = false;
    watch(late ? "restart" : "start", shell.home);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
    return 0;
}

int shellDo(const std::wstring& action) {
    const HWND progman = FindWindowW(L"Progman", L"Program Manager");
    for (WPARAM a = Split; a <= Hang; ++a)
        if (action == kActions[a]) return progman && PostMessageW(progman, kDo, a, 0) ? 0 : 1;
    return 2;
}

int shellHung() {
    DWORD_PTR answer = 0;
    const HWND progman = FindWindowW(L"Progman", L"Program Manager");
    return progman && !SendMessageTimeoutW(progman, WM_NULL, 0, 0, SMTO_ABORTIFHUNG | SMTO_BLOCK, 500, &answer) ? 0 : 1;
}

std::string hex(LONG_PTR value) {
    char out[16];
    wsprintfA(out, "0x%08X", static_cast<unsigned>(value));
    return out;
}

// What WindowFromPoint gives at a point: "clock", "app" or the class of another window.
std::string windowAt(POINT at, HWND clock, HWND app) {
    const HWND hit = WindowFromPoint(at);
    return hit == clock ? "clock" : hit && hit == app ? "app" : hit ? text(hit, true) : "";
}

std::string clockReport(HWND clock) {
    const LONG_PTR ex = GetWindowLongPtrW(clock, GWL_EXSTYLE);
    BYTE alpha = 0;
    DWORD flags = 0;
    const bool layered = (ex & WS_EX_LAYERED) && GetLayeredWindowAttributes(clock, nullptr, &alpha, &flags) && (flags & LWA_ALPHA);
    const HWND below = GetWindow(clock, GW_HWNDNEXT);
    RECT r{};
    GetWindowRect(clock, &r);
    const POINT centre{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    std::string out = "clock_style=" + hex(GetWindowLongPtrW(clock, GWL_STYLE)) + "\nclock_exstyle=" + hex(ex) +
                      "\nalpha=" + (layered ? to_string(alpha) : "none") + "\nbelow=" + (below ? text(below, true) : "") +
                      "\nat_centre=" + windowAt(centre, clock, nullptr) + "\n";
    // An ordinary application window over the clock's centre (not a static control: those are
    // transparent to hit tests).
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"TavroTestApp";
    RegisterClassW(&wc);
    // Shown without activation: Wine was seen to hold the clock's next SetParent 2 s after an
    // active window of another process went away.
    const HWND app = CreateWindowExW(0, wc.lpszClassName, L"app", WS_OVERLAPPEDWINDOW, centre.x - 100, centre.y - 100,
                                     200, 200, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    ShowWindow(app, SW_SHOWNOACTIVATE);
    out += "over_app=" + windowAt(centre, clock, app) + "\n";
    DestroyWindow(app);
    return out;
}

int report(const std::wstring& file) {
    const HWND clock = findWindow("TavroClock");
    std::string out = "clock=" + to_string(clock ? 1 : 0) + "\n";
    if (clock) {
        HWND parent = GetAncestor(clock, GA_PARENT);
        if (parent == GetDesktopWindow()) parent = nullptr;
        RECT r{};
        GetWindowRect(clock, &r);
        MONITORINFO monitor{};
        monitor.cbSize = sizeof monitor;
        GetMonitorInfoW(MonitorFromWindow(clock, MONITOR_DEFAULTTOPRIMARY), &monitor);
        const RECT& w = monitor.rcWork;
        out += "work=" + list(w.left, w.top, w.right, w.bottom) + "\n";
        out += "parent_class=" + (parent ? text(parent, true) : "") + "\nparent_title=" + (parent ? text(parent) : "") +
               "\nrect=" + list(r.left, r.top, r.right, r.bottom) + "\nvisible=" + to_string(IsWindowVisible(clock) ? 1 : 0) + "\n" +
               clockReport(clock);
        DWORD id = 0;
        GetWindowThreadProcessId(clock, &id);
        wchar_t image[1024] = {};
        DWORD size = 1024;
        const HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id);
        if (process) QueryFullProcessImageNameW(process, 0, image, &size), CloseHandle(process);
        out += "exe=" + utf8(image) + "\n";
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

// A list view's rows, read through memory in its process: its messages carry pointers there.
std::string listRows(HWND list) {
    DWORD pid = 0;
    GetWindowThreadProcessId(list, &pid);
    const HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
    if (!process) return "";
    constexpr SIZE_T kText = 512;
    void* remote = VirtualAllocEx(process, nullptr, sizeof(LVITEMW) + kText * sizeof(wchar_t), MEM_COMMIT, PAGE_READWRITE);
    std::string out;
    const HWND header = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0));
    const int columns = static_cast<int>(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0));
    const int rows = remote ? static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0)) : 0;
    auto* textAt = reinterpret_cast<wchar_t*>(static_cast<char*>(remote) + sizeof(LVITEMW));
    for (int row = 0; row < rows; ++row) {
        if (row) out += "//";
        for (int column = 0; column < columns; ++column) {
            LVITEMW item{};
            item.iSubItem = column;
            item.pszText = textAt;
            item.cchTextMax = kText;
            wchar_t text[kText] = {};
            WriteProcessMemory(process, remote, &item, sizeof item, nullptr);
            SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(remote));
            ReadProcessMemory(process, textAt, text, sizeof text - sizeof(wchar_t), nullptr);
            out += utf8(text) + "|";
        }
        const LRESULT state = SendMessageW(list, LVM_GETITEMSTATE, static_cast<WPARAM>(row), LVIS_STATEIMAGEMASK);
        out += to_string((state & LVIS_STATEIMAGEMASK) >> 12 == 2 ? 1 : 0);
    }
    if (remote) VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    CloseHandle(process);
    return out;
}

// A date and time picker's moment, "yyyy-mm-dd hh:mm", asked with a SYSTEMTIME in its process.
std::string pickedTime(HWND picker) {
    DWORD pid = 0;
    GetWindowThreadProcessId(picker, &pid);
    const HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
    if (!process) return "";
    void* remote = VirtualAllocEx(process, nullptr, sizeof(SYSTEMTIME), MEM_COMMIT, PAGE_READWRITE);
    SYSTEMTIME t{};
    if (remote && SendMessageW(picker, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(remote)) == GDT_VALID)
        ReadProcessMemory(process, remote, &t, sizeof t, nullptr);
    if (remote) VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    CloseHandle(process);
    char text[32];
    std::snprintf(text, sizeof text, "%04u-%02u-%02u %02u:%02u", t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute);
    return text;
}

std::string dump;
std::string escaped(const std::wstring& text) {
    std::string out;
    for (char c : utf8(text)) {
        if (c == '\r') continue;
        out += c == '\n' ? std::string("\\n") : std::string(1, c);
    }
    return out;
}

HWND dialog = nullptr;
BOOL CALLBACK dumpControl(HWND child, LPARAM) {
    if (GetParent(child) != dialog) return TRUE;  // only the dialog's own controls
    RECT r{};
    GetWindowRect(child, &r);
    POINT at{r.left, r.top};
    ScreenToClient(dialog, &at);
    // A combo box's text is its selection, an edit's is what it holds and a check box has its
    // state: only the control tells them.
    const std::string kind = text(child, true);
    std::string shown;
    for (char c : text(child))  // a message's lines: one dump line still
        if (c != '\r') shown += c == '\n' ? std::string("\\n") : std::string(1, c);
    DWORD_PTR checked = 0;
    if (kind == "ComboBox" || kind == "Edit") {
        wchar_t buffer[4096] = {};
        SendMessageTimeoutW(child, WM_GETTEXT, 4096, reinterpret_cast<LPARAM>(buffer), SMTO_ABORTIFHUNG, 5000, nullptr);
        shown = escaped(buffer);
    } else if (kind == "Button") {
        SendMessageTimeoutW(child, BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, 5000, &checked);
    }
    dump += "control\tid=" + to_string(GetDlgCtrlID(child)) + "\tclass=" + kind + "\ttext=" + shown +
            "\trect=" + list(at.x, at.y, r.right - r.left, r.bottom - r.top) +
            "\tvisible=" + (IsWindowVisible(child) ? "1" : "0") + "\tchecked=" + to_string(checked) +
            "\tenabled=" + (IsWindowEnabled(child) ? "1" : "0") +
            (kind == "SysListView32" ? "\trows=" + listRows(child) : std::string()) +
            (kind == "SysDateTimePick32" ? "\ttime=" + pickedTime(child) : std::string()) + "\n";
    return TRUE;
}
BOOL CALLBACK dumpDialog(HWND hwnd, LPARAM) {
    const std::string kind = text(hwnd, true);
    if ((kind != "#32770" && kind != "TavroClockReminderNotice") || text(hwnd) != wanted) return TRUE;
    RECT client{}, outer{};
    POINT origin{0, 0};
    GetClientRect(hwnd, &client), ClientToScreen(hwnd, &origin), GetWindowRect(hwnd, &outer);
    dump += "window\tclient=" + list(origin.x, origin.y, client.right, client.bottom) +
            "\trect=" + list(outer.left, outer.top, outer.right, outer.bottom) +
            "\tvisible=" + (IsWindowVisible(hwnd) ? "1" : "0") + "\tforeground=" +
            (GetForegroundWindow() == hwnd ? "1" : "0") + "\ttopmost=" +
            ((GetWindowLongW(hwnd, GWL_EXSTYLE) & WS_EX_TOPMOST) ? "1" : "0") + "\n";
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


std::wstring asked(HWND hwnd) {
    wchar_t buffer[1024] = {};
    SendMessageTimeoutW(hwnd, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(buffer), SMTO_ABORTIFHUNG, 5000, nullptr);
    return buffer;
}

HWND almanacWindow() { return FindWindowW(L"TavroAlmanac", nullptr); }

int almanac(const std::wstring& file) {
    const HWND window = almanacWindow();
    if (!window) return 1;
    // The title first: its answer waits until the window's thread is between two messages, so the
    // focus read next is never the half-way state of a month being opened or paged.
    const std::string title = utf8(asked(window));
    GUITHREADINFO gui{};
    gui.cbSize = sizeof gui;
    GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &gui);
    RECT r{};
    GetWindowRect(window, &r);
    std::wstring clip;
    if (OpenClipboard(nullptr)) {
        if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
            if (auto* p = static_cast<const wchar_t*>(GlobalLock(data))) clip = p, GlobalUnlock(data);
        }
        CloseClipboard();
    }
    std::string out = "title=" + title + "\nrect=" + list(r.left, r.top, r.right, r.bottom) +
                      "\nfocus=" + to_string(gui.hwndFocus ? GetDlgCtrlID(gui.hwndFocus) : 0) +
                      "\nclipboard=" + escaped(clip) + "\n";
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        GetWindowRect(child, &r);
        out += "control\tid=" + to_string(GetDlgCtrlID(child)) + "\tenabled=" + (IsWindowEnabled(child) ? "1" : "0") +
               "\trect=" + list(r.left, r.top, r.right, r.bottom) + "\ttext=" + escaped(asked(child)) + "\n";
    }
    return writeWhole(file, out);
}

// Painted: the window has handled everything sent before (WM_NULL comes after the message being
// handled) and neither it nor a control has anything left to paint.
bool painted(HWND window) {
    DWORD_PTR ignored = 0;
    if (!SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &ignored)) return false;
    if (GetUpdateRect(window, nullptr, FALSE)) return false;
    // The last control first: it is painted last, and asking it alone loads the system least.
    for (HWND child = GetWindow(GetWindow(window, GW_CHILD), GW_HWNDLAST); child; child = GetWindow(child, GW_HWNDPREV))
        if (GetUpdateRect(child, nullptr, FALSE)) return false;
    return true;
}

double msSince(const LARGE_INTEGER& start) {
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return double(now.QuadPart - start.QuadPart) * 1000.0 / double(frequency.QuadPart);
}

int almanacTime(const std::wstring& file, int x, int y) {
    const HWND clock = findWindow("TavroClock");
    if (!clock || almanacWindow()) return 1;
    LARGE_INTEGER start;
    QueryPerformanceCounter(&start);
    PostMessageW(clock, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(x, y));
    HWND window = nullptr;
    while (!(window = almanacWindow()) || !IsWindowVisible(window) || !painted(window)) {
        if (msSince(start) > 30000) return 1;
        Sleep(1);
    }
    const double openMs = msSince(start);
    std::vector<double> pages;
    for (int i = 0; i < 20; ++i) {
        GUITHREADINFO gui{};
        gui.cbSize = sizeof gui;
        GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &gui);
        const std::wstring before = asked(window);
        QueryPerformanceCounter(&start);
        PostMessageW(gui.hwndFocus ? gui.hwndFocus : window, WM_KEYDOWN, i < 10 ? VK_NEXT : VK_PRIOR, 1);
        while (asked(window) == before || !painted(window)) {
            if (msSince(start) > 10000) return 1;
            Sleep(1);
        }
        pages.push_back(msSince(start));
    }
    std::sort(pages.begin(), pages.end());
    char line[200];
    snprintf(line, sizeof line, "open_ms=%.1f\npage_ms=%.1f\npage_max_ms=%.1f\n", openMs, pages[pages.size() / 2],
             pages.back());
    return writeWhole(file, line);
}

// Whether any screen pixel of the rectangle is as wanted, the rectangle read in one go.
template <typename Want>
bool anyPixel(const RECT& r, Want want) {
    const int w = r.right - r.left, h = r.bottom - r.top;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = w;
    info.bmiHeader.biHeight = -h;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    const tavro::base::UniqueScreenDc screen = tavro::base::screenDc();
    const tavro::base::UniqueMemoryDc memory(CreateCompatibleDC(screen.get()));
    const tavro::base::UniqueBitmap picture(CreateDIBSection(memory.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    bool found = false;
    if (picture) {
        const tavro::base::ScopedSelect selected(memory.get(), picture.get());
        BitBlt(memory.get(), 0, 0, w, h, screen.get(), r.left, r.top, SRCCOPY);
        for (int i = 0; i < w * h && !found; ++i) {
            const auto* p = static_cast<const BYTE*>(bits) + 4 * i;  // blue, green, red
            found = want(p[2], p[1], p[0]);
        }
    }
    return found;
}

// Alternates the settings window's colour and size choices and times each until the clock shows
// it on the screen: the year's first digit lit green or orange; a point only the larger clock
// covers (the clock at the default place, 100 % and 125 % of 96 DPI) lit or black.
int settingsTime(const std::wstring& file) {
    const HWND clock = findWindow("TavroClock"), dialog = FindWindowW(L"#32770", L"設定 - TavroClock");
    if (!clock || !dialog) return 1;
    const auto change = [dialog](int id, int index) {
        const HWND box = GetDlgItem(dialog, id);
        SendMessageW(box, CB_SETCURSEL, index, 0);
        SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(box));
    };
    const auto timed = [&](int id, int index, auto shown) {
        LARGE_INTEGER start;
        QueryPerformanceCounter(&start);
        change(id, index);
        while (!shown()) {
            if (msSince(start) > 10000) return -1.0;
            Sleep(1);
        }
        return msSince(start);
    };
    const auto green = [](BYTE r, BYTE g, BYTE b) { return g > 180 && r < 80 && b < 160; };
    const auto orange = [](BYTE r, BYTE g, BYTE b) { return r > 200 && g > 100 && g < 200 && b < 80; };
    const auto lit = [](BYTE r, BYTE g, BYTE b) { return r + g + b > 60; };
    const RECT digit{1460 + 20, 20 + 34, 1460 + 40, 20 + 66}, onlyLarger{1400, 25, 1404, 29};
    std::vector<double> colours, sizes;
    for (int i = 0; i < 10; ++i)  // at 100 %, where the digit is looked for
        colours.push_back(i % 2 ? timed(303, 0, [&] { return anyPixel(digit, orange); })
                                : timed(303, 1, [&] { return anyPixel(digit, green); }));
    for (int i = 0; i < 10; ++i)
        sizes.push_back(i % 2 ? timed(301, 1, [&] { return !anyPixel(onlyLarger, lit); })
                              : timed(301, 2, [&] { return anyPixel(onlyLarger, lit); }));
    for (auto* v : {&colours, &sizes})
        if (std::find(v->begin(), v->end(), -1.0) != v->end()) return 1;
    std::sort(colours.begin(), colours.end());
    std::sort(sizes.begin(), sizes.end());
    char line[200];
    snprintf(line, sizeof line, "colour_ms=%.1f\ncolour_max_ms=%.1f\nsize_ms=%.1f\nsize_max_ms=%.1f\n", colours[5],
             colours.back(), sizes[5], sizes.back());
    return writeWhole(file, line);
}

std::string trays;
std::string windowLine(const char* kind, HWND hwnd) {
    RECT r{};
    GetWindowRect(hwnd, &r);
    return std::string(kind) + "\tclass=" + text(hwnd, true) + "\trect=" + list(r.left, r.top, r.right, r.bottom) +
           "\tvisible=" + (IsWindowVisible(hwnd) ? "1" : "0");
}
BOOL CALLBACK addTrayChild(HWND hwnd, LPARAM) {
    trays += windowLine("icon", hwnd) + "\n";
    return TRUE;
}
BOOL CALLBACK addTray(HWND hwnd, LPARAM balloons) {
    const std::string name = text(hwnd, true);
    if (!balloons && (name == "__winex11_standalone_tray" || name == "Shell_TrayWnd")) {
        trays += windowLine("tray", hwnd) + "\n";
        EnumChildWindows(hwnd, addTrayChild, 0);
    }
    if (balloons && name == "tooltips_class32" && IsWindowVisible(hwnd) && (GetWindowLongW(hwnd, GWL_STYLE) & TTS_BALLOON)) {
        wchar_t buffer[1024] = {};
        SendMessageTimeoutW(hwnd, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(buffer), SMTO_ABORTIFHUNG, 5000, nullptr);
        trays += windowLine("balloon", hwnd) + "\ttext=" + utf8(buffer) + "\n";
    }
    return TRUE;
}

std::wstring refusals;
LRESULT CALLBACK refusingTrayProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_COPYDATA) return DefWindowProcW(hwnd, message, wParam, lParam);
    writeWhole(refusals, "refused\n");
    return FALSE;
}

int refusingTray(const std::wstring& file) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = refusingTrayProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"Shell_TrayWnd";
    refusals = file;
    if (!RegisterClassW(&wc) || !CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, wc.lpszClassName, nullptr, WS_POPUP, 0,
                                                 0, 0, 0, nullptr, nullptr, wc.hInstance, nullptr) ||
        writeWhole(file, "ready\n") != 0)
        return 1;
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
    return 0;
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
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
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
    if (verb == L"shell") return count >= 4 ? standInShell(arg[2], arg[3], count > 4 && arg[4] == L"late") : 2;
    if (verb == L"shell-do") return count == 3 ? shellDo(arg[2]) : 2;
    if (verb == L"shell-hung") return shellHung();
    if (verb == L"mode") return count == 4 ? changeMode(_wtoi(arg[2].c_str()), _wtoi(arg[3].c_str())) : 2;
    if (verb == L"close") {
        const HWND window = findWindow(count > 2 ? utf8(arg[2]) : "TavroClock");
        return window && PostMessageW(window, WM_CLOSE, 0, 0) ? 0 : 1;
    }
    if (verb == L"report") return count == 3 ? report(arg[2]) : 2;
    if (verb == L"set-wallpaper")
        return count == 3 && SystemParametersInfoW(SPI_SETDESKWALLPAPER, 0, const_cast<wchar_t*>(arg[2].c_str()),
                                                   SPIF_UPDATEINIFILE | SPIF_SENDWININICHANGE) ? 0 : 1;
    if (verb == L"hold") {
        const tavro::base::UniqueFile file(count == 4 ? CreateFileW(arg[2].c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                                                    OPEN_EXISTING, 0, nullptr) : nullptr);
        if (!file || writeWhole(arg[3], "held\n") != 0) return 1;
        Sleep(INFINITE);
    }
    if (verb == L"tooltip") {
        if (count != 3) return 2;
        EnumWindows(addTooltip, 0);
        return writeWhole(arg[2], tooltips);
    }
    if (verb == L"almanac") return count == 3 ? almanac(arg[2]) : 2;
    if (verb == L"almanac-time")
        return count == 5 ? almanacTime(arg[2], _wtoi(arg[3].c_str()), _wtoi(arg[4].c_str())) : 2;
    if (verb == L"settings-time") return count == 3 ? settingsTime(arg[2]) : 2;
    if (verb == L"tray") {
        if (count != 3) return 2;
        EnumWindows(addTray, 0);
        EnumWindows(addTray, 1);
        return writeWhole(arg[2], trays);
    }
    if (verb == L"refusing-tray") return count == 3 ? refusingTray(arg[2]) : 2;
    if (verb == L"dump") {
        if (count != 4) return 2;
        wanted = utf8(arg[3]);
        EnumWindows(dumpDialog, 0);
        return writeWhole(arg[2], dump);
    }
    return recordLaunch();
}
