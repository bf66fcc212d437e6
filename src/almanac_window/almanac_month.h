// The 暦 window's month as a printed Japanese calendar shows it: 42 cells with their texts and
// colours, the header with the era, and the rules of moving through 1900-01 to 2100-12.
#pragma once

#include <array>
#include <string>

#include "calendar/day_texts.h"
#include "calendar/month_grid.h"
#include "datetime/date_value.h"
#include "holidays/holiday_days.h"

namespace tavro::almanac_window {

using datetime::CivilDate;
using datetime::DateValue;

enum class CellColour { Text, Red, Blue };  // Red: Sundays and holidays, Blue: Saturdays

struct AlmanacCell {
    int day = 0;               // 0: a cell outside the month, shown empty
    std::wstring number;       // L"18"
    std::wstring rokuyo;       // L"大安"; "" without the old calendar
    std::wstring note;         // the holiday's name, else the day's solar term, else ""
    std::wstring oldDate;      // L"旧3/18", L"旧4月1日" on an old month's first day, L"旧閏11月1日"
    std::wstring description;  // the same text as the desktop calendar's tooltip for the day
    CellColour colour = CellColour::Text;
    bool holiday = false;  // the note is a holiday's name
    bool today = false;
};

using calendar::kCells;
using calendar::kColumns;
using calendar::kRows;
using calendar::WeekStart;

struct AlmanacWeekday {
    std::wstring name;  // L"日"
    CellColour colour = CellColour::Text;  // Sunday red, Saturday blue
};
inline constexpr CivilDate kFirstDay{1900, 1, 1}, kLastDay{2100, 12, 31};

struct AlmanacMonth {
    int year = 0, month = 0;
    std::wstring header;  // 「2027年（令和9年）3月」
    std::wstring title;   // 「暦 - 2027年3月」
    std::array<AlmanacWeekday, kColumns> weekdays;  // the header row, the week's first day first
    std::array<AlmanacCell, kCells> cells;          // in the same columns
};

// The month with its era: 元年 for an era's first year, both eras in a month where one begins
// after the 1st (「1989年（昭和64年・平成元年）1月」). 明治 to 令和.
std::wstring eraHeader(int year, int month);

// The holidays are those the lookup has for the month (it is asked to select it first); extra
// lines come after each day's description.
AlmanacMonth buildAlmanacMonth(int year, int month, DateValue today, holidays::HolidayLookup& holidays,
                               const calendar::DayExtraLines& extra = {}, WeekStart weekStart = WeekStart::Sunday);

// Paging: the day kept where the target month has it, else its last day; never outside
// kFirstDay..kLastDay.
CivilDate addMonthsInRange(CivilDate day, int months);
CivilDate addDaysInRange(CivilDate day, int days);
bool isFirstMonth(int year, int month);
bool isLastMonth(int year, int month);

// Wheel deltas added up into whole months, positive for later months (the wheel turned down).
// A turn the other way drops what was left over from the last one.
class WheelMonths {
public:
    int add(int wheelDelta);
    void drop() { rest_ = 0; }

private:
    int rest_ = 0;
};

}  // namespace tavro::almanac_window
