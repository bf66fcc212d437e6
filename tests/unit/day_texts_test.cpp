#include "calendar/day_texts.h"

#include <gtest/gtest.h>

namespace tavro::calendar {
namespace {

using datetime::makeDate;

// What the tooltip of a cell says, with the holidays the calendar uses and the old calendar. (A
// holiday, a 休日, a term and 友引: the end-to-end tooltip test.)
TEST(DayTooltip, TextOfEachKindOfCell) {
    struct Case { int year, month, column, row; std::wstring want; } cases[] = {
        {2026, 5, 0, 5, L"2026年5月31日（日）\r\n赤口　旧暦4月15日"},  // the sixth row
        {2026, 5, 1, 5, L""}, {2026, 5, 4, 0, L""},                    // after the last day, before the first
        {2026, 2, 2, 2, L"2026年2月17日（火）\r\n先勝　旧暦1月1日"},
        {2033, 12, 4, 3, L"2033年12月22日（木）\r\n大安　旧暦閏11月1日"},  // the 2033 problem's leap 11th month
        {1899, 12, 0, 5, L"1899年12月31日（日）"},  // before the old calendar's range: the date alone
        {2101, 1, 6, 0, L"2101年1月1日（土） 元日"},
    };
    for (const Case& c : cases) {
        holidays::FeedOrComputedHolidays holidays;
        holidays.selectMonth(makeDate(c.year, c.month, 1));
        CalendarDayTexts texts;
        texts.showMonth(makeDate(c.year, c.month, 1));
        EXPECT_EQ(texts.forCell(c.column, c.row, holidays), c.want) << c.year << "-" << c.month << " " << c.column << "," << c.row;
    }
    // What a room above adds comes last, a line each: 旧暦3月19日 is (3 + 19) mod 6 = 4, 先負.
    EXPECT_EQ(dayTooltipText(2026, 5, 5, L"こどもの日", almanac::MonthAlmanac::forMonth(2026, 5).day(5), {L"10:00 会議"}),
              L"2026年5月5日（火） こどもの日\r\n先負　旧暦3月19日\r\n立夏\r\n10:00 会議");
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
