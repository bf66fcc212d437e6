// The notice rules in one table: a clock's life as a list of steps (ticks, snoozes, restarts,
// the clock set back, sleeps, presentations) and what each step shows. Then the chime's table.
#include <gtest/gtest.h>

#include <string>

#include "reminders/chime_schedule.h"
#include "reminders/ics_values.h"
#include "reminders/reminder_file.h"
#include "reminders/reminder_notices.h"

namespace tavro::reminders {
namespace {

LocalMinute at(const char* text) {
    const auto v = parseIcsDateTime(text);
    return v->day * kMinutesPerDay + v->secondOfDay / 60;
}

// m: daily at 10:00, told 10 minutes before; w: a whole day, told at 9:00; off: turned off;
// quiet: no VALARM (shown, never told).
const char* kFile =
    "BEGIN:VCALENDAR\nVERSION:2.0\n"
    "BEGIN:VEVENT\nUID:m\nSUMMARY:会議\nDTSTART:20261210T100000\nRRULE:FREQ=DAILY\nX-TAVRO-SNOOZE:10\n"
    "BEGIN:VALARM\nACTION:AUDIO\nTRIGGER:-PT10M\nEND:VALARM\nEND:VEVENT\n"
    "BEGIN:VEVENT\nUID:w\nSUMMARY:誕生日\nDTSTART;VALUE=DATE:20261212\nRRULE:FREQ=YEARLY\n"
    "BEGIN:VALARM\nACTION:DISPLAY\nDESCRIPTION:誕生日\nTRIGGER:PT9H50M\nEND:VALARM\nEND:VEVENT\n"
    "BEGIN:VEVENT\nUID:off\nDTSTART:20261210T100000\nRRULE:FREQ=DAILY\nX-TAVRO-OFF:TRUE\n"
    "BEGIN:VALARM\nACTION:AUDIO\nTRIGGER:-PT10M\nEND:VALARM\nEND:VEVENT\n"
    "BEGIN:VEVENT\nUID:quiet\nDTSTART:20261210T095000\nRRULE:FREQ=DAILY\nEND:VEVENT\n"
    "END:VCALENDAR\n";

struct Step {
    char op;  // t: tick, s: snooze the last notice, r: restart, n: restart ticking before the file is read, f: first start
    const char* at;
    bool busy;
    const char* notices;  // key@start of each notice, "*" after a snoozed one
    const char* missed;
};

const Step kSteps[] = {
    {'f', "20261209T120000", false, "", ""},
    {'t', "20261209T120000", false, "", ""},                    // a first start tells none
    {'t', "20261210T094900", false, "", ""},
    {'t', "20261210T095000", false, "m@20261210T1000", ""},     // at its time
    {'t', "20261210T095000", false, "", ""},                    // never twice
    {'s', "20261210T095100", false, "", ""},                    // snoozed for its 10 minutes
    {'t', "20261210T100000", false, "", ""},
    {'t', "20261210T100100", false, "m@20261210T1000*", ""},    // told once more
    {'t', "20261210T101100", false, "", ""},                    // and only once
    {'r', "20261210T103000", false, "", ""},                    // a restart does not tell it again
    {'t', "20261210T103000", false, "", ""},
    {'t', "20261210T090000", false, "", ""},                    // the clock set back
    {'t', "20261210T095000", false, "", ""},                    // still told
    {'t', "20261211T095000", false, "m@20261211T1000", ""},
    {'t', "20261212T120000", false, "", "m@20261212T1000 w@20261212"},  // slept through both
    {'n', "20261215T120000", false, "", ""},                    // three days off: only the latest
    {'t', "20261215T120000", false, "", "m@20261215T1000"},
    {'t', "20261216T095000", true, "", ""},                     // a presentation holds it back
    {'t', "20261216T102000", true, "", ""},
    {'t', "20261216T103000", false, "m@20261216T1000", ""},     // and it is told when it ends
    {'t', "20261217T095000", true, "", ""},
    {'r', "20261217T100500", false, "", ""},                    // stopped while held back: missed
    {'t', "20261217T100500", false, "", "m@20261217T1000"},
    {'t', "20261217T100600", false, "", ""},
    {'s', "20261217T100700", false, "", ""},                    // snoozed, then the clock stopped
    {'r', "20261217T110000", false, "", ""},
    {'t', "20261217T110000", false, "", "m@20261217T1000*"},
    {'t', "20261218T095100", false, "m@20261218T1000", ""},     // a minute late is still on time
    {'t', "20261219T095300", false, "", "m@20261219T1000"},     // three minutes late is not
};

std::string keysOf(const std::vector<DueNotice>& list) {
    std::string out;
    for (const DueNotice& n : list) {
        out += (out.empty() ? "" : " ") + n.key + "@" + (n.wholeDay ? formatIcsDate(dayOf(n.start)) : formatIcsDateTime(n.start).substr(0, 13));
        if (n.snoozed) out += "*";
    }
    return out;
}

TEST(ReminderNotices, DueMissedNeverTwiceSnoozeAndPresentation) {
    ReminderFileRead read = readReminderFile(kFile);
    ASSERT_EQ(read.file.reminders.size(), 4u);
    const auto set = makeReminderSet(read.file.reminders, nullptr);
    std::string storedTold;
    LocalMinute storedLastRun = 0;
    std::optional<ReminderNotices> clock;
    DueNotice last;
    for (const Step& step : kSteps) {
        const LocalMinute now = at(step.at);
        TickResult result;
        if (step.op == 'f' || step.op == 'r' || step.op == 'n') {
            clock.emplace(ToldOccurrences::parse(storedTold), step.op == 'f' ? std::nullopt : std::optional(storedLastRun), now);
            if (step.op == 'n') { EXPECT_TRUE(clock->tick(now, false).empty()); }
            clock->setReminders(set);
        } else if (step.op == 's') {
            clock->snooze(last, now);
            storedTold = clock->told().text();
        } else {
            result = clock->tick(now, step.busy);
            if (!result.empty()) storedTold = clock->told().text();  // before the notice shows
            if (!result.notices.empty()) last = result.notices.back();
            if (!result.missed.empty()) last = result.missed.back();
            storedLastRun = clock->lastRunToStore(now);
        }
        EXPECT_EQ(keysOf(result.notices), step.notices) << step.op << " " << step.at;
        EXPECT_EQ(keysOf(result.missed), step.missed) << step.op << " " << step.at;
    }
    EXPECT_EQ(last.title, L"会議");
    EXPECT_EQ(last.snoozeMinutes, 10);
    EXPECT_EQ(last.sound.kind, SoundKind::SystemAlarm);
    // Between notices the tick has nothing to do until the next one.
    EXPECT_EQ(clock->nextDue(), at("20261220T095000"));
    EXPECT_FALSE(clock->isDue(at("20261220T094900")));
}

// The calendar's day entries in order, the list's order, the tip's next reminder.
TEST(ReminderNotices, DayEntriesListAndNextReminder) {
    const auto set = makeReminderSet(readReminderFile(kFile).file.reminders, nullptr);
    std::string got;
    for (const DayEntry& e : dayEntries(*set, dayOf(at("20261212T000000")), dayOf(at("20261214T000000")))) {
        got += formatIcsDate(e.day) + ":" + set->reminders[e.reminder].uid + " ";
    }
    EXPECT_EQ(got, "20261212:w 20261212:quiet 20261212:off 20261212:m 20261213:quiet 20261213:off 20261213:m ");
    const auto order = listOrder(*set, at("20261212T095500"));
    EXPECT_EQ(order[1], (NextStart{2, at("20261212T100000")}));  // ties keep the file's order
    EXPECT_EQ(order[3], (NextStart{1, at("20271212T000000")}));
    EXPECT_EQ(nextReminder(*set, at("20261212T095500")), (NextStart{0, at("20261212T100000")}));  // "off" left out
}

// The stored text: read back as written; anything else is skipped without harm.
TEST(ReminderNotices, ToldTextReadsBackAndSkipsGarbage) {
    ToldOccurrences told;
    told.markTold("a", at("20261210T100000"));
    told.markTold("a", at("20261209T100000"));  // never lowers
    told.setSnooze("b", {at("20261210T100000"), at("20261210T100500")});
    const std::string text = told.text();
    EXPECT_EQ(ToldOccurrences::parse(text), told);
    EXPECT_TRUE(told.isTold("a", at("20261210T100000")));
    EXPECT_FALSE(told.isTold("a", at("20261210T100100")));
    const std::string garbage = "zz\n" + text.substr(0, 20) + "\n0123456789abcdef 20261399T1000\n0123456789abcdef 20261210T1000 x\n";
    EXPECT_TRUE(ToldOccurrences::parse(garbage).entries().empty());
    EXPECT_TRUE(ToldOccurrences::parse(std::string(kMaxToldTextBytes + 1, '\n')).entries().empty());
    EXPECT_EQ(ToldOccurrences::parse(text + text).entries().size(), 2u);
    told.keepOnly({"b"});
    EXPECT_EQ(told.entries().size(), 1u);
    EXPECT_EQ(told.snoozeOf("b")->until, at("20261210T100500"));
}

// The chime: the settings' stored values, the exact minutes, quiet hours (over midnight or not,
// equal values none), never while busy, a jump of the clock.
TEST(ReminderNotices, ChimeAtTheMinuteOutsideQuietHours) {
    EXPECT_EQ(chimeSettingsFrom(std::nullopt, std::nullopt, std::nullopt), (ChimeSettings{0, 1320, 420}));
    EXPECT_EQ(chimeSettingsFrom(45, 1440, 30), (ChimeSettings{0, 1320, 30}));
    EXPECT_EQ(chimeSettingsFrom(15, 0, 1439), (ChimeSettings{15, 0, 1439}));
    struct Case { ChimeSettings s; const char* from; int minutes; const char* busyAt; const char* expected; } cases[] = {
        {{60, 1320, 420}, "20261210T053000", 180, "", "0700 0800"},
        {{30, 1320, 420}, "20261210T210000", 120, "", "2100 2130"},
        {{15, 60, 120}, "20261210T003000", 120, "0045", "0030 0200 0215 0230"},
        {{60, 600, 600}, "20261210T223000", 120, "", "2300 0000"},
        {{60, 1320, 420}, "20261210T083000", 120, "0900", "1000"},
        {{0, 1320, 420}, "20261210T083000", 120, "", ""},
    };
    for (const Case& c : cases) {
        ChimeClock chime;
        const LocalMinute from = at(c.from);
        chime.setSettings(c.s, from);
        std::string got;
        for (LocalMinute m = from; m <= from + c.minutes; ++m) {
            const std::string hhmm = formatIcsDateTime(m).substr(9, 4);
            for (int second = 0; second < 2; ++second) {  // two ticks a minute: played once
                if (chime.tick(m, hhmm == c.busyAt)) got += (got.empty() ? "" : " ") + hhmm;
            }
        }
        EXPECT_EQ(got, c.expected) << c.from;
    }
    ChimeClock chime;
    chime.setSettings({60, 0, 0}, at("20261210T103000"));
    EXPECT_FALSE(chime.tick(at("20261210T103000"), false));
    EXPECT_TRUE(chime.tick(at("20261210T120000"), false));   // woke at an hour: chimes
    EXPECT_FALSE(chime.tick(at("20261210T133000"), false));  // woke between: does not catch up
    EXPECT_TRUE(chime.tick(at("20261210T090000"), false));   // set back
}

}  // namespace
}  // namespace tavro::reminders
