// When the holiday list is asked for: at start and when the date changes, once for a date (a
// clock set back to another date is a date change too), one request at a time with one deadline,
// and conditional on the validators of the copy in use.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "datetime/date_value.h"

namespace tavro::holidays {

inline constexpr int64_t kListDeadlineMs = 30000;  // name look-up to the last byte

// What the server said of the copy in use: sent back as If-Modified-Since / If-None-Match.
struct ListValidators {
    std::string lastModified, etag;
    bool operator==(const ListValidators&) const = default;
};

// The request's extra header lines (each ended by CRLF) for these validators. A validator that is
// empty, longer than 256 characters or holds anything but printable ASCII is not sent: a hostile
// answer must not add headers of its own to our next request.
std::string conditionalHeaders(const ListValidators& validators);

enum class ListOutcome {
    NewList,    // a 2xx answer that passed every check: it is the list now
    Unchanged,  // 304 to a conditional request: the copy in use stays
    Rejected,   // anything else: the copy in use stays, and so do its validators
};

class ListSchedule {
public:
    // The calendar was drawn for `today` (its time of day plays no part).
    void shown(datetime::DateValue today);
    // The extra headers of the request to start now, when one is due and none runs; it then
    // counts as running from nowMs.
    std::optional<std::string> startDue(int64_t nowMs);
    bool running() const { return running_; }
    bool overdue(int64_t nowMs) const { return running_ && nowMs - startedMs_ > kListDeadlineMs; }
    // The running request ended. The validators count only with a new list.
    void finish(ListOutcome outcome, const ListValidators& validators);

private:
    std::optional<datetime::DateValue> shown_, asked_;
    bool running_ = false;
    int64_t startedMs_ = 0;
    ListValidators validators_;
};

}  // namespace tavro::holidays
