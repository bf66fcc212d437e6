// The repeat as the edit dialog offers it, to and from a reminder's rule.
#pragma once

#include <optional>

#include "reminders/reminder.h"

namespace tavro::reminders {

enum class RepeatKind {
    Once,               // しない
    Daily,              // 毎日
    Weekdays,           // 平日 (Monday to Friday)
    Weekly,             // 毎週 (weekdayMask)
    MonthlyByDay,       // 毎月 the start's day of the month
    MonthlyLastDay,     // 毎月 末日
    MonthlyNthWeekday,  // 毎月 第n (1..5) or 最終 (-1) weekday
    Yearly,             // 毎年 the start's month and day
    OldCalendarYearly,  // 毎年（旧暦）
    Other,              // a rule from another program the dialog cannot show; kept unless changed
};

enum class RepeatEnd { Never, AfterCount, OnDate };

struct RepeatChoice {
    RepeatKind kind = RepeatKind::Once;
    int interval = 1;
    unsigned weekdayMask = 0;  // bit 0 Sunday … bit 6 Saturday (Weekly)
    int nth = 1;               // MonthlyNthWeekday: 1..5, -1 = 最終
    int nthWeekday = 0;        // MonthlyNthWeekday: 0 = Sunday … 6
    RepeatEnd end = RepeatEnd::Never;
    int count = 0;             // AfterCount
    int64_t lastDay = 0;       // OnDate: the last day an occurrence may fall on (a day count)
    bool skipHolidays = false;
    bool operator==(const RepeatChoice&) const = default;
};

// The dialog's view of a reminder's repeat; Other for rules it cannot show.
RepeatChoice repeatChoiceOf(const Reminder& reminder);

// Sets the reminder's repeat from the dialog (the start must be set first: the monthly and yearly
// choices take their day from it). Other leaves the rule as it is.
void applyRepeatChoice(Reminder& reminder, const RepeatChoice& choice);

// The choice the dialog offers first for a start: the n-th weekday of the start's month.
RepeatChoice nthWeekdayChoiceFor(LocalMinute start);

}  // namespace tavro::reminders
