#include "holidays/feed_worker_win32.h"

namespace tavro::holidays {

struct FeedWorker::Job final : DownloadWorker::Job {
    Job(const FeedConfig& config, DateValue base) : feed(steps, config), base(base) {}
    void run() override { code = feed.loadHappyDays(base); }
    WinInetSteps steps{session};
    HappyFromGoogle feed;
    DateValue base;
    int code = 0;
};

std::unique_ptr<FeedWorker> FeedWorker::start(const FeedConfig& config, DateValue firstDay, HWND notify, UINT done) {
    std::unique_ptr<FeedWorker> worker(new FeedWorker);
    worker->job_ = std::make_shared<Job>(config, firstDay);
    if (!worker->launch(worker->job_, notify, done)) return nullptr;
    return worker;
}

int FeedWorker::code() const { return job_->code; }
const std::vector<DateValue>& FeedWorker::dates() const { return job_->feed.happyDays; }

}  // namespace tavro::holidays
