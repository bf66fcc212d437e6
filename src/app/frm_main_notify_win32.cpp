// The clock's side of the notification-area icon: its menu and left click go where the clock's go.
#include "app/frm_main_win32.h"
#include "app/local_time_win32.h"

namespace tavro::app {

void FrmMain::startNotifier() {
    // While a dialog of the clock is open (it disables the clock window) the icon does nothing:
    // an exit or a second dialog from under it would pull the first one's owner away.
    const auto free = [this] { return !unloaded_ && hwnd_ && IsWindowEnabled(hwnd_); };
    notifier_ = notify::ClockNotifier::create(instance_, {
        .openMenu = [this, free](POINT at) { if (free()) openMenuAt(at); },
        .openAlmanac = [this, free] { if (free()) runMenuCommand(mnuAlmanacWindow); },
        .now = [] { return localNow(); },
    });
    if (notifier_) notifier_->start(program_.targetDateValue);
}

}  // namespace tavro::app
