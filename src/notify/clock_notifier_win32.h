// The clock's notification-area icon and its notice at zero, put together: the setting and the
// told target in the registry, the tip kept up to date, the notice rules asked once a second.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>

#include "notify/countdown_notice.h"
#include "notify/tray_icon_win32.h"
#include "notify/tray_tip.h"

namespace tavro::notify {

class ClockNotifier {
public:
    struct Handlers {
        std::function<void(POINT at)> openMenu;  // the clock's popup menu at the icon
        std::function<void()> openAlmanac;       // the icon's left click
        std::function<DateValue()> now;          // the present local time in whole seconds
        std::function<std::wstring(DateValue now)> nextReminder;  // the tip's reminder line, "" for none
    };
    // Reads the setting and the told target; shows the icon when the setting says so. Nothing
    // when the icon's window cannot be made (the clock runs on without icon and notice).
    static std::unique_ptr<ClockNotifier> create(HINSTANCE instance, Handlers handlers);

    // Start-up, once the clock shows: the tip, and a target that passed meanwhile told once.
    void start(DateValue target);
    // Each second of the tick: a comparison, and the tip when the minute changed.
    void second(DateValue target, DateValue now);
    // The dialog set or cleared the target.
    void targetSet(DateValue target, DateValue now);

    // The reminders changed: the tip tells the next one at once.
    void refreshTip(DateValue now) { updateTip(now, target_); }

    bool iconShown() const { return iconShown_; }
    // The menu's item: shows or hides the icon and stores the choice (the settings window stores
    // it only when the user keeps it).
    void setIconShown(bool shown, bool store = true);

private:
    explicit ClockNotifier(Handlers handlers);
    void tell(const Notice& notice);
    void updateTip(DateValue now, DateValue target);

    Handlers handlers_;
    std::unique_ptr<TrayIcon> tray_;
    CountdownNotice notice_;
    TrayTip tip_;
    bool iconShown_ = true;
    DateValue target_ = 0;    // as of the last second, for the tip shown on hover
    long long tipMinute_ = -1;
};

}  // namespace tavro::notify
