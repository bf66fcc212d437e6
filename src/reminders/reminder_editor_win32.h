// The edit dialog of one reminder, 「予定の追加」 or 「予定の編集」: title, start with the system's
// date and time pickers, whole day, repeat (weekday boxes in the order of the week), end, 祝日は除く,
// when it is told, its sound and snooze. It says what is wrong before it closes with OK.
#pragma once

#include <windows.h>

#include <optional>

#include "reminders/reminder.h"

namespace tavro::reminders {

// The reminder as the user left it with OK; nothing for キャンセル (or when the box cannot be made).
std::optional<Reminder> editReminder(HWND owner, const Reminder& was, bool isNew, bool weekStartsMonday);

// A new reminder's defaults on a day: the next whole hour when the day is today, else 9:00.
Reminder reminderForNewDay(int64_t day);

}  // namespace tavro::reminders
