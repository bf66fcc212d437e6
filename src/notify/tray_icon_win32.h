// The program's icon in the notification area (Shell_NotifyIconW, NOTIFYICON_VERSION_4), known to
// the shell by its window and id: a GUID would tie it to one exe path. A hidden top-level window of
// its own takes the icon's messages and the shell's "TaskbarCreated" broadcast.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <functional>
#include <memory>
#include <string>

#include "base/unique_handle_win32.h"

namespace tavro::notify {

class TrayIcon {
public:
    struct Handlers {
        std::function<void(POINT at)> menu;  // right click, the context-menu key or Shift+F10, at the icon
        std::function<void()> select;        // left click, Enter or space
        std::function<void()> tipDue;        // the pointer is on the icon: its tip is about to show
    };
    // Nothing when the window cannot be made. The icon itself is not shown yet.
    static std::unique_ptr<TrayIcon> create(HINSTANCE instance, Handlers handlers);
    ~TrayIcon();
    TrayIcon(const TrayIcon&) = delete;
    TrayIcon& operator=(const TrayIcon&) = delete;

    // The setting: shown or not. A shell that refuses the icon leaves it out, silently, until the
    // next "TaskbarCreated" or the next try, a minute later.
    void setShown(bool shown);
    // The tip's text; the shell is told only when it changed.
    void setTip(const std::wstring& tip);
    // A balloon (a toast on Windows 10 and later). With the icon hidden by the setting, it is
    // shown for the notice and taken away when the notice closes, or after a minute at most.
    void showNotice(const std::wstring& title, const std::wstring& text);
    // Off the shell for good (exit, log-off).
    void remove();

private:
    explicit TrayIcon(HINSTANCE instance, Handlers handlers) : instance_(instance), handlers_(std::move(handlers)) {}
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void onIconMessage(UINT event, WPARAM anchor);
    bool add();
    // Every timer of this window, the one place that stops them all.
    void killTimers() const;
    NOTIFYICONDATAW iconData(UINT flags) const;  // this icon, by window and id, with the flags
    void endTemporary();
    // The program's icon at the size the notification area asks for at the primary monitor's DPI;
    // the shell is told when that size changed.
    void loadIcon();

    using UniqueIcon = base::UniqueIcon;
    HINSTANCE instance_;
    Handlers handlers_;
    HWND hwnd_ = nullptr;
    UINT taskbarCreated_ = 0;
    bool wanted_ = false;     // the setting
    bool added_ = false;      // the shell holds the icon
    bool tried_ = false;      // added, or asked to be: a timed-out add may still have been taken
    bool temporary_ = false;  // added only for a notice
    std::wstring tip_;
    UniqueIcon icon_;
    UniqueIcon balloonIcon_;
    int iconSize_ = 0;
};

}  // namespace tavro::notify
