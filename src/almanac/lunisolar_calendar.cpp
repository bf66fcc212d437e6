#include "almanac/lunisolar_calendar.h"

#include <cmath>

#include "almanac/astro_time.h"
#include "almanac/new_moon.h"
#include "almanac/solar_longitude.h"
#include "datetime/date_value.h"

namespace tavro::almanac {
namespace {

constexpr double kMeanDegreesPerDay = 360.0 / 365.242189;
constexpr int kWinterSolstice = 18;  // 270°

// The lunation whose new moon falls on or before the JST day.
int64_t lunationOfDay(int64_t day) {
    const double endOfDayTt = ttFromUt(julianDayUtOfJstMidnight(day + 1));
    int64_t k = lunationAtOrBefore(endOfDayTt);
    // The new moon moment may lie within the last instant before midnight: trust the day, not the moment.
    while (newMoonDay(k) > day) --k;
    while (newMoonDay(k + 1) <= day) ++k;
    return k;
}

int64_t dayOfTt(double julianDayTt) { return jstDayOf(utFromTt(julianDayTt)); }

}  // namespace

int64_t newMoonDay(int64_t lunation) { return dayOfTt(newMoonTt(lunation)); }

double solarTermMomentTt(int year, int term) {
    // Term 0 (春分) near March 20; the terms follow at about 15.2 days.
    const double march20 = kJulianDayOfDay0 + static_cast<double>(datetime::daysFromCivil(year, 3, 20));
    int offset = term;
    if (term >= 19) offset -= 24;  // 小寒, 大寒, 立春, 雨水 and 啓蟄 of the year come before 春分
    return solarLongitudeMoment(term * 15.0, march20 + offset * 15.0 / kMeanDegreesPerDay);
}

LunarYear lunarYearFromSolstice(int solsticeYear) {
    const int64_t solsticeDay = dayOfTt(solarTermMomentTt(solsticeYear, kWinterSolstice));
    const int64_t nextSolsticeDay = dayOfTt(solarTermMomentTt(solsticeYear + 1, kWinterSolstice));
    const int64_t k0 = lunationOfDay(solsticeDay);
    const int64_t k1 = lunationOfDay(nextSolsticeDay);

    LunarYear year;
    const int count = static_cast<int>(k1 - k0);
    year.count = count < 12 ? 12 : (count > 13 ? 13 : count);  // 12 or 13 by astronomy
    std::array<int64_t, 14> starts{};
    for (int i = 0; i <= year.count; ++i) starts[i] = newMoonDay(k0 + i);
    year.endDay = starts[year.count];

    int leapIndex = -1;
    if (year.count == 13) {
        // The 中気 after 冬至: 大寒 (300°) … 小雪 (240°), 11 of them for months 1..12.
        std::array<int64_t, 11> principal{};
        const double solsticeTt = solarTermMomentTt(solsticeYear, kWinterSolstice);
        for (int j = 1; j <= 11; ++j) {
            const double degrees = normalizedDegrees(270.0 + 30.0 * j);
            principal[j - 1] = dayOfTt(solarLongitudeMoment(degrees, solsticeTt + 30.0 * j / kMeanDegreesPerDay));
        }
        for (int i = 1; i < 13 && leapIndex < 0; ++i) {
            bool hasPrincipal = false;
            for (int64_t d : principal) hasPrincipal |= d >= starts[i] && d < starts[i + 1];
            if (!hasPrincipal) leapIndex = i;
        }
    }
    int number = 11;
    for (int i = 0; i < year.count; ++i) {
        const bool leap = i == leapIndex;
        if (i > 0 && !leap) number = number % 12 + 1;
        year.months[i] = LunarMonth{starts[i], number, leap};
    }
    return year;
}

std::vector<SolarTermMoment> solarTermsBetween(int64_t firstDay, int64_t endDay) {
    std::vector<SolarTermMoment> out;
    const double startTt = ttFromUt(julianDayUtOfJstMidnight(firstDay));
    const double startLongitude = apparentSolarLongitude(startTt);
    // The multiple of 15° at or below the start was reached before firstDay began.
    for (int n = 1; n <= 3; ++n) {
        const int index = static_cast<int>(std::floor(startLongitude / 15.0)) + n;
        const double degrees = normalizedDegrees(index * 15.0);
        const double gap = normalizedDegrees(index * 15.0 - startLongitude + 15.0) - 15.0;
        const double moment = solarLongitudeMoment(degrees, startTt + gap / kMeanDegreesPerDay);
        const double ut = utFromTt(moment);
        const int64_t day = jstDayOf(ut);
        if (day >= endDay) break;
        if (day >= firstDay) out.push_back({static_cast<int>(std::lround(degrees / 15.0)) % 24, ut});
    }
    return out;
}

}  // namespace tavro::almanac
