// The month as a calendar lays it out, Sunday or Monday first: 7 columns, 6 rows, one cell a day;
// and the cells laid on the screen as squares, where a point finds its cell.
#pragma once

#include <optional>

namespace tavro::calendar {

inline constexpr int kColumns = 7, kRows = 6, kCells = kColumns * kRows;

// The weekday of the first column (weekdays: 0 Sunday .. 6 Saturday).
enum class WeekStart { Sunday = 0, Monday = 1 };

// The weekday shown in a column, and the column showing a weekday.
constexpr int weekdayOfColumn(int column, WeekStart start) { return (column + static_cast<int>(start)) % kColumns; }
constexpr int columnOfWeekday(int weekday, WeekStart start) {
    return (weekday - static_cast<int>(start) + kColumns) % kColumns;
}

class MonthGrid {
public:
    // A month that is not a real one has no days.
    MonthGrid(int year, int month, WeekStart start = WeekStart::Sunday);

    // The cell of a day of the month (column cell % kColumns, row cell / kColumns); -1 for a day it lacks.
    int cellOfDay(int day) const;
    // The day in the cell; 0 before the 1st, after the last day and outside the grid.
    int dayOfCell(int column, int row) const;

private:
    int firstColumn_ = 0;
    int days_ = 0;
};

// The cells as squares on the screen: the grid's top left and its pitch in units, which
// unitPixels turns into pixels. Each edge is rounded once, so neighbours share it and the areas
// tile the grid with no gap.
struct CellSquares {
    float left, top, pitch;
    double unitPixels;
};

struct CellArea {  // right and bottom exclusive
    int left, top, right, bottom;
    bool operator==(const CellArea&) const = default;
};
CellArea cellArea(const CellSquares& squares, int column, int row);

struct GridCell {
    int column, row;
    bool operator==(const GridCell&) const = default;
};
// The cell whose area holds the point; nothing off the grid.
std::optional<GridCell> cellAt(const CellSquares& squares, int x, int y);

}  // namespace tavro::calendar
