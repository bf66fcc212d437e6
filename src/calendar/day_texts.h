// What the calendar's tooltip tells of the day under the mouse, and where each day's cell takes
// the mouse.
#pragma once

#include <optional>
#include <string>

#include "almanac/month_almanac.h"
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
    // "" for a blank cell.
    std::wstring forCell(int column, int row, const holidays::HolidayLookup& holidays) const;

private:
    int year_ = 0, month_ = 0;
    almanac::MonthAlmanac almanac_;
};

// The tooltip's lines, "\r\n" apart:
//   2026年5月5日（火） こどもの日   the date, the weekday, the holiday's name on a holiday
//   先負　旧暦3月19日               六曜 and the old-calendar date ("旧暦閏6月1日" in a leap month)
//   立夏                           only on the day of one of the 24 solar terms
// Without the old calendar (years it does not cover) the first line alone.
std::wstring dayTooltipText(int year, int month, int day, std::wstring_view holidayName,
                            const std::optional<almanac::DayAlmanac>& almanac);

}  // namespace tavro::app
