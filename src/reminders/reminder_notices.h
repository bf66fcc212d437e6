// When the reminders' notices are due: at their time, missed while the clock was not running
// (or the computer slept, or the clock jumped), snoozed, or waiting for a presentation to end.
// The next due moment is worked out when the reminders or the clock change, so a tick is a
// comparison or two.
//
// Use: at start, construct with the stored told text and "last ran" moment, call setReminders,
// then every second tick(now, busy) — busy from SHQueryUserNotificationState, asked only when
// isDue(now). When a tick returns anything, store told().text() under the key first, then show it.
// Store lastRunToStore(now) under the key at least once a minute and at exit.
#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "reminders/reminder_set.h"
#include "reminders/told_occurrences.h"

namespace tavro::reminders {

// All a notice window needs, copied so that it outlives an edit of the reminders.
struct DueNotice {
    std::string key;         // reminderKey
    std::wstring title;
    LocalMinute start = 0;   // the occurrence's start (its time text)
    bool wholeDay = false;
    LocalMinute alarmAt = 0; // when it was due
    Sound sound;
    int snoozeMinutes = kDefaultSnoozeMinutes;
    bool snoozed = false;    // told once more after a snooze
    bool operator==(const DueNotice&) const = default;
};

struct TickResult {
    std::vector<DueNotice> notices;  // due now: a notice window each, with its sound
    std::vector<DueNotice> missed;   // passed unseen: one 「TavroClock の過ぎた予定」 window, no looping sound
    bool empty() const { return notices.empty() && missed.empty(); }
};

// An alarm this many minutes late is still told as due (a late tick); later it counts as missed.
inline constexpr int kOnTimeMinutes = 1;

class ReminderNotices {
public:
    // lastRun: the moment stored when the clock last ran; nullopt on a first start (nothing missed).
    ReminderNotices(ToldOccurrences told, std::optional<LocalMinute> lastRun, LocalMinute now);

    // The reminders (read, edited, holidays or date changed). Forgets the told state of reminders
    // no longer there (unless the set is empty: a file that could not be read).
    void setReminders(std::shared_ptr<const ReminderSet> set);

    // True when the next tick has work (something is due, or the clock went back).
    bool isDue(LocalMinute now) const { return now >= nextDue_ || now < handledUpTo_; }

    // What to show now. While the user is busy nothing is shown and nothing is marked told.
    TickResult tick(LocalMinute now, bool userBusy);

    // The notice's 「n分後にもう一度」: told once more after its snooze minutes. Store told().text().
    void snooze(const DueNotice& notice, LocalMinute now);

    LocalMinute nextDue() const { return nextDue_; }
    // The "last ran" moment to store: now, or just before a notice still waiting to be shown.
    LocalMinute lastRunToStore(LocalMinute now) const;
    const ToldOccurrences& told() const { return told_; }

private:
    void plan();
    DueNotice noticeOf(std::size_t index, LocalMinute start, LocalMinute alarmAt, bool snoozed) const;

    ToldOccurrences told_;
    std::shared_ptr<const ReminderSet> set_;
    LocalMinute handledUpTo_ = 0;  // every alarm up to this moment was told (or counted as missed)
    LocalMinute nextDue_ = kNever;
    bool haveReminders_ = false;
    std::optional<LocalMinute> waitFrom_;  // the first tick that held notices back for a busy user
};

}  // namespace tavro::reminders
