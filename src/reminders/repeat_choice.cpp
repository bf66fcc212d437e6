#include "reminders/repeat_choice.h"

namespace tavro::reminders {
namespace {

constexpr unsigned kMondayToFriday = 0x3E;

int weekdayOfDay(int64_t day) { return static_cast<int>(((day + 6) % 7 + 7) % 7); }

unsigned maskOf(const std::vector<WeekdayNum>& days) {
    unsigned mask = 0;
    for (const WeekdayNum& w : days) mask |= 1u << w.weekday;
    return mask;
}

bool plainDays(const RecurrenceRule& r) {
    for (const WeekdayNum& w : r.byDay) {
        if (w.ordinal != 0) return false;
    }
    return true;
}

// The kind of a rule the dialog can show, or Other.
RepeatKind kindOf(const RecurrenceRule& r, int64_t startDay) {
    const datetime::CivilDate c = datetime::civilFromDays(startDay);
    if (!r.bySetPos.empty() || (r.weekStart != 1 && r.frequency == Frequency::Weekly && r.interval > 1)) return RepeatKind::Other;
    switch (r.frequency) {
    case Frequency::Daily:
        if (r.byMonth.empty() && r.byMonthDay.empty() && r.byDay.empty()) return RepeatKind::Daily;
        if (r.interval == 1 && r.byMonth.empty() && r.byMonthDay.empty() && plainDays(r) && maskOf(r.byDay) == kMondayToFriday) {
            return RepeatKind::Weekdays;
        }
        return RepeatKind::Other;
    case Frequency::Weekly:
        if (!r.byMonth.empty() || !r.byMonthDay.empty() || !plainDays(r)) return RepeatKind::Other;
        if (r.interval == 1 && maskOf(r.byDay) == kMondayToFriday) return RepeatKind::Weekdays;
        return RepeatKind::Weekly;
    case Frequency::Monthly:
        if (!r.byMonth.empty()) return RepeatKind::Other;
        if (r.byDay.empty() && (r.byMonthDay.empty() || r.byMonthDay == std::vector<int>{c.day})) return RepeatKind::MonthlyByDay;
        if (r.byDay.empty() && r.byMonthDay == std::vector<int>{-1}) return RepeatKind::MonthlyLastDay;
        if (r.byMonthDay.empty() && r.byDay.size() == 1 && (r.byDay[0].ordinal == -1 || (r.byDay[0].ordinal >= 1 && r.byDay[0].ordinal <= 5))) {
            return RepeatKind::MonthlyNthWeekday;
        }
        return RepeatKind::Other;
    case Frequency::Yearly:
        if (r.byDay.empty() && (r.byMonth.empty() || r.byMonth == std::vector<int>{c.month}) &&
            (r.byMonthDay.empty() || r.byMonthDay == std::vector<int>{c.day})) {
            return RepeatKind::Yearly;
        }
        return RepeatKind::Other;
    }
    return RepeatKind::Other;
}

}  // namespace

RepeatChoice repeatChoiceOf(const Reminder& reminder) {
    RepeatChoice choice;
    choice.skipHolidays = reminder.skipHolidays;
    const RecurrenceRule& r = reminder.rule;
    switch (reminder.repeat) {
    case Repeat::None: return choice;
    case Repeat::Unsupported: choice.kind = RepeatKind::Other; return choice;
    case Repeat::OldCalendarYearly: choice.kind = RepeatKind::OldCalendarYearly; break;
    case Repeat::Rule: choice.kind = kindOf(r, dayOf(reminder.start)); break;
    }
    choice.interval = r.interval;
    if (choice.kind == RepeatKind::Weekly) {
        choice.weekdayMask = r.byDay.empty() ? 1u << weekdayOfDay(dayOf(reminder.start)) : maskOf(r.byDay);
    }
    if (choice.kind == RepeatKind::MonthlyNthWeekday) {
        choice.nth = r.byDay[0].ordinal;
        choice.nthWeekday = r.byDay[0].weekday;
    }
    if (r.count > 0) {
        choice.end = RepeatEnd::AfterCount;
        choice.count = r.count;
    } else if (r.until) {
        choice.end = RepeatEnd::OnDate;
        choice.lastDay = dayOf(*r.until);
    }
    return choice;
}

void applyRepeatChoice(Reminder& reminder, const RepeatChoice& choice) {
    reminder.skipHolidays = choice.skipHolidays;
    if (choice.kind == RepeatKind::Other) return;
    if (choice.kind == RepeatKind::Once) {
        reminder.repeat = Repeat::None;
        reminder.rule = {};
        return;
    }
    RecurrenceRule r;
    r.interval = choice.kind == RepeatKind::Weekdays ? 1 : std::max(1, std::min(choice.interval, kMaxInterval));
    switch (choice.kind) {
    case RepeatKind::Daily: r.frequency = Frequency::Daily; break;
    case RepeatKind::Weekdays:
    case RepeatKind::Weekly: {
        r.frequency = Frequency::Weekly;
        const unsigned mask = choice.kind == RepeatKind::Weekdays ? kMondayToFriday
                              : (choice.weekdayMask & 0x7F) ? choice.weekdayMask & 0x7F
                                                            : 1u << weekdayOfDay(dayOf(reminder.start));
        for (int d = 1; d <= 7; ++d) {  // Monday first, as the week is written
            if (mask >> (d % 7) & 1) r.byDay.push_back({d % 7, 0});
        }
        break;
    }
    case RepeatKind::MonthlyByDay: r.frequency = Frequency::Monthly; break;
    case RepeatKind::MonthlyLastDay: r.frequency = Frequency::Monthly; r.byMonthDay = {-1}; break;
    case RepeatKind::MonthlyNthWeekday:
        r.frequency = Frequency::Monthly;
        r.byDay = {{std::max(0, std::min(choice.nthWeekday, 6)), choice.nth == -1 ? -1 : std::max(1, std::min(choice.nth, 5))}};
        break;
    case RepeatKind::Yearly:
    case RepeatKind::OldCalendarYearly: r.frequency = Frequency::Yearly; break;
    default: break;
    }
    if (choice.end == RepeatEnd::AfterCount) r.count = std::max(1, choice.count);
    if (choice.end == RepeatEnd::OnDate) r.until = choice.lastDay * kMinutesPerDay + kMinutesPerDay - 1;
    reminder.repeat = choice.kind == RepeatKind::OldCalendarYearly ? Repeat::OldCalendarYearly : Repeat::Rule;
    reminder.rule = std::move(r);
}

RepeatChoice nthWeekdayChoiceFor(LocalMinute start) {
    const int64_t day = dayOf(start);
    const datetime::CivilDate c = datetime::civilFromDays(day);
    RepeatChoice choice;
    choice.kind = RepeatKind::MonthlyNthWeekday;
    choice.nthWeekday = weekdayOfDay(day);
    choice.nth = c.day + 7 > datetime::daysInMonth(c.year, c.month) && c.day > 28 ? -1 : (c.day - 1) / 7 + 1;
    return choice;
}

}  // namespace tavro::reminders
