#include "almanac/moon_phase.h"

#include <algorithm>
#include <cmath>
#include <iterator>

#include "almanac/astro_time.h"
#include "almanac/new_moon.h"

namespace tavro::almanac {
namespace {

constexpr double kDegree = 3.14159265358979323846 / 180.0;
constexpr double kSynodicMonth = 29.530588861;
constexpr double kFirstNewMoon = 2451550.09766;

double radians(double degrees) { return std::fmod(degrees, 360.0) * kDegree; }

// sin(m·M + mp·M' + f·F + om·Ω), times E to the power e (the Sun's eccentricity factor).
struct Term {
    signed char e, m, mp, f, om;
};
// The arguments shared by the new and the full moon, with each one's coefficient (days).
struct SyzygyTerm {
    Term arg;
    double atNew, atFull;
};
constexpr SyzygyTerm kSyzygy[] = {
    {{0, 0, 1, 0, 0}, -0.40720, -0.40614}, {{1, 1, 0, 0, 0}, 0.17241, 0.17302},
    {{0, 0, 2, 0, 0}, 0.01608, 0.01614},   {{0, 0, 0, 2, 0}, 0.01039, 0.01043},
    {{1, -1, 1, 0, 0}, 0.00739, 0.00734},  {{1, 1, 1, 0, 0}, -0.00514, -0.00515},
    {{2, 2, 0, 0, 0}, 0.00208, 0.00209},   {{0, 0, 1, -2, 0}, -0.00111, -0.00111},
    {{0, 0, 1, 2, 0}, -0.00057, -0.00057}, {{1, 1, 2, 0, 0}, 0.00056, 0.00056},
    {{0, 0, 3, 0, 0}, -0.00042, -0.00042}, {{1, 1, 0, 2, 0}, 0.00042, 0.00042},
    {{1, 1, 0, -2, 0}, 0.00038, 0.00038},  {{1, -1, 2, 0, 0}, -0.00024, -0.00024},
    {{0, 0, 0, 0, 1}, -0.00017, -0.00017}, {{0, 2, 1, 0, 0}, -0.00007, -0.00007},
    {{0, 0, 2, -2, 0}, 0.00004, 0.00004},  {{0, 3, 0, 0, 0}, 0.00004, 0.00004},
    {{0, 1, 1, -2, 0}, 0.00003, 0.00003},  {{0, 0, 2, 2, 0}, 0.00003, 0.00003},
    {{0, 1, 1, 2, 0}, -0.00003, -0.00003}, {{0, -1, 1, 2, 0}, 0.00003, 0.00003},
    {{0, -1, 1, -2, 0}, -0.00002, -0.00002}, {{0, 1, 3, 0, 0}, -0.00002, -0.00002},
    {{0, 0, 4, 0, 0}, 0.00002, 0.00002},
};
struct QuarterTerm {
    Term arg;
    double coefficient;
};
constexpr QuarterTerm kQuarter[] = {
    {{0, 0, 1, 0, 0}, -0.62801},  {{1, 1, 0, 0, 0}, 0.17172},   {{1, 1, 1, 0, 0}, -0.01183},
    {{0, 0, 2, 0, 0}, 0.00862},   {{0, 0, 0, 2, 0}, 0.00804},   {{1, -1, 1, 0, 0}, 0.00454},
    {{2, 2, 0, 0, 0}, 0.00204},   {{0, 0, 1, -2, 0}, -0.00180}, {{0, 0, 1, 2, 0}, -0.00070},
    {{0, 0, 3, 0, 0}, -0.00040},  {{1, -1, 2, 0, 0}, -0.00034}, {{1, 1, 0, 2, 0}, 0.00032},
    {{1, 1, 0, -2, 0}, 0.00032},  {{2, 2, 1, 0, 0}, -0.00028},  {{1, 1, 2, 0, 0}, 0.00027},
    {{0, 0, 0, 0, 1}, -0.00017},  {{0, -1, 1, -2, 0}, -0.00005}, {{0, 0, 2, 2, 0}, 0.00004},
    {{0, 1, 1, 2, 0}, -0.00004},  {{0, -2, 1, 0, 0}, 0.00004},  {{0, 1, 1, -2, 0}, 0.00003},
    {{0, 3, 0, 0, 0}, 0.00003},   {{0, 0, 2, -2, 0}, 0.00002},  {{0, -1, 1, 2, 0}, 0.00002},
    {{0, 1, 3, 0, 0}, -0.00002},
};
// The planetary arguments A1..A14 and their coefficients, the same for every phase.
struct Planetary {
    double base, rate, coefficient;
};
constexpr Planetary kPlanetary[] = {
    {299.77, 0.107408, 0.000325}, {251.88, 0.016321, 0.000165}, {251.83, 26.651886, 0.000164},
    {349.42, 36.412478, 0.000126}, {84.66, 18.206239, 0.000110}, {141.74, 53.303771, 0.000062},
    {207.14, 2.453732, 0.000060},  {154.84, 7.306860, 0.000056}, {34.52, 27.261239, 0.000047},
    {207.19, 0.121824, 0.000042},  {291.34, 1.844379, 0.000040}, {161.72, 24.198154, 0.000037},
    {239.56, 25.513099, 0.000035}, {331.55, 3.592518, 0.000023},
};

struct Arguments {
    double e, m, mp, f, om;  // E, then radians
    double sinOf(const Term& t) const {
        const double s = std::sin(t.m * m + t.mp * mp + t.f * f + t.om * om);
        return t.e == 0 ? s : (t.e == 1 ? e * s : e * e * s);
    }
};

}  // namespace

double moonPhaseTt(int64_t lunation, MoonPhase phase) {
    const double k = static_cast<double>(lunation) + static_cast<int>(phase) * 0.25;
    const double t = k / 1236.85;
    const double t2 = t * t, t3 = t2 * t, t4 = t3 * t;
    const double mean = kFirstNewMoon + kSynodicMonth * k + 0.00015437 * t2 - 0.000000150 * t3 + 0.00000000073 * t4;
    const Arguments a{
        1 - 0.002516 * t - 0.0000074 * t2,
        radians(2.5534 + 29.10535670 * k - 0.0000014 * t2 - 0.00000011 * t3),
        radians(201.5643 + 385.81693528 * k + 0.0107582 * t2 + 0.00001238 * t3 - 0.000000058 * t4),
        radians(160.7108 + 390.67050284 * k - 0.0016118 * t2 - 0.00000227 * t3 + 0.000000011 * t4),
        radians(124.7746 - 1.56375588 * k + 0.0020672 * t2 + 0.00000215 * t3),
    };
    double c = 0;
    if (phase == MoonPhase::New || phase == MoonPhase::Full) {
        for (const SyzygyTerm& s : kSyzygy) c += (phase == MoonPhase::New ? s.atNew : s.atFull) * a.sinOf(s.arg);
    } else {
        for (const QuarterTerm& q : kQuarter) c += q.coefficient * a.sinOf(q.arg);
        const double w = 0.00306 - 0.00038 * a.e * std::cos(a.m) + 0.00026 * std::cos(a.mp) -
                         0.00002 * std::cos(a.mp - a.m) + 0.00002 * std::cos(a.mp + a.m) + 0.00002 * std::cos(2 * a.f);
        c += phase == MoonPhase::FirstQuarter ? w : -w;
    }
    for (size_t i = 0; i < std::size(kPlanetary); ++i) {
        const Planetary& p = kPlanetary[i];
        c += p.coefficient * std::sin(radians(p.base + p.rate * k - (i == 0 ? 0.009173 * t2 : 0.0)));
    }
    return mean + c;
}

PhaseOnDay phaseOnDay(int64_t lunation, MoonPhase phase) {
    const double ut = utFromTt(moonPhaseTt(lunation, phase));
    const int64_t day = jstDayOf(ut);
    const auto minute = std::llround((ut - julianDayUtOfJstMidnight(day)) * 1440.0);
    return {phase, day, static_cast<int>(std::clamp<long long>(minute, 0, 1439))};
}

double moonAgeAtNoon(int64_t day) {
    const double noonUt = julianDayUtOfJstMidnight(day) + 0.5;
    return noonUt - utFromTt(newMoonTt(lunationAtOrBefore(ttFromUt(noonUt))));
}

int moonAgeTenths(double ageDays) { return static_cast<int>(std::floor(ageDays * 10 + 0.5)); }

std::wstring_view moonPhaseName(MoonPhase phase) {
    static constexpr std::wstring_view kNames[] = {L"新月", L"上弦", L"満月", L"下弦"};
    return kNames[static_cast<size_t>(phase) % 4];
}

std::wstring_view moonPhaseSymbol(MoonPhase phase) {
    static constexpr std::wstring_view kSymbols[] = {L"●", L"◐", L"○", L"◑"};
    return kSymbols[static_cast<size_t>(phase) % 4];
}

}  // namespace tavro::almanac
