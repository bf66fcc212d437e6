// The reminders with their schedules, made once when the reminders, the holidays or the date
// change, and what the calendar, the day texts, the list and the icon's tip ask of them.
#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <vector>

#include "reminders/reminder.h"
#include "reminders/schedule.h"

namespace tavro::reminders {

struct ReminderSet {
    std::vector<Reminder> reminders;
    std::vector<Schedule> schedules;  // schedules[i] is reminders[i]'s
};

std::shared_ptr<const ReminderSet> makeReminderSet(std::vector<Reminder> reminders, const HolidayTest& holidays);

// One occurrence on a day, for the calendar's marks and the day texts.
struct DayEntry {
    int64_t day = 0;
    int minuteOfDay = 0;  // 0 for a whole day
    bool wholeDay = false;
    std::size_t reminder = 0;  // index into the set
    bool operator==(const DayEntry&) const = default;
};

// The occurrences on the days [firstDay, endDay) (at most 62 days are looked at), by day, a
// whole day's first, then by time and title. Turned-off reminders are included (they are still
// the user's days); a caller that wants them hidden drops them.
std::vector<DayEntry> dayEntries(const ReminderSet& set, int64_t firstDay, int64_t endDay);

struct NextStart {
    std::size_t reminder = 0;
    LocalMinute start = kNever;  // kNever: no occurrence from now on
    bool operator==(const NextStart&) const = default;
};

// The list's rows: every reminder with its next start at or after `now`, sorted by it (those
// without one last, in their order).
std::vector<NextStart> listOrder(const ReminderSet& set, LocalMinute now);

// The reminder that comes next at or after `now` (off ones left out), for the icon's tip.
std::optional<NextStart> nextReminder(const ReminderSet& set, LocalMinute now);

}  // namespace tavro::reminders
