#include "almanac_window/almanac_month.h"

#include <algorithm>
#include <tuple>

#include "almanac/month_almanac.h"
#include "calendar/day_texts.h"

namespace tavro::almanac_window {

namespace {

constexpr int kWheelDelta = 120;  // WHEEL_DELTA: one notch

struct Era {
    const wchar_t* name;
    CivilDate first;
};
// Newest first; 明治 covers everything from 1900 to the 大正 change.
constexpr Era kEras[] = {
    {L"令和", {2019, 5, 1}}, {L"平成", {1989, 1, 8}}, {L"昭和", {1926, 12, 25}},
    {L"大正", {1912, 7, 30}}, {L"明治", {1868, 1, 25}},
};

bool before(const CivilDate& a, const CivilDate& b) {
    return std::tie(a.year, a.month, a.day) < std::tie(b.year, b.month, b.day);
}

const Era& eraOf(const CivilDate& day) {
    for (const Era& era : kEras)
        if (!before(day, era.first)) return era;
    return kEras[std::size(kEras) - 1];
}

std::wstring eraYear(const Era& era, int year) {
    const int n = year - era.first.year + 1;
    return std::wstring(era.name) + (n == 1 ? L"元" : std::to_wstring(n)) + L"年";
}

std::wstring oldDateText(const almanac::OldCalendarDate& old) {
    std::wstring text = old.leap ? L"旧閏" : L"旧";
    if (old.day == 1) return text + std::to_wstring(old.month) + L"月1日";
    return text + std::to_wstring(old.month) + L"/" + std::to_wstring(old.day);
}

int monthIndex(int year, int month) { return year * 12 + month - 1; }

CivilDate clampToRange(CivilDate day) {
    if (before(day, kFirstDay)) return kFirstDay;
    if (before(kLastDay, day)) return kLastDay;
    return day;
}

}  // namespace

std::wstring eraHeader(int year, int month) {
    const Era& first = eraOf({year, month, 1});
    const Era& last = eraOf({year, month, datetime::daysInMonth(year, month)});
    std::wstring eras = eraYear(first, year);
    if (&first != &last) eras += L"・" + eraYear(last, year);
    return std::to_wstring(year) + L"年（" + eras + L"）" + std::to_wstring(month) + L"月";
}

AlmanacMonth buildAlmanacMonth(int year, int month, DateValue today, holidays::HolidayLookup& holidays) {
    AlmanacMonth m;
    m.year = year;
    m.month = month;
    m.header = eraHeader(year, month);
    m.title = L"暦 - " + std::to_wstring(year) + L"年" + std::to_wstring(month) + L"月";
    const DateValue firstDay = datetime::makeDate(year, month, 1);
    holidays.selectMonth(firstDay);
    const almanac::MonthAlmanac almanac = almanac::MonthAlmanac::forMonth(year, month);
    const int offset = datetime::weekdayOf(firstDay);
    const int days = datetime::daysInMonth(year, month);
    m.rows = (offset + days + kColumns - 1) / kColumns;
    for (int day = 1; day <= days; ++day) {
        AlmanacCell& cell = m.cells[static_cast<std::size_t>(offset + day - 1)];
        const DateValue date = firstDay + (day - 1);
        const int weekday = (offset + day - 1) % kColumns;
        const std::wstring holiday = holidays.holidayName(date);
        const std::optional<almanac::DayAlmanac> old = almanac.day(day);
        cell.day = day;
        cell.number = std::to_wstring(day);
        cell.today = date == datetime::dateOnly(today);
        cell.colour = weekday == 0 || holidays.isHappy(date) ? CellColour::Red
                      : weekday == 6                         ? CellColour::Blue
                                                             : CellColour::Text;
        cell.description = app::dayTooltipText(year, month, day, holiday, old);
        cell.note = holiday;
        cell.holiday = !holiday.empty();
        if (!old) continue;
        cell.rokuyo = almanac::rokuyoName(old->rokuyo);
        cell.oldDate = oldDateText(old->old);
        if (cell.note.empty()) cell.note = almanac::solarTermName(old->solarTerm);
    }
    return m;
}

CivilDate addMonthsInRange(CivilDate day, int months) {
    const int index = std::clamp(monthIndex(day.year, day.month) + months, monthIndex(kFirstDay.year, kFirstDay.month),
                                 monthIndex(kLastDay.year, kLastDay.month));
    const int year = index / 12, month = index % 12 + 1;
    return {year, month, std::min(day.day, datetime::daysInMonth(year, month))};
}

CivilDate addDaysInRange(CivilDate day, int days) {
    const int64_t moved = datetime::daysFromCivil(day.year, day.month, day.day) + days;
    return clampToRange(datetime::civilFromDays(moved));
}

bool isFirstMonth(int year, int month) { return monthIndex(year, month) <= monthIndex(kFirstDay.year, kFirstDay.month); }
bool isLastMonth(int year, int month) { return monthIndex(year, month) >= monthIndex(kLastDay.year, kLastDay.month); }

int WheelMonths::add(int wheelDelta) {
    // Down (negative) is later, as a page of a list scrolls on.
    if ((rest_ > 0 && wheelDelta > 0) || (rest_ < 0 && wheelDelta < 0)) rest_ = 0;
    rest_ -= wheelDelta;
    const int months = rest_ / kWheelDelta;
    rest_ -= months * kWheelDelta;
    return months;
}

}  // namespace tavro::almanac_window
