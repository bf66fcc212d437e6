// What the notes of a day are made of, asked day after day: each answer keeps what neighbouring
// days share (the 節月, the year's 雑節, the lunation, the lunar year) and steps from it to the next
// or the one before, so walking a month or two centuries costs the astronomy of each of those once.
// Made for days near one another: for a day far from the last one asked, start a new one.
#pragma once

#include <cstdint>
#include <optional>

#include "almanac/lunisolar_calendar.h"
#include "almanac/month_almanac.h"
#include "almanac/moon_phase.h"
#include "almanac/solar_day.h"
#include "almanac/zassetsu.h"

namespace tavro::almanac {

class DayFacts {
public:
    // 0 = 寅月 … 11 = 丑月.
    int setsuMonthOf(int64_t day);
    // The 雑節 of the day's civil year.
    const YearZassetsu& zassetsuOf(int64_t day);
    // The principal phase whose JST day it is, if any.
    std::optional<PhaseOnDay> phaseOn(int64_t day);
    // 月齢 at noon JST in tenths (moon_phase.h).
    int moonAgeTenthsOn(int64_t day);
    // The old-calendar date, as MonthAlmanac tells it for 1900..2100.
    OldCalendarDate oldDateOf(int64_t day);

private:
    std::optional<SetsuMonth> setsu_;
    std::optional<YearZassetsu> zassetsu_;
    // Phases counted 4 a lunation: phases_[0] is the last on or before the day asked, [1] the next.
    bool phasesKnown_ = false;
    int64_t phase_ = 0;
    PhaseOnDay phases_[2];
    // The new moon (TT) last at or before the noon asked, lunation_, and the next one.
    bool newMoonsKnown_ = false;
    int64_t lunation_ = 0;
    double newMoons_[2] = {0, 0};
    std::optional<LunarYear> lunarYear_;  // from 冬至 of solsticeYear_
    int solsticeYear_ = 0;
};

}  // namespace tavro::almanac
