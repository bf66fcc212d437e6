// The notes of a day (干支, 月齢 and phases, 雑節, 選日) against published lists: the 2026 天赦日 and
// 一粒万倍日 of the calendar makers, the observatory's phases and 雑節, the news of 節分 and 土用の丑.
// Every phase, 月齢 and 雑節 of 1900 to 2100 is compared with python3-ephem by
// tests/almanac/check_against_ephem.py; the tables here hold what that leaves out.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <vector>

#include "almanac/astro_time.h"
#include "almanac/day_facts.h"
#include "almanac/day_notes.h"
#include "almanac/lunisolar_calendar.h"
#include "almanac/new_moon.h"
#include "almanac/senjitsu.h"
#include "almanac/sexagenary.h"
#include "almanac/solar_day.h"
#include "datetime/date_value.h"

namespace tavro::almanac {
namespace {

using datetime::CivilDate;

DayNotes notesOf(int y, int m, int d) { return *MonthNotes::forMonth(y, m, MonthAlmanac::forMonth(y, m)).day(d); }

std::vector<CivilDate> daysWith(DayNote note, int year, int fromMonth = 1, int toMonth = 12) {
    std::vector<CivilDate> out;
    for (int m = fromMonth; m <= toMonth; ++m) {
        const auto notes = MonthNotes::forMonth(year, m, MonthAlmanac::forMonth(year, m));
        for (int d = 1; d <= datetime::daysInMonth(year, m); ++d)
            if (notes.day(d)->notes.has(note)) out.push_back({year, m, d});
    }
    return out;
}

TEST(DayNotes, SexagenaryOfDaysAndYears) {
    EXPECT_EQ(sexagenaryName(sexagenaryOfDay(datetime::daysFromCivil(2024, 1, 1))), L"甲子");
    EXPECT_EQ(sexagenaryName(sexagenaryOfDay(datetime::daysFromCivil(1900, 1, 1))), L"甲戌");
    EXPECT_EQ(sexagenaryName(sexagenaryOfDay(datetime::daysFromCivil(2026, 3, 20))), L"癸巳");
    EXPECT_EQ(yearSexagenaryName(2026), L"丙午");
    EXPECT_EQ(yearSexagenaryName(1984), L"甲子");
    EXPECT_EQ(yearSexagenaryName(1900), L"庚子");
    EXPECT_EQ(yearSexagenaryName(2100), L"庚申");
    EXPECT_EQ(sexagenaryName(59), L"癸亥");
    EXPECT_EQ(sexagenaryName(60), L"");
}

TEST(DayNotes, Tenshanichi2026AreThePublishedSix) {
    EXPECT_EQ(daysWith(DayNote::Tenshanichi, 2026),
              (std::vector<CivilDate>{{2026, 3, 5}, {2026, 5, 4}, {2026, 5, 20}, {2026, 7, 19}, {2026, 10, 1},
                                      {2026, 12, 16}}));
}

TEST(DayNotes, Ichiryumanbai2026Are64WithThePublishedJanuary) {
    EXPECT_EQ(daysWith(DayNote::Ichiryumanbai, 2026).size(), 64u);
    EXPECT_EQ(daysWith(DayNote::Ichiryumanbai, 2026, 1, 1),
              (std::vector<CivilDate>{{2026, 1, 1}, {2026, 1, 2}, {2026, 1, 5}, {2026, 1, 14}, {2026, 1, 17},
                                      {2026, 1, 26}, {2026, 1, 29}}));
}

TEST(DayNotes, TextsInTheirOrderAndGroupsLeftOut) {
    const DayNotes december16 = notesOf(2026, 12, 16);
    EXPECT_EQ(dayNotesText(december16), L"甲子 月齢 7.1 一粒万倍日 天赦日 甲子の日");
    EXPECT_EQ(dayNotesText(notesOf(2024, 1, 1)), L"甲子 月齢 19.1 一粒万倍日 天赦日 甲子の日");
    // The observatory's phases: 満月 2026-01-03 19:03, 下弦 01-11 0:48, 新月 01-19 4:52, 満月 03-03 20:38.
    EXPECT_EQ(phaseText(notesOf(2026, 1, 3)), L"満月 19:03");
    EXPECT_EQ(phaseText(notesOf(2026, 1, 11)), L"下弦 0:48");
    EXPECT_EQ(dayNotesText(notesOf(2026, 1, 19)), L"癸巳 月齢 0.3 新月 4:52 巳の日");
    EXPECT_EQ(phaseText(notesOf(2026, 3, 3)), L"満月 20:38");
    EXPECT_EQ(phaseText(notesOf(2026, 3, 4)), L"");
    NoteGroups shown;
    shown.show(NoteGroup::Sexagenary, false);
    shown.show(NoteGroup::Senjitsu, false);
    EXPECT_EQ(dayNotesText(december16, shown), L"月齢 7.1");
    EXPECT_EQ(cellSexagenary(december16, shown), L"");
    shown.show(NoteGroup::Moon, false);
    EXPECT_EQ(dayNotesText(notesOf(2026, 1, 17), shown), L"土用入り");
    shown.show(NoteGroup::Zassetsu, false);
    EXPECT_EQ(dayNotesText(december16, shown), L"");
    EXPECT_TRUE(shown.shows(NoteGroup::Rokuyo));
    EXPECT_FALSE(MonthNotes::forMonth(1899, 12, MonthAlmanac::forMonth(1899, 12)).day(1));
    EXPECT_FALSE(MonthNotes::forMonth(2026, 2, MonthAlmanac::forMonth(2026, 2)).day(29));
}

TEST(DayNotes, CellsShowTheRarestFirstAndThePhaseSymbol) {
    const DayNotes march5 = notesOf(2026, 3, 5);  // 一粒万倍日 天赦日 寅の日 三隣亡
    const NoteList list = cellNotes(march5);
    const std::vector<DayNote> cell(list.begin(), list.end());
    EXPECT_EQ(cell, (std::vector<DayNote>{DayNote::Tenshanichi, DayNote::Ichiryumanbai, DayNote::Toranohi,
                                          DayNote::Sanrinbo}));
    EXPECT_EQ(cellSexagenary(march5), L"戊寅");
    const struct { int m, d; std::wstring_view symbol; } phases[] = {
        {1, 19, L"●"}, {1, 26, L"◐"}, {1, 3, L"○"}, {1, 11, L"◑"}, {1, 4, L""}};
    for (const auto& p : phases) EXPECT_EQ(cellPhaseSymbol(notesOf(2026, p.m, p.d)), p.symbol) << p.m << "/" << p.d;
    NoteGroups noMoon;
    noMoon.show(NoteGroup::Moon, false);
    EXPECT_EQ(cellPhaseSymbol(notesOf(2026, 1, 19), noMoon), L"");
}

TEST(DayNotes, ZassetsuOfThePublishedYears) {
    const struct { DayNote note; int year; std::vector<CivilDate> days; } published[] = {
        {DayNote::Setsubun, 2021, {{2021, 2, 2}}},  // 立春 at 23:59
        {DayNote::Setsubun, 2025, {{2025, 2, 2}}},
        {DayNote::Setsubun, 1984, {{1984, 2, 4}}},
        {DayNote::Shanichi, 2026, {{2026, 3, 25}, {2026, 9, 21}}},  // 春分 on 癸巳 at 23:46: the later 戊
        {DayNote::Shanichi, 2019, {{2019, 3, 22}, {2019, 9, 28}}},  // 秋分 on 癸 in the afternoon
        {DayNote::Shanichi, 2018, {{2018, 3, 17}, {2018, 9, 23}}},
        {DayNote::Shanichi, 2022, {{2022, 3, 16}, {2022, 9, 22}}},  // 春分 on 癸 at 0:33: the earlier
        {DayNote::Shanichi, 2024, {{2024, 3, 25}, {2024, 9, 21}}},  // 春分 on 癸 at 12:06: the later
        {DayNote::HiganIri, 2026, {{2026, 3, 17}, {2026, 9, 20}}},
        {DayNote::HiganAke, 2026, {{2026, 3, 23}, {2026, 9, 26}}},
        {DayNote::Hachijuhachiya, 2024, {{2024, 5, 1}}},
        {DayNote::Nihyakutoka, 2025, {{2025, 8, 31}}},
        {DayNote::Nihyakuhatsuka, 2026, {{2026, 9, 11}}},
        {DayNote::Nyubai, 2026, {{2026, 6, 11}}},
        {DayNote::Hangesho, 2026, {{2026, 7, 2}}},
        {DayNote::DoyoIri, 2026, {{2026, 1, 17}, {2026, 4, 17}, {2026, 7, 20}, {2026, 10, 20}}},
        {DayNote::DoyoUshi, 2022, {{2022, 7, 23}, {2022, 8, 4}}},  // 夏の土用の丑, the second one too
        {DayNote::DoyoUshi, 2023, {{2023, 7, 30}}},
        {DayNote::DoyoUshi, 2025, {{2025, 7, 19}, {2025, 7, 31}}},  // on the day of 土用入り
    };
    for (const auto& p : published) {
        const int months = p.note == DayNote::DoyoUshi ? 7 : 1;  // the summer 土用 alone
        EXPECT_EQ(daysWith(p.note, p.year, months, months == 7 ? 8 : 12), p.days)
            << static_cast<int>(p.note) << " in " << p.year;
    }
}

TEST(DayNotes, FujojubiByTheOldMonthALeapMonthAsItsNumber) {
    // 2025: 6月 from 6/25 (30 days), 閏6月 from 7/25 (29 days: no 30th), 7月 from 8/23.
    EXPECT_EQ(daysWith(DayNote::Fujojubi, 2025, 7, 8),
              (std::vector<CivilDate>{{2025, 7, 8}, {2025, 7, 16}, {2025, 7, 24}, {2025, 7, 30}, {2025, 8, 7},
                                      {2025, 8, 15}, {2025, 8, 25}}));
}

TEST(DayNotes, SanrinboByTheSetsuMonth) {
    using namespace branch;
    const int expected[12] = {kPig, kTiger, kHorse, kPig, kTiger, kHorse, kPig, kTiger, kHorse, kPig, kTiger, kHorse};
    for (int month = 0; month < 12; ++month)
        for (int b = 0; b < 12; ++b) EXPECT_EQ(isSanrinbo(month, b), b == expected[month]) << month << " " << b;
    EXPECT_FALSE(isSanrinbo(12, kPig));
    EXPECT_FALSE(isFujojubi(0, 3));
    EXPECT_FALSE(isFujojubi(1, 35));
}

TEST(DayFacts, WalkingEitherWayAnswersAsEachDayAlone) {
    // Through the 2033 problem (閏11月) and six 節 changes a year, forward and backward.
    const int64_t first = datetime::daysFromCivil(2032, 11, 1), last = datetime::daysFromCivil(2035, 2, 1);
    std::map<int64_t, PhaseOnDay> phases;
    for (int64_t k = lunationAtOrBefore(ttFromUt(julianDayUtOfJstMidnight(first))) - 1; newMoonDay(k) <= last; ++k)
        for (int p = 0; p < 4; ++p) phases[phaseOnDay(k, static_cast<MoonPhase>(p)).day] = phaseOnDay(k, MoonPhase(p));
    std::map<int, MonthAlmanac> months;
    DayFacts forward, backward;
    for (int64_t i = 0; i <= last - first; ++i) {
        for (auto [facts, day] : {std::pair{&forward, first + i}, std::pair{&backward, last - i}}) {
            const CivilDate c = datetime::civilFromDays(day);
            auto month = months.try_emplace(c.year * 12 + c.month, MonthAlmanac::forMonth(c.year, c.month)).first;
            ASSERT_EQ(facts->oldDateOf(day), month->second.day(c.day)->old) << day;
            ASSERT_EQ(facts->setsuMonthOf(day), setsuMonthOfDay(day).index) << day;
            ASSERT_EQ(facts->moonAgeTenthsOn(day), moonAgeTenths(moonAgeAtNoon(day))) << day;
            const auto phase = facts->phaseOn(day);
            ASSERT_EQ(phase.has_value(), phases.count(day) == 1) << day;
            if (phase) EXPECT_EQ(phase->minute, phases[day].minute) << day;
            if (phase) EXPECT_EQ(phase->phase, phases[day].phase) << day;
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
    EXPECT_EQ(tora.index, 0);
    EXPECT_EQ(tora.firstDay, risshun2021);
    EXPECT_EQ(tora.endDay, datetime::daysFromCivil(2021, 3, 5));  // 啓蟄
    EXPECT_EQ(setsuMonthOfDay(risshun2021 - 1).index, 11);
    EXPECT_EQ(previousSetsuMonth(tora).firstDay, datetime::daysFromCivil(2021, 1, 5));  // 小寒
    EXPECT_EQ(nextSetsuMonth(tora).endDay, datetime::daysFromCivil(2021, 4, 4));        // 清明
}

}  // namespace
}  // namespace tavro::almanac
