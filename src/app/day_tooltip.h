// What the calendar's tooltip tells of the day under the mouse, and where each day's cell takes
// the mouse.
#pragma once

#include <string>

#include "datetime/date_value.h"
#include "holidays/holiday_days.h"

namespace tavro::app {

using datetime::DateValue;

// A cell's hover area in window pixels, right and bottom exclusive: the square of the grid's
// pitch around the cell's two digits, so that the areas tile the grid without gaps.
struct CellArea {
    int left, top, right, bottom;
    bool operator==(const CellArea&) const = default;
};
CellArea calendarCellArea(int column, int row, float drawScale);

// The day of the month in cell (column, row) of that month's grid, 0 for a blank cell.
int dayInCell(int year, int month, int column, int row);

// The texts of one month's cells. The month's astronomy is worked out once, when the calendar
// shows it, not at every hover.
class CalendarDayTexts {
public:
    void showMonth(DateValue firstDay);
    // "2026年11月23日（月） 勤労感謝の日", then the old-calendar lines; "" for a blank cell.
    std::wstring forCell(int column, int row, const holidays::HolidayLookup& holidays) const;

private:
    int year_ = 0, month_ = 0;
};

}  // namespace tavro::app
