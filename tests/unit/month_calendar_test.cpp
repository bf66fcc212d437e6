#include "app/month_calendar.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "holidays/holiday_days.h"

using namespace tavro::app;
using tavro::datetime::CivilDateTime;
using tavro::datetime::makeDate;
using tavro::datetime::makeDateTime;

namespace {

// The 42 cells in drawing order as "text:colour", blank cells as "-"; the dates asked about.
struct GridPainter : ClockPainter {
    std::vector<std::string> cells;
    std::string grid;
    void draw7seg(float x, float y, std::wstring_view t, std::wstring_view text, int colour) override {
        const int i = static_cast<int>(cells.size());
        EXPECT_TRUE(t == L"Z0" && x == calendarCellX(i % 7) && y == calendarCellY(i / 7)) << i;
        cells.push_back(text.empty() && colour == kColourWhite ? "-"
                                                               : std::string(text.begin(), text.end()) + ":" +
                                                                     std::to_string(colour));
        grid += cells.back() + " ";
    }
    void showMonthOf(DateValue) override { ADD_FAILURE() << "the calendar does not call itself"; }
};

struct ListedHolidays : tavro::holidays::HolidayLookup {
    std::vector<DateValue> list, selected;
    mutable std::vector<DateValue> asked;
    void selectMonth(const DateValue& firstDay) override { selected.push_back(firstDay); }
    bool isHappy(const DateValue& date) const override {
        asked.push_back(date);
        return tavro::holidays::isHappy(list, static_cast<int>(list.size()), date);
    }
};

DateValue at(int y, int mo, int d, int h) { return makeDateTime(CivilDateTime{y, mo, d, h, 0, 0}); }

TEST(MonthCalendar, GridsAndColours) {
    struct Case {
        DateValue now;
        std::vector<DateValue> holidays;
        const char* grid;
    } cases[] = {
        // Sunday the 1st, 28 days: four full rows, two blank ones; today on a Sunday is orange.
        {at(2009, 2, 1, 12), {},
         "1:6 2:7 3:7 4:7 5:7 6:7 7:3 8:4 9:7 10:7 11:7 12:7 13:7 14:3 15:4 16:7 17:7 18:7 19:7 20:7 21:3 "
         "22:4 23:7 24:7 25:7 26:7 27:7 28:3 - - - - - - - - - - - - - - "},
        // Saturday the 1st, 31 days: six blanks first, the 31st in the sixth row.
        {at(2009, 8, 20, 0), {},
         "- - - - - - 1:3 2:4 3:7 4:7 5:7 6:7 7:7 8:3 9:4 10:7 11:7 12:7 13:7 14:7 15:3 16:4 17:7 18:7 19:7 "
         "20:6 21:7 22:3 23:4 24:7 25:7 26:7 27:7 28:7 29:3 30:4 31:7 - - - - - "},
        // Holidays on Sunday 3, Monday 4, Tuesday 5 (today: orange wins) and Saturday 16 (red, not light blue).
        {at(2009, 5, 5, 23), {makeDate(2009, 5, 3), makeDate(2009, 5, 4), makeDate(2009, 5, 5), makeDate(2009, 5, 16)},
         "- - - - - 1:7 2:3 3:4 4:4 5:6 6:7 7:7 8:7 9:3 10:4 11:7 12:7 13:7 14:7 15:7 16:4 17:4 18:7 19:7 20:7 "
         "21:7 22:7 23:3 24:4 25:7 26:7 27:7 28:7 29:7 30:3 31:4 - - - - - - "},
    };
    for (const Case& c : cases) {
        GridPainter p;
        ListedHolidays h;
        h.list = c.holidays;
        drawCalender(p, c.now, h);
        EXPECT_EQ(p.grid, c.grid);
        const CivilDateTime civil = tavro::datetime::toCivil(c.now);
        EXPECT_EQ(h.selected, std::vector<DateValue>{makeDate(civil.year, civil.month, 1)});
        int sundays = 0;  // neither today nor a Sunday is looked up; every other day once
        for (size_t i = 0; i < p.cells.size(); i += 7) sundays += p.cells[i] != "-";
        const int today = tavro::datetime::weekdayOf(makeDate(civil.year, civil.month, civil.day)) != 0;
        EXPECT_EQ(static_cast<int>(h.asked.size()), tavro::datetime::daysInMonth(civil.year, civil.month) - sundays - today);
    }
}

}  // namespace
