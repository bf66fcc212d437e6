// The download worker that the holiday feed and the holiday list run on: an abandon ends the
// download at its next step, wherever it comes, and the owner hears that it ended.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>

#include "holidays/download_worker_win32.h"

using namespace tavro::holidays;

namespace {

constexpr UINT kDone = WM_APP + 7;

bool tenMsOfReading() {
    Sleep(10);
    return true;
}
// A download of endless steps, as a long answer read a chunk at a time.
struct Endless final : DownloadWorker::Job {
    void run() override {
        while (session.step(tenMsOfReading) == 0) continue;
    }
};
struct Worker final : DownloadWorker {
    using DownloadWorker::launch;
};

// Whether the done message comes within ms, and the worker says it finished.
bool endsWithin(const Worker& worker, HWND notify, DWORD ms) {
    const ULONGLONG until = GetTickCount64() + ms;
    MSG message;
    while (!PeekMessageW(&message, notify, kDone, kDone, PM_REMOVE)) {
        if (GetTickCount64() > until) return false;
        Sleep(10);
    }
    return worker.finished();
}

}  // namespace

TEST(DownloadWorker, AnAbandonEndsTheDownloadAtItsNextStep) {
    // Abandoned while a step's call is making its handle, as in InternetOpen: the handle is
    // closed, not kept, and the step fails.
    InternetSession session;
    EXPECT_EQ(session.open(session.root, [&] {
        session.abandon();
        return InternetOpenW(L"test", INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0);
    }), ERROR_INTERNET_OPERATION_CANCELLED);
    EXPECT_EQ(session.root.get(), nullptr);

    const HWND notify = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    Worker worker;
    ASSERT_TRUE(worker.launch(std::make_shared<Endless>(), notify, kDone));
    EXPECT_FALSE(endsWithin(worker, notify, 200)) << "it runs on until abandoned";
    worker.abandon();
    // Well within the second the owner waits for it at exit.
    EXPECT_TRUE(endsWithin(worker, notify, 1000));
    DestroyWindow(notify);
}
