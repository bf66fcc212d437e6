// Prints the almanac's events and days for a range of years, for the cross-check against another
// ephemeris (tests/almanac/check_against_ephem.py):
//   N <UT Julian day> <TT Julian day>                 a new moon
//   P <phase 0..3> <UT Julian day> <TT Julian day>    a principal phase (新月, 上弦, 満月, 下弦)
//   T <term 0..23> <UT Julian day> <TT Julian day>    a solar term
//   D <y> <m> <d> <old month> <old day> <leap 0/1> <rokuyo 0..5> <term or -1>
//     <干支 0..59> <月齢 in tenths> <phase 0..3 or -1> <its JST minute> <notes, a bit per DayNote>
#include <cstdio>
#include <cstdlib>

#include "almanac/astro_time.h"
#include "almanac/day_notes.h"
#include "almanac/lunisolar_calendar.h"
#include "almanac/month_almanac.h"
#include "almanac/moon_phase.h"
#include "almanac/new_moon.h"
#include "datetime/date_value.h"

using namespace tavro;

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: almanac_dump FIRST_YEAR LAST_YEAR\n");
        return 2;
    }
    const int first = std::atoi(argv[1]);
    const int last = std::atoi(argv[2]);
    const int64_t firstDay = datetime::daysFromCivil(first, 1, 1);
    const int64_t endDay = datetime::daysFromCivil(last + 1, 1, 1);

    const int64_t firstLunation =
        almanac::lunationAtOrBefore(almanac::ttFromUt(almanac::julianDayUtOfJstMidnight(firstDay)));
    for (int64_t k = firstLunation;; ++k) {
        const double moment = almanac::newMoonTt(k);
        const double ut = almanac::utFromTt(moment);
        if (almanac::jstDayOf(ut) >= endDay) break;
        if (almanac::jstDayOf(ut) >= firstDay) std::printf("N %.6f %.6f\n", ut, moment);
    }
    for (int64_t k = firstLunation - 1;; ++k) {
        if (almanac::newMoonDay(k) >= endDay) break;
        for (int phase = 0; phase < 4; ++phase) {
            const double moment = almanac::moonPhaseTt(k, static_cast<almanac::MoonPhase>(phase));
            const double ut = almanac::utFromTt(moment);
            const int64_t day = almanac::jstDayOf(ut);
            if (day >= firstDay && day < endDay) std::printf("P %d %.6f %.6f\n", phase, ut, moment);
        }
    }
    for (int y = first; y <= last; ++y) {
        for (int m = 1; m <= 12; ++m) {
            const int64_t monthStart = datetime::daysFromCivil(y, m, 1);
            for (const auto& term : almanac::solarTermsBetween(monthStart, monthStart + datetime::daysInMonth(y, m))) {
                std::printf("T %d %.6f %.6f\n", term.term, term.julianDayUt, almanac::ttFromUt(term.julianDayUt));
            }
            const auto month = almanac::MonthAlmanac::forMonth(y, m);
            const auto notes = almanac::MonthNotes::forMonth(y, m, month);
            for (int d = 1; d <= datetime::daysInMonth(y, m); ++d) {
                const auto day = month.day(d);
                const auto note = notes.day(d);
                if (!day || !note) continue;
                std::printf("D %d %d %d %d %d %d %d %d %d %d %d %d %u\n", y, m, d, day->old.month, day->old.day,
                            day->old.leap ? 1 : 0, static_cast<int>(day->rokuyo), day->solarTerm, note->sexagenary,
                            note->moonAgeTenths, note->phase ? static_cast<int>(*note->phase) : -1, note->phaseMinute,
                            static_cast<unsigned>(note->notes.bits));
            }
        }
    }
    return 0;
}
