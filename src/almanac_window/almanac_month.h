// The 暦 window's month as a printed Japanese calendar shows it: 42 cells with their texts and
// colours, the header with the era, and the rules of moving through 1900-01 to 2100-12.
#pragma once

#include <array>
#include <optional>
#include <string>

#include <vector>

#include "almanac/day_note.h"
#include "almanac/moon_phase.h"
#include "calendar/day_texts.h"
#include "calendar/month_grid.h"
#include "datetime/date_value.h"
#include "holidays/holiday_days.h"

namespace tavro::almanac_window {

using datetime::CivilDate;
using datetime::DateValue;

enum class CellColour { Text, Red, Blue };  // Red: Sundays and holidays, Blue: Saturdays

// A line a cell tells under its number, drawn as its kind asks: a holiday's name in the day's
// colour, a solar term plain, the user's reminders small a line each, the notes small and as many
// to a line as fit.
enum class CellLineKind { Holiday, SolarTerm, Reminder, Note };
struct CellLine {
    std::wstring text;
    CellLineKind kind = CellLineKind::Note;
    bool operator==(const CellLine&) const = default;
};

struct AlmanacCell {
    int day = 0;               // 0: a cell outside the month, shown empty
    std::wstring number;       // L"18"
    std::wstring rokuyo;       // L"大安"; "" without the old calendar
    std::wstring note;         // the holiday's name, else the day's solar term, else ""
    std::wstring oldDate;      // L"旧3/18", L"旧4月1日" on an old month's first day, L"旧閏11月1日"
    std::wstring description;  // the same text as the desktop calendar's tooltip for the day
    std::wstring sexagenary;   // the day's 干支, small: L"甲子"; "" with 干支 hidden
    std::optional<almanac::MoonPhase> phase;  // the principal phase on its day, drawn as ● ◐ ○ ◑; none with 月 hidden
    // What the cell shows under its number, in this order and as many as fit: a holiday's name,
    // the day's reminders, a solar term's name, then the day's 雑節 and 選日 the rarest first. The cell draws these and nothing else.
    std::vector<CellLine> lines;
    CellColour colour = CellColour::Text;
    bool holiday = false;  // the note is a holiday's name
    bool today = false;
};

using calendar::kCells;
using calendar::kColumns;
using calendar::kRows;
using calendar::WeekStart;

inline constexpr CivilDate kFirstDay{1900, 1, 1}, kLastDay{2100, 12, 31};

struct WeekdayLabel {
    std::wstring_view name;  // L"日"
    CellColour colour = CellColour::Text;  // Sunday red, Saturday blue
};

struct AlmanacMonth {
    int year = 0, month = 0;
    std::wstring header;  // 「2027年（令和9年・丁未）3月」
    std::wstring title;   // 「暦 - 2027年3月」
    std::array<WeekdayLabel, kColumns> weekdays;  // the header row, the week's first day first
    std::array<AlmanacCell, kCells> cells;        // in the same columns

    // The cell of a day of the month; -1 for a day it lacks.
    int cellOfDay(int day) const;
};

// The month with its era: 元年 for an era's first year, both eras in a month where one begins
// after the 1st (「1989年（昭和64年・平成元年）1月」). 明治 to 令和. With the year's 干支 after
// the eras: 「2026年（令和8年・丙午）12月」.
std::wstring eraHeader(int year, int month, bool withSexagenary = false);

// The holidays are those the lookup has for the month (it is asked to select it first); extra
// lines (the day's reminders) come after each day's description and in its cell. shown: the groups of notes the user chose, in the
// descriptions, the cells and the header alike.
AlmanacMonth buildAlmanacMonth(int year, int month, DateValue today, holidays::HolidayLookup& holidays,
                               const calendar::DayExtraLines& extra = {}, almanac::NoteGroups shown = {},
                               WeekStart weekStart = WeekStart::Sunday);

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
