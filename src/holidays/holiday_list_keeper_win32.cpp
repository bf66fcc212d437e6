#include "holidays/holiday_list_keeper_win32.h"

#include "base/cp932_win32.h"
#include "holidays/holiday_list_cache_win32.h"
#include "holidays/list_answer.h"
#include "settings/registry_store.h"

namespace tavro::holidays {

std::shared_ptr<const HolidayList> HolidayListKeeper::load(int currentYear) {
    url_ = listUrlSetting(settings::readOptionalSetting(settings::kHolidayListUrl));
    cachePath_ = holidayListCachePath();
    const std::optional<std::string> cached = readCachedList(cachePath_);
    if (!cached) return nullptr;
    std::optional<HolidayList> list = checkHolidayList(*cached, currentYear, base::decodeCp932);
    return list ? std::make_shared<const HolidayList>(std::move(*list)) : nullptr;
}

std::shared_ptr<const HolidayList> HolidayListKeeper::pump(datetime::DateValue today, HWND notify, UINT done) {
    if (url_.empty() || today <= 0) return nullptr;
    const auto nowMs = static_cast<int64_t>(GetTickCount64());
    std::shared_ptr<const HolidayList> arrived;
    if (download_ && download_->finished()) {
        ListVerdict& verdict = download_->verdict();
        schedule_.finish(verdict.outcome, download_->validators());
        if (verdict.list) arrived = std::make_shared<const HolidayList>(std::move(*verdict.list));
        download_.reset();
    }
    if (download_ && schedule_.overdue(nowMs)) download_->abandon();
    schedule_.shown(today);
    if (!download_) {
        if (std::optional<std::string> headers = schedule_.startDue(nowMs)) {
            const int year = datetime::toCivil(today).year;
            download_ = ListDownload::start({url_, std::move(*headers), year, cachePath_}, notify, done);
            if (!download_) schedule_.finish(ListOutcome::Rejected, {});  // no thread: what is in use stays
        }
    }
    return arrived;
}

void HolidayListKeeper::abandon() {
    if (download_) download_->abandon();
}

}  // namespace tavro::holidays
