// The clock's side of the user's reminders: the book read at first use, the one list window, and
// the 暦 window's lines and 「この日に予定を追加...」.
#include "app/frm_main_win32.h"

namespace tavro::app {

reminders::ReminderBook& FrmMain::reminderBook() {
    if (!reminderBook_) {
        reminderBook_ = std::make_unique<ReminderFileBook>();
        reminderBook_->onChanged([this] { onRemindersChanged(); });
    }
    return *reminderBook_;
}

void FrmMain::openReminderList() {
    if (!reminderList_) reminderList_ = std::make_unique<reminders::ReminderListWindow>(reminderBook(), look_.weekStartsMonday);
    reminderList_->setWeekStart(look_.weekStartsMonday);
    reminderList_->show();
}

almanac_window::AlmanacReminders FrmMain::almanacReminders() {
    reminders::ReminderBook& book = reminderBook();
    return {
        .dayLines = [&book](DateValue day) { return book.dayLines(day); },
        .addOnDay =
            [this, &book](HWND owner, DateValue day) {
                reminders::addReminderOnDay(owner, book, static_cast<int64_t>(day), look_.weekStartsMonday);
            },
    };
}

void FrmMain::onRemindersChanged() {
    if (reminderList_ && reminderList_->isOpen()) reminderList_->refresh();
    if (almanac_ && almanac_->isOpen()) almanac_->refreshDays();
}

}  // namespace tavro::app
