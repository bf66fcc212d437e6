// What the calendar's tooltip and the 暦 window tell of a day.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "almanac/day_notes.h"
#include "almanac/month_almanac.h"
#include "calendar/month_grid.h"
#include "datetime/date_value.h"
#include "holidays/holiday_days.h"

namespace tavro::calendar {

using datetime::DateValue;

// Lines that rooms above add to a day's text, one a line (a reminder's 「10:00 会議」, a note of
// the almanac's); none when it is empty.
using DayExtraLines = std::function<std::vector<std::wstring>(DateValue day)>;

// The texts of one month's cells. The month's astronomy and notes are worked out once, when the
// calendar shows it, not at every hover.
class CalendarDayTexts {
public:
    void showMonth(DateValue firstDay, WeekStart weekStart = WeekStart::Sunday);
    // "" for a blank cell; shown: the groups of notes the user chose.
    std::wstring forCell(int column, int row, const holidays::HolidayLookup& holidays,
                         const DayExtraLines& extra = {}, almanac::NoteGroups shown = {}) const;

private:
    int year_ = 0, month_ = 0;
    WeekStart weekStart_ = WeekStart::Sunday;
    almanac::MonthAlmanac almanac_;
    almanac::MonthNotes notes_;
};

// 「2026年5月5日（火）」
std::wstring dayDateText(int year, int month, int day);

// The text's lines, "\r\n" apart:
//   2026年5月5日（火） こどもの日   the date, the weekday, the holiday's name on a holiday
//   先負　旧暦3月19日               六曜 and the old-calendar date ("旧暦閏6月1日" in a leap month)
//   立夏                           only on the day of one of the 24 solar terms
//   甲子 月齢 7.1 上弦 9:05 天赦日  the day's notes (almanac/day_notes.h: dayNotesText) of the groups shown
//   ...                            then the extra lines
// With 六曜 hidden the second line is the old-calendar date alone. Without the old calendar
// (years it does not cover) the first line and the extra ones.
std::wstring dayTooltipText(int year, int month, int day, std::wstring_view holidayName,
                            const std::optional<almanac::DayAlmanac>& almanac,
                            const std::vector<std::wstring>& extraLines = {},
                            const std::optional<almanac::DayNotes>& notes = {}, almanac::NoteGroups shown = {});

}  // namespace tavro::calendar
