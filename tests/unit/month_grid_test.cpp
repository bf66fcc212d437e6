// The month grid: each day's cell and back, and the cell a point of the clock's calendar falls in.
#include "calendar/month_grid.h"

#include <gtest/gtest.h>

#include "calendar/month_calendar.h"

namespace tavro::calendar {
namespace {

TEST(MonthGrid, EachDaysCellGivesTheDayBack) {
    // The weekday of the 1st from the printed calendars of those months.
    struct Case { int year, month, firstColumn, days, rows; } cases[] = {
        {2026, 2, 0, 28, 4},  // from a Sunday: four whole rows
        {2026, 5, 5, 31, 6},  // from a Friday: the 31st in the sixth row
        {2024, 2, 4, 29, 5},  // a leap February from a Thursday
        {2026, 13, 0, 0, 0},  // no such month
    };
    for (const Case& c : cases) {
        const MonthGrid grid(c.year, c.month);
        for (int day = 1; day <= c.days; ++day) {
            const int cell = grid.cellOfDay(day);
            EXPECT_EQ(cell, c.firstColumn + day - 1) << c.year << "-" << c.month << "-" << day;
            EXPECT_EQ(grid.dayOfCell(cell % kColumns, cell / kColumns), day) << c.year << "-" << c.month << "-" << day;
        }
        EXPECT_EQ(grid.cellOfDay(0), -1);
        EXPECT_EQ(grid.cellOfDay(c.days + 1), -1);
        EXPECT_EQ(grid.rows(), c.rows);
        if (c.firstColumn) EXPECT_EQ(grid.dayOfCell(c.firstColumn - 1, 0), 0) << "before the 1st";
        EXPECT_EQ(grid.dayOfCell((c.firstColumn + c.days) % kColumns, (c.firstColumn + c.days) / kColumns), 0);
        for (auto [column, row] : {std::pair{7, 0}, {-1, 1}, {0, 6}, {0, -1}})
            EXPECT_EQ(grid.dayOfCell(column, row), 0) << "off the grid";
    }
}

// The clock's calendar at 96, 120 and 192 DPI (20, 25 and 40 pixels to the unit): the squares of
// 2.5 units from (2.25, 4.3); at 120 DPI the top edge 107.5 rounds to 108.
TEST(MonthGrid, APointFindsTheCellWhoseSquareHoldsIt) {
    struct Case { double unit; int x, y; std::optional<GridCell> cell; } cases[] = {
        {20, 45, 86, GridCell{0, 0}}, {20, 44, 86, std::nullopt}, {20, 45, 85, std::nullopt},
        {20, 94, 135, GridCell{0, 0}}, {20, 95, 136, GridCell{1, 1}}, {20, 394, 385, GridCell{6, 5}},
        {20, 395, 385, std::nullopt}, {20, 394, 386, std::nullopt},
        {25, 56, 108, GridCell{0, 0}}, {25, 56, 107, std::nullopt}, {25, 118, 169, GridCell{0, 0}},
        {40, 690, 672, GridCell{6, 5}}, {40, 689, 671, GridCell{5, 4}}, {40, 790, 700, std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(cellAt(calendarSquares(c.unit), c.x, c.y), c.cell) << c.unit << ": " << c.x << "," << c.y;
    // The areas tile the grid: each one's corners find that cell, not a neighbour.
    for (double unit : {20.0, 25.0, 30.0, 40.0})
        for (int cell = 0; cell < kCells; ++cell) {
            const GridCell at{cell % kColumns, cell / kColumns};
            const CellArea a = cellArea(calendarSquares(unit), at.column, at.row);
            EXPECT_EQ(cellAt(calendarSquares(unit), a.left, a.top), at) << unit << " " << cell;
            EXPECT_EQ(cellAt(calendarSquares(unit), a.right - 1, a.bottom - 1), at) << unit << " " << cell;
        }
}

}  // namespace
}  // namespace tavro::calendar
