#include "app/clock_tick.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace tavro::app;
using tavro::datetime::CivilDateTime;
using tavro::datetime::makeDateTime;

namespace {
struct Call {
    float x, y;
    std::wstring templ, text;
    int colour;
};

struct RecordingPainter : ClockPainter {
    std::vector<Call> calls;
    std::vector<DateValue> calendars;
    void draw7seg(float x, float y, std::wstring_view t, std::wstring_view text, int colour) override {
        calls.push_back({x, y, std::wstring(t), std::wstring(text), colour});
    }
    void drawCalender(DateValue now) override { calendars.push_back(now); }
    void clear() {
        calls.clear();
        calendars.clear();
    }
    std::vector<Call> row(float y) const {
        std::vector<Call> out;
        for (const Call& c : calls)
            if (c.y == y) out.push_back(c);
        return out;
    }
    std::wstring texts(float y) const {
        std::wstring out;
        bool first = true;
        for (const Call& c : row(y)) {
            out += (first ? L"" : L"|") + c.text;
            first = false;
        }
        return out;
    }
};

DateValue at(int y, int mo, int d, int h, int mi, int s) { return makeDateTime(CivilDateTime{y, mo, d, h, mi, s}); }
constexpr float kNowRow = 1, kTargetRow = 22, kCountdownRow = 26;

struct Clock {
    ClockState state;
    RecordingPainter painter;
    DateValue target = 0;
    void start(DateValue storedTarget, DateValue now) {
        target = storedTarget;
        startClock(state, storedTarget, now, painter);
    }
    void tick(DateValue now) {
        painter.clear();
        tim10ms_Timer(state, now, target, painter);
    }
};
}  // namespace

TEST(ClockTick, FirstTickDrawsEverythingAndASecondTickInTheSameSecondNothing) {
    Clock clock;
    clock.start(0, at(2009, 2, 1, 12, 0, 0));
    EXPECT_EQ(clock.painter.texts(kNowRow), L"2009|2|1|12|0|0");
    for (const Call& c : clock.painter.row(kNowRow)) EXPECT_EQ(c.colour, kColourOrange);
    EXPECT_EQ(clock.painter.calendars.size(), 1u);
    clock.tick(at(2009, 2, 1, 12, 0, 0));
    EXPECT_TRUE(clock.painter.calls.empty());
    EXPECT_TRUE(clock.painter.calendars.empty());
}

TEST(ClockTick, OnlyTheFieldsThatChangedAreRedrawn) {
    Clock clock;
    clock.start(0, at(2009, 2, 1, 9, 59, 59));
    clock.tick(at(2009, 2, 1, 10, 0, 0));
    ASSERT_EQ(clock.painter.calls.size(), 3u);
    EXPECT_EQ(clock.painter.calls[0].x, 12);
    EXPECT_EQ(clock.painter.calls[0].text, L"10");
    EXPECT_EQ(clock.painter.calls[0].templ, L"Z0");
    EXPECT_EQ(clock.painter.calls[1].x, 15);
    EXPECT_EQ(clock.painter.calls[1].templ, L"00");
    EXPECT_EQ(clock.painter.calls[2].x, 18);
    EXPECT_EQ(clock.painter.calls[2].text, L"0");
    // Setting the clock back redraws at once.
    clock.tick(at(2009, 2, 1, 9, 59, 58));
    EXPECT_EQ(clock.painter.texts(kNowRow), L"9|59|58");
}

TEST(ClockTick, NoTargetLeavesTheTargetAndCountdownRowsUnlit) {
    Clock clock;
    clock.start(0, at(2009, 2, 1, 12, 0, 0));
    EXPECT_EQ(clock.painter.texts(kTargetRow), L"|||||");
    const auto countdown = clock.painter.row(kCountdownRow);
    ASSERT_EQ(countdown.size(), 4u);
    EXPECT_EQ(countdown[0].templ, L"↓ZZZ0");
    for (const Call& c : countdown) EXPECT_EQ(c.text, L"");
    for (int s = 1; s < 5; ++s) {
        clock.tick(at(2009, 2, 1, 12, 0, s));
        EXPECT_TRUE(clock.painter.row(kTargetRow).empty());
        EXPECT_TRUE(clock.painter.row(kCountdownRow).empty());
    }
}

TEST(ClockCountdown, OneHourAheadCountsDownInGreen) {
    Clock clock;
    clock.start(at(2009, 2, 1, 13, 0, 0), at(2009, 2, 1, 12, 0, 0));
    EXPECT_EQ(clock.painter.texts(kTargetRow), L"2009|2|1|13|0|0");
    // The unlit row first, then the values over it.
    const auto rows = clock.painter.row(kCountdownRow);
    ASSERT_EQ(rows.size(), 8u);
    EXPECT_EQ(rows[4].text, L"0");
    EXPECT_EQ(rows[5].text, L"1");
    EXPECT_EQ(rows[6].text, L"0");
    EXPECT_EQ(rows[7].text, L"0");
    for (size_t i = 4; i < 8; ++i) EXPECT_EQ(rows[i].colour, kColourGreen);
    clock.tick(at(2009, 2, 1, 12, 0, 1));
    EXPECT_EQ(clock.painter.texts(kCountdownRow), L"0|59|59") << "hours, minutes, seconds; not the days";
}

