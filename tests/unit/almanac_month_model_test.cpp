#include "almanac_window/almanac_month.h"
#include "almanac_window/almanac_search.h"

#include <gtest/gtest.h>

#include <tuple>
#include "../../tools/native/holiday_list_native.h"

namespace tavro::almanac_window {
namespace {

using datetime::makeDate;

// Months a printed calendar gets wrong most easily, one day of each looked at.
TEST(AlmanacMonth, TrickyMonths) {
    struct Case { int year, month; std::wstring header; int day; std::wstring note, oldDate; CellColour colour;
                  std::wstring firstLine; /* of the day's description */ } cases[] = {
        {1989, 1, L"1989年（昭和64年・平成元年・己巳）1月", 8, L"", L"旧12月1日", CellColour::Red, L"1989年1月8日（日）"},
        {2019, 5, L"2019年（令和元年・己亥）5月", 6, L"休日", L"旧4/2", CellColour::Red, L"2019年5月6日（月） 休日"},
        {2033, 12, L"2033年（令和15年・癸丑）12月", 22, L"", L"旧閏11月1日", CellColour::Text, L"2033年12月22日（木）"},
        {2033, 12, L"2033年（令和15年・癸丑）12月", 21, L"冬至", L"旧11/30", CellColour::Text, L"2033年12月21日（水）"},
        {1912, 7, L"1912年（明治45年・大正元年・壬子）7月", 30, L"", L"旧6/17", CellColour::Text, L"1912年7月30日（火）"},
        {1900, 1, L"1900年（明治33年・庚子）1月", 1, L"", L"旧12月1日", CellColour::Text, L"1900年1月1日（月）"},
        {2100, 12, L"2100年（令和82年・庚申）12月", 25, L"", L"旧11/25", CellColour::Blue, L"2100年12月25日（土）"},
        {2026, 8, L"2026年（令和8年・丙午）8月", 31, L"", L"旧7/19", CellColour::Text, L"2026年8月31日（月）"},
        {2026, 2, L"2026年（令和8年・丙午）2月", 17, L"", L"旧1月1日", CellColour::Text, L"2026年2月17日（火）"},
    };
    for (const Case& c : cases) {
        holidays::FeedOrComputedHolidays holidays;
        const AlmanacMonth m = buildAlmanacMonth(c.year, c.month, makeDate(2019, 5, 6), holidays);
        const int offset = datetime::weekdayOf(makeDate(c.year, c.month, 1));
        const AlmanacCell& cell = m.cells[static_cast<std::size_t>(offset + c.day - 1)];
        const auto where = std::to_string(c.year) + "-" + std::to_string(c.month) + "-" + std::to_string(c.day);
        EXPECT_EQ(m.header, c.header) << where;
        EXPECT_EQ(cell.note, c.note) << where;
        EXPECT_EQ(cell.oldDate, c.oldDate) << where;
        EXPECT_EQ(cell.colour, c.colour) << where;
        EXPECT_EQ(cell.description.substr(0, cell.description.find(L"\r\n")), c.firstLine) << where;
        EXPECT_EQ(cell.today, c.year == 2019 && c.month == 5 && c.day == 6) << where;
    }
}

// August 2026 both ways: header and cells move together, each weekday keeping its colour (the 11th 山の日).
TEST(AlmanacMonth, TheWeeksFirstDayMovesTheHeaderAndTheCells) {
    using C = CellColour;
    for (const auto& [start, names, colours, cellOfFirst] :
         {std::tuple{WeekStart::Sunday, L"日月火水木金土", std::array{C::Red, C::Text, C::Text, C::Text, C::Text, C::Text, C::Blue}, 6},
          {WeekStart::Monday, L"月火水木金土日", std::array{C::Text, C::Text, C::Text, C::Text, C::Text, C::Blue, C::Red}, 5}}) {
        holidays::FeedOrComputedHolidays holidays;
        const AlmanacMonth m = buildAlmanacMonth(2026, 8, makeDate(2026, 8, 3), holidays, {}, {}, start);
        for (int column = 0; column < kColumns; ++column)
            EXPECT_EQ(std::pair(std::wstring(m.weekdays[column].name), m.weekdays[column].colour), std::pair(std::wstring(1, names[column]), colours[column]));
        for (int day : {1, 2, 3, 11, 31}) {
            const AlmanacCell& cell = m.cells[static_cast<std::size_t>(cellOfFirst + day - 1)];
            EXPECT_EQ(std::pair(cell.day, cell.colour), std::pair(day, day == 11 ? C::Red : colours[(cellOfFirst + day - 1) % kColumns]));
        }
    }
}

// The cells tell what the user chose to see: 2026-12-16 the published 天赦日 (甲子, in 子月 also
// 一粒万倍日) with the rarest first, the phases on the ephemeris's days (python3-ephem), a holiday
// before the notes; with every group hidden none of it, in the header and the descriptions too.
TEST(AlmanacMonth, CellsTellTheChosenNotes) {
    holidays::FeedOrComputedHolidays holidays;
    const AlmanacMonth december = buildAlmanacMonth(2026, 12, makeDate(2026, 12, 1), holidays);
    EXPECT_EQ(december.header, L"2026年（令和8年・丙午）12月");
    std::wstring weekdays;  // the names over the columns, in the cells' order, with their colours
    for (const WeekdayLabel& label : december.weekdays) weekdays += std::wstring(label.name) + L"TRB"[static_cast<int>(label.colour)];
    EXPECT_EQ(weekdays, L"日R月T火T水T木T金T土B");
    const AlmanacCell& d16 = december.cells[static_cast<std::size_t>(december.cellOfDay(16))];
    EXPECT_EQ(d16.sexagenary, L"甲子");
    EXPECT_EQ(d16.lines, (std::vector<CellLine>{{L"天赦日"}, {L"甲子の日"}, {L"一粒万倍日"}}));
    std::wstring phases;
    for (int day = 1; day <= 31; ++day) {
        const auto phase = december.cells[static_cast<std::size_t>(december.cellOfDay(day))].phase;
        phases += phase ? almanac::moonPhaseSymbol(*phase) : L".";
    }
    EXPECT_EQ(phases, L"◑.......●.......◐......○......◑");
    const AlmanacMonth march = buildAlmanacMonth(2026, 3, makeDate(2026, 3, 1), holidays);
    EXPECT_EQ(march.cells[static_cast<std::size_t>(march.cellOfDay(20))].lines,
              (std::vector<CellLine>{{L"春分の日", CellLineKind::Holiday}, {L"巳の日"}, {L"不成就日"}}));
    EXPECT_EQ(march.cellOfDay(0), -1);

    almanac::NoteGroups none;
    for (int g = 0; g < almanac::kNoteGroupCount; ++g) none.show(static_cast<almanac::NoteGroup>(g), false);
    const AlmanacMonth bare = buildAlmanacMonth(2026, 3, makeDate(2026, 3, 1), holidays, {}, none);
    EXPECT_EQ(bare.header, L"2026年（令和8年）3月");
    for (const AlmanacCell& cell : bare.cells) {
        EXPECT_EQ(cell.rokuyo + cell.sexagenary, L"") << cell.day;
        EXPECT_FALSE(cell.phase) << cell.day;
        EXPECT_EQ(cell.lines.size(), cell.note.empty() ? 0u : 1u) << cell.day;
        EXPECT_EQ(cell.description.find(L"月齢"), std::wstring::npos) << cell.day;
    }
    // The user's reminders: after a holiday's name, before a solar term's, and last in the text.
    const calendar::DayExtraLines reminders = [](DateValue d) {
        return d == makeDate(2026, 3, 20) || d == makeDate(2026, 3, 5) ? std::vector<std::wstring>{L"10:00 会議"}
                                                                        : std::vector<std::wstring>{};
    };
    const AlmanacMonth marked = buildAlmanacMonth(2026, 3, makeDate(2026, 3, 1), holidays, reminders, none);
    const AlmanacCell& m20 = marked.cells[static_cast<std::size_t>(marked.cellOfDay(20))];
    const AlmanacCell& m5 = marked.cells[static_cast<std::size_t>(marked.cellOfDay(5))];
    EXPECT_EQ(m20.lines, (std::vector<CellLine>{{L"春分の日", CellLineKind::Holiday}, {L"10:00 会議", CellLineKind::Reminder}}));
    EXPECT_EQ(m5.lines, (std::vector<CellLine>{{L"10:00 会議", CellLineKind::Reminder}, {L"啓蟄", CellLineKind::SolarTerm}}));
    EXPECT_TRUE(m5.description.ends_with(L"\r\n10:00 会議")) << std::string(m5.description.begin(), m5.description.end());
}

// Paging stops at both ends of the range (the ends of the months: the end-to-end test spins to
// them); the wheel's deltas make whole months however they come.
TEST(AlmanacMonth, PagingAndWheel) {
    EXPECT_EQ(addMonthsInRange({2027, 3, 31}, -1), (CivilDate{2027, 2, 28}));
    EXPECT_EQ(addDaysInRange({1900, 1, 3}, -7), (CivilDate{1900, 1, 1}));
    EXPECT_EQ(addDaysInRange({2100, 12, 30}, 7), (CivilDate{2100, 12, 31}));
    EXPECT_EQ(addDaysInRange({2027, 2, 28}, 1), (CivilDate{2027, 3, 1}));
    WheelMonths wheel;
    int months = 0;
    for (int i = 0; i < 12; ++i) months += wheel.add(30);  // a fine wheel's quarter notches
    EXPECT_EQ(months, -3);
    EXPECT_EQ(wheel.add(-60) + wheel.add(-60) + wheel.add(-1200), 11);
    EXPECT_EQ(wheel.add(90), 0);  // left over: 3/4 of a notch earlier
    EXPECT_EQ(wheel.add(-90), 0);  // the other way: the rest dropped, not a month back
    EXPECT_EQ(wheel.add(-30), 1);  // then on the same way: a whole notch
}

// 「次の…」 from a day: the published 天赦日 after 2026-03-05, the holidays by the act's rules
// without a list (2026-07-20 海の日; 2025-11-24 the 休日 after 勤労感謝の日 on a Sunday, 2028-01-10
// 成人の日), a newer list's days for the years it covers, and the status line at the range's end.
TEST(AlmanacMonth, SearchFromTheSelectedDay) {
    using almanac::DayKind;
    using almanac::SearchDirection;
    AlmanacSearch search;
    EXPECT_EQ(search.find(DayKind::Tenshanichi, {2026, 3, 5}, SearchDirection::Next), (CivilDate{2026, 5, 4}));
    EXPECT_EQ(search.find(DayKind::Holiday, {2026, 5, 6}, SearchDirection::Next), (CivilDate{2026, 7, 20}));
    EXPECT_EQ(search.find(DayKind::Holiday, {2026, 1, 1}, SearchDirection::Previous), (CivilDate{2025, 11, 24}));
    EXPECT_EQ(search.find(DayKind::Holiday, {2028, 1, 1}, SearchDirection::Next), (CivilDate{2028, 1, 10}));
    const auto list = holidays::checkHolidayList(native::officialListBytes() + "2028/1/1,a\r\n2028/11/23,b\r\n", 2028,
                                                 native::decodeCp932);
    ASSERT_TRUE(list);
    search.takeList(std::make_shared<const holidays::HolidayList>(*list));
    EXPECT_EQ(search.find(DayKind::Holiday, {2028, 1, 1}, SearchDirection::Next), (CivilDate{2028, 11, 23}));
    const auto none = search.find(DayKind::Holiday, {2100, 12, 31}, SearchDirection::Next);
    EXPECT_EQ(none, std::nullopt);
    EXPECT_EQ(searchStatusText(DayKind::Holiday, SearchDirection::Next, none), L"2100年12月31日までに次の祝日はありません");
    EXPECT_EQ(searchStatusText(DayKind::Tenshanichi, SearchDirection::Previous, CivilDate{2026, 12, 16}),
              L"前の天赦日: 2026年12月16日（水）　F3 で次、Shift+F3 で前");
}

}  // namespace
}  // namespace tavro::almanac_window
