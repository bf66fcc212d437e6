#include "reminders/reminder_notices.h"

#include <algorithm>

namespace tavro::reminders {
namespace {

bool tellable(const Reminder& r) { return !r.off && r.alarmOffset.has_value(); }

}  // namespace

ReminderNotices::ReminderNotices(ToldOccurrences told, std::optional<LocalMinute> lastRun, LocalMinute now)
    : told_(std::move(told)), handledUpTo_(lastRun && *lastRun < now ? *lastRun : now - 1) {}

void ReminderNotices::setReminders(std::shared_ptr<const ReminderSet> set) {
    set_ = std::move(set);
    haveReminders_ = true;
    if (set_ && !set_->reminders.empty()) {
        std::vector<std::string> keys;
        keys.reserve(set_->reminders.size());
        for (const Reminder& r : set_->reminders) keys.push_back(reminderKey(r));
        told_.keepOnly(keys);
    }
    plan();
}

DueNotice ReminderNotices::noticeOf(std::size_t index, LocalMinute start, LocalMinute alarmAt, bool snoozed) const {
    const Reminder& r = set_->reminders[index];
    return DueNotice{reminderKey(r), r.title, start, r.wholeDay, alarmAt, r.sound, r.snoozeMinutes, snoozed};
}

void ReminderNotices::plan() {
    nextDue_ = kNever;
    if (!set_) return;
    for (std::size_t i = 0; i < set_->reminders.size(); ++i) {
        const Reminder& r = set_->reminders[i];
        if (!tellable(r)) continue;
        const std::string key = reminderKey(r);
        const int offset = *r.alarmOffset;
        const LocalMinute after = std::max(handledUpTo_ - offset, told_.toldThrough(key).value_or(kNever * -1));
        if (const auto start = set_->schedules[i].nextAtOrAfter(after + 1)) nextDue_ = std::min(nextDue_, *start + offset);
        if (const auto snooze = told_.snoozeOf(key)) nextDue_ = std::min(nextDue_, snooze->until);
    }
}

TickResult ReminderNotices::tick(LocalMinute now, bool userBusy) {
    TickResult result;
    if (now < handledUpTo_) {  // the clock was set back: what was told stays told
        handledUpTo_ = now;
        plan();
    }
    if (now < nextDue_) {
        if (haveReminders_) handledUpTo_ = now;  // before the first reminders, keep the missed window
        return result;
    }
    if (userBusy) {
        if (!waitFrom_) waitFrom_ = now;
        return result;
    }
    if (!set_) return result;
    // Due while the clock ran (if only waiting for the user): a notice; else missed.
    const LocalMinute onTimeFrom = std::min(now, waitFrom_.value_or(now)) - kOnTimeMinutes;
    waitFrom_.reset();
    auto place = [&](DueNotice n) { (n.alarmAt >= onTimeFrom ? result.notices : result.missed).push_back(std::move(n)); };
    for (std::size_t i = 0; i < set_->reminders.size(); ++i) {
        const Reminder& r = set_->reminders[i];
        if (!tellable(r)) continue;
        const std::string key = reminderKey(r);
        const int offset = *r.alarmOffset;
        const LocalMinute after = std::max(handledUpTo_ - offset, told_.toldThrough(key).value_or(kNever * -1));
        // Of several passed occurrences only the latest is told.
        if (const auto start = set_->schedules[i].latestIn(after, now - offset)) {
            told_.markTold(key, *start);
            place(noticeOf(i, *start, *start + offset, false));
        }
        if (const auto snooze = told_.snoozeOf(key); snooze && snooze->until <= now) {
            const Snooze s = *snooze;
            told_.clearSnooze(key);
            place(noticeOf(i, s.start, s.until, true));
        }
    }
    handledUpTo_ = now;
    plan();
    return result;
}

void ReminderNotices::snooze(const DueNotice& notice, LocalMinute now) {
    const Snooze s{notice.start, now + notice.snoozeMinutes};
    told_.setSnooze(notice.key, s);
    nextDue_ = std::min(nextDue_, s.until);
}

LocalMinute ReminderNotices::lastRunToStore(LocalMinute now) const {
    return now >= nextDue_ ? std::min(now, nextDue_ - 1) : now;
}

}  // namespace tavro::reminders
