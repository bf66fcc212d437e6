// The RRULE value (FREQ=WEEKLY;INTERVAL=2;BYDAY=MO,WE) to and from a RecurrenceRule.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "reminders/reminder.h"

namespace tavro::reminders {

// How a rule's UNTIL is read: a date means the end of that day; a UTC time (…Z) is moved by the
// offset of local time from UTC.
struct UntilContext {
    int localOffsetMinutes = 540;
};

// The rule, or nullopt for one the clock cannot expand as written: another FREQ (SECONDLY …
// HOURLY), BYHOUR, BYMINUTE, BYSECOND, BYWEEKNO, BYYEARDAY, RSCALE, a part given twice, a value
// out of range or not a number. Names and values are case-insensitive; unknown X- parts are
// ignored. COUNT above 999,999,999 is taken as that.
std::optional<RecurrenceRule> parseRecurrenceRule(std::string_view text, const UntilContext& context = {});

// The RRULE value of a rule, parts in the usual order; UNTIL as a date for a whole-day reminder,
// else as a floating local time (the last second of the minute).
std::string formatRecurrenceRule(const RecurrenceRule& rule, bool wholeDay);

}  // namespace tavro::reminders
