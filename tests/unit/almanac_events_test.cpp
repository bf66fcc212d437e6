// The almanac's events against published facts: solar terms and new moons of the National
// Astronomical Observatory of Japan's 暦要項 (JST, to the minute), and observed ΔT.
#include <gtest/gtest.h>

#include <cmath>

#include "almanac/astro_time.h"
#include "almanac/lunisolar_calendar.h"
#include "almanac/new_moon.h"
#include "almanac/solar_longitude.h"
#include "datetime/date_value.h"

namespace tavro::almanac {
namespace {

struct JstMinute {
    int year, month, day, hour, minute;
};

double julianDayUt(const JstMinute& t) {
    return kJulianDayOfDay0 + static_cast<double>(datetime::daysFromCivil(t.year, t.month, t.day)) +
           (t.hour * 60 + t.minute) / 1440.0 - 9.0 / 24.0;
}

// Published to the nearest minute: 30 s of rounding plus the minute the events must keep.
constexpr double kToleranceSeconds = 90;

struct PublishedTerm {
    int term;
    JstMinute at;
};

TEST(AlmanacEvents, SolarTermsMatchTheObservatoryToTheMinute) {
    const PublishedTerm published[] = {
        // 2008 (平成20年暦要項)
        {19, {2008, 1, 6, 8, 25}}, {20, {2008, 1, 21, 1, 44}}, {21, {2008, 2, 4, 20, 0}},
        {0, {2008, 3, 20, 14, 48}}, {6, {2008, 6, 21, 8, 59}}, {12, {2008, 9, 23, 0, 45}},
        {16, {2008, 11, 22, 7, 44}}, {18, {2008, 12, 21, 21, 4}},
        // 2024 to 2026: equinoxes and solstices
        {0, {2024, 3, 20, 12, 6}}, {6, {2024, 6, 21, 5, 51}}, {12, {2024, 9, 22, 21, 44}},
        {0, {2025, 3, 20, 18, 1}}, {6, {2025, 6, 21, 11, 42}}, {12, {2025, 9, 23, 3, 19}},
        {18, {2025, 12, 22, 0, 3}}, {0, {2026, 3, 20, 23, 46}}, {6, {2026, 6, 21, 17, 25}},
        {12, {2026, 9, 23, 9, 5}}, {16, {2026, 11, 22, 16, 23}}, {18, {2026, 12, 22, 5, 50}},
    };
    for (const PublishedTerm& p : published) {
        const int64_t first = datetime::daysFromCivil(p.at.year, p.at.month, 1);
        const auto terms = solarTermsBetween(first, first + datetime::daysInMonth(p.at.year, p.at.month));
        const SolarTermMoment* found = nullptr;
        for (const SolarTermMoment& t : terms) {
            if (t.term == p.term) found = &t;
        }
        ASSERT_NE(found, nullptr) << p.at.year << "-" << p.at.month << " term " << p.term;
        EXPECT_NEAR(found->julianDayUt, julianDayUt(p.at), kToleranceSeconds / 86400)
            << p.at.year << "-" << p.at.month << "-" << p.at.day << " term " << p.term << " off by "
            << (found->julianDayUt - julianDayUt(p.at)) * 86400 << " s";
        EXPECT_EQ(jstDayOf(found->julianDayUt), datetime::daysFromCivil(p.at.year, p.at.month, p.at.day));
        // The moment is where the Sun's apparent longitude is the term's.
        const double longitude = apparentSolarLongitude(ttFromUt(found->julianDayUt));
        EXPECT_NEAR(std::remainder(longitude - p.term * 15.0, 360.0), 0.0, 1e-6);
    }
}

TEST(AlmanacEvents, NewMoonsMatchTheObservatoryToTheMinute) {
    const JstMinute published[] = {
        // 2025 (令和7年暦要項, 朔)
        {2025, 1, 29, 21, 36}, {2025, 2, 28, 9, 45}, {2025, 3, 29, 19, 58}, {2025, 4, 28, 4, 31},
        {2025, 5, 27, 12, 2},  {2025, 6, 25, 19, 31}, {2025, 7, 25, 4, 11}, {2025, 8, 23, 15, 7},
        {2025, 9, 22, 4, 54},  {2025, 10, 21, 21, 25}, {2025, 11, 20, 15, 47}, {2025, 12, 20, 10, 43},
    };
    for (const JstMinute& p : published) {
        const double expected = julianDayUt(p);
        const int64_t k = lunationAtOrBefore(ttFromUt(expected + 0.5));
        const double ours = utFromTt(newMoonTt(k));
        EXPECT_NEAR(ours, expected, kToleranceSeconds / 86400)
            << p.year << "-" << p.month << "-" << p.day << " off by " << (ours - expected) * 86400 << " s";
        EXPECT_EQ(newMoonDay(k), datetime::daysFromCivil(p.year, p.month, p.day));
    }
}

TEST(AlmanacEvents, DeltaTFollowsTheObservedValues) {
    // TT - UT1 as observed (IERS), seconds.
    const struct {
        double year, seconds;
    } observed[] = {{1900, -2.8}, {1925, 23.6}, {1950, 29.1}, {1975, 45.5}, {2000, 63.8}, {2010, 66.1}};
    for (const auto& o : observed) EXPECT_NEAR(deltaTSeconds(o.year), o.seconds, 1.0) << o.year;
    // The extrapolation rises past 2050 without a jump at the change of formula.
    EXPECT_NEAR(deltaTSeconds(2049.999), deltaTSeconds(2050.0), 1.0);
    EXPECT_GT(deltaTSeconds(2100), deltaTSeconds(2050));
}

}  // namespace
}  // namespace tavro::almanac