TEST(ClockCountdown, AtTheTargetGreenThenRedAndCountingUp) {
    Clock clock;
    const DateValue target = at(2010, 12, 31, 23, 59, 59);
    clock.start(target, at(2010, 12, 31, 23, 59, 58));
    clock.tick(target);
    EXPECT_EQ(clock.painter.texts(kCountdownRow), L"0");
    clock.tick(at(2011, 1, 1, 0, 0, 0));
    const auto crossed = clock.painter.row(kCountdownRow);
    ASSERT_EQ(crossed.size(), 4u) << "all four fields in the new colour";
    EXPECT_EQ(crossed[0].text, L"-0");
    EXPECT_EQ(crossed[3].text, L"1");
    for (const Call& c : crossed) EXPECT_EQ(c.colour, kColourRed);
    clock.tick(at(2011, 1, 1, 0, 0, 1));
    EXPECT_EQ(clock.painter.texts(kCountdownRow), L"2");
    EXPECT_EQ(clock.painter.row(kCountdownRow)[0].colour, kColourRed);
}

TEST(ClockCountdown, DaysAreShownModuloTenThousandAndFarTargetsAreNotCounted) {
    Clock near;
    const DateValue now = at(2009, 2, 1, 12, 0, 0);
    near.start(now + 12345, now);
    EXPECT_EQ(near.painter.row(kCountdownRow)[4].text, L"2345");

    Clock far;  // 2,147,483,649 seconds ahead: more than fits, also a second later
    far.start(now + 2147483649.0 / 86400, now);
    EXPECT_EQ(far.painter.row(kCountdownRow).size(), 4u) << "only the unlit row";
    far.tick(now + 1.0 / 86400);
    EXPECT_TRUE(far.painter.row(kCountdownRow).empty());

    Clock edge;  // exactly 2,147,483,647 seconds still counts
    edge.start(now + 2147483647.0 / 86400, now);
    EXPECT_EQ(edge.painter.row(kCountdownRow).size(), 8u);
}

TEST(ClockTarget, ANewTargetAndAClearedOneShowAtTheNextSecond) {
    Clock clock;
    clock.start(0, at(2009, 2, 1, 12, 0, 0));
    clock.target = at(2009, 2, 3, 0, 0, 0);
    clock.tick(at(2009, 2, 1, 12, 0, 1));
    EXPECT_EQ(clock.painter.texts(kTargetRow), L"2009|2|3|0|0|0");
    EXPECT_EQ(clock.painter.texts(kCountdownRow), L"||||1|11|59|59");
    clock.target = 0;
    clock.tick(at(2009, 2, 1, 12, 0, 2));
    EXPECT_EQ(clock.painter.texts(kTargetRow), L"|||||");
    EXPECT_EQ(clock.painter.texts(kCountdownRow), L"|||");
    clock.tick(at(2009, 2, 1, 12, 0, 3));
    EXPECT_TRUE(clock.painter.row(kCountdownRow).empty());
}

TEST(ClockTarget, APickedUpTargetShowsAtOnceAndTheNextSecondCountsIt) {
    Clock clock;
    clock.start(0, at(2009, 2, 1, 12, 0, 0));
    clock.painter.clear();
    clock.target = at(2009, 2, 3, 0, 0, 0);
    pickUpTarget(clock.state, clock.target, clock.painter);
    EXPECT_EQ(clock.painter.texts(kTargetRow), L"2009|2|3|0|0|0");
    EXPECT_EQ(clock.painter.texts(kCountdownRow), L"|||");  // unlit until counted
    EXPECT_TRUE(clock.painter.row(kNowRow).empty());
    clock.painter.clear();
    pickUpTarget(clock.state, clock.target, clock.painter);
    EXPECT_TRUE(clock.painter.calls.empty()) << "the shown target is not drawn again";
    clock.tick(at(2009, 2, 1, 12, 0, 1));
    EXPECT_TRUE(clock.painter.row(kTargetRow).empty());
    EXPECT_EQ(clock.painter.texts(kCountdownRow), L"1|11|59|59");
}

TEST(ClockCalendar, RedrawnWhenTheDayNumberChangesOnly) {
    Clock clock;
    clock.start(0, at(2009, 2, 1, 23, 59, 59));
    clock.tick(at(2009, 2, 2, 0, 0, 0));
    ASSERT_EQ(clock.painter.calendars.size(), 1u);
    EXPECT_EQ(clock.painter.calendars[0], at(2009, 2, 2, 0, 0, 0));
    clock.tick(at(2009, 3, 2, 0, 0, 5));  // a jump to the same day number of another month
    EXPECT_TRUE(clock.painter.calendars.empty());
}

TEST(ClockCountdown, SecondsAreCountedOnTheRealTimeLineBefore1900) {
    // 1899-12-29 06:00 is -1.25 in the date type but only 18 hours before 1899-12-30 00:00.
    EXPECT_EQ(secondsBetween(-1.25, 0), 18 * 3600);
    EXPECT_EQ(secondsBetween(at(2009, 2, 1, 12, 0, 0), at(2009, 2, 1, 11, 0, 0)), -3600);
}
