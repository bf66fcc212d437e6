#include "almanac/astro_time.h"

#include <cmath>

namespace tavro::almanac {

double deltaTSeconds(double y) {
    // Espenak & Meeus (NASA Five Millennium Canon), piecewise in the decimal year.
    if (y < 1620) {
        const double u = (y - 1820) / 100;
        return -20 + 32 * u * u;
    }
    if (y < 1700) {
        const double t = y - 1600;
        return 120 - 0.9808 * t - 0.01532 * t * t + t * t * t / 7129;
    }
    if (y < 1800) {
        const double t = y - 1700;
        return 8.83 + 0.1603 * t - 0.0059285 * t * t + 0.00013336 * t * t * t - t * t * t * t / 1174000;
    }
    if (y < 1860) {
        const double t = y - 1800;
        const double t2 = t * t, t3 = t2 * t, t4 = t3 * t, t5 = t4 * t, t6 = t5 * t, t7 = t6 * t;
        return 13.72 - 0.332447 * t + 0.0068612 * t2 + 0.0041116 * t3 - 0.00037436 * t4 + 0.0000121272 * t5 -
               0.0000001699 * t6 + 0.000000000875 * t7;
    }
    if (y < 1900) {
        const double t = y - 1860;
        const double t2 = t * t, t3 = t2 * t, t4 = t3 * t, t5 = t4 * t;
        return 7.62 + 0.5737 * t - 0.251754 * t2 + 0.01680668 * t3 - 0.0004473624 * t4 + t5 / 233174;
    }
    if (y < 1920) {
        const double t = y - 1900;
        const double t2 = t * t, t3 = t2 * t, t4 = t3 * t;
        return -2.79 + 1.494119 * t - 0.0598939 * t2 + 0.0061966 * t3 - 0.000197 * t4;
    }
    if (y < 1941) {
        const double t = y - 1920;
        return 21.20 + 0.84493 * t - 0.076100 * t * t + 0.0020936 * t * t * t;
    }
    if (y < 1961) {
        const double t = y - 1950;
        return 29.07 + 0.407 * t - t * t / 233 + t * t * t / 2547;
    }
    if (y < 1986) {
        const double t = y - 1975;
        return 45.45 + 1.067 * t - t * t / 260 - t * t * t / 718;
    }
    if (y < 2005) {
        const double t = y - 2000;
        const double t2 = t * t, t3 = t2 * t, t4 = t3 * t, t5 = t4 * t;
        return 63.86 + 0.3345 * t - 0.060374 * t2 + 0.0017275 * t3 + 0.000651814 * t4 + 0.00002373599 * t5;
    }
    if (y < 2050) {
        const double t = y - 2000;
        return 62.92 + 0.32217 * t + 0.005589 * t * t;
    }
    const double u = (y - 1820) / 100;
    if (y < 2150) return -20 + 32 * u * u - 0.5628 * (2150 - y);
    return -20 + 32 * u * u;
}

double decimalYearOf(double julianDay) { return 2000.0 + (julianDay - kJulianDayJ2000) / 365.25; }

double ttFromUt(double julianDayUt) { return julianDayUt + deltaTSeconds(decimalYearOf(julianDayUt)) / 86400.0; }

double utFromTt(double julianDayTt) { return julianDayTt - deltaTSeconds(decimalYearOf(julianDayTt)) / 86400.0; }

int64_t jstDayOf(double julianDayUt) {
    return static_cast<int64_t>(std::floor(julianDayUt - kJulianDayOfDay0 + 9.0 / 24.0));
}

double julianDayUtOfJstMidnight(int64_t day) { return kJulianDayOfDay0 + static_cast<double>(day) - 9.0 / 24.0; }

double normalizedDegrees(double degrees) {
    double d = std::fmod(degrees, 360.0);
    if (d < 0) d += 360.0;
    return d;
}

}  // namespace tavro::almanac
