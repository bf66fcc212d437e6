// When the countdown's notice is due, and which target was told already. The told target is kept
// as the stored text of the target ("yyyy/mm/dd hh:mm:ss") so that a restart does not tell it again.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "datetime/date_value.h"

namespace tavro::notify {

using datetime::DateValue;

enum class NoticeKind {
    Reached,  // "目標時刻になりました": told in the second the target came, give or take a late tick
    Passed,   // "目標時刻を過ぎました": caught up after a start, a sleep or a jump of the clock
};

struct Notice {
    NoticeKind kind;
    DateValue target;
    bool operator==(const Notice&) const = default;
};

// A tick may come this many seconds late (a busy machine) and still be "in time"; a later one
// tells that the target has passed.
inline constexpr int kInTimeSeconds = 5;

// The told target from its stored text: nothing for anything that is not exactly a stored target
// (not a date, another format, the no-target text).
std::optional<DateValue> toldFromStored(std::wstring_view stored);

class CountdownNotice {
public:
    explicit CountdownNotice(std::optional<DateValue> told) : told_(told) {}

    // Once a second with the target and the present time, and once at start (catch-up). A notice
    // when the target has come and was not told yet; the caller stores storedTold() first.
    std::optional<Notice> due(DateValue target, DateValue now, bool atStart = false);

    // The dialog set a new target, or cleared it (0): the next crossing is tellable again, except
    // for a target that is already past when it is set, which counts as told.
    void targetSet(DateValue target, DateValue now);

    // What to store for the told target: its text, or the no-target text when none was told.
    std::wstring storedTold() const;

private:
    std::optional<DateValue> told_;
};

}  // namespace tavro::notify
