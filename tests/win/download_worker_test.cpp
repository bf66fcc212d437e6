// The download worker of the holiday feed and of the holiday list: an abandon ends the download
// at its next step, wherever it comes, and the owner hears that it ended.
#include <winsock2.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "holidays/feed_worker_win32.h"
#include "holidays/list_download_win32.h"

using namespace tavro::holidays;

namespace {

constexpr UINT kDone = WM_APP + 7;
// Well under the step's own time-out (kFeedTimeoutMs), which is what a lost abandon would wait for.
constexpr DWORD kEndsMs = 3000;

bool readable(SOCKET s, DWORD ms) {
    fd_set set;
    FD_ZERO(&set);
    FD_SET(s, &set);
    timeval wait{static_cast<long>(ms / 1000), static_cast<long>(ms % 1000 * 1000)};
    return select(0, &set, nullptr, nullptr, &wait) == 1;
}

// A server on 127.0.0.1 answered by hand.
struct Server {
    Server() {
        WSADATA data;
        WSAStartup(MAKEWORD(2, 2), &data);
        listener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        sockaddr_in at{};
        at.sin_family = AF_INET;
        at.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        int size = sizeof at;
        bind(listener, reinterpret_cast<sockaddr*>(&at), size);
        listen(listener, 8);
        getsockname(listener, reinterpret_cast<sockaddr*>(&at), &size);
        port = ntohs(at.sin_port);
    }
    ~Server() {
        closesocket(listener);
        WSACleanup();
    }
    // The next client's connection, once it has sent its request; INVALID_SOCKET after 20 s.
    SOCKET client() const {
        if (!readable(listener, 20000)) return INVALID_SOCKET;
        const SOCKET s = accept(listener, nullptr, nullptr);
        char request[4096];
        return readable(s, 20000) && recv(s, request, sizeof request, 0) > 0 ? s : INVALID_SOCKET;
    }
    SOCKET listener = INVALID_SOCKET;
    int port = 0;
};

// Whether the done message comes within ms, and the worker says it finished.
bool endsWithin(DownloadWorker& worker, HWND notify, DWORD ms) {
    const ULONGLONG until = GetTickCount64() + ms;
    MSG message;
    while (!PeekMessageW(&message, notify, kDone, kDone, PM_REMOVE)) {
        if (GetTickCount64() > until) return false;
        Sleep(20);
    }
    return worker.finished();
}

}  // namespace

TEST(DownloadWorker, AnAbandonEndsTheDownloadAtItsNextStep) {
    // Abandoned while the step's call is making its handle, as it may be in InternetOpen: the
    // handle is closed, not kept, and the step fails.
    InternetSession session;
    EXPECT_EQ(session.open(session.root, [&] {
        session.abandon();
        return InternetOpenW(L"test", INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0);
    }), ERROR_INTERNET_OPERATION_CANCELLED);
    EXPECT_EQ(session.root.get(), nullptr);

    // Both downloads, each abandoned while it reads an answer.
    const HWND notify = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    ASSERT_TRUE(notify);
    const std::function<std::unique_ptr<DownloadWorker>(int port)> workers[] = {
        [&](int port) { return FeedWorker::start({"127.0.0.1", port, "x"}, 40000, notify, kDone); },
        [&](int port) {
            const std::wstring url = L"http://127.0.0.1:" + std::to_wstring(port) + L"/a.csv";
            return ListDownload::start({url, "", 2026, L""}, notify, kDone);
        },
    };
    for (const auto& start : workers) {
        Server server;
        std::unique_ptr<DownloadWorker> worker = start(server.port);
        ASSERT_TRUE(worker);
        const SOCKET client = server.client();
        ASSERT_NE(client, INVALID_SOCKET);
        const std::string head = "HTTP/1.1 200 OK\r\nContent-Length: 100000\r\n\r\n";
        send(client, head.data(), static_cast<int>(head.size()), 0);
        EXPECT_FALSE(endsWithin(*worker, notify, 200)) << "it waits for the body";
        // Wine does not make a read blocked on a closed handle return: it runs until its buffer
        // fills. So a part of the body follows the abandon: it ends that read, and the next one
        // must not begin, or it would wait for the rest until the step's time-out.
        worker->abandon();
        const std::string part(32 * 1024, '2');
        send(client, part.data(), static_cast<int>(part.size()), 0);
        EXPECT_TRUE(endsWithin(*worker, notify, kEndsMs));
        closesocket(client);
    }
    DestroyWindow(notify);
}
