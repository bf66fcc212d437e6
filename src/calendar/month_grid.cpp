#include "calendar/month_grid.h"

#include <cmath>

#include "datetime/date_value.h"

namespace tavro::calendar {

namespace {

int edge(float start, float pitch, double unitPixels, int index) {
    return static_cast<int>(std::lround((start + pitch * static_cast<float>(index)) * unitPixels));
}

// The index whose span [edge(i), edge(i + 1)) holds the pixel, or -1.
int spanOf(float start, float pitch, double unitPixels, int count, int pixel) {
    for (int i = 0; i < count; ++i)
        if (pixel >= edge(start, pitch, unitPixels, i) && pixel < edge(start, pitch, unitPixels, i + 1)) return i;
    return -1;
}

}  // namespace

MonthGrid::MonthGrid(int year, int month, WeekStart start) {
    if (!datetime::isValidDate(year, month, 1)) return;
    firstColumn_ = columnOfWeekday(datetime::weekdayOf(datetime::makeDate(year, month, 1)), start);
    days_ = datetime::daysInMonth(year, month);
}

int MonthGrid::cellOfDay(int day) const { return day >= 1 && day <= days_ ? firstColumn_ + day - 1 : -1; }

int MonthGrid::dayOfCell(int column, int row) const {
    if (column < 0 || column >= kColumns || row < 0 || row >= kRows) return 0;
    const int day = row * kColumns + column - firstColumn_ + 1;
    return day >= 1 && day <= days_ ? day : 0;
}

CellArea cellArea(const CellSquares& s, int column, int row) {
    return {edge(s.left, s.pitch, s.unitPixels, column), edge(s.top, s.pitch, s.unitPixels, row),
            edge(s.left, s.pitch, s.unitPixels, column + 1), edge(s.top, s.pitch, s.unitPixels, row + 1)};
}

std::optional<GridCell> cellAt(const CellSquares& s, int x, int y) {
    const int column = spanOf(s.left, s.pitch, s.unitPixels, kColumns, x);
    const int row = spanOf(s.top, s.pitch, s.unitPixels, kRows, y);
    if (column < 0 || row < 0) return std::nullopt;
    return GridCell{column, row};
}

}  // namespace tavro::calendar
