// One reminder (予定) of the user: a title, a start, how it repeats, when and how it is told.
// The repeat is kept in the shape iCalendar gives it, so that a file's rule is expanded as
// written; repeat_choice.h turns it into the editor's choices and back.
#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "reminders/local_minute.h"

namespace tavro::reminders {

enum class Frequency { Daily, Weekly, Monthly, Yearly };

// A weekday of BYDAY, 0 = Sunday … 6 = Saturday, with its place in the month or year:
// 2TU is {2, 2}, -1FR (the last Friday) {5, -1}, a plain MO {1, 0}.
struct WeekdayNum {
    int weekday = 0;
    int ordinal = 0;
    bool operator==(const WeekdayNum&) const = default;
};

// The parts of an RRULE the clock expands (one time of day per occurrence).
struct RecurrenceRule {
    Frequency frequency = Frequency::Daily;
    int interval = 1;                 // 1..kMaxInterval
    std::vector<WeekdayNum> byDay;
    std::vector<int> byMonthDay;      // 1..31 or -31..-1 (-1: the last day)
    std::vector<int> byMonth;         // 1..12
    std::vector<int> bySetPos;        // 1..366 or -366..-1
    int weekStart = 1;                // WKST, Monday unless the rule says otherwise
    int count = 0;                    // COUNT; 0: none
    std::optional<LocalMinute> until; // UNTIL: the last minute an occurrence may start
    bool operator==(const RecurrenceRule&) const = default;
};

inline constexpr int kMaxInterval = 1000;

enum class Repeat {
    None,               // once (しない)
    Rule,               // as `rule` says (毎日, 平日, 毎週, 毎月, 毎年 and what other programs write)
    OldCalendarYearly,  // 毎年（旧暦）: the start's old-calendar month and day; `rule` gives interval, count, until
    Unsupported,        // a rule the clock cannot expand, kept as written: the start alone is shown
};

enum class SoundKind { None, SystemAlarm, File };

struct Sound {
    SoundKind kind = SoundKind::SystemAlarm;
    std::wstring path;  // SoundKind::File: the WAV file's path
    bool operator==(const Sound&) const = default;
};

inline constexpr std::size_t kMaxTitleCharacters = 100;
inline constexpr int kDefaultSnoozeMinutes = 5;
inline constexpr int kDefaultWholeDayAlarm = 9 * 60;  // a whole day's alarm: 9:00 of that day
// Alarms further than this from their start are not used (they would be another program's).
inline constexpr int kMaxAlarmOffsetMinutes = 366 * 1440;

struct EventSource;

struct Reminder {
    std::string uid;
    std::wstring title;
    LocalMinute start = 0;  // a whole day: 00:00 of that day
    bool wholeDay = false;
    Repeat repeat = Repeat::None;
    RecurrenceRule rule;
    bool skipHolidays = false;                 // 祝日は除く
    std::vector<LocalMinute> exceptions;       // EXDATE: starts that do not occur, sorted
    // Told this many minutes after the start (negative: before); a whole day's counts from its
    // 00:00 (540: 9:00 that day). None: shown but never told.
    std::optional<int> alarmOffset;
    Sound sound;
    int snoozeMinutes = kDefaultSnoozeMinutes;  // 5, 10 or 15
    bool off = false;                           // turned off in the list: not told

    // Read from the file, not edited here: more starts (RDATE), the starts other events of the
    // same UID replace (their RECURRENCE-ID), and this event's own RECURRENCE-ID.
    std::vector<LocalMinute> additions;
    std::vector<LocalMinute> replaced;
    std::optional<LocalMinute> recurrenceId;

    // What the file said, for writing it back as it was (empty for a reminder made here).
    std::shared_ptr<const EventSource> source;

    bool operator==(const Reminder&) const = default;
};

// The key under which an occurrence's notice is remembered: the UID, and the RECURRENCE-ID
// for an event that replaces one occurrence of another.
std::string reminderKey(const Reminder& reminder);

// What the edit dialog must refuse before saving, in the dialog's words; empty when it may save.
//   「タイトルを入力してください。」 「タイトルは 100 文字までです。」
//   「終わりの日が始まりより前です。」 「回数は 1 から 999 までです。」
std::wstring editProblem(const Reminder& reminder);

// A reminder made in the editor: the defaults of a new one at `start`.
Reminder newReminder(std::string uid, std::wstring title, LocalMinute start, bool wholeDay);

// A UID for a new reminder from 128 random bits (the caller's random source).
std::string uidFromRandom(uint64_t high, uint64_t low);

}  // namespace tavro::reminders
