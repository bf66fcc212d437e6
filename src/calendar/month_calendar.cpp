#include "calendar/month_calendar.h"

#include <algorithm>
#include <string>

namespace tavro::calendar {

void drawCalender(render::FieldPainter& painter, DateValue now, holidays::HolidayLookup& holidays,
                  WeekStart weekStart, const std::vector<DateValue>& markedDays) {
    const datetime::CivilDateTime civil = datetime::toCivil(now);
    const DateValue firstDay = datetime::firstDayOfMonth(now);
    holidays.selectMonth(firstDay);
    const MonthGrid grid(civil.year, civil.month, weekStart);
    // Every cell, the blank ones too, so that no digit of an earlier month stays.
    for (int row = 0; row < kRows; ++row)
        for (int column = 0; column < kColumns; ++column) {
            const int day = grid.dayOfCell(column, row);
            const int weekday = weekdayOfColumn(column, weekStart);
            const DateValue date = firstDay + (day - 1);
            int colour = render::kColourWhite;
            if (day == civil.day) colour = render::kColourOrange;
            else if (day && weekday == 0) colour = render::kColourRed;
            else if (day && holidays.isHappy(date)) colour = render::kColourRed;
            else if (day && weekday == 6) colour = render::kColourLightBlue;
            const bool marked = day && std::find(markedDays.begin(), markedDays.end(), date) != markedDays.end();
            painter.draw7seg(calendarCellX(column), calendarCellY(row), marked ? kMarkedCellTemplate : kCalendarCellTemplate,
                             day ? std::to_wstring(day) + (marked ? L"." : L"") : L"", colour);
        }
}

}  // namespace tavro::calendar
