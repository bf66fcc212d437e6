#include "holidays/list_schedule.h"

#include <algorithm>

namespace tavro::holidays {

namespace {

bool sendable(const std::string& value) {
    return !value.empty() && value.size() <= 256 &&
           std::all_of(value.begin(), value.end(), [](char c) { return c >= 0x20 && c < 0x7F; });
}

}  // namespace

std::string conditionalHeaders(const ListValidators& v) {
    std::string headers;
    if (sendable(v.lastModified)) headers += "If-Modified-Since: " + v.lastModified + "\r\n";
    if (sendable(v.etag)) headers += "If-None-Match: " + v.etag + "\r\n";
    return headers;
}

void ListSchedule::shown(datetime::DateValue today) { shown_ = datetime::dateOnly(today); }

std::optional<std::string> ListSchedule::startDue(int64_t nowMs) {
    if (running_ || !shown_ || shown_ == asked_) return std::nullopt;
    asked_ = shown_;
    running_ = true;
    startedMs_ = nowMs;
    return conditionalHeaders(validators_);
}

void ListSchedule::finish(ListOutcome outcome, const ListValidators& validators) {
    if (!running_) return;
    running_ = false;
    if (outcome == ListOutcome::NewList) validators_ = validators;
}

}  // namespace tavro::holidays
