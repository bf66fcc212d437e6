// The Sun's apparent geocentric ecliptic longitude (of date) and the moments it reaches a value:
// VSOP87 for the Earth as truncated by Meeus (Astronomical Algorithms, 2nd ed., appendix III,
// about 1" over these centuries), the FK5 correction, IAU 1980 nutation and annual aberration.
#pragma once

namespace tavro::almanac {

// Degrees in [0, 360) at the TT Julian day.
double apparentSolarLongitude(double julianDayTt);

// The TT moment nearest guessTt (within about 20 days) at which the apparent longitude is degrees.
double solarLongitudeMoment(double degrees, double guessTt);

// Nutation in longitude, degrees.
double nutationInLongitude(double julianDayTt);

}  // namespace tavro::almanac
