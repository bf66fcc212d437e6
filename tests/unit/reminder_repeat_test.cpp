// The repeat rules in one table: each event is read from iCalendar lines as another calendar
// program (or the clock) writes them, and its occurrences listed from a moment on. Expected
// days are the calendar's own facts: holidays by law, 旧暦 dates as published (中秋の名月, 旧正月).
#include <gtest/gtest.h>

#include <string>

#include "holidays/national_holidays.h"
#include "reminders/ics_values.h"
#include "reminders/reminder_file.h"
#include "reminders/schedule.h"

namespace tavro::reminders {
namespace {

Reminder readOne(const std::string& lines) {
    const std::string file = "BEGIN:VCALENDAR\nVERSION:2.0\nBEGIN:VEVENT\nUID:t\n" + lines + "\nEND:VEVENT\nEND:VCALENDAR\n";
    ReminderFileRead read = readReminderFile(file);
    EXPECT_EQ(read.error, IcsError::None) << lines;
    EXPECT_EQ(read.file.reminders.size(), 1u) << lines;
    return read.file.reminders.empty() ? Reminder{} : read.file.reminders[0];
}

std::string textOf(LocalMinute m, bool wholeDay) { return wholeDay ? formatIcsDate(dayOf(m)) : formatIcsDateTime(m).substr(0, 13); }

LocalMinute at(const char* text) {
    const auto v = parseIcsDateTime(text);
    return v->day * kMinutesPerDay + v->secondOfDay / 60;
}

HolidayTest lawHolidays() {
    std::vector<int64_t> days;
    for (const auto& h : holidays::nationalHolidays(datetime::makeDate(1948, 1, 1), datetime::makeDate(2100, 12, 31))) {
        days.push_back(static_cast<int64_t>(h.date));
    }
    return holidayTestFromDays(days);
}

struct Row {
    const char* what;
    const char* lines;
    const char* from;
    const char* expected;  // the first occurrences at or after `from`, up to 6
};

const Row kRows[] = {
    {"しない: the start alone", "DTSTART:20261210T100000", "20260101T000000", "20261210T1000"},
    {"しない, already past", "DTSTART:20261210T100000", "20261210T100100", ""},
    {"毎日", "DTSTART:20261230T083000\nRRULE:FREQ=DAILY", "20261231T090000", "20270101T0830 20270102T0830 20270103T0830 20270104T0830 20270105T0830 20270106T0830"},
    {"平日 as other programs write it", "DTSTART:20261231T090000\nRRULE:FREQ=WEEKLY;BYDAY=MO,TU,WE,TH,FR", "20261231T090000",
     "20261231T0900 20270101T0900 20270104T0900 20270105T0900 20270106T0900 20270107T0900"},
    {"毎週 月・水", "DTSTART:20261207T100000\nRRULE:FREQ=WEEKLY;BYDAY=MO,WE", "20261208T000000",
     "20261209T1000 20261214T1000 20261216T1000 20261221T1000 20261223T1000 20261228T1000"},
    {"2週ごと 月・水", "DTSTART:20261207T100000\nRRULE:FREQ=WEEKLY;INTERVAL=2;BYDAY=MO,WE", "20261207T000000",
     "20261207T1000 20261209T1000 20261221T1000 20261223T1000 20270104T1000 20270106T1000"},
    {"毎月 31日: months without a 31st are skipped", "DTSTART:20260131T100000\nRRULE:FREQ=MONTHLY", "20260101T000000",
     "20260131T1000 20260331T1000 20260531T1000 20260731T1000 20260831T1000 20261031T1000"},
    {"毎月 末日", "DTSTART;VALUE=DATE:20240131\nRRULE:FREQ=MONTHLY;BYMONTHDAY=-1", "20240101T000000", "20240131 20240229 20240331 20240430 20240531 20240630"},
    {"毎月 第2火曜日", "DTSTART:20260113T190000\nRRULE:FREQ=MONTHLY;BYDAY=2TU", "20260101T000000",
     "20260113T1900 20260210T1900 20260310T1900 20260414T1900 20260512T1900 20260609T1900"},
    {"毎月 最終金曜日", "DTSTART:20260130T180000\nRRULE:FREQ=MONTHLY;BYDAY=-1FR", "20260101T000000",
     "20260130T1800 20260227T1800 20260327T1800 20260424T1800 20260529T1800 20260626T1800"},
    {"the 5th Friday: months without one are skipped", "DTSTART:20260130T073000\nRRULE:FREQ=MONTHLY;BYDAY=5FR", "20260101T000000",
     "20260130T0730 20260529T0730 20260731T0730 20261030T0730 20270129T0730 20270430T0730"},
    {"3か月ごと", "DTSTART:20261115T120000\nRRULE:FREQ=MONTHLY;INTERVAL=3", "20261116T000000", "20270215T1200 20270515T1200 20270815T1200 20271115T1200 20280215T1200 20280515T1200"},
    {"毎年 29 February: leap years only, 2100 is none", "DTSTART;VALUE=DATE:20880229\nRRULE:FREQ=YEARLY", "20880101T000000", "20880229 20920229 20960229"},
    {"毎年, COUNT counts the start", "DTSTART;VALUE=DATE:20261210\nRRULE:FREQ=YEARLY;COUNT=3", "20200101T000000", "20261210 20271210 20281210"},
    {"COUNT counts EXDATE's days too", "DTSTART:20261201T070000\nRRULE:FREQ=DAILY;COUNT=4\nEXDATE:20261202T070000,20261203T070000", "20261201T000000",
     "20261201T0700 20261204T0700"},
    {"UNTIL: the last date is included", "DTSTART;VALUE=DATE:20261228\nRRULE:FREQ=DAILY;UNTIL=20261231", "20261201T000000", "20261228 20261229 20261230 20261231"},
    {"UNTIL in UTC on a local start", "DTSTART:20261228T100000\nRRULE:FREQ=DAILY;UNTIL=20261230T010000Z", "20261201T000000", "20261228T1000 20261229T1000 20261230T1000"},
    {"EXDATE as a date on a timed start", "DTSTART:20261207T100000\nRRULE:FREQ=WEEKLY\nEXDATE;VALUE=DATE:20261214", "20261201T000000",
     "20261207T1000 20261221T1000 20261228T1000 20270104T1000 20270111T1000 20270118T1000"},
    {"BYSETPOS: the last weekday of the month", "DTSTART:20260130T170000\nRRULE:FREQ=MONTHLY;BYDAY=MO,TU,WE,TH,FR;BYSETPOS=-1", "20260101T000000",
     "20260130T1700 20260227T1700 20260331T1700 20260430T1700 20260529T1700 20260630T1700"},
    {"the last Sunday of January", "DTSTART:20260125T100000\nRRULE:FREQ=YEARLY;BYMONTH=1;BYDAY=-1SU", "20260101T000000",
     "20260125T1000 20270131T1000 20280130T1000 20290128T1000 20300127T1000 20310126T1000"},
    {"BYSETPOS past the days a month has", "DTSTART:20260105T080000\nRRULE:FREQ=MONTHLY;BYDAY=MO;BYSETPOS=5", "20260101T000000",
     "20260330T0800 20260629T0800 20260831T0800 20261130T0800 20270329T0800 20270531T0800"},
    {"RDATE adds a day", "DTSTART:20261201T090000\nRRULE:FREQ=MONTHLY;COUNT=2\nRDATE:20261215T090000", "20261201T000000", "20261201T0900 20261215T0900 20270101T0900"},
    {"a rule that never yields a day", "DTSTART:20260101T090000\nRRULE:FREQ=YEARLY;BYMONTH=2;BYMONTHDAY=31", "19000101T000000", ""},
    {"the same, daily", "DTSTART:20260101T090000\nRRULE:FREQ=DAILY;BYMONTH=2;BYMONTHDAY=30,31", "19000101T000000", ""},
    {"FREQ=SECONDLY is kept, the start alone shown", "DTSTART:20261210T100000\nRRULE:FREQ=SECONDLY", "20260101T000000", "20261210T1000"},
    {"a huge COUNT runs to 2100", "DTSTART;VALUE=DATE:21001229\nRRULE:FREQ=DAILY;COUNT=2000000000", "21000101T000000", "21001229 21001230 21001231"},
    {"a start before 1900 repeats into the range", "DTSTART;VALUE=DATE:16040704\nRRULE:FREQ=YEARLY", "18000101T000000", "19000704 19010704 19020704 19030704 19040704 19050704"},
    {"毎年（旧暦）8月15日: 中秋の名月, over the leap months of 2023 and 2025",
     "DTSTART;VALUE=DATE:20220910\nX-TAVRO-OLD-CALENDAR:FREQ=YEARLY", "20220101T000000", "20220910 20230929 20240917 20251006 20260925 20270915"},
    {"旧暦 1月1日: 旧正月, every 2 years", "DTSTART:20230122T100000\nX-TAVRO-OLD-CALENDAR:FREQ=YEARLY;INTERVAL=2", "20230101T000000",
     "20230122T1000 20250129T1000 20270207T1000 20290213T1000 20310123T1000 20330131T1000"},
    {"旧暦 閏6月15日 repeats on the ordinary 6月15日", "DTSTART;VALUE=DATE:20250808\nX-TAVRO-OLD-CALENDAR:FREQ=YEARLY;COUNT=3", "20250101T000000",
     "20250808 20260728 20270718"},
    {"旧暦 1月30日 falls on the 29th of a 29-day month", "DTSTART;VALUE=DATE:20220302\nX-TAVRO-OLD-CALENDAR:FREQ=YEARLY", "20220101T000000",
     "20220302 20230219 20240309 20250227 20260318 20270307"},
};

TEST(ReminderRepeat, OccurrencesOfEachRule) {
    for (const Row& row : kRows) {
        const Reminder r = readOne(row.lines);
        const Schedule schedule(r, nullptr);
        std::string got;
        LocalMinute from = at(row.from);
        for (int i = 0; i < 6; ++i) {
            const auto next = schedule.nextAtOrAfter(from);
            if (!next) break;
            got += (got.empty() ? "" : " ") + textOf(*next, r.wholeDay);
            from = *next + 1;
        }
        EXPECT_EQ(got, row.expected) << row.what;
    }
}

// 祝日は除く over Golden Week 2026 (昭和の日 4/29, 5/3..5/5, 振替休日 5/6) and a 振替休日 Monday.
TEST(ReminderRepeat, SkipsHolidaysOverGoldenWeekAndASubstituteHoliday) {
    const HolidayTest holidays = lawHolidays();
    struct Case { const char* lines; const char* from; const char* to; const char* expected; } cases[] = {
        {"DTSTART:20260427T093000\nRRULE:FREQ=WEEKLY;BYDAY=MO,TU,WE,TH,FR\nX-TAVRO-SKIP-HOLIDAYS:TRUE", "20260427T000000", "20260509T000000",
         "20260427T0930 20260428T0930 20260430T0930 20260501T0930 20260507T0930 20260508T0930"},
        {"DTSTART:20250217T100000\nRRULE:FREQ=WEEKLY\nX-TAVRO-SKIP-HOLIDAYS:TRUE", "20250217T000000", "20250304T000000", "20250217T1000 20250303T1000"},
        {"DTSTART:20250217T100000\nRRULE:FREQ=WEEKLY", "20250217T000000", "20250304T000000", "20250217T1000 20250224T1000 20250303T1000"},
    };
    for (const Case& c : cases) {
        const Reminder r = readOne(c.lines);
        std::string got;
        for (LocalMinute m : Schedule(r, holidays).between(at(c.from), at(c.to))) got += (got.empty() ? "" : " ") + textOf(m, false);
        EXPECT_EQ(got, c.expected) << c.lines;
    }
}

// The latest occurrence in an interval (for what was missed), and the edges of between().
TEST(ReminderRepeat, LatestInAnIntervalAndRanges) {
    const Schedule daily(readOne("DTSTART:20261201T100000\nRRULE:FREQ=DAILY;COUNT=10\nEXDATE:20261205T100000"), nullptr);
    EXPECT_EQ(daily.latestIn(at("20261201T000000"), at("20261205T120000")), at("20261204T100000"));  // the 5th excluded
    EXPECT_EQ(daily.latestIn(at("20261203T100000"), at("20261204T100000")), at("20261204T100000"));  // after is exclusive, to inclusive
    EXPECT_EQ(daily.latestIn(at("20261204T100000"), at("20261205T235900")), std::nullopt);
    EXPECT_EQ(daily.latestIn(at("20261201T000000"), at("20301231T000000")), at("20261210T100000"));  // COUNT ends it
    EXPECT_EQ(daily.between(at("20261201T100000"), at("20261203T100000")).size(), 2u);
    EXPECT_EQ(daily.between(at("20261201T000000"), at("20301231T000000"), 3).size(), 3u);
    const Schedule old(readOne("DTSTART;VALUE=DATE:20220910\nX-TAVRO-OLD-CALENDAR:FREQ=YEARLY"), nullptr);
    EXPECT_EQ(old.latestIn(at("20220101T000000"), at("20251005T000000")), at("20240917T000000"));
    const Schedule never(readOne("DTSTART:20260101T090000\nRRULE:FREQ=MONTHLY;BYMONTHDAY=31;BYMONTH=2,4"), nullptr);
    EXPECT_FALSE(never.occursAtAll());
    const Schedule febWeeks(readOne("DTSTART:20260105T100000\nRRULE:FREQ=WEEKLY;BYMONTH=2"), nullptr);
    EXPECT_EQ(febWeeks.latestIn(at("20260101T000000"), at("20261231T000000")), at("20260223T100000"));
    const Schedule febDays(readOne("DTSTART:20250105T100000\nRRULE:FREQ=DAILY;BYMONTH=2"), nullptr);
    EXPECT_EQ(febDays.latestIn(at("20250101T000000"), at("20260601T000000")), at("20260228T100000"));
    const Schedule once(readOne("DTSTART:20261210T100000"), nullptr);
    EXPECT_EQ(once.latestIn(at("20261210T100000"), at("20261211T000000")), std::nullopt);
    EXPECT_EQ(once.latestIn(at("20261210T095900"), at("20261211T000000")), at("20261210T100000"));
    EXPECT_EQ(never.latestIn(at("19000101T000000"), at("21001231T000000")), std::nullopt);
}

}  // namespace
}  // namespace tavro::reminders
