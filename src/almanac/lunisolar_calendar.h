// The old calendar's months and the solar terms as JST days. A month runs from the day of a new
// moon to the day before the next; the month holding 冬至 is month 11; when 13 months lie between
// two such months, the first of them without a 中気 (a term at a multiple of 30°) is the leap month
// and repeats the number of the month before it.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace tavro::almanac {

struct LunarMonth {
    int64_t firstDay = 0;  // JST day count, as datetime::daysFromCivil
    int number = 0;        // 1..12
    bool leap = false;
};

// The months from the one holding 冬至 of solsticeYear up to the one holding 冬至 of the year after.
struct LunarYear {
    std::array<LunarMonth, 13> months{};
    int count = 0;       // 12 or 13
    int64_t endDay = 0;  // the first day of the next month 11
};

LunarYear lunarYearFromSolstice(int solsticeYear);

// Term 0 is 春分 (0°), term 1 清明 (15°), … term 23 啓蟄 (345°).
struct SolarTermMoment {
    int term = 0;
    double julianDayUt = 0;
};

// The terms whose JST day lies in [firstDay, endDay), in order.
std::vector<SolarTermMoment> solarTermsBetween(int64_t firstDay, int64_t endDay);

// The JST day of lunation k's new moon.
int64_t newMoonDay(int64_t lunation);

// The TT moment of the term in the given year (冬至 in December, 小寒 in January, …).
double solarTermMomentTt(int year, int term);

}  // namespace tavro::almanac
