#include "dialogs/modal_dialog_win32.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "base/dialog_font_win32.h"
#include "base/dialog_keys_win32.h"
#include "base/display_dpi_win32.h"

namespace tavro::dialogs {

namespace {

constexpr DWORD kDialogStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT;

// DLGTEMPLATE, no menu, the default class, the caption, then the font: WORD-sized fields,
// the whole block DWORD-aligned (vector storage is).
std::vector<WORD> dialogTemplate(const std::wstring& caption, DWORD style = kDialogStyle, DWORD exStyle = 0) {
    std::vector<WORD> words(sizeof(DLGTEMPLATE) / sizeof(WORD), 0);
    DLGTEMPLATE header{};
    header.style = style;
    header.dwExtendedStyle = exStyle;
    header.cdit = 0;
    std::memcpy(words.data(), &header, sizeof header);
    words.push_back(0);  // menu
    words.push_back(0);  // class
    words.insert(words.end(), caption.begin(), caption.end());
    words.push_back(0);
    words.push_back(static_cast<WORD>(base::kDialogFontPoints));
    words.insert(words.end(), base::kDialogFontName.begin(), base::kDialogFontName.end());
    words.push_back(0);
    return words;
}

}  // namespace

INT_PTR ModalDialog::run(HWND owner, const std::wstring& caption) {
    const ModalOwner modalOwner(owner);
    const std::vector<WORD> words = dialogTemplate(caption);
    return DialogBoxIndirectParamW(GetModuleHandleW(nullptr), reinterpret_cast<const DLGTEMPLATE*>(words.data()),
                                   modalOwner.owner(), dialogProc, reinterpret_cast<LPARAM>(this));
}

bool ModalDialog::open(const std::wstring& caption) {
    const std::vector<WORD> words = dialogTemplate(caption, kDialogStyle | WS_MINIMIZEBOX, WS_EX_APPWINDOW);
    modeless_ = true;
    // No owner: a window of its own with a task-bar button, whatever the clock hangs on.
    HWND box = CreateDialogIndirectParamW(GetModuleHandleW(nullptr), reinterpret_cast<const DLGTEMPLATE*>(words.data()),
                                          nullptr, dialogProc, reinterpret_cast<LPARAM>(this));
    if (!box) return false;
    base::addDialogKeyWindow(box);  // Tab, the arrows, Enter and Esc as in a modal box
    ShowWindow(box, SW_SHOWNORMAL);
    return true;
}

void ModalDialog::endDialog(INT_PTR result) {
    if (modeless_) DestroyWindow(hwnd_);
    else EndDialog(hwnd_, result);
}

INT_PTR CALLBACK ModalDialog::dialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    if (message == WM_INITDIALOG) {
        auto* dialog = reinterpret_cast<ModalDialog*>(lParam);
        dialog->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, DWLP_USER, lParam);
    }
    auto* dialog = reinterpret_cast<ModalDialog*>(GetWindowLongPtrW(hwnd, DWLP_USER));
    if (!dialog) return FALSE;
    const INT_PTR result = dialog->handleMessage(message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(hwnd, DWLP_USER, 0);
        dialog->hwnd_ = nullptr;
        if (dialog->modeless_) {
            base::removeDialogKeyWindow(hwnd);
            dialog->onClosed();
        }
    }
    return result;
}

INT_PTR ModalDialog::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG: {
            // The template's font is made for the system DPI; the box's monitor may differ.
            dpi_ = base::windowDpi(hwnd_);
            font_ = base::dialogFont(dpi_);
            if (font_) SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
            return onInit() ? FALSE : TRUE;  // FALSE: the focus has been set
        }
        case WM_NCDESTROY:
            font_.reset();
            return FALSE;
        case WM_COMMAND:
            return onCommand(LOWORD(wParam), HIWORD(wParam)) ? TRUE : FALSE;
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(hwnd_, &ps);
            onPaint(dc);
            EndPaint(hwnd_, &ps);
            return TRUE;
        }
        case WM_PRINTCLIENT:
            onPaint(reinterpret_cast<HDC>(wParam));
            return TRUE;
        case WM_DPICHANGED:
            return takeDpi(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam)) ? TRUE : FALSE;
        case WM_NOTIFY: {
            LRESULT answer = 0;
            if (!onNotify(*reinterpret_cast<const NMHDR*>(lParam), answer)) return FALSE;
            SetWindowLongPtrW(hwnd_, DWLP_MSGRESULT, answer);
            return TRUE;
        }
    }
    return onMessage(message, wParam, lParam) ? TRUE : FALSE;
}

bool ModalDialog::takeDpi(int dpi, const RECT& suggested) {
    if (!followsDpi() || dpi <= 0) return false;
    base::UniqueFont font = base::dialogFont(dpi);
    if (!font) return false;  // the old font and layout stay
    dpi_ = dpi;
    const auto handle = reinterpret_cast<WPARAM>(font.get());
    SendMessageW(hwnd_, WM_SETFONT, handle, FALSE);
    for (HWND c = GetWindow(hwnd_, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) SendMessageW(c, WM_SETFONT, handle, FALSE);
    font_ = std::move(font);  // the old one goes once no control holds it
    SetWindowPos(hwnd_, nullptr, suggested.left, suggested.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    placeControls();
    InvalidateRect(hwnd_, nullptr, TRUE);
    return true;
}

HWND ModalDialog::addControl(const wchar_t* windowClass, const std::wstring& text, DWORD style, DWORD exStyle, int id,
                             const TwipsRect& twips) {
    const PixelRect rect = pixels(twips);
    HWND control = CreateWindowExW(exStyle, windowClass, text.c_str(), WS_CHILD | WS_VISIBLE | style, rect.left,
                                   rect.top, rect.width, rect.height, hwnd_,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
    if (control) SendMessageW(control, WM_SETFONT, SendMessageW(hwnd_, WM_GETFONT, 0, 0), FALSE);
    return control;
}

void ModalDialog::setClientSize(const TwipsRect& client, bool centre) {
    const PixelRect size = pixels(client);
    RECT frame{0, 0, size.width, size.height};
    AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongPtrW(hwnd_, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongPtrW(hwnd_, GWL_EXSTYLE)));
    const int outerWidth = frame.right - frame.left;
    const int outerHeight = frame.bottom - frame.top;
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(hwnd_, MONITOR_DEFAULTTONEAREST), &monitor);
    const RECT& work = monitor.rcWork;
    const int left = work.left + (work.right - work.left - outerWidth) / 2;
    const int top = work.top + (work.bottom - work.top - outerHeight) / 2;
    SetWindowPos(hwnd_, nullptr, left, top, outerWidth, outerHeight,
                 SWP_NOZORDER | SWP_NOACTIVATE | (centre ? 0 : SWP_NOMOVE));
}

ModalOwner::ModalOwner(HWND requested) {
    if (!requested || !IsWindow(requested)) return;
    DWORD rootProcess = 0;
    GetWindowThreadProcessId(GetAncestor(requested, GA_ROOT), &rootProcess);
    if (rootProcess == GetCurrentProcessId()) {
        owner_ = requested;
        return;
    }
    // EnableWindow answers whether the window was disabled already.
    if (!EnableWindow(requested, FALSE)) disabled_ = requested;
}

ModalOwner::~ModalOwner() {
    if (disabled_ && IsWindow(disabled_)) EnableWindow(disabled_, TRUE);
}

}  // namespace tavro::dialogs
