// One holiday fetch on a thread of its own, so that the clock's thread never waits on the network.
#pragma once

#include <windows.h>

#include <memory>
#include <vector>

#include "holidays/download_worker_win32.h"
#include "holidays/happy_feed.h"

namespace tavro::holidays {

class FeedWorker final : public DownloadWorker {
public:
    // Starts fetching the holidays around firstDay; `done` is posted to `notify` when the fetch
    // ends. Nothing when no thread can be started.
    static std::unique_ptr<FeedWorker> start(const FeedConfig& config, DateValue firstDay, HWND notify, UINT done);

    // The fetch's code and dates, once finished.
    int code() const;
    const std::vector<DateValue>& dates() const;

private:
    struct Job;
    std::shared_ptr<Job> job_;
};

}  // namespace tavro::holidays
