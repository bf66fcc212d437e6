// New moons from the series of Meeus (Astronomical Algorithms, 2nd ed., chapter 49, true phases
// with the periodic and planetary corrections; moon_phase.h has all four phases): a few seconds
// from ELP-2000/82 in these centuries.
#pragma once

#include <cstdint>

namespace tavro::almanac {

// The TT moment of lunation k: k = 0 is the new moon of 2000-01-06, one step a synodic month.
double newMoonTt(int64_t k);

// The lunation whose new moon is the last at or before the TT moment.
int64_t lunationAtOrBefore(double julianDayTt);

}  // namespace tavro::almanac
