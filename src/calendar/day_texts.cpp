#include "calendar/day_texts.h"

#include "calendar/month_grid.h"

namespace tavro::calendar {

namespace {
constexpr const wchar_t* kWeekdays[] = {L"日", L"月", L"火", L"水", L"木", L"金", L"土"};
}  // namespace

void CalendarDayTexts::showMonth(DateValue firstDay, WeekStart weekStart) {
    weekStart_ = weekStart;
    const datetime::CivilDateTime civil = datetime::toCivil(firstDay);
    if (civil.year == year_ && civil.month == month_) return;
    year_ = civil.year;
    month_ = civil.month;
    almanac_ = almanac::MonthAlmanac::forMonth(year_, month_);
    notes_ = almanac::MonthNotes::forMonth(year_, month_, almanac_);
}

std::wstring CalendarDayTexts::forCell(int column, int row, const holidays::HolidayLookup& holidays,
                                       const DayExtraLines& extra, almanac::NoteGroups shown) const {
    const int day = MonthGrid(year_, month_, weekStart_).dayOfCell(column, row);
    if (day == 0) return {};
    const DateValue date = datetime::makeDate(year_, month_, day);
    return dayTooltipText(year_, month_, day, holidays.holidayName(date), almanac_.day(day),
                          extra ? extra(date) : std::vector<std::wstring>{}, notes_.day(day), shown);
}

std::wstring dayDateText(int year, int month, int day) {
    const int weekday = datetime::weekdayOf(datetime::makeDate(year, month, day));
    return std::to_wstring(year) + L"年" + std::to_wstring(month) + L"月" + std::to_wstring(day) + L"日（" +
           kWeekdays[weekday] + L"）";
}

std::wstring dayTooltipText(int year, int month, int day, std::wstring_view holidayName,
                            const std::optional<almanac::DayAlmanac>& almanac,
                            const std::vector<std::wstring>& extraLines,
                            const std::optional<almanac::DayNotes>& notes, almanac::NoteGroups shown) {
    std::wstring text = dayDateText(year, month, day);
    if (!holidayName.empty()) text.append(L" ").append(holidayName);
    if (almanac) {
        text += L"\r\n";
        if (shown.shows(almanac::NoteGroup::Rokuyo)) text.append(almanac::rokuyoName(almanac->rokuyo)).append(L"　");
        text += L"旧暦";
        if (almanac->old.leap) text += L"閏";
        text += std::to_wstring(almanac->old.month) + L"月" + std::to_wstring(almanac->old.day) + L"日";
        if (const std::wstring_view term = almanac::solarTermName(almanac->solarTerm); !term.empty())
            text.append(L"\r\n").append(term);
    }
    if (notes)
        if (const std::wstring line = almanac::dayNotesText(*notes, shown); !line.empty()) text.append(L"\r\n").append(line);
    for (const std::wstring& line : extraLines) text.append(L"\r\n").append(line);
    return text;
}

}  // namespace tavro::calendar
