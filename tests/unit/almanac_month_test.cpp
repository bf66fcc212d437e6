// The old-calendar months, 六曜 and term days of MonthAlmanac: known leap months, the 2033 problem,
// days of printed calendars, and the range outside which nothing is told.
#include <gtest/gtest.h>

#include <vector>

#include "almanac/month_almanac.h"
#include "datetime/date_value.h"

namespace tavro::almanac {
namespace {

struct Expected {
    int year, month, day;
    OldCalendarDate old;
    Rokuyo rokuyo;
    int term;
};

TEST(MonthAlmanac, TellsTheOldDateRokuyoAndTermOfKnownDays) {
    const Expected table[] = {
        // 旧正月 (the first of month 1) is always 先勝
        {2020, 1, 25, {1, 1, false}, Rokuyo::Sensho, -1},
        {2024, 2, 10, {1, 1, false}, Rokuyo::Sensho, -1},
        {2025, 1, 29, {1, 1, false}, Rokuyo::Sensho, -1},
        {2026, 2, 17, {1, 1, false}, Rokuyo::Sensho, -1},
        // the first of each leap month and the day before it
        {2020, 5, 23, {4, 1, true}, Rokuyo::Butsumetsu, -1},
        {2020, 5, 22, {4, 30, false}, Rokuyo::Senbu, -1},
        {2023, 3, 22, {2, 1, true}, Rokuyo::Tomobiki, -1},
        {2025, 7, 25, {6, 1, true}, Rokuyo::Shakku, -1},
        {2025, 7, 24, {6, 30, false}, Rokuyo::Taian, -1},
        {2033, 12, 22, {11, 1, true}, Rokuyo::Taian, -1},
        {2034, 1, 20, {12, 1, false}, Rokuyo::Shakku, 20},  // and 大寒
        // term days: 小雪 2026 (11-22; 11-23 is the 15th, 赤口), 冬至, 春分, 立春
        {2026, 11, 22, {10, 14, false}, Rokuyo::Taian, 16},
        {2026, 11, 23, {10, 15, false}, Rokuyo::Shakku, -1},
        {2026, 12, 22, {11, 14, false}, Rokuyo::Shakku, 18},
        {2025, 3, 20, {2, 21, false}, Rokuyo::Butsumetsu, 0},
        {2025, 2, 3, {1, 6, false}, Rokuyo::Shakku, 21},
        // the range's ends: 1900-01-01 was 旧暦12月1日
        {1900, 1, 1, {12, 1, false}, Rokuyo::Shakku, -1},
    };
    // Every day of 1900 to 2100, 六曜 included, is compared with python3-ephem's events by
    // tests/almanac/check_against_ephem.py.
    for (const Expected& e : table) {
        const auto day = MonthAlmanac::forMonth(e.year, e.month).day(e.day);
        ASSERT_TRUE(day.has_value()) << e.year << "-" << e.month << "-" << e.day;
        EXPECT_EQ(day->old, e.old) << e.year << "-" << e.month << "-" << e.day << ": " << (day->old.leap ? "閏" : "")
                                   << day->old.month << "月" << day->old.day << "日";
        EXPECT_EQ(day->rokuyo, e.rokuyo) << e.year << "-" << e.month << "-" << e.day;
        EXPECT_EQ(day->solarTerm, e.term) << e.year << "-" << e.month << "-" << e.day;
    }
}

// The first day of every leap month between the years, from the day-by-day answers.
std::vector<datetime::CivilDate> leapMonthStarts(int fromYear, int toYear) {
    std::vector<datetime::CivilDate> out;
    for (int y = fromYear; y <= toYear; ++y) {
        for (int m = 1; m <= 12; ++m) {
            const auto almanac = MonthAlmanac::forMonth(y, m);
            for (int d = 1; d <= datetime::daysInMonth(y, m); ++d) {
                const auto day = almanac.day(d);
                if (day && day->old.leap && day->old.day == 1) out.push_back({y, m, d});
            }
        }
    }
    return out;
}

TEST(MonthAlmanac, LeapMonthsAreTheKnownOnesAndThe2033ProblemGivesLeap11) {
    const std::vector<datetime::CivilDate> expected = {
        {2020, 5, 23},   // 閏4月
        {2023, 3, 22},   // 閏2月
        {2025, 7, 25},   // 閏6月
        {2028, 6, 23},   // 閏5月
        {2031, 4, 22},   // 閏3月
        {2033, 12, 22},  // 閏11月: not 閏7月 of 2033 nor 閏1月 of 2034
    };
    EXPECT_EQ(leapMonthStarts(2019, 2034), expected);
}

TEST(MonthAlmanac, NothingOutside1900To2100OrForDaysTheMonthLacks) {
    EXPECT_FALSE(MonthAlmanac::forMonth(1899, 12).day(31));
    EXPECT_FALSE(MonthAlmanac::forMonth(2101, 1).day(1));
    EXPECT_FALSE(MonthAlmanac::forMonth(-5, 1).day(1));
    EXPECT_FALSE(MonthAlmanac::forMonth(2026, 13).day(1));
    EXPECT_FALSE(MonthAlmanac::forMonth(2026, 0).day(1));
    EXPECT_TRUE(MonthAlmanac::forMonth(2100, 12).day(31));
    const auto february = MonthAlmanac::forMonth(2026, 2);
    EXPECT_TRUE(february.day(28));
    EXPECT_FALSE(february.day(29));
    EXPECT_FALSE(february.day(0));
    EXPECT_FALSE(february.day(-1));
    EXPECT_FALSE(MonthAlmanac{}.day(1));
}

}  // namespace
}  // namespace tavro::almanac
