#include "almanac/note_search.h"

#include <algorithm>
#include <cstdlib>

#include "almanac/astro_time.h"
#include "almanac/new_moon.h"
#include "almanac/senjitsu.h"
#include "almanac/sexagenary.h"
#include "datetime/date_value.h"

namespace tavro::almanac {
namespace {

constexpr int64_t kNear = 62;

}  // namespace

std::wstring_view dayKindName(DayKind kind) {
    static constexpr std::wstring_view kNames[kDayKindCount] = {
        L"大安",   L"一粒万倍日", L"天赦日", L"天赦日と一粒万倍日の重なる日", L"寅の日",
        L"巳の日", L"満月",       L"新月",   L"土用の丑",                     L"祝日",
    };
    const auto i = static_cast<size_t>(kind);
    return i < kDayKindCount ? kNames[i] : std::wstring_view{};
}

int64_t firstSearchDay() { return datetime::daysFromCivil(kFirstAlmanacYear, 1, 1); }
int64_t lastSearchDay() { return datetime::daysFromCivil(kLastAlmanacYear, 12, 31); }

bool DaySearch::isKind(DayKind kind, int64_t day) {
    // What was kept serves the days near the last one asked, not a far jump.
    if (std::abs(day - lastDay_) > kNear) facts_ = DayFacts{};
    lastDay_ = day;
    const int sexagenary = sexagenaryOfDay(day);
    const int dayBranch = branchOf(sexagenary);
    // The cheap tests of the 干支 first: the astronomy only for the days they leave.
    switch (kind) {
        case DayKind::Taian: {
            const OldCalendarDate old = facts_.oldDateOf(day);
            return rokuyoOf(old.month, old.day) == Rokuyo::Taian;
        }
        case DayKind::Ichiryumanbai: return isIchiryumanbai(facts_.setsuMonthOf(day), dayBranch);
        case DayKind::Tenshanichi:
            return (sexagenary == 0 || sexagenary == 14 || sexagenary == 30 || sexagenary == 44) &&
                   isTenshanichi(facts_.setsuMonthOf(day), sexagenary);
        case DayKind::TenshanichiAndIchiryumanbai:
            return isKind(DayKind::Tenshanichi, day) && isIchiryumanbai(facts_.setsuMonthOf(day), dayBranch);
        case DayKind::Toranohi: return dayBranch == branch::kTiger;
        case DayKind::Minohi: return dayBranch == branch::kSnake;
        case DayKind::FullMoon:
        case DayKind::NewMoon: {
            const auto phase = facts_.phaseOn(day);
            return phase && phase->phase == (kind == DayKind::FullMoon ? MoonPhase::Full : MoonPhase::New);
        }
        case DayKind::DoyoUshi:
            return dayBranch == branch::kOx && zassetsuOn(facts_.zassetsuOf(day), day).has(DayNote::DoyoUshi);
        case DayKind::Holiday: return isHoliday_ && isHoliday_(day);
    }
    return false;
}

std::optional<int64_t> DaySearch::find(DayKind kind, int64_t fromDay, SearchDirection direction) {
    const int64_t first = firstSearchDay(), last = lastSearchDay();
    const int64_t step = direction == SearchDirection::Next ? 1 : -1;
    // From outside the range, the range's near end is the first day to look at.
    const int64_t from = std::clamp(fromDay, first - 1, last + 1);
    if (kind == DayKind::FullMoon || kind == DayKind::NewMoon) {
        // From phase to phase of the kind rather than day by day.
        const MoonPhase phase = kind == DayKind::FullMoon ? MoonPhase::Full : MoonPhase::New;
        for (int64_t k = lunationAtOrBefore(ttFromUt(julianDayUtOfJstMidnight(from))) - step;; k += step) {
            const int64_t day = phaseOnDay(k, phase).day;
            if ((day - from) * step <= 0) continue;
            if (day < first || day > last) return std::nullopt;
            return day;
        }
    }
    for (int64_t day = from + step; day >= first && day <= last; day += step) {
        if (isKind(kind, day)) return day;
    }
    return std::nullopt;
}

std::optional<int64_t> findDay(DayKind kind, int64_t fromDay, SearchDirection direction, const HolidayTest& isHoliday) {
    return DaySearch(isHoliday).find(kind, fromDay, direction);
}

}  // namespace tavro::almanac
