#include "almanac/new_moon.h"

#include <cmath>
#include <iterator>

namespace tavro::almanac {
namespace {

constexpr double kDegree = 3.14159265358979323846 / 180.0;
constexpr double kSynodicMonth = 29.530588861;
constexpr double kFirstNewMoon = 2451550.09766;

double radians(double degrees) { return std::fmod(degrees, 360.0) * kDegree; }

}  // namespace

double newMoonTt(int64_t lunation) {
    const double k = static_cast<double>(lunation);
    const double t = k / 1236.85;
    const double t2 = t * t, t3 = t2 * t, t4 = t3 * t;
    const double mean = kFirstNewMoon + kSynodicMonth * k + 0.00015437 * t2 - 0.000000150 * t3 + 0.00000000073 * t4;
    const double e = 1 - 0.002516 * t - 0.0000074 * t2;
    const double m = radians(2.5534 + 29.10535670 * k - 0.0000014 * t2 - 0.00000011 * t3);
    const double mp = radians(201.5643 + 385.81693528 * k + 0.0107582 * t2 + 0.00001238 * t3 - 0.000000058 * t4);
    const double f = radians(160.7108 + 390.67050284 * k - 0.0016118 * t2 - 0.00000227 * t3 + 0.000000011 * t4);
    const double om = radians(124.7746 - 1.56375588 * k + 0.0020672 * t2 + 0.00000215 * t3);

    double c = -0.40720 * std::sin(mp) + 0.17241 * e * std::sin(m) + 0.01608 * std::sin(2 * mp) +
               0.01039 * std::sin(2 * f) + 0.00739 * e * std::sin(mp - m) - 0.00514 * e * std::sin(mp + m) +
               0.00208 * e * e * std::sin(2 * m) - 0.00111 * std::sin(mp - 2 * f) - 0.00057 * std::sin(mp + 2 * f) +
               0.00056 * e * std::sin(2 * mp + m) - 0.00042 * std::sin(3 * mp) + 0.00042 * e * std::sin(m + 2 * f) +
               0.00038 * e * std::sin(m - 2 * f) - 0.00024 * e * std::sin(2 * mp - m) - 0.00017 * std::sin(om) -
               0.00007 * std::sin(mp + 2 * m) + 0.00004 * std::sin(2 * mp - 2 * f) + 0.00004 * std::sin(3 * m) +
               0.00003 * std::sin(mp + m - 2 * f) + 0.00003 * std::sin(2 * mp + 2 * f) -
               0.00003 * std::sin(mp + m + 2 * f) + 0.00003 * std::sin(mp - m + 2 * f) -
               0.00002 * std::sin(mp - m - 2 * f) - 0.00002 * std::sin(3 * mp + m) + 0.00002 * std::sin(4 * mp);

    // The planetary arguments A1..A14 and their coefficients.
    struct Planetary {
        double base, rate, coefficient;
    };
    static constexpr Planetary kPlanetary[] = {
        {299.77, 0.107408, 0.000325}, {251.88, 0.016321, 0.000165}, {251.83, 26.651886, 0.000164},
        {349.42, 36.412478, 0.000126}, {84.66, 18.206239, 0.000110}, {141.74, 53.303771, 0.000062},
        {207.14, 2.453732, 0.000060},  {154.84, 7.306860, 0.000056}, {34.52, 27.261239, 0.000047},
        {207.19, 0.121824, 0.000042},  {291.34, 1.844379, 0.000040}, {161.72, 24.198154, 0.000037},
        {239.56, 25.513099, 0.000035}, {331.55, 3.592518, 0.000023},
    };
    for (size_t i = 0; i < std::size(kPlanetary); ++i) {
        const Planetary& p = kPlanetary[i];
        const double a = p.base + p.rate * k - (i == 0 ? 0.009173 * t2 : 0.0);
        c += p.coefficient * std::sin(radians(a));
    }
    return mean + c;
}

int64_t lunationAtOrBefore(double julianDayTt) {
    auto k = static_cast<int64_t>(std::floor((julianDayTt - kFirstNewMoon) / kSynodicMonth));
    // The true phase strays up to about 14 hours from the mean one.
    while (newMoonTt(k) > julianDayTt) --k;
    while (newMoonTt(k + 1) <= julianDayTt) ++k;
    return k;
}

}  // namespace tavro::almanac
