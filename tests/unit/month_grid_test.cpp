// The month grid: each day's cell and back, and the cell a point of the clock's calendar falls in.
#include "calendar/month_grid.h"

#include <gtest/gtest.h>

#include "calendar/month_calendar.h"

namespace tavro::calendar {
namespace {

TEST(MonthGrid, DayToCellToDayAndThePointsAtTheCellEdges) {
    // The weekday of the 1st as printed calendars give it: four rows, six, a leap February, no month.
    struct Month { int year, month, firstColumn, days; };
    for (const Month& m : {Month{2026, 2, 0, 28}, {2026, 5, 5, 31}, {2024, 2, 4, 29}, {2026, 13, 0, 0}}) {
        const MonthGrid grid(m.year, m.month);
        for (int day = 0; day <= m.days + 1; ++day) {
            const int cell = grid.cellOfDay(day), want = day >= 1 && day <= m.days ? m.firstColumn + day - 1 : -1;
            EXPECT_EQ(cell, want) << m.year << "-" << m.month << "-" << day;
            if (cell >= 0) EXPECT_EQ(grid.dayOfCell(cell % kColumns, cell / kColumns), day);
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

}  // namespace
}  // namespace tavro::calendar
