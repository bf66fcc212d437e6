#include "holidays/feed_schedule.h"

namespace tavro::holidays {

void FeedSchedule::shown(datetime::DateValue today) { shown_ = datetime::dateOnly(today); }

std::optional<datetime::DateValue> FeedSchedule::startDue(int64_t nowMs) {
    if (running_ || !shown_ || shown_ == fetched_) return std::nullopt;
    running_ = shown_;
    startedMs_ = nowMs;
    return running_;
}

bool FeedSchedule::overdue(int64_t nowMs) const { return running_ && nowMs - startedMs_ > kFetchDeadlineMs; }

bool FeedSchedule::finish(int code, int64_t nowMs) {
    if (!running_) return false;
    const bool inTime = !overdue(nowMs);
    const bool forShown = running_ == shown_;
    fetched_ = running_;
    running_.reset();
    return code == 0 && inTime && forShown;
}

}  // namespace tavro::holidays
