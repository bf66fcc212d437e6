#include "calendar/month_calendar.h"

#include <string>

namespace tavro::app {

namespace {

void drawCell(ClockPainter& painter, int column, int row, std::wstring_view text, int colour) {
    painter.draw7seg(calendarCellX(column), calendarCellY(row), kCalendarCellTemplate, text, colour);
}

void drawBlankCells(ClockPainter& painter, int row, int fromColumn) {
    for (int c = fromColumn; c < kCalendarColumns; ++c) drawCell(painter, c, row, L"", kColourWhite);
}

}  // namespace

void drawCalender(ClockPainter& painter, DateValue now, holidays::HolidayLookup& holidays) {
    const datetime::CivilDateTime civil = datetime::toCivil(now);
    const DateValue firstDay = datetime::firstDayOfMonth(now);
    const DateValue today = datetime::makeDate(civil.year, civil.month, civil.day);
    holidays.selectMonth(firstDay);

    int column = datetime::weekdayOf(firstDay);
    int row = 0;
    for (int c = 0; c < column; ++c) drawCell(painter, c, row, L"", kColourWhite);

    const int days = datetime::daysInMonth(civil.year, civil.month);
    for (int day = 1; day <= days; ++day) {
        const DateValue date = datetime::makeDate(civil.year, civil.month, day);
        int colour = kColourWhite;
        if (date == today) colour = kColourOrange;
        else if (column == 0) colour = kColourRed;
        else if (holidays.isHappy(date)) colour = kColourRed;
        else if (column == 6) colour = kColourLightBlue;
        drawCell(painter, column, row, std::to_wstring(day), colour);
        if (++column == kCalendarColumns) {
            column = 0;
            ++row;
        }
    }

    // The rest of the grid, so that no digit of an earlier month stays.
    drawBlankCells(painter, row, column);
    if (row < kCalendarRows - 1) drawBlankCells(painter, row + 1, 0);
}

}  // namespace tavro::app
