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

TEST(MonthAlmanac, OldDatesRunOnByOneDayAcrossMonthsAndYears) {
    for (int y : {1900, 1999, 2033, 2100}) {
        OldCalendarDate previous;
        for (int m = 1; m <= 12; ++m) {
            const auto almanac = MonthAlmanac::forMonth(y, m);
            for (int d = 1; d <= datetime::daysInMonth(y, m); ++d) {
                const OldCalendarDate now = almanac.day(d)->old;
                if (previous.month != 0 && now.day != 1) {
                    EXPECT_EQ(now.day, previous.day + 1) << y << "-" << m << "-" << d;
                    EXPECT_EQ(now.month, previous.month);
                    EXPECT_EQ(now.leap, previous.leap);
                } else if (previous.month != 0) {
                    EXPECT_GE(previous.day, 29) << y << "-" << m << "-" << d;
                    EXPECT_LE(previous.day, 30);
                    EXPECT_TRUE(now.leap ? now.month == previous.month : now.month == previous.month % 12 + 1)
                        << y << "-" << m << "-" << d;
                }
                previous = now;
            }
        }
    }
}

TEST(MonthAlmanac, RokuyoIsMonthPlusDayModuloSix) {
    const struct {
        int month, day;
        Rokuyo rokuyo;
    } table[] = {
        {1, 1, Rokuyo::Sensho}, {2, 1, Rokuyo::Tomobiki}, {3, 1, Rokuyo::Senbu}, {4, 1, Rokuyo::Butsumetsu},
        {5, 1, Rokuyo::Taian},  {6, 1, Rokuyo::Shakku},   {7, 1, Rokuyo::Sensho}, {12, 30, Rokuyo::Taian},
        {1, 2, Rokuyo::Tomobiki}, {11, 29, Rokuyo::Senbu},
    };
    for (const auto& t : table) EXPECT_EQ(rokuyoOf(t.month, t.day), t.rokuyo) << t.month << "/" << t.day;
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

TEST(MonthAlmanac, Names) {
    EXPECT_EQ(rokuyoName(Rokuyo::Taian), L"大安");
    EXPECT_EQ(rokuyoName(Rokuyo::Shakku), L"赤口");
    EXPECT_EQ(rokuyoName(Rokuyo::Sensho), L"先勝");
    EXPECT_EQ(rokuyoName(Rokuyo::Tomobiki), L"友引");
    EXPECT_EQ(rokuyoName(Rokuyo::Senbu), L"先負");
    EXPECT_EQ(rokuyoName(Rokuyo::Butsumetsu), L"仏滅");
    EXPECT_EQ(rokuyoName(static_cast<Rokuyo>(6)), L"");
    const struct {
        int term;
        const wchar_t* name;
    } terms[] = {{0, L"春分"}, {1, L"清明"}, {3, L"立夏"}, {6, L"夏至"}, {12, L"秋分"},
                 {16, L"小雪"}, {18, L"冬至"}, {21, L"立春"}, {23, L"啓蟄"}};
    for (const auto& t : terms) EXPECT_EQ(solarTermName(t.term), t.name) << t.term;
    EXPECT_EQ(solarTermName(-1), L"");
    EXPECT_EQ(solarTermName(24), L"");
}

}  // namespace
}  // namespace tavro::almanac
