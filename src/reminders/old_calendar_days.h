// The civil days of old-calendar (旧暦) dates, 1900 to 2100, from the almanac's lunar years.
// Each lunar year is worked out once, on first use, and kept (thread-safe).
#pragma once

#include <cstdint>
#include <optional>

#include "almanac/month_almanac.h"

namespace tavro::reminders {

// The old-calendar date of a civil day (a day count); nullopt outside 1900..2100.
std::optional<almanac::OldCalendarDate> oldDateOfDay(int64_t day);

// The old-calendar year a civil day lies in (the year whose 1月1日 is on or before it).
std::optional<int> oldYearOfDay(int64_t day);

// The day of month `month`, day `day` of old year `oldYear`, in the ordinary (not leap) month of
// that number; a day the month lacks (a 30th in a 29-day month) falls on its last day.
// nullopt when that day lies outside 1900-01-01..2100-12-31.
std::optional<int64_t> dayOfOldDate(int oldYear, int month, int day);

}  // namespace tavro::reminders
