// 「次の…」: the days a search walks to, on the published 2026 lists and the ends of 1900 to 2100.
#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "almanac/note_search.h"
#include "datetime/date_value.h"

namespace tavro::almanac {
namespace {

using datetime::CivilDate;
using datetime::daysFromCivil;

// Every day of the kind from (exclusive) until the first after `until`, through one DaySearch.
std::vector<CivilDate> walk(DaySearch& search, DayKind kind, CivilDate from, CivilDate until,
                            SearchDirection direction) {
    std::vector<CivilDate> out;
    std::optional<int64_t> day = daysFromCivil(from.year, from.month, from.day);
    const int64_t end = daysFromCivil(until.year, until.month, until.day);
    while ((day = search.find(kind, *day, direction))) {
        out.push_back(datetime::civilFromDays(*day));
        if (direction == SearchDirection::Next ? *day > end : *day < end) break;
    }
    return out;
}

TEST(NoteSearch, WalksThePublishedDaysBothWays) {
    DaySearch search;
    const std::vector<CivilDate> tensha2026 = {{2026, 3, 5}, {2026, 5, 4}, {2026, 5, 20}, {2026, 7, 19},
                                               {2026, 10, 1}, {2026, 12, 16}};
    auto forward = walk(search, DayKind::Tenshanichi, {2025, 12, 31}, {2026, 12, 31}, SearchDirection::Next);
    forward.pop_back();  // the first of 2027
    EXPECT_EQ(forward, tensha2026);
    auto backward = walk(search, DayKind::Tenshanichi, {2027, 1, 1}, {2026, 1, 1}, SearchDirection::Previous);
    backward.pop_back();
    EXPECT_EQ(std::vector<CivilDate>(backward.rbegin(), backward.rend()), tensha2026);

    const struct { DayKind kind; CivilDate from, expected; } firsts[] = {
        {DayKind::TenshanichiAndIchiryumanbai, {2026, 3, 5}, {2026, 7, 19}},  // 5/4 and 5/20 are not 一粒万倍日
        {DayKind::Ichiryumanbai, {2026, 1, 5}, {2026, 1, 14}},
        {DayKind::Toranohi, {2026, 3, 5}, {2026, 3, 17}},
        {DayKind::Minohi, {2026, 1, 18}, {2026, 1, 19}},
        {DayKind::FullMoon, {2026, 1, 3}, {2026, 2, 2}},
        {DayKind::NewMoon, {2026, 1, 1}, {2026, 1, 19}},
        {DayKind::DoyoUshi, {2025, 7, 19}, {2025, 7, 31}},
        {DayKind::DoyoUshi, {2026, 7, 26}, {2026, 10, 30}},
        {DayKind::Taian, {2026, 1, 1}, {2026, 1, 7}},    // 旧11月13日 to 旧11月19日
        {DayKind::Taian, {2026, 2, 16}, {2026, 2, 21}},  // 旧1月1日 (2/17) is 先勝, 旧1月5日 大安
    };
    for (const auto& f : firsts) {
        const int64_t from = daysFromCivil(f.from.year, f.from.month, f.from.day);
        const auto day = search.find(f.kind, from, SearchDirection::Next);
        ASSERT_TRUE(day) << static_cast<int>(f.kind);
        EXPECT_EQ(datetime::civilFromDays(*day), f.expected) << static_cast<int>(f.kind);
        EXPECT_TRUE(search.isKind(f.kind, *day));
        EXPECT_FALSE(search.isKind(f.kind, *day - 1)) << static_cast<int>(f.kind);
    }
}

TEST(NoteSearch, HolidaysByTheCallersTestAndNothingPastTheEnds) {
    const std::set<int64_t> holidays = {daysFromCivil(2026, 1, 1), daysFromCivil(2026, 1, 12)};
    DaySearch search([&](int64_t day) { return holidays.count(day) > 0; });
    const int64_t newYear = daysFromCivil(2026, 1, 1);
    EXPECT_EQ(search.find(DayKind::Holiday, newYear - 1, SearchDirection::Next), newYear);
    EXPECT_EQ(search.find(DayKind::Holiday, newYear, SearchDirection::Next), daysFromCivil(2026, 1, 12));
    EXPECT_EQ(search.find(DayKind::Holiday, daysFromCivil(2026, 1, 12), SearchDirection::Next), std::nullopt);
    EXPECT_EQ(search.find(DayKind::Holiday, newYear, SearchDirection::Previous), std::nullopt);
    EXPECT_EQ(findDay(DayKind::Holiday, newYear - 1, SearchDirection::Next), std::nullopt);  // no test given

    EXPECT_EQ(findDay(DayKind::Toranohi, lastSearchDay(), SearchDirection::Next), std::nullopt);
    EXPECT_EQ(findDay(DayKind::Toranohi, firstSearchDay(), SearchDirection::Previous), std::nullopt);
    // From outside the range, the range's first or last day of the kind: 1900-01-01 is 甲戌.
    EXPECT_EQ(findDay(DayKind::Toranohi, daysFromCivil(1800, 1, 1), SearchDirection::Next), daysFromCivil(1900, 1, 5));
    EXPECT_EQ(findDay(DayKind::Toranohi, INT64_MAX, SearchDirection::Previous),
              findDay(DayKind::Toranohi, lastSearchDay() + 1, SearchDirection::Previous));
    // ephem: new moons on 1900-01-01 22:52 and 2100-12-31 8:56 JST, the range's first and last days.
    EXPECT_EQ(findDay(DayKind::NewMoon, INT64_MAX, SearchDirection::Previous), lastSearchDay());
    EXPECT_EQ(findDay(DayKind::NewMoon, INT64_MIN, SearchDirection::Next), firstSearchDay());
    EXPECT_EQ(findDay(DayKind::NewMoon, lastSearchDay(), SearchDirection::Next), std::nullopt);
    EXPECT_EQ(findDay(DayKind::NewMoon, firstSearchDay(), SearchDirection::Previous), std::nullopt);
    EXPECT_EQ(findDay(DayKind::Taian, lastSearchDay() + 1, SearchDirection::Previous), lastSearchDay() - 6);  // 旧11月25日
    EXPECT_EQ(firstSearchDay(), daysFromCivil(1900, 1, 1));
    EXPECT_EQ(lastSearchDay(), daysFromCivil(2100, 12, 31));
    EXPECT_EQ(dayKindName(DayKind::TenshanichiAndIchiryumanbai), L"天赦日と一粒万倍日の重なる日");
}

}  // namespace
}  // namespace tavro::almanac
