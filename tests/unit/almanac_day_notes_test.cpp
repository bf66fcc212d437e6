// The notes of a day against published lists: the 2026 天赦日 and 一粒万倍日 of the calendar makers,
// phases to the minute, the 雑節 of calendars and the news. check_against_ephem.py compares every
// phase, 月齢 and 雑節 of 1900 to 2100 with python3-ephem; these hold what it leaves out.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <tuple>
#include <vector>

#include "almanac/astro_time.h"
#include "almanac/day_facts.h"
#include "almanac/day_notes.h"
#include "almanac/senjitsu.h"
#include "almanac/sexagenary.h"
#include "datetime/date_value.h"

namespace tavro::almanac {
namespace {

using datetime::CivilDate;
using Days = std::vector<CivilDate>;

DayNotes notesOf(int y, int m, int d) { return *MonthNotes::forMonth(y, m, MonthAlmanac::forMonth(y, m)).day(d); }

Days daysWith(DayNote note, int year, int fromMonth = 1, int toMonth = 12) {
    Days out;
    for (int m = fromMonth; m <= toMonth; ++m) {
        const auto notes = MonthNotes::forMonth(year, m, MonthAlmanac::forMonth(year, m));
        for (int d = 1; d <= datetime::daysInMonth(year, m); ++d)
            if (notes.day(d)->notes.has(note)) out.push_back({year, m, d});
    }
    return out;
}

TEST(DayNotes, SenjitsuOf2026AreThePublishedListsAndSexagenaryItsCycle) {
    EXPECT_EQ(daysWith(DayNote::Tenshanichi, 2026),
              (Days{{2026, 3, 5}, {2026, 5, 4}, {2026, 5, 20}, {2026, 7, 19}, {2026, 10, 1}, {2026, 12, 16}}));
    EXPECT_EQ(daysWith(DayNote::Ichiryumanbai, 2026).size(), 64u);
    EXPECT_EQ(daysWith(DayNote::Ichiryumanbai, 2026, 1, 1),
              (Days{{2026, 1, 1}, {2026, 1, 2}, {2026, 1, 5}, {2026, 1, 14}, {2026, 1, 17}, {2026, 1, 26},
                    {2026, 1, 29}}));
    EXPECT_EQ(sexagenaryName(sexagenaryOfDay(datetime::daysFromCivil(1900, 1, 1))), L"甲戌");
    EXPECT_EQ(yearSexagenaryName(2026), L"丙午");
    EXPECT_EQ(yearSexagenaryName(1900), L"庚子");
    EXPECT_EQ(sexagenaryName(60), L"");
}

TEST(DayNotes, TextsInTheirOrderPhasesToTheMinuteAndGroupsLeftOut) {
    const DayNotes december16 = notesOf(2026, 12, 16);
    EXPECT_EQ(dayNotesText(december16), L"甲子 月齢 7.1 一粒万倍日 天赦日 甲子の日");
    EXPECT_EQ(dayNotesText(notesOf(2024, 1, 1)), L"甲子 月齢 19.1 一粒万倍日 天赦日 甲子の日");
    EXPECT_EQ(dayNotesText(notesOf(2026, 1, 19)), L"癸巳 月齢 0.3 新月 4:52 巳の日");
    // Published: 満月 2026-01-03 19:03, 下弦 01-11 0:48, 満月 03-03 20:38; ephem: 新月 1900-01-01 22:51:59.
    EXPECT_EQ(phaseText(notesOf(2026, 1, 3)) + phaseText(notesOf(2026, 1, 11)), L"満月 19:03下弦 0:48");
    EXPECT_EQ(phaseText(notesOf(2026, 3, 3)) + phaseText(notesOf(2026, 3, 4)), L"満月 20:38");
    EXPECT_EQ(phaseText(notesOf(1900, 1, 1)), L"新月 22:52");
    NoteGroups shown;
    shown.show(NoteGroup::Sexagenary, false);
    shown.show(NoteGroup::Senjitsu, false);
    EXPECT_EQ(dayNotesText(december16, shown) + std::wstring(cellSexagenary(december16, shown)), L"月齢 7.1");
    shown.show(NoteGroup::Moon, false);
    EXPECT_EQ(dayNotesText(notesOf(2026, 1, 17), shown), L"土用入り");
    shown.show(NoteGroup::Zassetsu, false);
    EXPECT_EQ(dayNotesText(december16, shown), L"");
    EXPECT_FALSE(MonthNotes::forMonth(1899, 12, MonthAlmanac::forMonth(1899, 12)).day(1));
    EXPECT_FALSE(MonthNotes::forMonth(2026, 2, MonthAlmanac::forMonth(2026, 2)).day(29));
    EXPECT_EQ(dayNoteName(static_cast<DayNote>(kDayNoteCount)), L"");
}

TEST(DayNotes, CellsShowTheRarestFirstAndThePhaseSymbol) {
    const DayNotes march5 = notesOf(2026, 3, 5);  // 一粒万倍日 天赦日 寅の日 三隣亡
    const NoteList list = cellNotes(march5);
    using enum DayNote;
    EXPECT_EQ(std::vector<DayNote>(list.begin(), list.end()),
              (std::vector<DayNote>{Tenshanichi, Ichiryumanbai, Toranohi, Sanrinbo}));
    std::wstring symbols{cellSexagenary(march5)};
    for (int day : {19, 26, 3, 11, 4}) symbols += cellPhaseSymbol(notesOf(2026, 1, day));  // 新月 上弦 満月 下弦 none
    EXPECT_EQ(symbols, L"戊寅●◐○◑");
    NoteGroups noMoon;
    noMoon.show(NoteGroup::Moon, false);
    EXPECT_EQ(cellPhaseSymbol(notesOf(2026, 1, 19), noMoon), L"");
}

TEST(DayNotes, ZassetsuOfThePublishedYears) {
    const struct { DayNote note; int year; Days days; } published[] = {
        {DayNote::Setsubun, 2021, {{2021, 2, 2}}}, {DayNote::Setsubun, 2025, {{2025, 2, 2}}},  // 立春 at 23:59 in 2021
        {DayNote::Setsubun, 1984, {{1984, 2, 4}}}, {DayNote::Shanichi, 2018, {{2018, 3, 17}, {2018, 9, 23}}},
        {DayNote::Shanichi, 2026, {{2026, 3, 25}, {2026, 9, 21}}},  // 春分 on 癸巳 at 23:46: the later 戊
        {DayNote::Shanichi, 2019, {{2019, 3, 22}, {2019, 9, 28}}},  // 秋分 on 癸 in the afternoon
        {DayNote::Shanichi, 2022, {{2022, 3, 16}, {2022, 9, 22}}},  // 春分 on 癸 at 0:33: the earlier
        {DayNote::Shanichi, 2024, {{2024, 3, 25}, {2024, 9, 21}}},  // 春分 on 癸 at 12:06: the later
        {DayNote::HiganIri, 2026, {{2026, 3, 17}, {2026, 9, 20}}}, {DayNote::Hachijuhachiya, 2024, {{2024, 5, 1}}},
        {DayNote::HiganAke, 2026, {{2026, 3, 23}, {2026, 9, 26}}}, {DayNote::Nihyakutoka, 2025, {{2025, 8, 31}}},
        {DayNote::Nihyakuhatsuka, 2026, {{2026, 9, 11}}}, {DayNote::Nyubai, 2026, {{2026, 6, 11}}},
        {DayNote::Hangesho, 2026, {{2026, 7, 2}}}, {DayNote::Hangesho, 2025, {{2025, 7, 1}}},
        {DayNote::DoyoIri, 2026, {{2026, 1, 17}, {2026, 4, 17}, {2026, 7, 20}, {2026, 10, 20}}},
        {DayNote::DoyoUshi, 2022, {{2022, 7, 23}, {2022, 8, 4}}}, {DayNote::DoyoUshi, 2023, {{2023, 7, 30}}},
        {DayNote::DoyoUshi, 2025, {{2025, 7, 19}, {2025, 7, 31}}},  // the first on the day of 土用入り
    };
    for (const auto& p : published) {
        const bool summer = p.note == DayNote::DoyoUshi;  // the summer 土用's alone
        EXPECT_EQ(daysWith(p.note, p.year, summer ? 7 : 1, summer ? 8 : 12), p.days) << int(p.note) << " " << p.year;
    }
}

TEST(DayNotes, FujojubiByTheOldMonthALeapMonthAsItsNumberAndSanrinboByTheSetsuMonth) {
    // 2025: 6月 from 6/25 (30 days), 閏6月 from 7/25 (29 days: no 30th), 7月 from 8/23.
    EXPECT_EQ(daysWith(DayNote::Fujojubi, 2025, 7, 8),
              (Days{{2025, 7, 8}, {2025, 7, 16}, {2025, 7, 24}, {2025, 7, 30}, {2025, 8, 7}, {2025, 8, 15},
                    {2025, 8, 25}}));
    EXPECT_TRUE(isFujojubi(1, 3) && isFujojubi(9, 1) && !isFujojubi(0, 3) && !isFujojubi(13, 3) && !isFujojubi(1, 35));
    using namespace branch;
    const int expected[12] = {kPig, kTiger, kHorse, kPig, kTiger, kHorse, kPig, kTiger, kHorse, kPig, kTiger, kHorse};
    for (int month = 0; month < 12; ++month)
        for (int b = 0; b < 12; ++b) EXPECT_EQ(isSanrinbo(month, b), b == expected[month]) << month << " " << b;
    EXPECT_FALSE(isSanrinbo(12, kPig));
}

TEST(DayFacts, WalkingEitherWayAnswersAsEachDayAlone) {
    // Through the 2033 problem (閏11月) and six 節 changes a year, forward and backward.
    const int64_t first = datetime::daysFromCivil(2032, 11, 1), last = datetime::daysFromCivil(2035, 2, 1);
    std::map<int, MonthAlmanac> months;
    DayFacts forward, backward;
    for (int64_t i = 0; i <= last - first; ++i) {
        for (auto [facts, day] : {std::pair{&forward, first + i}, std::pair{&backward, last - i}}) {
            const CivilDate c = datetime::civilFromDays(day);
            auto month = months.try_emplace(c.year * 12 + c.month, MonthAlmanac::forMonth(c.year, c.month)).first;
            ASSERT_EQ(facts->oldDateOf(day), month->second.day(c.day)->old) << day;
            ASSERT_EQ(facts->setsuMonthOf(day), setsuMonthOfDay(day).index) << day;
            ASSERT_EQ(facts->moonAgeTenthsOn(day), moonAgeTenths(moonAgeAtNoon(day))) << day;
            const auto phase = facts->phaseOn(day), alone = DayFacts{}.phaseOn(day);
            ASSERT_EQ(phase.has_value(), alone.has_value()) << day;
            if (phase) { EXPECT_EQ(std::pair(phase->phase, phase->minute), std::pair(alone->phase, alone->minute)) << day; }
        }
    }
}

TEST(SolarDay, TheSunsDaysAreTheDaysOfItsMomentsAndOpenTheSetsuMonths) {
    int nearMidnight = 0;
    for (int year = 1900; year <= 2100; ++year) {
        for (int term = 0; term < 24; ++term) {
            const double ut = utFromTt(solarTermMomentTt(year, term));
            const int64_t day = jstDayOf(ut);
            nearMidnight += std::abs(std::remainder(ut - julianDayUtOfJstMidnight(day), 1.0)) < 1.0 / 24;
            ASSERT_EQ(dayOfSolarLongitude(term * 15.0, day + 9), day) << year << " term " << term;
        }
    }
    EXPECT_GT(nearMidnight, 300);  // the one-step estimate's margin is exercised
    const int64_t risshun2021 = datetime::daysFromCivil(2021, 2, 3);  // 立春 at 23:59 JST
    const SetsuMonth tora = setsuMonthOfDay(risshun2021);
    EXPECT_EQ(std::tuple(tora.index, tora.firstDay, tora.endDay), std::tuple(0, risshun2021, risshun2021 + 30));
    EXPECT_EQ(setsuMonthOfDay(risshun2021 - 1).index, 11);
}

}  // namespace
}  // namespace tavro::almanac
