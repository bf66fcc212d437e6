// The almanac's events against published facts where the day-by-day comparison with python3-ephem
// (tests/almanac/check_against_ephem.py) leaves the JST day unchecked: events within minutes of a
// JST midnight, as the National Astronomical Observatory of Japan's 暦要項 gives them (to the
// minute); and observed ΔT.
#include <gtest/gtest.h>

#include "almanac/astro_time.h"
#include "almanac/lunisolar_calendar.h"
#include "almanac/new_moon.h"
#include "datetime/date_value.h"

namespace tavro::almanac {
namespace {

struct JstMinute { int year, month, day, hour, minute; };

double julianDayUt(const JstMinute& t) {
    return kJulianDayOfDay0 + static_cast<double>(datetime::daysFromCivil(t.year, t.month, t.day)) +
           (t.hour * 60 + t.minute) / 1440.0 - 9.0 / 24.0;
}

// Published to the nearest minute: 30 s of rounding plus the minute the events must keep.
constexpr double kToleranceSeconds = 90;

TEST(AlmanacEvents, EventsNearAJstMidnightFallOnThePublishedDay) {
    const struct { int term; /* -1: a new moon */ JstMinute at; } published[] = {
        {18, {2025, 12, 22, 0, 3}},  // 冬至 three minutes after midnight
        {21, {2021, 2, 3, 23, 59}},  // 立春 a minute before: 節分 on 2/2
        {-1, {2017, 2, 26, 23, 58}}, {-1, {2012, 6, 20, 0, 2}},
    };
    for (const auto& p : published) {
        const int64_t day = datetime::daysFromCivil(p.at.year, p.at.month, p.at.day);
        double ours = 0;
        if (p.term < 0) {
            const int64_t k = lunationAtOrBefore(ttFromUt(julianDayUt(p.at) + 0.5));
            ours = utFromTt(newMoonTt(k));
            EXPECT_EQ(newMoonDay(k), day) << p.at.year << "-" << p.at.month;
        } else {
            const int64_t first = datetime::daysFromCivil(p.at.year, p.at.month, 1);
            for (const SolarTermMoment& t : solarTermsBetween(first, first + datetime::daysInMonth(p.at.year, p.at.month)))
                if (t.term == p.term) ours = t.julianDayUt;
        }
        EXPECT_NEAR(ours, julianDayUt(p.at), kToleranceSeconds / 86400)
            << p.at.year << "-" << p.at.month << " off by " << (ours - julianDayUt(p.at)) * 86400 << " s";
        EXPECT_EQ(jstDayOf(ours), day) << p.at.year << "-" << p.at.month;
    }
}

TEST(AlmanacEvents, DeltaTFollowsTheObservedValues) {
    // TT - UT1 as observed (IERS), seconds.
    const struct { double year, seconds; } observed[] = {{1900, -2.8}, {1925, 23.6}, {1950, 29.1}, {1975, 45.5}, {2000, 63.8}, {2010, 66.1}};
    for (const auto& o : observed) EXPECT_NEAR(deltaTSeconds(o.year), o.seconds, 1.0) << o.year;
    // The extrapolation rises past 2050 without a jump at the change of formula.
    EXPECT_NEAR(deltaTSeconds(2049.999), deltaTSeconds(2050.0), 1.0);
    EXPECT_GT(deltaTSeconds(2100), deltaTSeconds(2050));
}

}  // namespace
}  // namespace tavro::almanac
