#include "reminders/schedule.h"

#include <algorithm>
#include <memory>

#include "reminders/old_calendar_days.h"

namespace tavro::reminders {
namespace {

constexpr unsigned kAllMonths = 0x1FFE;  // bits 1..12
constexpr LocalMinute kRangeFirst = kFirstDay * kMinutesPerDay;
constexpr LocalMinute kRangeLast = kLastDay * kMinutesPerDay + kMinutesPerDay - 1;
// The earliest start a rule is counted from (birthdays of long ago; 1604 stands for "no year").
const int64_t kEarliestStartDay = datetime::daysFromCivil(1600, 1, 1);

int weekdayOfDay(int64_t day) { return static_cast<int>(((day + 6) % 7 + 7) % 7); }
int64_t ceilDiv(int64_t a, int64_t b) { return -floorDiv(-a, b); }
bool contains(const std::vector<LocalMinute>& sorted, LocalMinute m) {
    return std::binary_search(sorted.begin(), sorted.end(), m);
}
std::vector<LocalMinute> sortedUnique(std::vector<LocalMinute> v) {
    std::sort(v.begin(), v.end());
    v.erase(std::unique(v.begin(), v.end()), v.end());
    return v;
}
std::optional<LocalMinute> earlier(std::optional<LocalMinute> a, std::optional<LocalMinute> b) {
    if (!a) return b;
    if (!b) return a;
    return std::min(*a, *b);
}
std::optional<LocalMinute> later(std::optional<LocalMinute> a, std::optional<LocalMinute> b) {
    if (!a) return b;
    if (!b) return a;
    return std::max(*a, *b);
}

}  // namespace

HolidayTest holidayTestFromDays(std::vector<int64_t> days) {
    std::sort(days.begin(), days.end());
    // Shared, so that each reminder's copy of the test is cheap.
    auto sorted = std::make_shared<const std::vector<int64_t>>(std::move(days));
    return [sorted](int64_t day) { return std::binary_search(sorted->begin(), sorted->end(), day); };
}

Schedule::Schedule(const Reminder& reminder, HolidayTest holidays)
    : repeat_(reminder.repeat), rule_(reminder.rule), start_(reminder.start),
      startMinuteOfDay_(reminder.wholeDay ? 0 : minuteOfDay(reminder.start)),
      exceptions_(sortedUnique(reminder.exceptions)), replaced_(sortedUnique(reminder.replaced)),
      additions_(reminder.additions), skipHolidays_(reminder.skipHolidays && holidays), holidays_(std::move(holidays)) {
    if (reminder.wholeDay) start_ = dayOf(start_) * kMinutesPerDay;
    const int64_t startDay = dayOf(start_);
    if (startDay < kEarliestStartDay || startDay > kLastDay) {
        repeat_ = Repeat::None;
        additions_.clear();
        return;
    }
    if (repeat_ == Repeat::Unsupported) repeat_ = Repeat::None;
    if (repeat_ == Repeat::None) additions_.push_back(start_);
    additions_ = sortedUnique(std::move(additions_));
    floor_ = std::max(start_, kRangeFirst);
    last_ = kRangeLast;
    if (repeat_ != Repeat::None) {
        rule_.interval = std::clamp(rule_.interval, 1, kMaxInterval);
        if (rule_.until) last_ = std::min(last_, *rule_.until);
    }
    const datetime::CivilDate c = datetime::civilFromDays(startDay);
    if (repeat_ == Repeat::Rule) {
        RecurrenceRule& r = rule_;
        if (r.byDay.empty() && r.byMonthDay.empty()) {
            if (r.frequency == Frequency::Yearly) {
                if (r.byMonth.empty()) r.byMonth = {c.month};
                r.byMonthDay = {c.day};
            } else if (r.frequency == Frequency::Monthly) {
                r.byMonthDay = {c.day};
            } else if (r.frequency == Frequency::Weekly) {
                r.byDay = {{weekdayOfDay(startDay), 0}};
            }
        }
        for (int m : r.byMonth) if (m >= 1 && m <= 12) monthMask_ |= 1u << m;
        if (r.byMonth.empty() || monthMask_ == 0) monthMask_ = kAllMonths;
        for (int d : r.byMonthDay) {
            if (d >= 1 && d <= 31) monthDayMask_ |= uint64_t{1} << d;
            if (d <= -1 && d >= -31) monthDayMask_ |= uint64_t{1} << (32 - d);
        }
        const bool ordinalsCount = r.frequency == Frequency::Monthly || r.frequency == Frequency::Yearly;
        for (const WeekdayNum& w : r.byDay) {
            if (w.weekday < 0 || w.weekday > 6) continue;
            if (w.ordinal == 0 || !ordinalsCount) weekdayMask_ |= 1u << w.weekday;
            else nthDays_ = true;
        }
        r.weekStart = std::clamp(r.weekStart, 0, 6);
        startPeriod_ = periodOfDay(startDay);
        if (r.count > 0) resolveCount();
    } else if (repeat_ == Repeat::OldCalendarYearly) {
        const auto old = oldDateOfDay(startDay);
        const auto year = oldYearOfDay(startDay);
        if (!old || !year) {
            repeat_ = Repeat::None;
            additions_ = sortedUnique({start_});
        } else {
            oldMonth_ = old->month;
            oldDay_ = old->day;
            oldYear_ = *year;
            if (rule_.count > 0) resolveCount();
        }
    }
    first_ = nextAtOrAfter(kRangeFirst);
}

int64_t Schedule::periodOfDay(int64_t day) const {
    switch (rule_.frequency) {
    case Frequency::Daily: return day;
    case Frequency::Weekly: return floorDiv(day - (rule_.weekStart + 1) % 7, 7);
    case Frequency::Monthly: {
        const datetime::CivilDate c = datetime::civilFromDays(day);
        return int64_t{c.year} * 12 + c.month - 1;
    }
    case Frequency::Yearly: return datetime::civilFromDays(day).year;
    }
    return day;
}

int64_t Schedule::firstDayOfPeriod(int64_t period) const {
    switch (rule_.frequency) {
    case Frequency::Daily: return period;
    case Frequency::Weekly: return period * 7 + (rule_.weekStart + 1) % 7;
    case Frequency::Monthly:
        return datetime::daysFromCivil(static_cast<int>(floorDiv(period, 12)), static_cast<int>(period - floorDiv(period, 12) * 12) + 1, 1);
    case Frequency::Yearly: return datetime::daysFromCivil(static_cast<int>(period), 1, 1);
    }
    return period;
}

bool Schedule::isRawOccurrence(int64_t day) const {
    const datetime::CivilDate c = datetime::civilFromDays(day);
    return matchesDay(c.year, c.month, c.day, weekdayOfDay(day), day);
}

bool Schedule::matchesDay(int year, int month, int dayOfMonth, int weekday, int64_t day) const {
    if (!(monthMask_ >> month & 1)) return false;
    const int dim = datetime::daysInMonth(year, month);
    if (monthDayMask_ && !(monthDayMask_ >> dayOfMonth & 1) && !(monthDayMask_ >> (32 + dim - dayOfMonth + 1) & 1)) return false;
    if (rule_.byDay.empty()) return true;
    if (weekdayMask_ >> weekday & 1) return true;
    if (!nthDays_) return false;
    // The n-th of the month, or of the year for a yearly rule without months.
    int position = dayOfMonth, length = dim;
    if (rule_.frequency == Frequency::Yearly && rule_.byMonth.empty()) {
        position = static_cast<int>(day - datetime::daysFromCivil(year, 1, 1)) + 1;
        length = datetime::isLeapYear(year) ? 366 : 365;
    }
    const int fromStart = (position - 1) / 7 + 1, fromEnd = -((length - position) / 7 + 1);
    for (const WeekdayNum& w : rule_.byDay) {
        if (w.ordinal != 0 && w.weekday == weekday && (w.ordinal == fromStart || w.ordinal == fromEnd)) return true;
    }
    return false;
}

void Schedule::rawDays(int64_t period, Period& out) const {
    out.count = 0;
    const int64_t first = firstDayOfPeriod(period);
    const RecurrenceRule& r = rule_;
    const bool byDayOfMonthOnly = r.byDay.empty() && !r.byMonthDay.empty() &&
                                  (r.frequency == Frequency::Monthly || r.frequency == Frequency::Yearly);
    if (r.frequency == Frequency::Monthly || r.frequency == Frequency::Yearly) {
        const datetime::CivilDate c = datetime::civilFromDays(first);
        const int months = r.frequency == Frequency::Yearly ? 12 : 1;
        for (int i = 0; i < months; ++i) {
            const int month = c.month + i;
            if (!(monthMask_ >> month & 1)) continue;
            const int dim = datetime::daysInMonth(c.year, month);
            const int64_t monthFirst = datetime::daysFromCivil(c.year, month, 1);
            if (byDayOfMonthOnly) {
                for (int d = 1; d <= dim; ++d) {
                    if ((monthDayMask_ >> d & 1) || (monthDayMask_ >> (32 + dim - d + 1) & 1)) out.days[out.count++] = monthFirst + d - 1;
                }
            } else {
                const int firstWeekday = weekdayOfDay(monthFirst);
                for (int d = 0; d < dim; ++d) {
                    if (matchesDay(c.year, month, d + 1, (firstWeekday + d) % 7, monthFirst + d)) out.days[out.count++] = monthFirst + d;
                }
            }
        }
    } else {
        const int length = r.frequency == Frequency::Weekly ? 7 : 1;
        for (int d = 0; d < length; ++d) {
            if (isRawOccurrence(first + d)) out.days[out.count++] = first + d;
        }
    }
    if (r.bySetPos.empty() || out.count == 0) return;
    int64_t picked[366];
    int n = 0;
    for (int pos : r.bySetPos) {
        const int index = pos > 0 ? pos - 1 : out.count + pos;
        if (index >= 0 && index < out.count) picked[n++] = out.days[index];
    }
    std::sort(picked, picked + n);
    n = static_cast<int>(std::unique(picked, picked + n) - picked);
    std::copy(picked, picked + n, out.days);
    out.count = n;
}

bool Schedule::excluded(LocalMinute start) const {
    return contains(exceptions_, start) || contains(replaced_, start) || (skipHolidays_ && holidays_(dayOf(start)));
}

std::optional<LocalMinute> Schedule::rawNext(LocalMinute from, bool checkExclusions) const {
    const int smod = startMinuteOfDay_;
    const LocalMinute f = std::max(from, start_);
    int64_t minDay = dayOf(f) + (minuteOfDay(f) > smod ? 1 : 0);
    const int64_t maxDay = floorDiv(last_ - smod, kMinutesPerDay);
    const int64_t interval = rule_.interval;
    int64_t k = std::max<int64_t>(0, floorDiv(periodOfDay(minDay) - startPeriod_, interval));
    Period period;
    for (int steps = 0; steps < kMaxPeriodsPerSearch; ++steps, ++k) {
        const int64_t p = startPeriod_ + k * interval;
        const int64_t first = firstDayOfPeriod(p);
        if (first > maxDay) return std::nullopt;
        if ((rule_.frequency == Frequency::Daily || rule_.frequency == Frequency::Weekly) && monthMask_ != kAllMonths) {
            const int firstMonth = datetime::civilFromDays(first).month;
            const datetime::CivilDate c = datetime::civilFromDays(firstDayOfPeriod(p + 1) - 1);
            if (!(monthMask_ >> firstMonth & 1) && !(monthMask_ >> c.month & 1)) {  // on to the next month's first rule period
                const int64_t next = datetime::daysFromCivil(c.year + (c.month == 12), c.month % 12 + 1, 1);
                k = std::max(k + 1, ceilDiv(periodOfDay(next) - startPeriod_, interval)) - 1;
                continue;
            }
        }
        rawDays(p, period);
        for (int i = 0; i < period.count; ++i) {
            const int64_t day = period.days[i];
            if (day < minDay) continue;
            if (day > maxDay) return std::nullopt;
            const LocalMinute m = day * kMinutesPerDay + smod;
            if (!checkExclusions || !excluded(m)) return m;
        }
    }
    return std::nullopt;
}

std::optional<LocalMinute> Schedule::rawLatest(LocalMinute after, LocalMinute to) const {
    const int smod = startMinuteOfDay_;
    const int64_t maxDay = floorDiv(std::min(to, last_) - smod, kMinutesPerDay);
    const int64_t lowDay = std::max(floorDiv(after - smod, kMinutesPerDay) + 1, dayOf(start_));
    if (maxDay < lowDay) return std::nullopt;
    const int64_t interval = rule_.interval;
    int64_t k = floorDiv(periodOfDay(maxDay) - startPeriod_, interval);
    Period period;
    for (int steps = 0; steps < kMaxPeriodsPerSearch && k >= 0; ++steps, --k) {
        const int64_t p = startPeriod_ + k * interval;
        if (firstDayOfPeriod(p + 1) <= lowDay) return std::nullopt;
        if ((rule_.frequency == Frequency::Daily || rule_.frequency == Frequency::Weekly) && monthMask_ != kAllMonths) {
            const int lastMonth = datetime::civilFromDays(firstDayOfPeriod(p + 1) - 1).month;
            const datetime::CivilDate c = datetime::civilFromDays(firstDayOfPeriod(p));
            if (!(monthMask_ >> c.month & 1) && !(monthMask_ >> lastMonth & 1)) {  // back to the previous month's last rule period
                const int64_t monthFirst = datetime::daysFromCivil(c.year, c.month, 1);
                k = std::min(k - 1, floorDiv(periodOfDay(monthFirst - 1) - startPeriod_, interval)) + 1;
                continue;
            }
        }
        rawDays(p, period);
        for (int i = period.count - 1; i >= 0; --i) {
            const int64_t day = period.days[i];
            if (day > maxDay) continue;
            if (day < lowDay) return std::nullopt;
            const LocalMinute m = day * kMinutesPerDay + smod;
            if (!excluded(m)) return m;
        }
    }
    return std::nullopt;
}

std::optional<LocalMinute> Schedule::oldCalendarNext(LocalMinute from, bool checkExclusions) const {
    const LocalMinute f = std::max(from, start_);
    const auto year = oldYearOfDay(std::clamp(dayOf(f), kFirstDay, kLastDay));
    int64_t k = year ? std::max<int64_t>(0, floorDiv(*year - 1 - oldYear_, rule_.interval)) : 0;
    for (; oldYear_ + k * rule_.interval <= 2101; ++k) {
        const auto day = k == 0 ? std::optional<int64_t>(dayOf(start_))
                                : dayOfOldDate(static_cast<int>(oldYear_ + k * rule_.interval), oldMonth_, oldDay_);
        if (!day) continue;
        const LocalMinute m = *day * kMinutesPerDay + startMinuteOfDay_;
        if (m > last_) return std::nullopt;
        if (m >= f && (!checkExclusions || !excluded(m))) return m;
    }
    return std::nullopt;
}

std::optional<LocalMinute> Schedule::oldCalendarLatest(LocalMinute after, LocalMinute to) const {
    const LocalMinute t = std::min(to, last_);
    const auto year = oldYearOfDay(std::clamp(dayOf(t), kFirstDay, kLastDay));
    if (!year || t < start_) return std::nullopt;
    for (int64_t k = floorDiv(*year + 1 - oldYear_, rule_.interval); k >= 0; --k) {
        const auto day = k == 0 ? std::optional<int64_t>(dayOf(start_))
                                : dayOfOldDate(static_cast<int>(oldYear_ + k * rule_.interval), oldMonth_, oldDay_);
        if (!day) continue;
        const LocalMinute m = *day * kMinutesPerDay + startMinuteOfDay_;
        if (m <= after) return std::nullopt;
        if (m <= t && !excluded(m)) return m;
    }
    return std::nullopt;
}

std::optional<LocalMinute> Schedule::extraNext(LocalMinute from) const {
    for (auto it = std::lower_bound(additions_.begin(), additions_.end(), std::max(from, kRangeFirst)); it != additions_.end(); ++it) {
        if (*it > kRangeLast) return std::nullopt;
        if (!excluded(*it)) return *it;
    }
    return std::nullopt;
}

std::optional<LocalMinute> Schedule::extraLatest(LocalMinute after, LocalMinute to) const {
    auto it = std::upper_bound(additions_.begin(), additions_.end(), std::min(to, kRangeLast));
    while (it != additions_.begin()) {
        --it;
        if (*it <= after || *it < kRangeFirst) return std::nullopt;
        if (!excluded(*it)) return *it;
    }
    return std::nullopt;
}

void Schedule::resolveCount() {
    // COUNT counts the rule's days from the start, before EXDATE and holidays take theirs.
    LocalMinute cursor = start_;
    std::optional<LocalMinute> m;
    for (int n = 0; n < rule_.count; ++n, cursor = *m + 1) {
        m = repeat_ == Repeat::OldCalendarYearly ? oldCalendarNext(cursor, false) : rawNext(cursor, false);
        if (!m) return;
    }
    last_ = std::min(last_, *m);
}

std::optional<LocalMinute> Schedule::nextAtOrAfter(LocalMinute from) const {
    from = std::max(from, floor_);
    std::optional<LocalMinute> found = extraNext(from);
    if (repeat_ == Repeat::Rule) found = earlier(found, rawNext(from, true));
    if (repeat_ == Repeat::OldCalendarYearly) found = earlier(found, oldCalendarNext(from, true));
    return found;
}

std::optional<LocalMinute> Schedule::latestIn(LocalMinute after, LocalMinute to) const {
    after = std::max(after, floor_ - 1);
    if (to <= after) return std::nullopt;
    std::optional<LocalMinute> found = extraLatest(after, to);
    if (repeat_ == Repeat::Rule) found = later(found, rawLatest(after, to));
    if (repeat_ == Repeat::OldCalendarYearly) found = later(found, oldCalendarLatest(after, to));
    return found;
}

std::vector<LocalMinute> Schedule::between(LocalMinute from, LocalMinute to, std::size_t limit) const {
    std::vector<LocalMinute> out;
    for (auto m = nextAtOrAfter(from); m && *m < to && out.size() < limit; m = nextAtOrAfter(*m + 1)) out.push_back(*m);
    return out;
}

}  // namespace tavro::reminders
