// The clock's side of the notification-area icon: its menu and left click go where the clock's go.
#include "app/frm_main_win32.h"
#include "app/local_time_win32.h"

namespace tavro::app {

void FrmMain::startNotifier() {
    notifier_ = notify::ClockNotifier::create(instance_, {
        [this](POINT at) { if (!unloaded_) openMenuAt(at); },
        [this] { if (!unloaded_) runMenuCommand(mnuAlmanacWindow); },
        [] { return localNow(); },
    });
    if (notifier_) notifier_->start(program_.targetDateValue);
}

}  // namespace tavro::app
