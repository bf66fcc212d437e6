#include "almanac_window/almanac_month.h"

#include <algorithm>
#include <tuple>

#include "almanac/day_notes.h"
#include "almanac/month_almanac.h"
#include "almanac/sexagenary.h"
#include "datetime/japanese_era.h"

namespace tavro::almanac_window {

namespace {

constexpr int kWheelDelta = 120;  // WHEEL_DELTA: one notch
constexpr std::wstring_view kWeekdayNames[kColumns] = {L"日", L"月", L"火", L"水", L"木", L"金", L"土"};

CellColour weekdayColour(int weekday) {
    return weekday == 0 ? CellColour::Red : weekday == 6 ? CellColour::Blue : CellColour::Text;
}

bool before(const CivilDate& a, const CivilDate& b) {
    return std::tie(a.year, a.month, a.day) < std::tie(b.year, b.month, b.day);
}

// 明治 for the days before it too, which the window never shows.
const datetime::JapaneseEra& eraOf(const CivilDate& day) {
    return datetime::kJapaneseEras[static_cast<std::size_t>(std::max(0, datetime::eraIndexOf(day)))];
}

std::wstring eraYear(const datetime::JapaneseEra& era, int year) {
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

std::wstring eraHeader(int year, int month, bool withSexagenary) {
    const datetime::JapaneseEra& first = eraOf({year, month, 1});
    const datetime::JapaneseEra& last = eraOf({year, month, datetime::daysInMonth(year, month)});
    std::wstring eras = eraYear(first, year);
    if (&first != &last) eras += L"・" + eraYear(last, year);
    if (withSexagenary) eras.append(L"・").append(almanac::yearSexagenaryName(year));
    return std::to_wstring(year) + L"年（" + eras + L"）" + std::to_wstring(month) + L"月";
}

AlmanacMonth buildAlmanacMonth(int year, int month, DateValue today, holidays::HolidayLookup& holidays,
                               const calendar::DayExtraLines& extra, almanac::NoteGroups shown,
                               WeekStart weekStart) {
    AlmanacMonth m;
    for (int column = 0; column < kColumns; ++column) {
        const int weekday = calendar::weekdayOfColumn(column, weekStart);
        m.weekdays[static_cast<std::size_t>(column)] = {kWeekdayNames[weekday], weekdayColour(weekday)};
    }
    m.year = year;
    m.month = month;
    m.header = eraHeader(year, month, shown.shows(almanac::NoteGroup::Sexagenary));
    m.title = L"暦 - " + std::to_wstring(year) + L"年" + std::to_wstring(month) + L"月";
    const DateValue firstDay = datetime::makeDate(year, month, 1);
    holidays.selectMonth(firstDay);
    const almanac::MonthAlmanac almanac = almanac::MonthAlmanac::forMonth(year, month);
    const almanac::MonthNotes notes = almanac::MonthNotes::forMonth(year, month, almanac);
    const calendar::MonthGrid grid(year, month, weekStart);
    for (int day = 1; day <= datetime::daysInMonth(year, month); ++day) {
        const int at = grid.cellOfDay(day);
        AlmanacCell& cell = m.cells[static_cast<std::size_t>(at)];
        const DateValue date = firstDay + (day - 1);
        const int weekday = calendar::weekdayOfColumn(at % kColumns, weekStart);
        const std::wstring holiday = holidays.holidayName(date);
        const std::optional<almanac::DayAlmanac> old = almanac.day(day);
        const std::optional<almanac::DayNotes> dayNotes = notes.day(day);
        cell.day = day;
        cell.number = std::to_wstring(day);
        cell.today = date == datetime::dateOnly(today);
        cell.colour = holidays.isHappy(date) ? CellColour::Red : weekdayColour(weekday);
        const std::vector<std::wstring> extraLines = extra ? extra(date) : std::vector<std::wstring>{};
        cell.description = calendar::dayTooltipText(year, month, day, holiday, old, extraLines, dayNotes, shown);
        cell.note = holiday;
        cell.holiday = !holiday.empty();
        if (old) {
            if (shown.shows(almanac::NoteGroup::Rokuyo)) cell.rokuyo = almanac::rokuyoName(old->rokuyo);
            cell.oldDate = oldDateText(old->old);
            if (cell.note.empty()) cell.note = almanac::solarTermName(old->solarTerm);
        }
        // The user's own days before a solar term, after a holiday's name.
        if (cell.holiday) cell.lines.push_back({cell.note, CellLineKind::Holiday});
        for (const std::wstring& line : extraLines) cell.lines.push_back({line, CellLineKind::Reminder});
        if (!cell.holiday && !cell.note.empty()) cell.lines.push_back({cell.note, CellLineKind::SolarTerm});
        if (!dayNotes) continue;
        cell.sexagenary = almanac::cellSexagenary(*dayNotes, shown);
        if (shown.shows(almanac::NoteGroup::Moon)) cell.phase = dayNotes->phase;
        for (almanac::DayNote note : almanac::cellNotes(*dayNotes, shown))
            cell.lines.push_back({std::wstring(almanac::dayNoteName(note)), CellLineKind::Note});
    }
    return m;
}

int AlmanacMonth::cellOfDay(int day) const {
    for (int i = 0; i < kCells; ++i)
        if (day > 0 && cells[static_cast<std::size_t>(i)].day == day) return i;
    return -1;
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
