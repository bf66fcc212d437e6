#include "almanac/solar_longitude.h"

#include <cmath>
#include <iterator>

#include "almanac/astro_time.h"

namespace tavro::almanac {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kDegree = kPi / 180.0;

// A * cos(B + C * tau), A in 1e-8 rad (1e-8 AU for R), tau in Julian millennia from J2000.
struct Periodic {
    double a, b, c;
};

constexpr Periodic kL0[] = {
    {175347046, 0, 0}, {3341656, 4.6692568, 6283.0758500}, {34894, 4.62610, 12566.15170},
    {3497, 2.7441, 5753.3849}, {3418, 2.8289, 3.5231}, {3136, 3.6277, 77713.7715},
    {2676, 4.4181, 7860.4194}, {2343, 6.1352, 3930.2097}, {1324, 0.7425, 11506.7698},
    {1273, 2.0371, 529.6910}, {1199, 1.1096, 1577.3435}, {990, 5.233, 5884.927},
    {902, 2.045, 26.298}, {857, 3.508, 398.149}, {780, 1.179, 5223.694},
    {753, 2.533, 5507.553}, {505, 4.583, 18849.228}, {492, 4.205, 775.523},
    {357, 2.920, 0.067}, {317, 5.849, 11790.629}, {284, 1.899, 796.298},
    {271, 0.315, 10977.079}, {243, 0.345, 5486.778}, {206, 4.806, 2544.314},
    {205, 1.869, 5573.143}, {202, 2.458, 6069.777}, {156, 0.833, 213.299},
    {132, 3.411, 2942.463}, {126, 1.083, 20.775}, {115, 0.645, 0.980},
    {103, 0.636, 4694.003}, {102, 0.976, 15720.839}, {102, 4.267, 7.114},
    {99, 6.21, 2146.17}, {98, 0.68, 155.42}, {86, 5.98, 161000.69},
    {85, 1.30, 6275.96}, {85, 3.67, 71430.70}, {80, 1.81, 17260.15},
    {79, 3.04, 12036.46}, {75, 1.76, 5088.63}, {74, 3.50, 3154.69},
    {74, 4.68, 801.82}, {70, 0.83, 9437.76}, {62, 3.98, 8827.39},
    {61, 1.82, 7084.90}, {57, 2.78, 6286.60}, {56, 4.39, 14143.50},
    {56, 3.47, 6279.55}, {52, 0.19, 12139.55}, {52, 1.33, 1748.02},
    {51, 0.28, 5856.48}, {49, 0.49, 1194.45}, {41, 5.37, 8429.24},
    {41, 2.40, 19651.05}, {39, 6.17, 10447.39}, {37, 6.04, 10213.29},
    {37, 2.57, 1059.38}, {36, 1.71, 2352.87}, {36, 1.78, 6812.77},
    {33, 0.59, 17789.85}, {30, 0.44, 83996.85}, {30, 2.74, 1349.87},
    {25, 3.16, 4690.48},
};
constexpr Periodic kL1[] = {
    {628331966747, 0, 0}, {206059, 2.678235, 6283.07585}, {4303, 2.6351, 12566.1517},
    {425, 1.590, 3.523}, {119, 5.796, 26.298}, {109, 2.966, 1577.344},
    {93, 2.59, 18849.23}, {72, 1.14, 529.69}, {68, 1.87, 398.15},
    {67, 4.41, 5507.55}, {59, 2.89, 5223.69}, {56, 2.17, 155.42},
    {45, 0.40, 796.30}, {36, 0.47, 775.52}, {29, 2.65, 7.11},
    {21, 5.34, 0.98}, {19, 1.85, 5486.78}, {19, 4.97, 213.30},
    {17, 2.99, 6275.96}, {16, 0.03, 2544.31}, {16, 1.43, 2146.17},
    {15, 1.21, 10977.08}, {12, 2.83, 1748.02}, {12, 3.26, 5088.63},
    {12, 5.27, 1194.45}, {12, 2.08, 4694.00}, {11, 0.77, 553.57},
    {10, 1.30, 6286.60}, {10, 4.24, 1349.87}, {9, 2.70, 242.73},
    {9, 5.64, 951.72}, {8, 5.30, 2352.87}, {6, 2.65, 9437.76},
    {6, 4.67, 4690.48},
};
constexpr Periodic kL2[] = {
    {52919, 0, 0}, {8720, 1.0721, 6283.0758}, {309, 0.867, 12566.152},
    {27, 0.05, 3.52}, {16, 5.19, 26.30}, {16, 3.68, 155.42},
    {10, 0.76, 18849.23}, {9, 2.06, 77713.77}, {7, 0.83, 775.52},
    {5, 4.66, 1577.34}, {4, 1.03, 7.11}, {4, 3.44, 5573.14},
    {3, 5.14, 796.30}, {3, 6.05, 5507.55}, {3, 1.19, 242.73},
    {3, 6.12, 529.69}, {3, 0.31, 398.15}, {3, 2.28, 553.57},
    {2, 4.38, 5223.69}, {2, 3.75, 0.98},
};
constexpr Periodic kL3[] = {
    {289, 5.844, 6283.076}, {35, 0, 0}, {17, 5.49, 12566.15}, {3, 5.20, 155.42},
    {1, 4.72, 3.52}, {1, 5.30, 18849.23}, {1, 5.97, 242.73},
};
constexpr Periodic kL4[] = {{114, 3.142, 0}, {8, 4.13, 6283.08}, {1, 3.84, 12566.15}};
constexpr Periodic kL5[] = {{1, 3.14, 0}};
// The radius vector only scales the aberration (20.5" / R): its main terms are plenty.
constexpr Periodic kR0[] = {
    {100013989, 0, 0}, {1670700, 3.0984635, 6283.0758500}, {13956, 3.05525, 12566.15170},
    {3084, 5.1985, 77713.7715}, {1628, 1.1739, 5753.3849}, {1576, 2.8469, 7860.4194},
};
constexpr Periodic kR1[] = {{103019, 1.107490, 6283.075850}, {1721, 1.0644, 12566.1517}};

template <size_t N>
double sum(const Periodic (&terms)[N], double tau) {
    double s = 0;
    for (const Periodic& p : terms) s += p.a * std::cos(p.b + p.c * tau);
    return s;
}

// IAU 1980 nutation in longitude, the terms of 0.001" and more: multiples of D, M, M', F, Omega,
// then the sine coefficient in 0.0001" and its rate per Julian century.
struct NutationTerm {
    signed char d, m, mp, f, om;
    double psi, psiRate;
};
constexpr NutationTerm kNutation[] = {
    {0, 0, 0, 0, 1, -171996, -174.2}, {-2, 0, 0, 2, 2, -13187, -1.6}, {0, 0, 0, 2, 2, -2274, -0.2},
    {0, 0, 0, 0, 2, 2062, 0.2},       {0, 1, 0, 0, 0, 1426, -3.4},    {0, 0, 1, 0, 0, 712, 0.1},
    {-2, 1, 0, 2, 2, -517, 1.2},      {0, 0, 0, 2, 1, -386, -0.4},    {0, 0, 1, 2, 2, -301, 0},
    {-2, -1, 0, 2, 2, 217, -0.5},     {-2, 0, 1, 0, 0, -158, 0},      {-2, 0, 0, 2, 1, 129, 0.1},
    {0, 0, -1, 2, 2, 123, 0},         {2, 0, 0, 0, 0, 63, 0},         {0, 0, 1, 0, 1, 63, 0.1},
    {2, 0, -1, 2, 2, -59, 0},         {0, 0, -1, 0, 1, -58, -0.1},    {0, 0, 1, 2, 1, -51, 0},
    {-2, 0, 2, 0, 0, 48, 0},          {0, 0, -2, 2, 1, 46, 0},        {2, 0, 0, 2, 2, -38, 0},
    {0, 0, 2, 2, 2, -31, 0},          {0, 0, 2, 0, 0, 29, 0},         {-2, 0, 1, 2, 2, 29, 0},
    {0, 0, 0, 2, 0, 26, 0},           {-2, 0, 0, 2, 0, -22, 0},       {0, 0, -1, 2, 1, 21, 0},
    {0, 2, 0, 0, 0, 17, -0.1},        {2, 0, -1, 0, 1, 16, 0},        {-2, 2, 0, 2, 2, -16, 0.1},
    {0, 1, 0, 0, 1, -15, 0},          {-2, 0, 1, 0, 1, -13, 0},       {0, -1, 0, 0, 1, -12, 0},
    {0, 0, 2, -2, 0, 11, 0},          {2, 0, -1, 2, 1, -10, 0},
};

constexpr double kMeanDegreesPerDay = 360.0 / 365.242189;

}  // namespace

