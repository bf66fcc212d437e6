// The clock's side of the user's reminders: the one list window, and the 暦 window's lines and
// 「この日に予定を追加...」.
#include "app/frm_main_win32.h"

namespace tavro::app {

void FrmMain::openReminderList() {
    if (!reminders_) return;
    if (!reminderList_) reminderList_ = std::make_unique<reminders::ReminderListWindow>(*reminders_, look_.weekStartsMonday);
    reminderList_->setWeekStart(look_.weekStartsMonday);
    reminderList_->show();
}

almanac_window::AlmanacReminders FrmMain::almanacReminders() {
    if (!reminders_) return {};
    reminders::ReminderKeeper& keeper = *reminders_;
    return {
        .dayLines = reminderLines(),
        .addOnDay =
            [this, &keeper](HWND owner, DateValue day) {
                reminders::addReminderOnDay(owner, keeper, static_cast<int64_t>(day), look_.weekStartsMonday);
            },
    };
}

}  // namespace tavro::app
