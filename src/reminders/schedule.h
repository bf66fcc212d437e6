// A reminder's occurrences: when it starts, worked out once when the reminder, the holidays or
// the date change, then asked cheaply. Every search stays within 1900-01-01..2100-12-31 and
// looks at a bounded number of periods, so no rule can hang the clock.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <vector>

#include "reminders/reminder.h"

namespace tavro::reminders {

// True for a day (a day count) that is a holiday: for 祝日は除く. The caller passes the clock's
// holidays (the official list where it covers, else the ones computed by law).
using HolidayTest = std::function<bool(int64_t day)>;

// A HolidayTest over a list of days, in any order (a binary search per question).
HolidayTest holidayTestFromDays(std::vector<int64_t> days);

// The most periods (days, weeks, months or years of the rule) one search looks at.
inline constexpr int kMaxPeriodsPerSearch = 80000;

class Schedule {
public:
    Schedule() = default;
    // The holiday test is asked only for a reminder with skipHolidays and is kept (copy it cheaply).
    Schedule(const Reminder& reminder, HolidayTest holidays);

    // The first occurrence starting at or after `from`; nullopt when there is none.
    std::optional<LocalMinute> nextAtOrAfter(LocalMinute from) const;
    // The last occurrence starting after `after` and at or before `to`; nullopt when none.
    std::optional<LocalMinute> latestIn(LocalMinute after, LocalMinute to) const;
    // The occurrences starting in [from, to), in order, at most `limit` of them.
    std::vector<LocalMinute> between(LocalMinute from, LocalMinute to, std::size_t limit = 1000) const;

    // False for a reminder that never occurs in 1900..2100 (a rule that yields no day).
    bool occursAtAll() const { return first_.has_value(); }

private:
    struct Period {  // the days of one period of the rule, ascending, as day counts
        int count = 0;
        int64_t days[366];
    };
    int64_t periodOfDay(int64_t day) const;
    int64_t firstDayOfPeriod(int64_t period) const;
    void rawDays(int64_t period, Period& out) const;
    bool excluded(LocalMinute start) const;
    bool isRawOccurrence(int64_t day) const;
    bool matchesDay(int year, int month, int dayOfMonth, int weekday, int64_t day) const;
    std::optional<LocalMinute> rawNext(LocalMinute from, bool checkExclusions) const;
    std::optional<LocalMinute> rawLatest(LocalMinute after, LocalMinute to) const;
    std::optional<LocalMinute> oldCalendarNext(LocalMinute from, bool checkExclusions) const;
    std::optional<LocalMinute> oldCalendarLatest(LocalMinute after, LocalMinute to) const;
    std::optional<LocalMinute> extraNext(LocalMinute from) const;
    std::optional<LocalMinute> extraLatest(LocalMinute after, LocalMinute to) const;
    void resolveCount();

    Repeat repeat_ = Repeat::None;
    RecurrenceRule rule_;
    LocalMinute start_ = 0;
    int startMinuteOfDay_ = 0;
    int64_t startPeriod_ = 0;
    LocalMinute last_ = -1;  // no occurrence starts later (UNTIL, COUNT, 2100-12-31)
    LocalMinute floor_ = 0;  // none starts earlier (the start, 1900-01-01)
    // Filters in the form the search asks them: a bit per month (1..12), weekday, month day.
    unsigned monthMask_ = 0, weekdayMask_ = 0;
    uint64_t monthDayMask_ = 0;    // bit d for day d, bit 32 + d for day -d
    bool nthDays_ = false;         // byDay has ordinals that count (monthly, yearly)
    int oldMonth_ = 0, oldDay_ = 0, oldYear_ = 0;
    std::vector<LocalMinute> exceptions_, replaced_, additions_;
    bool skipHolidays_ = false;
    HolidayTest holidays_;
    std::optional<LocalMinute> first_;
};

}  // namespace tavro::reminders
