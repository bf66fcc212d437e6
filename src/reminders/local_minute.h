// Moments of the user's reminders: whole minutes of floating local time (no zone, as the clock
// shows it), counted from 1899-12-30 00:00 like the program's date values.
#pragma once

#include <cstdint>

#include "datetime/date_value.h"

namespace tavro::reminders {

using LocalMinute = int64_t;

inline constexpr LocalMinute kMinutesPerDay = 1440;
// The days the clock computes occurrences for: 1900-01-01 to 2100-12-31 (day counts as
// datetime::daysFromCivil gives them).
inline constexpr int64_t kFirstDay = 2;
inline constexpr int64_t kLastDay = 73415;
// Later than any occurrence: "never".
inline constexpr LocalMinute kNever = INT64_MAX / 4;

inline int64_t floorDiv(int64_t a, int64_t b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0))); }
inline int64_t dayOf(LocalMinute m) { return floorDiv(m, kMinutesPerDay); }
inline int minuteOfDay(LocalMinute m) { return static_cast<int>(m - dayOf(m) * kMinutesPerDay); }

// The minute a date value lies in (seconds dropped); the date value of a minute.
LocalMinute minuteFromDateValue(datetime::DateValue value);
datetime::DateValue dateValueFromMinute(LocalMinute minute);

// The minute of a civil date and time.
LocalMinute minuteFromCivil(int year, int month, int day, int hour = 0, int minute = 0);

}  // namespace tavro::reminders
