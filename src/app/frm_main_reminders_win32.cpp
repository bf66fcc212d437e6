// The clock's side of the reminders: the keeper made at start, and where its changes show.
#include "app/frm_main_win32.h"
#include "app/local_time_win32.h"
#include "calendar/month_calendar.h"

namespace tavro::app {

void FrmMain::startReminders() {
    reminders_ = reminders::ReminderKeeper::create(instance_, localNow(),
                                                   reminders::holidayTestFromList(holidays_.list().get()));
    reminders_->onChanged([this] { remindersChanged(); });
    remindersChanged();
}

void FrmMain::remindersChanged() {
    if (unloaded_) return;
    if (canvas_ && painter_ && calendarDate_ != 0) {
        canvas_->flush();
        calendar::drawCalender(*painter_, calendarDate_, holidays_, weekStart(), reminderDays(calendarDate_));
        invalidate(painter_->takeDirty());
    }
    if (dayTooltips_) dayTooltips_->refresh();
    if (notifier_) notifier_->refreshTip(localNow());
    if (reminderList_ && reminderList_->isOpen()) reminderList_->refresh();
    if (almanac_ && almanac_->isOpen()) almanac_->refreshDays();
}

calendar::DayExtraLines FrmMain::reminderLines() const {
    if (!reminders_) return {};
    const reminders::ReminderKeeper* keeper = reminders_.get();
    return [keeper](DateValue day) { return keeper->dayLines(day); };
}

std::vector<DateValue> FrmMain::reminderDays(DateValue inMonth) const {
    if (!reminders_) return {};
    const DateValue first = datetime::firstDayOfMonth(inMonth);
    return reminders_->daysWithReminders(first, first + 31);
}

}  // namespace tavro::app
