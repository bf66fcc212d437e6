#include "notify/tray_icon_win32.h"

#include <windowsx.h>

#include <algorithm>

#include "base/display_dpi_win32.h"
#include "base/owned_window_win32.h"

namespace tavro::notify {

namespace {
constexpr wchar_t kClass[] = L"TavroClockTray";
constexpr UINT kIconMessage = WM_APP + 30;
constexpr UINT kIconId = 1;
// The timers of this window: the end of an icon shown only for a notice, and, for an icon the
// shell refused (a busy shell at log-on times the call out), the time to ask for it again.
enum Timer : UINT_PTR { kTemporaryTimer = 1, kRetryTimer = 2 };
constexpr UINT kTemporaryMs = 60'000;
constexpr UINT kRetryMs = 60'000;

template <std::size_t N>
void copyText(wchar_t (&field)[N], const std::wstring& text) {
    const std::size_t n = std::min(text.size(), N - 1);
    std::copy_n(text.begin(), n, field);
    field[n] = L'\0';
}
}  // namespace

std::unique_ptr<TrayIcon> TrayIcon::create(HINSTANCE instance, Handlers handlers) {
    std::unique_ptr<TrayIcon> tray(new TrayIcon(instance, std::move(handlers)));
    tray->taskbarCreated_ = RegisterWindowMessageW(L"TaskbarCreated");
    base::createBroadcastWindow<TrayIcon, &TrayIcon::hwnd_, &TrayIcon::handleMessage>(instance, kClass, tray.get());
    if (!tray->hwnd_) return nullptr;
    tray->loadIcon();
    return tray;
}

TrayIcon::~TrayIcon() {
    remove();
    if (hwnd_) DestroyWindow(hwnd_);
}

void TrayIcon::setShown(bool shown) {
    wanted_ = shown;
    if (shown) {
        temporary_ = false;
        KillTimer(hwnd_, kTemporaryTimer);
        if (!added_) add();
    } else {
        KillTimer(hwnd_, kRetryTimer);
        if (added_ && !temporary_) remove();
    }
}

bool TrayIcon::add() {
    // NIF_SHOWTIP: with version 4 the standard tip shows only when asked for.
    NOTIFYICONDATAW data = iconData(NIF_MESSAGE | NIF_ICON | NIF_TIP | NIF_SHOWTIP);
    data.uCallbackMessage = kIconMessage;
    data.hIcon = icon_.get();
    copyText(data.szTip, tip_);
    // An icon the shell still holds (a "TaskbarCreated" for a new DPI, Wine's tray, which
    // outlives the message, or an add the shell took after the call had timed out) refuses
    // NIM_ADD and takes NIM_MODIFY.
    tried_ = true;
    added_ = Shell_NotifyIconW(NIM_ADD, &data) != FALSE || Shell_NotifyIconW(NIM_MODIFY, &data) != FALSE;
    if (!added_) {
        if (wanted_) SetTimer(hwnd_, kRetryTimer, kRetryMs, nullptr);
        return false;
    }
    KillTimer(hwnd_, kRetryTimer);
    data.uVersion = NOTIFYICON_VERSION_4;
    Shell_NotifyIconW(NIM_SETVERSION, &data);
    return true;
}

NOTIFYICONDATAW TrayIcon::iconData(UINT flags) const {
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof data;
    data.hWnd = hwnd_;
    data.uID = kIconId;
    data.uFlags = flags;
    return data;
}

void TrayIcon::killTimers() const {
    KillTimer(hwnd_, kTemporaryTimer);
    KillTimer(hwnd_, kRetryTimer);
}

void TrayIcon::remove() {
    killTimers();
    temporary_ = false;
    // Also after a refused add: the shell may have taken it late, and no icon outlives the clock.
    if (!added_ && !tried_) return;
    NOTIFYICONDATAW data = iconData(0);
    Shell_NotifyIconW(NIM_DELETE, &data);
    added_ = tried_ = false;
}

void TrayIcon::setTip(const std::wstring& tip) {
    if (tip == tip_) return;
    tip_ = tip;
    if (!added_) return;
    NOTIFYICONDATAW data = iconData(NIF_TIP | NIF_SHOWTIP);
    copyText(data.szTip, tip_);
    Shell_NotifyIconW(NIM_MODIFY, &data);
}

void TrayIcon::showNotice(const std::wstring& title, const std::wstring& text) {
    if (!added_) {
        if (!add()) return;  // no notification area: the red countdown is the only sign
        temporary_ = !wanted_;
    }
    if (temporary_) SetTimer(hwnd_, kTemporaryTimer, kTemporaryMs, nullptr);
    const int size = base::systemMetricForDpi(SM_CXICON, base::primaryMonitorDpi());
    balloonIcon_.reset(static_cast<HICON>(LoadImageW(instance_, L"APPICON", IMAGE_ICON, size, size, 0)));
    NOTIFYICONDATAW data = iconData(NIF_INFO);
    copyText(data.szInfoTitle, title);
    copyText(data.szInfo, text);
    // No NIIF_RESPECT_QUIET_TIME: a notice dropped in the first hour after log-on would be lost.
    data.dwInfoFlags = balloonIcon_ ? NIIF_USER | NIIF_LARGE_ICON : NIIF_INFO;
    data.hBalloonIcon = balloonIcon_.get();
    Shell_NotifyIconW(NIM_MODIFY, &data);
}

void TrayIcon::endTemporary() {
    if (temporary_) remove();
}

void TrayIcon::loadIcon() {
    const int size = base::systemMetricForDpi(SM_CXSMICON, base::primaryMonitorDpi());
    if (size == iconSize_ && icon_) return;
    UniqueIcon icon(static_cast<HICON>(LoadImageW(instance_, L"APPICON", IMAGE_ICON, size, size, 0)));
    if (!icon) return;
    icon_ = std::move(icon);
    iconSize_ = size;
    if (!added_) return;
    NOTIFYICONDATAW data = iconData(NIF_ICON);
    data.hIcon = icon_.get();
    Shell_NotifyIconW(NIM_MODIFY, &data);
}

void TrayIcon::onIconMessage(UINT event, WPARAM anchor) {
    switch (event) {
        case WM_CONTEXTMENU:
            if (handlers_.menu) handlers_.menu(POINT{GET_X_LPARAM(anchor), GET_Y_LPARAM(anchor)});
            break;
        case NIN_SELECT:
        case NIN_KEYSELECT:
            if (handlers_.select) handlers_.select();
            break;
        case WM_MOUSEMOVE:
        case NIN_POPUPOPEN:
            if (handlers_.tipDue) handlers_.tipDue();
            break;
        case NIN_BALLOONHIDE:
        case NIN_BALLOONTIMEOUT:
        case NIN_BALLOONUSERCLICK:
            endTemporary();
            break;
    }
}

LRESULT TrayIcon::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == taskbarCreated_ && taskbarCreated_ != 0) {
        // A new shell (or a new DPI) holds no icons: the icon at its new size, added again.
        added_ = false;
        temporary_ = false;
        KillTimer(hwnd_, kTemporaryTimer);
        loadIcon();
        if (wanted_) add();
        return 0;
    }
    switch (message) {
        case kIconMessage:
            // Version 4: the event in the low word, the icon's anchor point in wParam.
            onIconMessage(LOWORD(lParam), wParam);
            return 0;
        case WM_TIMER:
            if (wParam == kTemporaryTimer) endTemporary();
            if (wParam == kRetryTimer) {
                KillTimer(hwnd_, kRetryTimer);
                if (wanted_ && !added_) add();
            }
            return 0;
        case WM_DPICHANGED:
        case WM_DISPLAYCHANGE:
            loadIcon();
            return 0;
        case WM_SETTINGCHANGE:
            loadIcon();
            break;
        case WM_ENDSESSION:
            if (wParam) remove();
            return 0;
    }
    return DefWindowProcW(hwnd_, message, wParam, lParam);
}

}  // namespace tavro::notify
