// One download of the holiday list on a thread of its own: WinINet with the system's proxy,
// kFeedTimeoutMs a step, kListDeadlineMs in all, at most kMaxListBytes. A list that passes the
// checks is written to the cache before the owner hears of it.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "base/unique_handle_win32.h"
#include "holidays/list_answer.h"

namespace tavro::holidays {

struct ListRequest {
    std::wstring url;
    std::string headers;    // the conditional ones, CRLF-ended
    int currentYear = 0;    // the list must reach it
    std::wstring cachePath;
};

class ListDownload {
public:
    // `done` is posted to `notify` when it ends (the owner also polls finished()). Nothing when
    // no thread can be started.
    static std::unique_ptr<ListDownload> start(ListRequest request, HWND notify, UINT done);
    // Abandons an unfinished download and gives its thread what is left of a second.
    ~ListDownload();
    ListDownload(const ListDownload&) = delete;
    ListDownload& operator=(const ListDownload&) = delete;

    bool finished() const;
    // Once finished: the verdict (with the checked list for NewList) and the answer's validators.
    ListVerdict& verdict();
    const ListValidators& validators() const;
    // Closes its handles: a blocked call returns and the download ends as rejected.
    void abandon();

private:
    struct Job;
    explicit ListDownload(std::shared_ptr<Job> job) : job_(std::move(job)) {}
    static unsigned __stdcall run(void* job);

    std::shared_ptr<Job> job_;
    base::UniqueKernelHandle thread_;
    ULONGLONG abandonedAt_ = 0;
};

}  // namespace tavro::holidays
