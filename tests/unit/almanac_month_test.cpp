// The old-calendar months of MonthAlmanac: known leap months, the 2033 problem, and the range
// outside which nothing is told. Every day of 1900 to 2100 (old date, 六曜, term) is compared with
// python3-ephem's events by tests/almanac/check_against_ephem.py.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "almanac/month_almanac.h"
#include "datetime/date_value.h"

namespace tavro::almanac {
namespace {

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
    EXPECT_FALSE(MonthAlmanac::forMonth(2026, 13).day(1) || MonthAlmanac::forMonth(2026, 0).day(1));
    EXPECT_TRUE(MonthAlmanac::forMonth(2100, 12).day(31));
    const auto february = MonthAlmanac::forMonth(2026, 2);
    EXPECT_TRUE(february.day(28));
    EXPECT_FALSE(february.day(29) || february.day(0));
    EXPECT_FALSE(MonthAlmanac{}.day(1));
    // No name past the tables' ends.
    EXPECT_EQ(std::wstring(rokuyoName(static_cast<Rokuyo>(6))) + std::wstring(solarTermName(24)) + std::wstring(solarTermName(-1)), L"");
}

}  // namespace
}  // namespace tavro::almanac