double nutationInLongitude(double julianDayTt) {
    const double t = (julianDayTt - kJulianDayJ2000) / 36525.0;
    const double t2 = t * t, t3 = t2 * t;
    const double d = (297.85036 + 445267.111480 * t - 0.0019142 * t2 + t3 / 189474) * kDegree;
    const double m = (357.52772 + 35999.050340 * t - 0.0001603 * t2 - t3 / 300000) * kDegree;
    const double mp = (134.96298 + 477198.867398 * t + 0.0086972 * t2 + t3 / 56250) * kDegree;
    const double f = (93.27191 + 483202.017538 * t - 0.0036825 * t2 + t3 / 327270) * kDegree;
    const double om = (125.04452 - 1934.136261 * t + 0.0020708 * t2 + t3 / 450000) * kDegree;
    double psi = 0;  // 0.0001"
    for (const NutationTerm& n : kNutation) {
        psi += (n.psi + n.psiRate * t) * std::sin(n.d * d + n.m * m + n.mp * mp + n.f * f + n.om * om);
    }
    return psi / 36000000.0;
}

double apparentSolarLongitude(double julianDayTt) {
    const double tau = (julianDayTt - kJulianDayJ2000) / 365250.0;
    const double l = (sum(kL0, tau) +
                      tau * (sum(kL1, tau) + tau * (sum(kL2, tau) + tau * (sum(kL3, tau) +
                                                                         tau * (sum(kL4, tau) + tau * sum(kL5, tau)))))) /
                     1e8;
    const double r = (sum(kR0, tau) + tau * sum(kR1, tau)) / 1e8;
    const double geometric = l / kDegree + 180.0;
    constexpr double kFk5 = -0.09033 / 3600.0;
    const double aberration = -20.4898 / 3600.0 / r;
    return normalizedDegrees(geometric + kFk5 + nutationInLongitude(julianDayTt) + aberration);
}

double solarLongitudeMoment(double degrees, double guessTt) {
    // Secant steps from a first step at the mean rate: four or five evaluations reach 0.01 s.
    double t0 = guessTt;
    double f0 = std::remainder(degrees - apparentSolarLongitude(t0), 360.0);
    double t1 = t0 + f0 / kMeanDegreesPerDay;
    for (int i = 0; i < 12; ++i) {
        const double f1 = std::remainder(degrees - apparentSolarLongitude(t1), 360.0);
        const double rate = f0 != f1 ? (f0 - f1) / (t1 - t0) : kMeanDegreesPerDay;
        const double step = f1 / (rate > 0.9 && rate < 1.1 ? rate : kMeanDegreesPerDay);
        t0 = t1;
        f0 = f1;
        t1 += step;
        if (std::abs(step) < 1e-7) break;
    }
    return t1;
}

}  // namespace tavro::almanac
