// The clock's ways into the 暦 window: the menu item and a double click on the calendar.
#include "calendar/day_texts.h"
#include "app/frm_main_win32.h"
#include "app/local_time_win32.h"

namespace tavro::app {

void FrmMain::openAlmanacWindow(std::optional<DateValue> selectDay) {
    if (almanac_ && almanac_->isOpen()) return almanac_->bringToFront();
    almanac_ = almanac_window::AlmanacWindow::create(instance_, hwnd_, localNow(), selectDay, holidays_.list());
}

void FrmMain::onDoubleClick(int x, int y) {
    const double cell = cellPixels(drawScale_);
    // The calendar's frame, 17 rows from row 4.
    if (y < 4 * cell || y >= 21 * cell) return;
    const datetime::CivilDateTime shown = datetime::toCivil(calendarDate_);
    std::optional<DateValue> day;
    for (int row = 0; row < kCalendarRows; ++row)
        for (int column = 0; column < kCalendarColumns; ++column) {
            const CellArea a = calendarCellArea(column, row, drawScale_);
            const int d = dayInCell(shown.year, shown.month, column, row);
            if (d && x >= a.left && x < a.right && y >= a.top && y < a.bottom) day = datetime::makeDate(shown.year, shown.month, d);
        }
    openAlmanacWindow(day);
}

}  // namespace tavro::app
