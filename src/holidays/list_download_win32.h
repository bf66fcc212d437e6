// One download of the holiday list on a thread of its own: WinINet with the system's proxy,
// kFeedTimeoutMs a step, kListDeadlineMs in all, at most kMaxListBytes. A list that passes the
// checks is written to the cache before the owner hears of it.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "holidays/download_worker_win32.h"
#include "holidays/list_answer.h"

namespace tavro::holidays {

struct ListRequest {
    std::wstring url;
    std::string headers;    // the conditional ones, CRLF-ended
    int currentYear = 0;    // the list must reach it
    std::wstring cachePath;
};

class ListDownload final : public DownloadWorker {
public:
    // `done` is posted to `notify` when it ends. Nothing when no thread can be started.
    static std::unique_ptr<ListDownload> start(ListRequest request, HWND notify, UINT done);

    // Once finished: the verdict (with the checked list for NewList) and the answer's validators.
    // An abandoned download ends as rejected.
    ListVerdict& verdict();
    const ListValidators& validators() const;

private:
    struct Job;
    std::shared_ptr<Job> job_;
};

}  // namespace tavro::holidays
