#include "calendar/day_texts.h"

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
    almanac_ = almanac::MonthAlmanac::forMonth(year_, month_);
}

std::wstring CalendarDayTexts::forCell(int column, int row, const holidays::HolidayLookup& holidays) const {
    const int day = dayInCell(year_, month_, column, row);
    if (day == 0) return {};
    return dayTooltipText(year_, month_, day, holidays.holidayName(datetime::makeDate(year_, month_, day)),
                          almanac_.day(day));
}

std::wstring dayTooltipText(int year, int month, int day, std::wstring_view holidayName,
                            const std::optional<almanac::DayAlmanac>& almanac) {
    const int weekday = datetime::weekdayOf(datetime::makeDate(year, month, day));
    std::wstring text = std::to_wstring(year) + L"年" + std::to_wstring(month) + L"月" + std::to_wstring(day) + L"日（" +
                        kWeekdays[weekday] + L"）";
    if (!holidayName.empty()) text.append(L" ").append(holidayName);
    if (!almanac) return text;
    text.append(L"\r\n").append(almanac::rokuyoName(almanac->rokuyo)).append(L"　旧暦");
    if (almanac->old.leap) text += L"閏";
    text += std::to_wstring(almanac->old.month) + L"月" + std::to_wstring(almanac->old.day) + L"日";
    if (const std::wstring_view term = almanac::solarTermName(almanac->solarTerm); !term.empty())
        text.append(L"\r\n").append(term);
    return text;
}

}  // namespace tavro::app
