#include "almanac/new_moon.h"

#include <cmath>

#include "almanac/moon_phase.h"

namespace tavro::almanac {
namespace {

constexpr double kSynodicMonth = 29.530588861;
constexpr double kFirstNewMoon = 2451550.09766;

}  // namespace

double newMoonTt(int64_t lunation) { return moonPhaseTt(lunation, MoonPhase::New); }

int64_t lunationAtOrBefore(double julianDayTt) {
    auto k = static_cast<int64_t>(std::floor((julianDayTt - kFirstNewMoon) / kSynodicMonth));
    // The true phase strays up to about 14 hours from the mean one.
    while (newMoonTt(k) > julianDayTt) --k;
    while (newMoonTt(k + 1) <= julianDayTt) ++k;
    return k;
}

}  // namespace tavro::almanac
