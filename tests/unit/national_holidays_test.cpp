#include "holidays/national_holidays.h"
#include "datetime/date_format.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <set>
#include <string>

#include "../../tools/native/holiday_list_native.h"
#include "holidays/holiday_list.h"

namespace tavro::holidays {
namespace {

using datetime::makeDate;

std::set<double> datesOf(const std::vector<NationalHoliday>& list) {
    std::set<double> out;
    for (const NationalHoliday& h : list) out.insert(h.date);
    return out;
}

// Every date and name of the Cabinet Office list (1955 to 2027), in order, no more and no fewer.
TEST(NationalHolidays, MatchEveryDateAndNameOfTheCabinetOfficeList) {
    const auto list = checkHolidayList(native::officialListBytes(), 2027, native::decodeCp932);
    ASSERT_TRUE(list) << "tests/data/syukujitsu.csv";
    const auto official = list->between(makeDate(1955, 1, 1), makeDate(2027, 12, 31));
    const auto ours = nationalHolidays(makeDate(1955, 1, 1), makeDate(2027, 12, 31));
    ASSERT_EQ(official.size(), 1067u);
    EXPECT_EQ(ours.size(), official.size());
    for (size_t i = 0; i < std::min(ours.size(), official.size()); ++i)
        ASSERT_EQ(ours[i], official[i]) << datetime::formatDateTime(official[i].date);
}

// Beyond the list, by hand: the equinox formula, a day between two holidays, the rules' edges
// and bad ranges. (Substitute Mondays and the Happy Mondays are all in the list.)
TEST(NationalHolidays, BeyondTheListAndAtTheEdges) {
    const double nan = std::numeric_limits<double>::quiet_NaN(), inf = std::numeric_limits<double>::infinity();
    struct Case { double from, to; std::set<double> dates; } cases[] = {
        {makeDate(2100, 3, 1), makeDate(2100, 3, 31), {makeDate(2100, 3, 20)}},  // the old constant gave 3/19
        {makeDate(2150, 3, 1), makeDate(2400, 1, 1),
         {makeDate(2150, 3, 21), makeDate(2150, 4, 29), makeDate(2150, 5, 3), makeDate(2150, 5, 4),
          makeDate(2150, 5, 5), makeDate(2150, 5, 6), makeDate(2150, 7, 20), makeDate(2150, 8, 11),
          makeDate(2150, 9, 21), makeDate(2150, 9, 22), makeDate(2150, 9, 23), makeDate(2150, 10, 12),
          makeDate(2150, 11, 3), makeDate(2150, 11, 23)}},
        {makeDate(1900, 1, 1), makeDate(1948, 12, 31),
         {makeDate(1948, 9, 23), makeDate(1948, 11, 3), makeDate(1948, 11, 23)}},  // the Act from 1948-07-20
        {makeDate(2019, 5, 1) + 0.9, makeDate(2019, 5, 1) + 0.1, {makeDate(2019, 5, 1)}},  // time of day ignored
        {nan, makeDate(2020, 1, 1), {}}, {makeDate(2020, 1, 1), nan, {}},
        {makeDate(2020, 12, 31), makeDate(2020, 1, 1), {}}, {inf, -inf, {}},
    };
    for (const Case& c : cases) EXPECT_EQ(datesOf(nationalHolidays(c.from, c.to)), c.dates) << c.from;
}

}  // namespace
}  // namespace tavro::holidays
