// One download on a thread of its own, so that the clock's thread never waits on the network:
// the holiday feed's and the holiday list's. The owner may abandon it at any moment and waits
// for it no longer than a second from then.
#pragma once

#include <windows.h>

#include <atomic>
#include <memory>

#include "base/unique_handle_win32.h"
#include "holidays/wininet_steps_win32.h"

namespace tavro::holidays {

class DownloadWorker {
public:
    // What the thread does. Shared by the thread and the owner: whichever lets go last frees it,
    // so a thread the owner stopped waiting for still has its job.
    class Job {
    public:
        virtual ~Job() = default;
        // Every WinINet step of the job goes through it: the abandon closes it.
        InternetSession session;

    private:
        friend class DownloadWorker;
        // On the thread; its results are the owner's once finished() is true.
        virtual void run() = 0;
        std::atomic<bool> finished_{false};
        HWND notify_ = nullptr;
        UINT done_ = 0;
    };

    // Abandons an unfinished job and gives its thread what is left of a second since the
    // abandon; one still stuck in the network library is left to the process's end.
    virtual ~DownloadWorker();
    DownloadWorker(const DownloadWorker&) = delete;
    DownloadWorker& operator=(const DownloadWorker&) = delete;

    bool finished() const { return job_->finished_.load(std::memory_order_acquire); }
    // The job's next step fails, and its handles are closed, which on Windows makes a blocked
    // call return; under Wine 8 a blocked read runs on until its buffer fills or it times out.
    void abandon();

protected:
    DownloadWorker() = default;
    // Runs the job on a new thread, then posts `done` to `notify` (the owner also polls
    // finished(), since a window may go away meanwhile). False when no thread can be started.
    bool launch(std::shared_ptr<Job> job, HWND notify, UINT done);

private:
    static unsigned __stdcall run(void* job) noexcept;

    std::shared_ptr<Job> job_;
    base::UniqueKernelHandle thread_;
    ULONGLONG abandonedAt_ = 0;
};

}  // namespace tavro::holidays
