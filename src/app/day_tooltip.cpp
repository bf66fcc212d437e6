#include "app/day_tooltip.h"

#include <cmath>

#include "app/layout.h"

namespace tavro::app {

namespace {
constexpr float kCellPitch = 2.5f;
// The digits stand 2 units wide and 1.6 high in their 2.5-unit square: centre the square on them.
constexpr float kDigitsLeftInArea = 0.25f;
constexpr float kDigitsTopInArea = 0.45f;
constexpr const wchar_t* kWeekdays[] = {L"日", L"月", L"火", L"水", L"木", L"金", L"土"};

int pixels(float units, float drawScale) { return static_cast<int>(std::lround(units * cellPixels(drawScale))); }
}  // namespace

CellArea calendarCellArea(int column, int row, float drawScale) {
    const float left = calendarCellX(column) - kDigitsLeftInArea;
    const float top = calendarCellY(row) - kDigitsTopInArea;
    return {pixels(left, drawScale), pixels(top, drawScale), pixels(left + kCellPitch, drawScale),
            pixels(top + kCellPitch, drawScale)};
}

int dayInCell(int year, int month, int column, int row) {
    if (!datetime::isValidDate(year, month, 1) || column < 0 || column >= kCalendarColumns || row < 0 ||
        row >= kCalendarRows)
        return 0;
    const int day = row * kCalendarColumns + column - datetime::weekdayOf(datetime::makeDate(year, month, 1)) + 1;
    return day >= 1 && day <= datetime::daysInMonth(year, month) ? day : 0;
}

void CalendarDayTexts::showMonth(DateValue firstDay) {
    const datetime::CivilDateTime civil = datetime::toCivil(firstDay);
    if (civil.year == year_ && civil.month == month_) return;
    year_ = civil.year;
    month_ = civil.month;
}

std::wstring CalendarDayTexts::forCell(int column, int row, const holidays::HolidayLookup& holidays) const {
    const int day = dayInCell(year_, month_, column, row);
    if (day == 0) return {};
    const DateValue date = datetime::makeDate(year_, month_, day);
    std::wstring text = std::to_wstring(year_) + L"年" + std::to_wstring(month_) + L"月" + std::to_wstring(day) +
                        L"日（" + kWeekdays[datetime::weekdayOf(date)] + L"）";
    if (const std::wstring name = holidays.holidayName(date); !name.empty()) text += L" " + name;
    return text;
}

}  // namespace tavro::app
