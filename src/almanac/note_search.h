// 「次の…」: from a day, the next (or previous) day of a kind, within 1900-01-01 .. 2100-12-31.
// Days are JST day counts, as datetime::daysFromCivil counts them.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>
#include <utility>

#include "almanac/day_facts.h"

namespace tavro::almanac {

enum class DayKind {
    Taian,                        // 大安 (六曜)
    Ichiryumanbai,                // 一粒万倍日
    Tenshanichi,                  // 天赦日
    TenshanichiAndIchiryumanbai,  // 天赦日と一粒万倍日の重なる日
    Toranohi,                     // 寅の日
    Minohi,                       // 巳の日
    FullMoon,                     // 満月 (the JST day of the full moon)
    NewMoon,                      // 新月
    DoyoUshi,                     // 土用の丑
    Holiday,                      // a holiday, as the caller's test tells
};
inline constexpr int kDayKindCount = 10;

// The menu's names: L"大安", L"一粒万倍日", L"天赦日", L"天赦日と一粒万倍日の重なる日", L"寅の日",
// L"巳の日", L"満月", L"新月", L"土用の丑", L"祝日".
std::wstring_view dayKindName(DayKind kind);

enum class SearchDirection { Next, Previous };

// Whether the day is a holiday; kept outside this folder (the holidays know).
using HolidayTest = std::function<bool(int64_t day)>;

// 1900-01-01 and 2100-12-31 as day counts.
int64_t firstSearchDay();
int64_t lastSearchDay();

// Keeps what it worked out between searches (pressing F3 again costs little). Not thread-safe.
class DaySearch {
public:
    explicit DaySearch(HolidayTest isHoliday = {}) : isHoliday_(std::move(isHoliday)) {}

    // The first day of the kind after fromDay (Next) or before it (Previous), fromDay itself never;
    // nullopt when none lies between it and the end of the range. A fromDay outside the range
    // searches from the range's end nearest to it. Holiday without a test finds nothing.
    std::optional<int64_t> find(DayKind kind, int64_t fromDay, SearchDirection direction);

    // Whether the day is of the kind (any day; 1900..2100 is where the almanac is checked).
    bool isKind(DayKind kind, int64_t day);

private:
    HolidayTest isHoliday_;
    DayFacts facts_;
    int64_t lastDay_ = 0;  // the day last asked about
};

// One search with nothing kept.
std::optional<int64_t> findDay(DayKind kind, int64_t fromDay, SearchDirection direction,
                               const HolidayTest& isHoliday = {});

}  // namespace tavro::almanac
