#include "holidays/feed_keeper_win32.h"

#include <string>

#include "settings/registry_store.h"

namespace tavro::holidays {

namespace {
// The feed settings are host names and ids: anything beyond ASCII makes them unusable, and an
// empty text gives the default.
std::string asciiSetting(const settings::TextSetting& setting) {
    const std::optional<std::wstring> stored = settings::readOptionalSetting(setting);
    std::string text;
    if (!stored) return text;
    for (wchar_t c : *stored) {
        if (c <= 0 || c > 0x7E) return {};
        text += static_cast<char>(c);
    }
    return text;
}
}  // namespace

void FeedKeeper::load() {
    config_ = parseFeedConfig(asciiSetting(settings::kFeedHost), asciiSetting(settings::kFeedCalendarId));
}

std::optional<std::vector<DateValue>> FeedKeeper::pump(DateValue today, HWND notify, UINT done) {
    if (today <= 0) return std::nullopt;  // no calendar drawn yet
    const auto nowMs = static_cast<int64_t>(GetTickCount64());
    schedule_.shown(today);
    std::optional<std::vector<DateValue>> arrived;
    if (worker_ && worker_->finished()) {
        const int code = worker_->code();
        std::vector<DateValue> dates = worker_->dates();
        worker_.reset();
        if (schedule_.finish(code, nowMs)) arrived = std::move(dates);
    }
    if (worker_ && schedule_.overdue(nowMs)) worker_->abandon();
    if (worker_) return arrived;
    if (const std::optional<DateValue> day = schedule_.startDue(nowMs)) {
        worker_ = FeedWorker::start(config_, datetime::firstDayOfMonth(*day), notify, done);
        if (!worker_) schedule_.finish(-1, nowMs);  // no thread: the computed holidays stay
    }
    return arrived;
}

void FeedKeeper::abandon() {
    if (worker_) worker_->abandon();
}

}  // namespace tavro::holidays
