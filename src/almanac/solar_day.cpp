#include "almanac/solar_day.h"

#include <cmath>

#include "almanac/astro_time.h"
#include "almanac/solar_longitude.h"

namespace tavro::almanac {
namespace {

constexpr double kMeanRate = 0.98564736;  // degrees a day
// How far from a midnight the one-step estimate must lie to be trusted: it is within minutes.
constexpr double kMargin = 1.0 / 24;

// The Sun's rate along the ecliptic, from its equation of the centre (about ±3 % of the mean).
double rateAt(double tt) {
    const double m = (357.52911 + 0.98560028 * (tt - kJulianDayJ2000)) * (3.14159265358979323846 / 180);
    return kMeanRate + 0.032935 * std::cos(m) + 0.000688 * std::cos(2 * m);
}

// Whether the longitude has passed degrees by 00:00 JST of the day.
bool reachedBy(double degrees, int64_t day) {
    const double tt = ttFromUt(julianDayUtOfJstMidnight(day));
    return std::remainder(apparentSolarLongitude(tt) - degrees, 360.0) > 0;
}

}  // namespace

int64_t dayOfSolarLongitude(double degrees, int64_t nearDay) {
    double t = ttFromUt(julianDayUtOfJstMidnight(nearDay) + 0.5);
    const double mean = 280.46646 + kMeanRate * (t - kJulianDayJ2000);
    t += std::remainder(degrees - mean, 360.0) / kMeanRate;
    // The mean Sun is within about two days of the true one: after one step at the true rate the
    // estimate is minutes from the moment. A longer step (a poor guess) is followed by more.
    for (int i = 0; i < 8; ++i) {
        const double step = std::remainder(degrees - apparentSolarLongitude(t), 360.0) / rateAt(t);
        t += step;
        if (std::abs(step) < 3) break;
    }
    const double ut = utFromTt(t);
    int64_t day = jstDayOf(ut);
    const double intoDay = ut - julianDayUtOfJstMidnight(day);
    if (intoDay < kMargin && reachedBy(degrees, day)) --day;
    else if (intoDay > 1 - kMargin && !reachedBy(degrees, day + 1)) ++day;
    return day;
}

SetsuMonth setsuMonthOfDay(int64_t day) {
    // The longitude at the end of the day tells the month, but for a 節 within a hair of midnight.
    const double endTt = ttFromUt(julianDayUtOfJstMidnight(day + 1));
    const int index = static_cast<int>(normalizedDegrees(apparentSolarLongitude(endTt) - 315) / 30) % 12;
    SetsuMonth month{index, dayOfSolarLongitude(setsuLongitude(index), day - 15),
                     dayOfSolarLongitude(setsuLongitude(index + 1), day + 15)};
    if (day < month.firstDay) return previousSetsuMonth(month);
    if (day >= month.endDay) return nextSetsuMonth(month);
    return month;
}

SetsuMonth nextSetsuMonth(const SetsuMonth& month) {
    const int index = (month.index + 1) % 12;
    return {index, month.endDay, dayOfSolarLongitude(setsuLongitude(index + 1), month.endDay + 30)};
}

SetsuMonth previousSetsuMonth(const SetsuMonth& month) {
    const int index = (month.index + 11) % 12;
    return {index, dayOfSolarLongitude(setsuLongitude(index), month.firstDay - 30), month.firstDay};
}

}  // namespace tavro::almanac
