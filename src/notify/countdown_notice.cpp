#include "notify/countdown_notice.h"

#include "datetime/date_format.h"
#include "datetime/date_parser.h"

namespace tavro::notify {

namespace {
constexpr double kSecond = 1.0 / 86400;

// Both values are whole seconds; half a second absorbs the rounding of the fraction. Targets
// before 1899-12-30 (negative, not linear) are all below the present, which is what counts here.
bool hasCome(DateValue target, DateValue now) { return now - target > -0.5 * kSecond; }
}  // namespace

std::optional<DateValue> toldFromStored(std::wstring_view stored) {
    const std::optional<DateValue> value = datetime::parseDateText(stored, 2000);
    if (!value || *value == 0) return std::nullopt;
    // Only the program's own form counts: "2026/1/2" or a time alone is no stored target.
    const std::string text = datetime::formatDateTime(*value);
    if (stored != std::wstring(text.begin(), text.end())) return std::nullopt;
    return value;
}

std::optional<Notice> CountdownNotice::due(DateValue target, DateValue now, bool atStart) {
    if (target == 0 || told_ == target || !hasCome(target, now)) return std::nullopt;
    told_ = target;
    const bool inTime = !atStart && now - target <= (kInTimeSeconds + 0.5) * kSecond;
    return Notice{inTime ? NoticeKind::Reached : NoticeKind::Passed, target};
}

void CountdownNotice::targetSet(DateValue target, DateValue now) {
    if (target != 0 && hasCome(target, now)) told_ = target;
    else told_.reset();
}

std::wstring CountdownNotice::storedTold() const {
    const std::string text = told_ ? datetime::formatDateTime(*told_) : datetime::kNoTargetText;
    return std::wstring(text.begin(), text.end());
}

}  // namespace tavro::notify
