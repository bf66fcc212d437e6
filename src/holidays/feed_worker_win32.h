// One holiday fetch on a thread of its own, so that the clock's thread never waits on the network.
#pragma once

#include <windows.h>

#include <memory>
#include <vector>

#include "base/unique_handle_win32.h"
#include "holidays/happy_feed.h"

namespace tavro::holidays {

class FeedWorker {
public:
    // Starts fetching the holidays around firstDay; `done` is posted to `notify` when the fetch
    // ends (the owner also polls finished(), since a window may go away meanwhile). Nothing when
    // no thread can be started.
    static std::unique_ptr<FeedWorker> start(const FeedConfig& config, DateValue firstDay, HWND notify, UINT done);
    // Abandons an unfinished fetch and gives its thread a second to end; one that is still stuck
    // in the network library is left to the process's end.
    ~FeedWorker();
    FeedWorker(const FeedWorker&) = delete;
    FeedWorker& operator=(const FeedWorker&) = delete;

    bool finished() const;
    // The fetch's code and dates, once finished.
    int code() const;
    const std::vector<DateValue>& dates() const;
    // Closes the fetch's handles: its blocking call returns and it ends with a failure.
    void abandon();

private:
    struct Job;
    explicit FeedWorker(std::shared_ptr<Job> job) : job_(std::move(job)) {}
    static unsigned __stdcall run(void* job);

    std::shared_ptr<Job> job_;
    base::UniqueKernelHandle thread_;
    ULONGLONG abandonedAt_ = 0;
};

}  // namespace tavro::holidays
