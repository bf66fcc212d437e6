#include "reminders/reminder_set.h"

#include <algorithm>

namespace tavro::reminders {

std::shared_ptr<const ReminderSet> makeReminderSet(std::vector<Reminder> reminders, const HolidayTest& holidays) {
    auto set = std::make_shared<ReminderSet>();
    set->schedules.reserve(reminders.size());
    for (const Reminder& r : reminders) set->schedules.emplace_back(r, r.skipHolidays ? holidays : HolidayTest{});
    set->reminders = std::move(reminders);
    return set;
}

std::vector<DayEntry> dayEntries(const ReminderSet& set, int64_t firstDay, int64_t endDay) {
    endDay = std::min(endDay, firstDay + 62);
    std::vector<DayEntry> out;
    for (std::size_t i = 0; i < set.reminders.size(); ++i) {
        const bool wholeDay = set.reminders[i].wholeDay;
        for (LocalMinute m : set.schedules[i].between(firstDay * kMinutesPerDay, endDay * kMinutesPerDay, 62 * 24 * 60)) {
            out.push_back({dayOf(m), wholeDay ? 0 : minuteOfDay(m), wholeDay, i});
        }
    }
    std::sort(out.begin(), out.end(), [&](const DayEntry& a, const DayEntry& b) {
        if (a.day != b.day) return a.day < b.day;
        if (a.wholeDay != b.wholeDay) return a.wholeDay;
        if (a.minuteOfDay != b.minuteOfDay) return a.minuteOfDay < b.minuteOfDay;
        const auto& ta = set.reminders[a.reminder].title;
        const auto& tb = set.reminders[b.reminder].title;
        return ta != tb ? ta < tb : a.reminder < b.reminder;
    });
    return out;
}

std::vector<NextStart> listOrder(const ReminderSet& set, LocalMinute now) {
    std::vector<NextStart> out;
    out.reserve(set.reminders.size());
    for (std::size_t i = 0; i < set.reminders.size(); ++i) out.push_back({i, set.schedules[i].nextAtOrAfter(now).value_or(kNever)});
    std::stable_sort(out.begin(), out.end(), [](const NextStart& a, const NextStart& b) { return a.start < b.start; });
    return out;
}

std::optional<NextStart> nextReminder(const ReminderSet& set, LocalMinute now) {
    std::optional<NextStart> best;
    for (std::size_t i = 0; i < set.reminders.size(); ++i) {
        if (set.reminders[i].off) continue;
        const auto m = set.schedules[i].nextAtOrAfter(now);
        if (m && (!best || *m < best->start)) best = NextStart{i, *m};
    }
    return best;
}

}  // namespace tavro::reminders
