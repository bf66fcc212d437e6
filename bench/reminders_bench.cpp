// The reminders' costs: next occurrences of 1,000 reminders of every kind (the due check's
// planning, done when the reminders, the date or the clock change), and reading a file of 1,000.
#include <benchmark/benchmark.h>

#include "holidays/national_holidays.h"
#include "reminders/reminder_file.h"
#include "reminders/reminder_notices.h"
#include "reminders/repeat_choice.h"

using namespace tavro::reminders;

namespace {

// 1,000 reminders, a hundred of each kind the editor offers, some ending, some skipping holidays.
std::vector<Reminder> thousandReminders() {
    std::vector<Reminder> out;
    const LocalMinute base = minuteFromCivil(2024, 1, 1, 9, 0);
    const RepeatKind kinds[] = {RepeatKind::Once, RepeatKind::Daily, RepeatKind::Weekdays, RepeatKind::Weekly,
                                RepeatKind::MonthlyByDay, RepeatKind::MonthlyLastDay, RepeatKind::MonthlyNthWeekday,
                                RepeatKind::Yearly, RepeatKind::OldCalendarYearly, RepeatKind::Weekly};
    for (int i = 0; i < 1000; ++i) {
        Reminder r = newReminder("r" + std::to_string(i) + "@bench", L"会議 " + std::to_wstring(i),
                                 base + (i * 7919) % (3 * 365 * 1440) / 15 * 15, i % 7 == 0);
        RepeatChoice c{kinds[i % 10]};
        c.interval = 1 + i % 3;
        c.weekdayMask = 0x2A | (1u << (i % 7));
        c.nth = i % 2 ? -1 : 1 + i % 4;
        c.nthWeekday = i % 7;
        c.skipHolidays = i % 4 == 0;
        if (i % 5 == 1) c.end = RepeatEnd::AfterCount, c.count = 5 + i % 50;
        if (i % 5 == 2) c.end = RepeatEnd::OnDate, c.lastDay = tavro::datetime::daysFromCivil(2027, 6, 30);
        applyRepeatChoice(r, c);
        if (i % 6 == 0) r.exceptions = {r.start + 7 * 1440, r.start + 14 * 1440};
        r.alarmOffset = r.wholeDay ? 540 : -10;
        out.push_back(std::move(r));
    }
    return out;
}

HolidayTest holidays() {
    std::vector<int64_t> days;
    for (const auto& h : tavro::holidays::nationalHolidays(tavro::datetime::makeDate(1948, 1, 1), tavro::datetime::makeDate(2100, 12, 31))) {
        days.push_back(static_cast<int64_t>(h.date));
    }
    return holidayTestFromDays(days);
}

// Asked of schedules already made: what the due check asks when the date or the clock changes.
void BM_NextOccurrencesOf1000(benchmark::State& state) {
    const auto set = makeReminderSet(thousandReminders(), holidays());
    LocalMinute now = minuteFromCivil(2026, 5, 1, 12, 0);
    for (auto _ : state) {
        LocalMinute earliest = kNever;
        for (const Schedule& s : set->schedules) earliest = std::min(earliest, s.nextAtOrAfter(now).value_or(kNever));
        benchmark::DoNotOptimize(earliest);
        now += 1440 * 3 + 17;  // a new day each time, through 2026 and beyond
        if (now > minuteFromCivil(2029, 1, 1)) now = minuteFromCivil(2026, 5, 1, 12, 0);
    }
}
BENCHMARK(BM_NextOccurrencesOf1000)->Unit(benchmark::kMicrosecond);

// The same with the schedules made anew (the reminders changed), and the notice plan over them.
void BM_NewSetAndNextDueOf1000(benchmark::State& state) {
    const auto reminders = thousandReminders();
    const HolidayTest test = holidays();
    const LocalMinute now = minuteFromCivil(2026, 5, 1, 12, 0);
    for (auto _ : state) {
        ReminderNotices notices({}, now - 1, now);
        notices.setReminders(makeReminderSet(reminders, test));
        benchmark::DoNotOptimize(notices.nextDue());
    }
}
BENCHMARK(BM_NewSetAndNextDueOf1000)->Unit(benchmark::kMicrosecond);

void BM_Read1000Reminders(benchmark::State& state) {
    ReminderFile file = emptyReminderFile();
    file.reminders = thousandReminders();
    const std::string bytes = writeReminderFile(file, "20260101T000000Z");
    for (auto _ : state) {
        const ReminderFileRead read = readReminderFile(bytes);
        if (read.file.reminders.size() != 1000) state.SkipWithError("not 1000");
        benchmark::DoNotOptimize(read.file.reminders.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK(BM_Read1000Reminders)->Unit(benchmark::kMicrosecond);

// The worst a rule can cost: one that never yields a day is searched through to 2100 once.
void BM_ScheduleOfARuleThatNeverYields(benchmark::State& state) {
    Reminder r = newReminder("x", L"x", minuteFromCivil(1600, 1, 1, 9, 0), false);
    r.repeat = Repeat::Rule;
    r.rule.frequency = static_cast<Frequency>(state.range(0));
    r.rule.byMonth = {2};
    r.rule.byMonthDay = {30, 31};
    for (auto _ : state) benchmark::DoNotOptimize(Schedule(r, nullptr).occursAtAll());
}
BENCHMARK(BM_ScheduleOfARuleThatNeverYields)->DenseRange(0, 3)->Unit(benchmark::kMicrosecond);

}  // namespace
