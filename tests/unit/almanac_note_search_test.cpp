// 「次の…」: the days a search goes to, on the published 2026 lists and at the ends of 1900 to 2100.
#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "almanac/note_search.h"
#include "datetime/date_value.h"

namespace tavro::almanac {
namespace {

using datetime::CivilDate;
using datetime::daysFromCivil;

int64_t dayOf(const CivilDate& c) { return daysFromCivil(c.year, c.month, c.day); }

TEST(NoteSearch, GoesToThePublishedDaysBothWays) {
    DaySearch search;
    const std::vector<CivilDate> tensha2026 = {{2026, 3, 5}, {2026, 5, 4}, {2026, 5, 20}, {2026, 7, 19},
                                               {2026, 10, 1}, {2026, 12, 16}};
    std::optional<int64_t> next = dayOf({2025, 12, 31}), previous = dayOf({2027, 1, 1});
    for (size_t i = 0; i < tensha2026.size(); ++i) {
        next = search.find(DayKind::Tenshanichi, *next, SearchDirection::Next);
        previous = search.find(DayKind::Tenshanichi, *previous, SearchDirection::Previous);
        EXPECT_EQ(next, dayOf(tensha2026[i]));
        EXPECT_EQ(previous, dayOf(tensha2026[tensha2026.size() - 1 - i]));
    }
    const struct { DayKind kind; CivilDate from, expected; } firsts[] = {
        {DayKind::TenshanichiAndIchiryumanbai, {2026, 3, 5}, {2026, 7, 19}},  // 5/4 and 5/20 are not 一粒万倍日
        {DayKind::Ichiryumanbai, {2026, 1, 5}, {2026, 1, 14}}, {DayKind::Toranohi, {2026, 3, 5}, {2026, 3, 17}},
        {DayKind::Minohi, {2026, 1, 18}, {2026, 1, 19}}, {DayKind::FullMoon, {2026, 1, 3}, {2026, 2, 2}},
        {DayKind::NewMoon, {2026, 1, 1}, {2026, 1, 19}}, {DayKind::DoyoUshi, {2025, 7, 19}, {2025, 7, 31}},
        {DayKind::DoyoUshi, {2026, 7, 26}, {2026, 10, 30}}, {DayKind::DoyoUshi, {2025, 11, 10}, {2026, 1, 27}},
        {DayKind::Taian, {2026, 1, 1}, {2026, 1, 7}},    // 旧11月13日 to 旧11月19日
        {DayKind::Taian, {2026, 2, 16}, {2026, 2, 21}},  // 旧1月1日 (2/17) is 先勝, 旧1月5日 大安
    };
    for (const auto& f : firsts) {
        const auto day = search.find(f.kind, dayOf(f.from), SearchDirection::Next);
        EXPECT_EQ(day, dayOf(f.expected)) << int(f.kind);
        EXPECT_TRUE(search.isKind(f.kind, dayOf(f.expected)) && !search.isKind(f.kind, dayOf(f.expected) - 1));
    }
}

TEST(NoteSearch, HolidaysByTheCallersTestAndNothingPastTheEnds) {
    const std::set<int64_t> holidays = {dayOf({2026, 1, 1}), dayOf({2026, 1, 12})};
    DaySearch search([&](int64_t day) { return holidays.count(day) > 0; });
    const int64_t newYear = dayOf({2026, 1, 1});
    EXPECT_EQ(search.find(DayKind::Holiday, newYear - 1, SearchDirection::Next), newYear);
    EXPECT_EQ(search.find(DayKind::Holiday, newYear, SearchDirection::Next), dayOf({2026, 1, 12}));
    EXPECT_EQ(search.find(DayKind::Holiday, dayOf({2026, 1, 12}), SearchDirection::Next), std::nullopt);
    EXPECT_EQ(search.find(DayKind::Holiday, newYear, SearchDirection::Previous), std::nullopt);
    EXPECT_EQ(findDay(DayKind::Holiday, newYear - 1, SearchDirection::Next), std::nullopt);  // no test given

    const int64_t first = dayOf({1900, 1, 1}), last = dayOf({2100, 12, 31});
    EXPECT_EQ(std::pair(firstSearchDay(), lastSearchDay()), std::pair(first, last));
    EXPECT_EQ(findDay(DayKind::Toranohi, last, SearchDirection::Next), std::nullopt);
    // From outside the range, its first or last day of the kind: 1900-01-01 is 甲戌, 2100-12-25 旧11月25日.
    EXPECT_EQ(findDay(DayKind::Toranohi, dayOf({1800, 1, 1}), SearchDirection::Next), dayOf({1900, 1, 5}));
    EXPECT_EQ(findDay(DayKind::Taian, last + 1, SearchDirection::Previous), dayOf({2100, 12, 25}));
    // ephem: new moons on 1900-01-01 22:52 and 2100-12-31 8:56 JST, the range's first and last days.
    EXPECT_EQ(findDay(DayKind::NewMoon, INT64_MAX, SearchDirection::Previous), last);
    EXPECT_EQ(findDay(DayKind::NewMoon, INT64_MIN, SearchDirection::Next), first);
    EXPECT_EQ(findDay(DayKind::NewMoon, last, SearchDirection::Next), std::nullopt);
    EXPECT_EQ(findDay(DayKind::NewMoon, first, SearchDirection::Previous), std::nullopt);
    EXPECT_EQ(dayKindName(DayKind::TenshanichiAndIchiryumanbai), L"天赦日と一粒万倍日の重なる日");
    EXPECT_EQ(dayKindName(static_cast<DayKind>(kDayKindCount)), L"");
}

}  // namespace
}  // namespace tavro::almanac
