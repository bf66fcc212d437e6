#include "calendar/day_texts.h"

#include <gtest/gtest.h>

namespace tavro::calendar {
namespace {

using datetime::makeDate;

// What the tooltip of a cell says, with the holidays the calendar uses and the old calendar. (A
// holiday, a 休日, a term and 友引: the end-to-end tooltip test.)
// The notes' line: 干支, 月齢 and the phase's time as the ephemeris has them (python3-ephem), the
// 選日 of the published 2026 lists; each group the user hides is gone.
TEST(DayTooltip, TextOfEachKindOfCell) {
    using almanac::NoteGroup;
    const auto hiding = [](std::initializer_list<NoteGroup> groups) {
        almanac::NoteGroups shown;
        for (NoteGroup g : groups) shown.show(g, false);
        return shown;
    };
    struct Case { int year, month, column, row; std::wstring want; almanac::NoteGroups shown; } cases[] = {
        {2026, 5, 0, 5, L"2026年5月31日（日）\r\n赤口　旧暦4月15日\r\n乙巳 月齢 14.3 満月 17:45 巳の日", {}},  // the sixth row
        {2026, 5, 1, 5, L"", {}}, {2026, 5, 4, 0, L"", {}},  // after the last day, before the first
        {2026, 2, 2, 2, L"2026年2月17日（火）\r\n先勝　旧暦1月1日\r\n壬戌 月齢 29.3 新月 21:01", {}},
        // the 2033 problem's leap 11th month
        {2033, 12, 4, 3, L"2033年12月22日（木）\r\n大安　旧暦閏11月1日\r\n丁未", hiding({NoteGroup::Moon})},
        {2026, 12, 3, 2, L"2026年12月16日（水）\r\n赤口　旧暦11月8日\r\n甲子 月齢 7.1 一粒万倍日 天赦日 甲子の日", {}},
        {2026, 12, 3, 2, L"2026年12月16日（水）\r\n旧暦11月8日\r\n月齢 7.1", hiding({NoteGroup::Rokuyo, NoteGroup::Sexagenary, NoteGroup::Senjitsu})},
        {2026, 12, 3, 2, L"2026年12月16日（水）\r\n赤口　旧暦11月8日", hiding({NoteGroup::Sexagenary, NoteGroup::Moon, NoteGroup::Senjitsu})},
        {1899, 12, 0, 5, L"1899年12月31日（日）", {}},  // before the old calendar's range: the date alone
        {2101, 1, 6, 0, L"2101年1月1日（土） 元日", {}},
    };
    for (const Case& c : cases) {
        holidays::FeedOrComputedHolidays holidays;
        holidays.selectMonth(makeDate(c.year, c.month, 1));
        CalendarDayTexts texts;
        texts.showMonth(makeDate(c.year, c.month, 1));
        EXPECT_EQ(texts.forCell(c.column, c.row, holidays, {}, c.shown), c.want) << c.year << "-" << c.month << " " << c.column << "," << c.row;
    }
    // The notes after the solar term, and what a room above adds last, a line each: 旧暦3月19日 is
    // (3 + 19) mod 6 = 4, 先負; 己卯 in 巳月 (from 立夏) is 一粒万倍日.
    const almanac::MonthAlmanac may = almanac::MonthAlmanac::forMonth(2026, 5);
    EXPECT_EQ(dayTooltipText(2026, 5, 5, L"こどもの日", may.day(5), {L"10:00 会議"},
                             almanac::MonthNotes::forMonth(2026, 5, may).day(5)),
              L"2026年5月5日（火） こどもの日\r\n先負　旧暦3月19日\r\n立夏\r\n己卯 月齢 17.6 一粒万倍日\r\n10:00 会議");
}

// A calendar shown again says what a fresh one says: after another month of the year, and after
// the same month of another year.
TEST(DayTooltip, TextsFollowTheShownMonth) {
    holidays::FeedOrComputedHolidays holidays;
    CalendarDayTexts reused;
    for (auto [year, month] : {std::pair{2026, 5}, {2026, 6}, {2027, 6}}) {
        reused.showMonth(makeDate(year, month, 1));
        CalendarDayTexts fresh;
        fresh.showMonth(makeDate(year, month, 1));
        EXPECT_EQ(reused.forCell(3, 2, holidays), fresh.forCell(3, 2, holidays)) << year << "-" << month;
    }
}

}  // namespace
}  // namespace tavro::calendar
