// The user's reminders on Windows: the file %APPDATA%\TavroClock\reminders.ics read, watched and
// written, the told occurrences and the "last ran" moment under the program's key, the notices and
// the hour chime told at their minute. The list window, the 暦 window and the clock ask it.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "datetime/date_value.h"
#include "holidays/holiday_list.h"
#include "reminders/reminder.h"
#include "reminders/reminder_book.h"
#include "reminders/reminder_set.h"
#include "reminders/schedule.h"

namespace tavro::reminders {

// 祝日は除く's holidays: the list's for the years it covers, the computed ones for the others.
HolidayTest holidayTestFromList(const holidays::HolidayList* list);

class ReminderKeeper final : public ReminderBook {
public:
    // Reads the file and the stored state; a file that cannot be read is said so once (later, from
    // the message loop, not inside start-up) and the clock runs with no reminders. `now`: local
    // time in whole seconds. The holiday test is kept for 祝日は除く (see holidaysChanged).
    static std::unique_ptr<ReminderKeeper> create(HINSTANCE instance, datetime::DateValue now, HolidayTest holidays);
    ~ReminderKeeper() override;
    ReminderKeeper(const ReminderKeeper&) = delete;
    ReminderKeeper& operator=(const ReminderKeeper&) = delete;

    // What there is now; the shared one stays valid for a holder after a change.
    const ReminderSet& set() const;
    std::shared_ptr<const ReminderSet> sharedSet() const override;
    // The file could not be read: nothing is written over it until startAnew.
    bool fileIsBroken() const override;
    std::wstring filePath() const override;

    // The list window's changes. Each saves the file at once and plans the notices anew; false
    // (and the reminders and the file as they were) when the file could not be written or, for
    // remove and setEnabled, there is no such UID. A broken file refuses every change.
    bool put(Reminder reminder) override;  // added, or put in place of the one with its UID
    bool remove(std::string_view uid) override;
    bool setEnabled(std::string_view uid, bool on) override;
    // The broken file moved aside (reminders.ics.broken-yyyymmddThhmmss); the reminders held before
    // it broke written anew (none when it was broken at start, and then nothing is written).
    bool startAnew() override;

    // A day's reminders as 「10:00 会議」 (「終日 誕生日」), in time order: calendar::DayExtraLines.
    std::vector<std::wstring> dayLines(datetime::DateValue day) const override;
    // The days of [firstDay, endDay) on which some reminder occurs (turned-off ones too), as
    // date values, ascending: the desktop calendar's marks.
    std::vector<datetime::DateValue> daysWithReminders(datetime::DateValue firstDay, datetime::DateValue endDay) const;
    // The icon's tip line 「次の予定 12/11 10:00 会議」; empty when nothing is coming.
    std::wstring nextTipLine(datetime::DateValue now) const;

    // Called after every change of the reminders (the list's own, the file's from outside, holidays).
    void onChanged(std::function<void()> listener) override;

    // The chime settings read again (chime, chimeQuietFrom, chimeQuietTo, chimeSound).
    void reloadChime(datetime::DateValue now);

    // The clock's tick, once a second: a comparison or two unless something is due.
    void tick(datetime::DateValue now);
    // Resume or a set clock: what fell in the gap is told (as missed) at once.
    void clockMoved(datetime::DateValue now);
    // Other holidays known (祝日は除く): the schedules made again.
    void holidaysChanged(HolidayTest holidays);
    // At exit: the "last ran" moment stored.
    void stop(datetime::DateValue now);

private:
    class Impl;
    explicit ReminderKeeper(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> impl_;
};

}  // namespace tavro::reminders
