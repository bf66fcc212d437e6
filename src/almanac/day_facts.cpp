#include "almanac/day_facts.h"

#include "almanac/astro_time.h"
#include "almanac/new_moon.h"
#include "datetime/date_value.h"

namespace tavro::almanac {
namespace {

PhaseOnDay phaseNumber(int64_t n) {
    const int64_t lunation = n >= 0 ? n / 4 : -((3 - n) / 4);
    return phaseOnDay(lunation, static_cast<MoonPhase>(n - 4 * lunation));
}

}  // namespace

int DayFacts::setsuMonthOf(int64_t day) {
    if (!setsu_) setsu_ = setsuMonthOfDay(day);
    while (day >= setsu_->endDay) setsu_ = nextSetsuMonth(*setsu_);
    while (day < setsu_->firstDay) setsu_ = previousSetsuMonth(*setsu_);
    return setsu_->index;
}

const YearZassetsu& DayFacts::zassetsuOf(int64_t day) {
    const int year = datetime::civilFromDays(day).year;
    if (!zassetsu_ || zassetsu_->year != year) zassetsu_ = zassetsuOfYear(year);
    return *zassetsu_;
}

std::optional<PhaseOnDay> DayFacts::phaseOn(int64_t day) {
    if (!phasesKnown_) {
        phase_ = 4 * lunationAtOrBefore(ttFromUt(julianDayUtOfJstMidnight(day)));
        phases_[0] = phaseNumber(phase_);
        phases_[1] = phaseNumber(phase_ + 1);
        phasesKnown_ = true;
    }
    while (phases_[0].day > day) {
        phases_[1] = phases_[0];
        phases_[0] = phaseNumber(--phase_);
    }
    while (phases_[1].day <= day) {
        phases_[0] = phases_[1];
        phases_[1] = phaseNumber(++phase_ + 1);
    }
    if (phases_[0].day != day) return std::nullopt;
    return phases_[0];
}

int DayFacts::moonAgeTenthsOn(int64_t day) {
    const double noonUt = julianDayUtOfJstMidnight(day) + 0.5;
    const double noonTt = ttFromUt(noonUt);
    if (!newMoonsKnown_) {
        lunation_ = lunationAtOrBefore(noonTt);
        newMoons_[0] = newMoonTt(lunation_);
        newMoons_[1] = newMoonTt(lunation_ + 1);
        newMoonsKnown_ = true;
    }
    while (newMoons_[0] > noonTt) {
        newMoons_[1] = newMoons_[0];
        newMoons_[0] = newMoonTt(--lunation_);
    }
    while (newMoons_[1] <= noonTt) {
        newMoons_[0] = newMoons_[1];
        newMoons_[1] = newMoonTt(++lunation_ + 1);
    }
    return moonAgeTenths(noonUt - utFromTt(newMoons_[0]));
}

OldCalendarDate DayFacts::oldDateOf(int64_t day) {
    // As MonthAlmanac: a civil year's days before its month 11 lie in the lunar year from the 冬至 before.
    if (!lunarYear_) lunarYear_ = lunarYearFromSolstice(solsticeYear_ = datetime::civilFromDays(day).year - 1);
    while (day >= lunarYear_->endDay) lunarYear_ = lunarYearFromSolstice(++solsticeYear_);
    while (day < lunarYear_->months[0].firstDay) lunarYear_ = lunarYearFromSolstice(--solsticeYear_);
    const LunarYear& ly = *lunarYear_;
    int m = 0;
    while (m + 1 < ly.count && ly.months[m + 1].firstDay <= day) ++m;
    return {ly.months[m].number, static_cast<int>(day - ly.months[m].firstDay) + 1, ly.months[m].leap};
}

}  // namespace tavro::almanac
