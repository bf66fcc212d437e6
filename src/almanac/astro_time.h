// Julian days in UT and TT, ΔT between them, and the JST civil day a moment falls on.
// Days are counted as datetime::daysFromCivil counts them (0 = 1899-12-30).
#pragma once

#include <cstdint>

namespace tavro::almanac {

// Julian day of 1899-12-30 00:00, day 0 of datetime::daysFromCivil.
inline constexpr double kJulianDayOfDay0 = 2415018.5;
inline constexpr double kJulianDayJ2000 = 2451545.0;

// TT - UT in seconds: the polynomials of Espenak and Meeus, 1620 to 2150 (parabolic outside).
double deltaTSeconds(double decimalYear);

double decimalYearOf(double julianDay);
double ttFromUt(double julianDayUt);
double utFromTt(double julianDayTt);

// The JST (UTC+9) day, as a day count, on which the UT moment falls.
int64_t jstDayOf(double julianDayUt);
// UT Julian day of 00:00 JST on the given day.
double julianDayUtOfJstMidnight(int64_t day);

// Degrees reduced to [0, 360).
double normalizedDegrees(double degrees);

}  // namespace tavro::almanac
