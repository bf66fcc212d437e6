#include "holidays/feed_worker_win32.h"

#include <process.h>

#include <atomic>

#include "holidays/wininet_steps_win32.h"

namespace tavro::holidays {

namespace {
constexpr DWORD kJoinMs = 1000;
}

// Shared by the thread and the owner: whichever lets go last frees it.
struct FeedWorker::Job {
    Job(const FeedConfig& config, DateValue base, HWND notify, UINT done)
        : feed(steps, config), base(base), notify(notify), done(done) {}
    WinInetSteps steps;
    HappyFromGoogle feed;
    DateValue base;
    HWND notify;
    UINT done;
    std::atomic<bool> finished{false};
    int code = 0;
};

std::unique_ptr<FeedWorker> FeedWorker::start(const FeedConfig& config, DateValue firstDay, HWND notify, UINT done) {
    auto job = std::make_shared<Job>(config, firstDay, notify, done);
    std::unique_ptr<FeedWorker> worker(new FeedWorker(job));
    auto* handOver = new std::shared_ptr<Job>(job);
    const uintptr_t thread = _beginthreadex(nullptr, 0, run, handOver, 0, nullptr);
    if (thread == 0) {
        delete handOver;
        return nullptr;
    }
    worker->thread_.reset(reinterpret_cast<HANDLE>(thread));
    return worker;
}

unsigned __stdcall FeedWorker::run(void* handOver) {
    const std::unique_ptr<std::shared_ptr<Job>> owned(static_cast<std::shared_ptr<Job>*>(handOver));
    Job& job = **owned;
    job.code = job.feed.loadHappyDays(job.base);
    job.finished.store(true, std::memory_order_release);
    PostMessageW(job.notify, job.done, 0, 0);
    return 0;
}

FeedWorker::~FeedWorker() {
    if (!thread_) return;
    if (!finished()) abandon();
    // A second from the moment it was abandoned: the owner may have had other work meanwhile.
    // In short steps: a single long wait was seen under Wine to last until the thread's own
    // network time-out, seconds past the second asked for.
    while (WaitForSingleObject(thread_.get(), 0) == WAIT_TIMEOUT && GetTickCount64() - abandonedAt_ < kJoinMs)
        Sleep(10);
}

bool FeedWorker::finished() const { return job_->finished.load(std::memory_order_acquire); }
int FeedWorker::code() const { return job_->code; }
const std::vector<DateValue>& FeedWorker::dates() const { return job_->feed.happyDays; }
void FeedWorker::abandon() {
    if (abandonedAt_ == 0) abandonedAt_ = GetTickCount64();
    job_->steps.abandon();
}

}  // namespace tavro::holidays
