// When the holiday feed is fetched: one fetch at a time, for the date the calendar shows, with
// one deadline for the whole fetch. An answer for a date no longer shown is dropped and the
// shown date fetched next.
#pragma once

#include <cstdint>
#include <optional>

#include "datetime/date_value.h"

namespace tavro::holidays {

inline constexpr int64_t kFetchDeadlineMs = 30000;  // name look-up to the last byte

class FeedSchedule {
public:
    // The calendar was drawn for the day `today` (its time of day plays no part).
    void shown(datetime::DateValue today);
    // The day to fetch for, when no fetch runs and the shown day has not been fetched yet; the
    // fetch then counts as running from nowMs.
    std::optional<datetime::DateValue> startDue(int64_t nowMs);
    // The running fetch is past its deadline and is to be abandoned.
    bool overdue(int64_t nowMs) const;
    // The running fetch ended with code. True when its answer is to be used: it succeeded,
    // within the deadline, for the day still shown.
    bool finish(int code, int64_t nowMs);

private:
    std::optional<datetime::DateValue> shown_, running_, fetched_;
    int64_t startedMs_ = 0;
};

}  // namespace tavro::holidays
