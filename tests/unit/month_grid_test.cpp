// The month grid: each day's cell and back, Sunday or Monday first, the clock's calendar laid on
// it, and the cell a point of the clock's calendar falls in.
#include "calendar/month_grid.h"

#include <gtest/gtest.h>

#include <string>

#include "calendar/month_calendar.h"

namespace tavro::calendar {
namespace {

TEST(MonthGrid, DayToCellToDayAndThePointsAtTheCellEdges) {
    // The weekday of the 1st as printed calendars give it: four rows, six, a leap February, no month.
    struct Month { int year, month, firstColumn, days; WeekStart start = WeekStart::Sunday; };
    for (const Month& m : {Month{2026, 2, 0, 28}, {2026, 5, 5, 31}, {2024, 2, 4, 29}, {2026, 13, 0, 0},
                           {2026, 2, 6, 28, WeekStart::Monday}, {2026, 6, 0, 30, WeekStart::Monday},
                           {2024, 2, 3, 29, WeekStart::Monday}}) {
        const MonthGrid grid(m.year, m.month, m.start);
        for (int day = 0; day <= m.days + 1; ++day) {
            const int cell = grid.cellOfDay(day), want = day >= 1 && day <= m.days ? m.firstColumn + day - 1 : -1;
            EXPECT_EQ(cell, want) << m.year << "-" << m.month << "-" << day;
            if (cell >= 0) { EXPECT_EQ(grid.dayOfCell(cell % kColumns, cell / kColumns), day); }
        }
        const int after = m.firstColumn + m.days;  // the cell after the last day
        for (auto [column, row] : {std::pair{m.firstColumn - 1, 0}, {after % 7, after / 7}, {7, 0}, {-1, 1}, {0, 6}})
            EXPECT_EQ(grid.dayOfCell(column, row), 0) << column << "," << row;
    }
    // The clock's calendar at 96, 120 and 192 DPI (20, 25, 40 px to the unit): squares of 2.5 units
    // from (2.25, 4.3), each edge the first pixel of the next cell; at 120 DPI 107.5 rounds to 108.
    struct Point { double unit; int x, y; std::optional<GridCell> cell; } points[] = {
        {20, 45, 86, GridCell{0, 0}}, {20, 44, 86, {}}, {20, 45, 85, {}}, {20, 94, 135, GridCell{0, 0}},
        {20, 95, 136, GridCell{1, 1}}, {20, 394, 385, GridCell{6, 5}}, {20, 395, 385, {}}, {20, 394, 386, {}},
        {25, 56, 108, GridCell{0, 0}}, {25, 56, 107, {}}, {25, 118, 169, GridCell{0, 0}}, {25, 119, 170, {{1, 1}}},
        {40, 690, 672, GridCell{6, 5}}, {40, 689, 671, GridCell{5, 4}}, {40, 790, 700, {}},
    };
    for (const Point& p : points) {
        EXPECT_EQ(cellAt(calendarSquares(p.unit), p.x, p.y), p.cell) << p.unit << ": " << p.x << "," << p.y;
        if (!p.cell) continue;
        const CellArea a = cellArea(calendarSquares(p.unit), p.cell->column, p.cell->row);
        EXPECT_TRUE(p.x >= a.left && p.x < a.right && p.y >= a.top && p.y < a.bottom) << p.x << "," << p.y;
    }
}

// May 2026 as a Monday-first calendar prints it, on the 13th: the holidays of the 3rd to the 6th
// red, Saturdays light blue and Sundays red in the last two columns, today orange.
TEST(MonthCalendar, MondayFirstKeepsEachKindOfDayItsColour) {
    struct Recorder : render::FieldPainter {
        std::wstring days;  // a row's day numbers, then its colours as W, B, R, O or . for a blank
        std::string colours;
        void draw7seg(float, float, std::wstring_view, std::wstring_view text, int colour) override {
            days += std::wstring(text) + L" ";
            colours += text.empty() ? '.' : colour == 7 ? 'W' : colour == 3 ? 'B' : colour == 4 ? 'R' : colour == 6 ? 'O' : '?';
        }
    } painter;
    holidays::FeedOrComputedHolidays holidays;
    drawCalender(painter, datetime::makeDate(2026, 5, 13), holidays, WeekStart::Monday);
    EXPECT_EQ(painter.colours, "....WBR" "RRRWWBR" "WWOWWBR" "WWWWWBR" "WWWWWBR" ".......");
    EXPECT_EQ(painter.days.substr(0, 24), L"    1 2 3 4 5 6 7 8 9 10");  // the 1st a Friday, fifth column
    // Days with a reminder light their point; one outside the month marks nothing.
    painter.days.clear();
    drawCalender(painter, datetime::makeDate(2026, 5, 13), holidays, WeekStart::Monday,
                 {datetime::makeDate(2026, 5, 1), datetime::makeDate(2026, 5, 10), datetime::makeDate(2026, 6, 1)});
    EXPECT_EQ(painter.days.substr(0, 27), L"    1. 2 3 4 5 6 7 8 9 10. ");
    EXPECT_EQ(painter.days.find(L"31."), std::wstring::npos);
    EXPECT_EQ(render::formatFieldText(std::wstring(kMarkedCellTemplate), L"1."), L" 1.");
}

}  // namespace
}  // namespace tavro::calendar
