#include "app/clock_tick.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <tuple>
#include <vector>

using namespace tavro::app;
using tavro::datetime::CivilDateTime;
using tavro::datetime::makeDateTime;

namespace {

// Each row's texts joined by '|', the countdown row's colours and the calendar drawings.
struct RecordingPainter : ClockPainter {
    std::vector<std::wstring> rows[3];
    std::set<int> countdownColours, litColours[3];
    int calendars = 0;
    void draw7seg(float x, float y, std::wstring_view, std::wstring_view text, int colour) override {
        const int row = y == 1 ? 0 : y == 22 ? 1 : y == 26 ? 2 : -1;
        ASSERT_GE(row, 0) << "a field off the clock's rows at " << x << "," << y;
        rows[row].emplace_back(text);
        if (row == 2) countdownColours.insert(colour);
        if (!text.empty()) litColours[row].insert(colour);
    }
    void showMonthOf(DateValue) override { ++calendars; }
    std::wstring row(int r) const {
        std::wstring out;
        for (size_t i = 0; i < rows[r].size(); ++i) out += (i ? L"|" : L"") + rows[r][i];
        return out;
    }
};

DateValue at(int y, int mo, int d, int h, int mi, int s) { return makeDateTime(CivilDateTime{y, mo, d, h, mi, s}); }

// One second of the clock: what the present-time, target and countdown rows draw, in which
// colour the countdown is drawn (0: not looked at) and how often the calendar is drawn.
struct Step { DateValue now, target; const wchar_t *nowRow, *targetRow, *countdown; int colour, calendars; };
using Case = std::pair<const char*, std::vector<Step>>;  // a rule; its first step starts the clock
// (A target an hour ahead counting down in green: the end-to-end menu test reads it off the screen.)

const DateValue noon = at(2009, 2, 1, 12, 0, 0);
const DateValue kSecond = 1.0 / 86400;

const Case kCases[] = {
    {"start draws everything, a second tick in the same second nothing",
     {{noon, 0, L"2009|2|1|12|0|0", L"|||||", L"|||", 2, 1}, {noon, 0, L"", L"", L"", 0, 0}}},
    {"the target passes: all four red with the sign, then counting up; set back: all four green again",
     {{noon - kSecond, noon, L"2009|2|1|11|59|59", L"2009|2|1|12|0|0", L"||||0|0|0|1", 2, 1},
      {noon, noon, L"12|0|0", L"", L"0", 2, 0},
      {noon + kSecond, noon, L"1", L"", L"-0|0|0|1", 4, 0},
      {noon + 2 * kSecond, noon, L"2", L"", L"2", 4, 0},
      {noon - 5 * kSecond, noon, L"11|59|55", L"", L"0|0|0|5", 2, 0},
      {noon + kSecond, noon, L"12|0|1", L"", L"-0|0|0|1", 4, 0}}},
    {"days modulo 10000",
     {{noon, noon + 12345, L"2009|2|1|12|0|0", L"2042|11|20|12|0|0", L"||||2345|0|0|0", 2, 1}}},
    {"2,147,483,647 seconds past still counts",
     {{noon, noon - 2147483647.0 * kSecond, L"2009|2|1|12|0|0", L"1941|1|14|8|45|53", L"||||-4855|3|14|7", 0, 1}}},
    {"a target too far to count leaves the row unlit",
     {{noon, noon + 2147483649.0 * kSecond, L"2009|2|1|12|0|0", L"2077|2|19|15|14|9", L"|||", 2, 1},
      {noon + kSecond, noon + 2147483649.0 * kSecond, L"1", L"", L"", 0, 0}}},
    {"a new target and a cleared one show at the next second",
     {{noon, 0, L"2009|2|1|12|0|0", L"|||||", L"|||", 0, 1},
      {noon + kSecond, at(2009, 2, 3, 0, 0, 0), L"1", L"2009|2|3|0|0|0", L"||||1|11|59|59", 2, 0},
      {noon + 2 * kSecond, 0, L"2", L"|||||", L"|||", 0, 0},
      {noon + 3 * kSecond, 0, L"3", L"", L"", 0, 0}}},
    {"the calendar follows another day, month or year, not another time of day",
     {{at(2009, 2, 1, 23, 59, 59), 0, L"2009|2|1|23|59|59", L"|||||", L"|||", 0, 1},
      {at(2009, 2, 2, 0, 0, 0), 0, L"2|0|0|0", L"", L"", 0, 1},
      {at(2009, 3, 2, 0, 0, 0), 0, L"3", L"", L"", 0, 1},
      {at(2010, 3, 2, 0, 0, 0), 0, L"2010", L"", L"", 0, 1},
      {at(2010, 3, 2, 7, 0, 0), 0, L"7", L"", L"", 0, 0}}},
};

TEST(ClockTick, EachRuleSecondBySecond) {
    for (const auto& [rule, steps] : kCases) {
        ClockState state;
        for (size_t i = 0; i < steps.size(); ++i) {
            const Step& s = steps[i];
            RecordingPainter p;
            if (i == 0) startClock(state, s.target, s.now, p);
            else tim10ms_Timer(state, s.now, s.target, p);
            const std::string where = std::string(rule) + ", step " + std::to_string(i);
            EXPECT_EQ(p.row(0), s.nowRow) << where;
            EXPECT_EQ(p.row(1), s.targetRow) << where;
            EXPECT_EQ(p.row(2), s.countdown) << where;
            if (s.colour && !p.rows[2].empty()) {
                // The unlit fields drawn at start are green too.
                EXPECT_EQ(p.countdownColours, std::set<int>{s.colour}) << where;
            }
            EXPECT_EQ(p.calendars, s.calendars) << where;
        }
    }
    // 1899-12-29 06:00 is -1.25 in the date type but only 18 hours before 1899-12-30 00:00.
    EXPECT_EQ(secondsBetween(-1.25, 0), 18 * 3600);
}

// Orange is the clock's own pair (target and countdown green); any other lights every row; passed is red.
TEST(ClockTick, TheChosenDigitColourLightsEveryRow) {
    for (auto [choice, now, target] : {std::tuple{6, 6, 2}, {2, 2, 2}, {7, 7, 7}, {5, 5, 5}}) {
        ClockState state;
        state.colours = digitColoursFor(choice);
        RecordingPainter start, passed;
        startClock(state, noon + 1, noon, start);
        tim10ms_Timer(state, noon + 2, noon + 1, passed);
        const std::set<int> rows[] = {{now}, {target}, {target}};
        for (int row = 0; row < 3; ++row) EXPECT_EQ(start.litColours[row], rows[row]) << choice << " row " << row;
        EXPECT_EQ(passed.litColours[2], std::set<int>{4}) << choice;
    }
}

}  // namespace
