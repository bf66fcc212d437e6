// Looks at dialog boxes of another process from outside, for the about-box tests.
//
//   about_controls.exe dump FILE CAPTION
//     For every top-level dialog (class #32770) titled CAPTION, a line "window" followed by one
//     line "control" for each of its child windows. Lines are UTF-8, tab-separated name=value
//     fields: client (the client area's screen left,top,width,height) for a window; id, class,
//     text, rect (left,top,width,height in the dialog's client coordinates), visible and style
//     (hexadecimal) for a control.
//   about_controls.exe render FILE WIDTH HEIGHT TEXT
//     Draws TEXT as a dialog's left-aligned label draws it, in the dialogs' font, into a box of
//     WIDTH x HEIGHT pixels and writes it as a binary PPM (P6), so that a screenshot of the
//     label can be compared with it.
//
// Either file is written under another name and then renamed, so that a reader never sees half
// of it. Exit code 0 on success.
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "report_file.h"

namespace {

using report_file::utf8;

std::wstring windowText(HWND hwnd) {
    wchar_t text[1024] = {};
    GetWindowTextW(hwnd, text, 1024);
    return text;
}

std::wstring className(HWND hwnd) {
    wchar_t name[256] = {};
    GetClassNameW(hwnd, name, 256);
    return name;
}

std::string rectText(int left, int top, int width, int height) {
    return std::to_string(left) + "," + std::to_string(top) + "," + std::to_string(width) + "," +
           std::to_string(height);
}

struct Dump {
    std::wstring caption;
    std::string out;
    HWND dialog = nullptr;
};

BOOL CALLBACK addControl(HWND child, LPARAM param) {
    auto& dump = *reinterpret_cast<Dump*>(param);
    if (GetParent(child) != dump.dialog) return TRUE;  // only the dialog's own controls
    RECT rect{};
    GetWindowRect(child, &rect);
    POINT topLeft{rect.left, rect.top};
    ScreenToClient(dump.dialog, &topLeft);
    char style[16];
    std::snprintf(style, sizeof style, "%08lX", static_cast<unsigned long>(GetWindowLongW(child, GWL_STYLE)));
    dump.out += "control\tid=" + std::to_string(GetDlgCtrlID(child)) + "\tclass=" + utf8(className(child)) +
                "\ttext=" + utf8(windowText(child)) +
                "\trect=" + rectText(topLeft.x, topLeft.y, rect.right - rect.left, rect.bottom - rect.top) +
                "\tvisible=" + (IsWindowVisible(child) ? "1" : "0") + "\tstyle=" + style + "\n";
    return TRUE;
}

BOOL CALLBACK addDialog(HWND hwnd, LPARAM param) {
    auto& dump = *reinterpret_cast<Dump*>(param);
    if (className(hwnd) != L"#32770" || windowText(hwnd) != dump.caption) return TRUE;
    RECT client{};
    GetClientRect(hwnd, &client);
    POINT origin{0, 0};
    ClientToScreen(hwnd, &origin);
    dump.out += "window\tclient=" + rectText(origin.x, origin.y, client.right, client.bottom) +
                "\tvisible=" + (IsWindowVisible(hwnd) ? "1" : "0") + "\n";
    dump.dialog = hwnd;
    EnumChildWindows(hwnd, addControl, param);
    return TRUE;
}

int dumpDialogs(const std::wstring& file, const std::wstring& caption) {
    Dump dump{caption, {}, nullptr};
    EnumWindows(addDialog, reinterpret_cast<LPARAM>(&dump));
    return report_file::writeWhole(file, dump.out) ? 0 : 1;
}

// The dialog manager's font for a DS_SETFONT template of 9 points: its size at the screen's
// resolution, no weight asked for, the default character set.
int renderLabel(const std::wstring& file, int width, int height, const std::wstring& text) {
    if (width <= 0 || height <= 0 || width > 4096 || height > 4096) return 2;
    HDC screen = GetDC(nullptr);
    const int fontHeight = -MulDiv(9, GetDeviceCaps(screen, LOGPIXELSY), 72);
    HDC dc = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    ReleaseDC(nullptr, screen);
    if (!dc || !bitmap || !bits) return 1;
    HFONT font = CreateFontW(fontHeight, 0, 0, 0, FW_DONTCARE, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                             OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FF_DONTCARE,
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
    const auto* pixels = static_cast<const unsigned char*>(bits);  // B, G, R, unused
    for (int i = 0; i < width * height; ++i) {
        out += static_cast<char>(pixels[4 * i + 2]);
        out += static_cast<char>(pixels[4 * i + 1]);
        out += static_cast<char>(pixels[4 * i]);
    }
    SelectObject(dc, oldFont);
    SelectObject(dc, oldBitmap);
    DeleteObject(font);
    DeleteObject(bitmap);
    DeleteDC(dc);
    return report_file::writeWhole(file, out) ? 0 : 1;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    int count = 0;
    wchar_t** args = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!args) return 2;
    std::vector<std::wstring> arg(args, args + count);
    LocalFree(args);
    if (count == 4 && arg[1] == L"dump") return dumpDialogs(arg[2], arg[3]);
    if (count == 6 && arg[1] == L"render")
        return renderLabel(arg[2], _wtoi(arg[3].c_str()), _wtoi(arg[4].c_str()), arg[5]);
    return 2;
}
