// The clock's ways into the 暦 window: the menu item and a double click on the calendar.
#include "app/frm_main_win32.h"
#include "app/local_time_win32.h"
#include "calendar/month_calendar.h"

namespace tavro::app {

void FrmMain::openAlmanacWindow(std::optional<DateValue> selectDay) {
    if (almanac_ && almanac_->isOpen()) return almanac_->bringToFront();
    almanac_ = almanac_window::AlmanacWindow::create(instance_, hwnd_, localNow(), selectDay, holidays_.list(), weekStart(),
                                                     almanacReminders());
}

void FrmMain::onDoubleClick(int x, int y) {
    const double cell = cellPixels(drawScale_);
    // The calendar's frame, 17 rows from row 4.
    if (y < 4 * cell || y >= 21 * cell) return;
    const datetime::CivilDateTime shown = datetime::toCivil(calendarDate_);
    std::optional<DateValue> day;
    if (const auto at = calendar::cellAt(calendar::calendarSquares(cell), x, y))
        if (const int d = calendar::MonthGrid(shown.year, shown.month, weekStart()).dayOfCell(at->column, at->row))
            day = datetime::makeDate(shown.year, shown.month, d);
    openAlmanacWindow(day);
}

}  // namespace tavro::app
