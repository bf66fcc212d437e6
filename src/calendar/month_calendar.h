// The clock's month calendar: the days of the current month as a 7 × 6 grid of two-digit fields,
// Sunday or Monday first, one colour per kind of day; and the square of each day's cell that takes the mouse.
#pragma once

#include <string_view>
#include <vector>

#include "calendar/month_grid.h"
#include "datetime/date_value.h"
#include "holidays/holiday_days.h"
#include "render/seven_segment.h"

namespace tavro::calendar {

using datetime::DateValue;

// The cells' fields in grid units (draw7seg's x and row), 2.5 units apart.
inline constexpr std::wstring_view kCalendarCellTemplate = L"Z0";
inline constexpr std::wstring_view kMarkedCellTemplate = L"Z0.";  // the same cells with the point lit
constexpr float calendarCellX(int column) { return 2.5f + 2.5f * static_cast<float>(column); }
constexpr float calendarCellY(int row) { return 4.75f + 2.5f * static_cast<float>(row); }

// The cells' hover areas, at cellPixels screen pixels to the grid unit: squares of the grid's
// pitch around the cells' two digits, which stand 2 units wide and 1.6 high.
constexpr CellSquares calendarSquares(double cellPixels) {
    return {calendarCellX(0) - 0.25f, calendarCellY(0) - 0.45f, 2.5f, cellPixels};
}

// Draws all 42 cells for the month of `now` (its time of day plays no part) with the holidays
// the lookup has for that month at this moment: today orange, Sundays and holidays red,
// Saturdays light blue, in whichever column they stand. A day among markedDays (the user's
// reminders) lights its decimal point, as a seven-segment display would.
void drawCalender(render::FieldPainter& painter, DateValue now, holidays::HolidayLookup& holidays,
                  WeekStart weekStart = WeekStart::Sunday, const std::vector<DateValue>& markedDays = {});

}  // namespace tavro::calendar
