// The month calendar: the days of the current month as a 7 × 6 grid of two-digit numbers,
// Sunday first, one colour per kind of day.
#pragma once

#include "app/clock_tick.h"
#include "app/layout.h"
#include "holidays/holiday_days.h"

namespace tavro::app {

inline constexpr int kColourLightBlue = 3;
inline constexpr int kColourWhite = 7;

// Draws all 42 cells for the month of `now` (its time of day plays no part) with the holidays
// the lookup has for that month at this moment.
void drawCalender(ClockPainter& painter, DateValue now, holidays::HolidayLookup& holidays);

}  // namespace tavro::app
