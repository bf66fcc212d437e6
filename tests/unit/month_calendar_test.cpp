#include "app/month_calendar.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "holidays/holiday_days.h"

using namespace tavro::app;
using tavro::datetime::CivilDateTime;
using tavro::datetime::makeDate;
using tavro::datetime::makeDateTime;

namespace {

struct Cell {
    std::wstring text;
    int colour;
    bool operator==(const Cell&) const = default;
};

// Records the cells by grid position, and every draw in order.
struct GridPainter : ClockPainter {
    std::vector<std::pair<int, int>> order;  // (column, row) of each draw
    std::map<std::pair<int, int>, Cell> cells;
    void draw7seg(float x, float y, std::wstring_view t, std::wstring_view text, int colour) override {
        EXPECT_EQ(t, L"Z0");
        const int column = static_cast<int>((x - 2.5f) / 2.5f);
        const int row = static_cast<int>((y - 4.75f) / 2.5f);
        EXPECT_EQ(calendarCellX(column), x);
        EXPECT_EQ(calendarCellY(row), y);
        order.push_back({column, row});
        cells[{column, row}] = {std::wstring(text), colour};
    }
    void drawCalender(DateValue) override { ADD_FAILURE() << "the calendar does not call itself"; }
    Cell at(int column, int row) const { return cells.at({column, row}); }
};

// Holidays from a fixed list; it notes the fetch and every date asked about.
struct ListedHolidays : tavro::holidays::HolidayLookup {
    std::vector<DateValue> list;
    std::vector<DateValue> loads;
    mutable std::vector<DateValue> asked;
    int loadResult = 0;
    int loadHappyDays(const DateValue& firstDay) override {
        loads.push_back(firstDay);
        return loadResult;
    }
    bool isHappy(const DateValue& date) const override {
        asked.push_back(date);
        return tavro::holidays::isHappy(list, static_cast<int>(list.size()), date);
    }
};

DateValue at(int y, int mo, int d, int h = 12, int mi = 0, int s = 0) {
    return makeDateTime(CivilDateTime{y, mo, d, h, mi, s});
}

GridPainter draw(DateValue now, ListedHolidays& holidays) {
    GridPainter p;
    drawCalender(p, now, holidays);
    return p;
}

const Cell kBlank{L"", kColourWhite};

TEST(MonthCalendarGrid, FebruaryOf2009FillsFourRowsExactlyAndBlanksTheLastTwo) {
    ListedHolidays none;
    const GridPainter p = draw(at(2009, 2, 3), none);
    ASSERT_EQ(p.order.size(), 42u);
    EXPECT_EQ(p.cells.size(), 42u);
    for (int day = 1; day <= 28; ++day) EXPECT_EQ(p.at((day - 1) % 7, (day - 1) / 7).text, std::to_wstring(day));
    for (int r = 4; r < 6; ++r)
        for (int c = 0; c < 7; ++c) EXPECT_EQ(p.at(c, r), kBlank) << c << "," << r;
    EXPECT_EQ(p.order.front(), std::make_pair(0, 0));  // no blank before the 1st
}

TEST(MonthCalendarGrid, AugustOf2009StartsOnSaturdayAndEndsInTheSixthRow) {
    ListedHolidays none;
    const GridPainter p = draw(at(2009, 8, 20), none);
    ASSERT_EQ(p.order.size(), 42u);
    for (int c = 0; c < 6; ++c) EXPECT_EQ(p.at(c, 0), kBlank);
    EXPECT_EQ(p.at(6, 0), (Cell{L"1", kColourLightBlue}));
    EXPECT_EQ(p.at(1, 5), (Cell{L"31", kColourWhite}));
    for (int c = 2; c < 7; ++c) EXPECT_EQ(p.at(c, 5), kBlank);
    // Drawn left to right, top to bottom.
    for (std::size_t i = 0; i < p.order.size(); ++i)
        EXPECT_EQ(p.order[i], std::make_pair(static_cast<int>(i % 7), static_cast<int>(i / 7)));
}

TEST(MonthCalendarGrid, AMonthEndingInTheFifthRowGetsOneWholeBlankRow) {
    ListedHolidays none;
    const GridPainter p = draw(at(2009, 3, 1), none);  // Sunday the 1st, 31 days: ends row 4, column 2
    ASSERT_EQ(p.order.size(), 42u);
    EXPECT_EQ(p.at(2, 4).text, L"31");
    for (int c = 3; c < 7; ++c) EXPECT_EQ(p.at(c, 4), kBlank);
    for (int c = 0; c < 7; ++c) EXPECT_EQ(p.at(c, 5), kBlank);
}

TEST(MonthCalendarColours, EachKindOfDayHasItsColourAndTodayWins) {
    ListedHolidays h;
    // 2009-05: Fri 1st. Holidays 3 (Sun), 4 (Mon), 5 (Tue), 6 (Wed); a Saturday holiday 16 for the test.
    h.list = {makeDate(2009, 5, 3), makeDate(2009, 5, 4), makeDate(2009, 5, 5), makeDate(2009, 5, 6),
              makeDate(2009, 5, 16)};
    const GridPainter p = draw(at(2009, 5, 5), h);
    auto cellOf = [&](int day) { return p.at((day + 4) % 7, (day + 4) / 7); };
    EXPECT_EQ(cellOf(5), (Cell{L"5", kColourOrange}));      // today, though a holiday
    EXPECT_EQ(cellOf(4), (Cell{L"4", kColourRed}));         // a holiday on a Monday
    EXPECT_EQ(cellOf(16), (Cell{L"16", kColourRed}));       // a holiday on a Saturday: red, not light blue
    EXPECT_EQ(cellOf(3), (Cell{L"3", kColourRed}));         // a Sunday
    EXPECT_EQ(cellOf(10), (Cell{L"10", kColourRed}));       // a Sunday without a holiday
    EXPECT_EQ(cellOf(9), (Cell{L"9", kColourLightBlue}));   // a Saturday
    EXPECT_EQ(cellOf(7), (Cell{L"7", kColourWhite}));
    EXPECT_EQ(cellOf(1), (Cell{L"1", kColourWhite}));
}

TEST(MonthCalendarColours, NeitherTodayNorSundaysAreLookedUp) {
    ListedHolidays h;
    draw(at(2009, 5, 13), h);  // Wednesday the 13th
    const std::set<DateValue> asked(h.asked.begin(), h.asked.end());
    EXPECT_EQ(asked.size(), h.asked.size()) << "each day asked once";
    EXPECT_EQ(h.asked.size(), 31u - 5u - 1u);  // five Sundays and today
    for (int sunday : {3, 10, 17, 24, 31}) EXPECT_FALSE(asked.count(makeDate(2009, 5, sunday)));
    EXPECT_FALSE(asked.count(makeDate(2009, 5, 13)));
    for (DateValue d : h.asked) EXPECT_EQ(d, static_cast<double>(static_cast<long long>(d))) << "a pure date";
}

TEST(MonthCalendarColours, TodayOnASundayIsOrange) {
    ListedHolidays h;
    const GridPainter p = draw(at(2009, 2, 1), h);
    EXPECT_EQ(p.at(0, 0), (Cell{L"1", kColourOrange}));
    EXPECT_EQ(p.at(0, 1), (Cell{L"8", kColourRed}));
}

TEST(MonthCalendarFetch, TheFeedIsAskedForTheFirstDayOfTheMonthEveryTime) {
    ListedHolidays h;
    h.loadResult = 12029;  // a failed fetch changes nothing in the drawing but the red days
    draw(at(2009, 8, 31, 23, 59, 59), h);
    draw(at(2009, 9, 1, 0, 0, 0), h);
    ASSERT_EQ(h.loads.size(), 2u);
    EXPECT_EQ(h.loads[0], makeDate(2009, 8, 1));
    EXPECT_EQ(h.loads[1], makeDate(2009, 9, 1));
}

TEST(MonthCalendarFetch, TheTimeOfDayPlaysNoPart) {
    ListedHolidays h;
    h.list = {makeDate(2010, 3, 22)};
    const GridPainter late = draw(at(2010, 3, 22, 23, 59, 59), h);
    const GridPainter early = draw(at(2010, 3, 22, 0, 0, 0), h);
    EXPECT_EQ(late.cells, early.cells);
    EXPECT_EQ(late.at(1, 3), (Cell{L"22", kColourOrange}));
}

TEST(MonthCalendarGrid, YearsBeforeTheDateTypesZeroDrawTheSameWay) {
    ListedHolidays none;
    // 1899-12-01 was a Friday; its dates are negative values.
    const GridPainter p = draw(at(1899, 12, 25), none);
    ASSERT_EQ(p.order.size(), 42u);
    EXPECT_EQ(p.at(5, 0), (Cell{L"1", kColourWhite}));
    EXPECT_EQ(p.at(1, 4), (Cell{L"25", kColourOrange}));
    EXPECT_EQ(p.at(0, 5), (Cell{L"31", kColourRed}));
}

// The lookup over a list, and the fallback to the computed holidays.
TEST(HolidayList, ListLookupHonoursTheCountAndFindsDuplicates) {
    using tavro::holidays::isHappy;
    const std::vector<DateValue> list{makeDate(2009, 1, 1), makeDate(2009, 1, 12), makeDate(2009, 1, 12)};
    EXPECT_TRUE(isHappy(list, 3, makeDate(2009, 1, 12)));
    EXPECT_FALSE(isHappy(list, 1, makeDate(2009, 1, 12)));  // only the first happyCount entries
    EXPECT_FALSE(isHappy({}, 0, makeDate(2009, 1, 1)));
    EXPECT_FALSE(isHappy(list, 0, makeDate(2009, 1, 1)));
    EXPECT_FALSE(isHappy(list, 99, makeDate(2009, 1, 2)));  // a count past the list reads no further
    EXPECT_FALSE(isHappy(list, -1, makeDate(2009, 1, 1)));
}

// A feed that either cannot be reached or answers with the given body.
struct OneAnswerSteps : tavro::holidays::HttpSteps {
    int failure = 0;
    std::string body;
    std::size_t sent = 0;
    int openInternet() override {
        sent = 0;
        return failure;
    }
    int openConnection(const std::string&, int) override { return 0; }
    int openRequest(const std::string&, const std::string&) override { return 0; }
    int sendRequest() override { return 0; }
    int queryInfo(int, std::string& status) override {
        status = "200";
        return 0;
    }
    int readChunk(uint8_t* buffer, int capacity, int& got) override {
        got = static_cast<int>(std::min<std::size_t>(static_cast<std::size_t>(capacity), body.size() - sent));
        std::copy_n(body.data() + sent, got, buffer);
        sent += static_cast<std::size_t>(got);
        return 0;
    }
    void closeRequest() override {}
    void closeConnection() override {}
    void closeInternet() override {}
};

TEST(HolidayList, AnAnsweringFeedIsTakenAsItIsEvenWhenItListsNothing) {
    OneAnswerSteps steps;
    steps.body = "<gd:when startTime='2009-05-07'/>";  // not a real holiday: the feed has the last word
    tavro::holidays::HappyFromGoogle feed(steps);
    tavro::holidays::FeedOrComputedHolidays holidays(feed);
    EXPECT_EQ(holidays.loadHappyDays(makeDate(2009, 5, 1)), 0);
    EXPECT_TRUE(holidays.usingFeed());
    EXPECT_TRUE(holidays.isHappy(makeDate(2009, 5, 7)));
    EXPECT_FALSE(holidays.isHappy(makeDate(2009, 5, 4)));

    steps.body = "<feed></feed>";
    EXPECT_EQ(holidays.loadHappyDays(makeDate(2009, 5, 1)), 0);
    EXPECT_FALSE(holidays.isHappy(makeDate(2009, 5, 4)));
    EXPECT_FALSE(holidays.isHappy(makeDate(2009, 5, 7)));
}

TEST(HolidayList, WithoutTheFeedTheNationalHolidaysOfTheAskedMonthsAreUsed) {
    OneAnswerSteps steps;
    steps.failure = 12029;  // cannot connect
    tavro::holidays::HappyFromGoogle feed(steps);
    tavro::holidays::FeedOrComputedHolidays holidays(feed);
    EXPECT_EQ(holidays.loadHappyDays(makeDate(2009, 5, 1)), 12029);
    EXPECT_FALSE(holidays.usingFeed());
    for (int day : {3, 4, 5, 6}) EXPECT_TRUE(holidays.isHappy(makeDate(2009, 5, day))) << day;  // 6: substitute
    EXPECT_TRUE(holidays.isHappy(makeDate(2009, 4, 29)));  // the month before
    EXPECT_FALSE(holidays.isHappy(makeDate(2009, 5, 7)));
    EXPECT_FALSE(holidays.isHappy(makeDate(2009, 7, 20)));  // beyond the month after

    // Once the feed answers again, its list alone counts.
    steps.failure = 0;
    steps.body = "<gd:when startTime='2009-05-05'/>";
    EXPECT_EQ(holidays.loadHappyDays(makeDate(2009, 5, 1)), 0);
    EXPECT_TRUE(holidays.isHappy(makeDate(2009, 5, 5)));
    EXPECT_FALSE(holidays.isHappy(makeDate(2009, 5, 4)));
}

}  // namespace
