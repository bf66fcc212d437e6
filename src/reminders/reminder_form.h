// The edit dialog's fields without the dialog: a reminder shown as the fields show it, the
// fields checked in the dialog's words, and the reminder they make.
#pragma once

#include <optional>
#include <span>
#include <string>

#include "reminders/repeat_choice.h"

namespace tavro::reminders {

// When a reminder with a time is told: minutes before its start, in the order offered.
inline constexpr int kAlarmLeads[] = {0, 5, 10, 15, 30, 60, 1440};
inline constexpr int kSnoozeChoices[] = {5, 10, 15};

struct ReminderForm {
    std::wstring title;
    int64_t day = 0;       // the start's day (a day count)
    int minuteOfDay = 0;   // the start's time; unused for a whole day
    bool wholeDay = false;
    RepeatChoice repeat;
    // Told at all; how long before a timed start; at what time of a whole day.
    bool told = true;
    int lead = 0;
    int wholeDayAlarm = kDefaultWholeDayAlarm;
    // An alarm the fields cannot show (another program's), kept while the alarm is not changed.
    std::optional<int> keptOffset;
    Sound sound;
    int snoozeMinutes = kDefaultSnoozeMinutes;
    bool operator==(const ReminderForm&) const = default;
};

ReminderForm formOf(const Reminder& reminder);

// What is wrong, in plain Japanese, or empty when the fields may be saved:
//   editProblem's texts, and 「曜日を 1 つ以上選んでください。」 「間隔は 1 から 999 までです。」
//   「音のファイルを選んでください。」
std::wstring formProblem(const ReminderForm& form);

// The reminder `was` (its UID, exceptions and what its file kept) with the fields applied.
Reminder reminderFromForm(const Reminder& was, const ReminderForm& form);

// The alarm list's text of a lead: 「予定の時刻」, 「5分前」, 「1時間前」, 「1日前」.
std::wstring leadText(int lead);

}  // namespace tavro::reminders
