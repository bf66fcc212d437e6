#include "holidays/download_worker_win32.h"

#include <process.h>

namespace tavro::holidays {

namespace {
constexpr DWORD kJoinMs = 1000;
}

bool DownloadWorker::launch(std::shared_ptr<Job> job, HWND notify, UINT done) {
    job->notify_ = notify;
    job->done_ = done;
    job_ = job;
    auto* handOver = new std::shared_ptr<Job>(std::move(job));
    const uintptr_t thread = _beginthreadex(nullptr, 0, run, handOver, 0, nullptr);
    if (thread == 0) {
        delete handOver;
        return false;
    }
    thread_.reset(reinterpret_cast<HANDLE>(thread));
    return true;
}

unsigned __stdcall DownloadWorker::run(void* handOver) noexcept {
    const std::unique_ptr<std::shared_ptr<Job>> owned(static_cast<std::shared_ptr<Job>*>(handOver));
    Job& job = **owned;
    job.run();
    job.session.close();
    job.finished_.store(true, std::memory_order_release);
    PostMessageW(job.notify_, job.done_, 0, 0);
    return 0;
}

DownloadWorker::~DownloadWorker() {
    if (!thread_) return;
    if (!finished()) abandon();
    // In short steps: a single long wait was seen under Wine to last until the thread's own
    // network time-out, seconds past the second asked for.
    while (WaitForSingleObject(thread_.get(), 0) == WAIT_TIMEOUT && GetTickCount64() - abandonedAt_ < kJoinMs)
        Sleep(10);
}

void DownloadWorker::abandon() {
    if (abandonedAt_ == 0) abandonedAt_ = GetTickCount64();
    job_->session.abandon();
}

}  // namespace tavro::holidays
