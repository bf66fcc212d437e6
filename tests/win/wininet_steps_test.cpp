// The WinINet steps against a server of the test's own on 127.0.0.1.
#include <winsock2.h>
#include <ws2tcpip.h>

#include "holidays/wininet_steps_win32.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

using namespace tavro::holidays;
using namespace std::chrono_literals;
using tavro::datetime::makeDate;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

using Clock = std::chrono::steady_clock;

struct Winsock {
    Winsock() {
        WSADATA data;
        WSAStartup(MAKEWORD(2, 2), &data);
    }
    ~Winsock() { WSACleanup(); }
};

bool sendAll(SOCKET s, const std::string& data) {
    std::size_t sent = 0;
    while (sent < data.size()) {
        const int n = send(s, data.data() + sent, static_cast<int>(data.size() - sent), 0);
        if (n <= 0) return false;
        sent += static_cast<std::size_t>(n);
    }
    return true;
}

// One connection as the answer function sees it.
struct Connection {
    SOCKET socket;
    std::string request;
    std::function<void(std::chrono::milliseconds)> waitForStop;
    bool send(const std::string& data) const { return sendAll(socket, data); }
};

// Accepts connections on 127.0.0.1 and an ephemeral port, one at a time, until it is destroyed
// or its lifetime ends; records each request head and lets the answer function reply.
class LocalServer {
public:
    using Answer = std::function<void(Connection&)>;

    explicit LocalServer(Answer answer, std::chrono::seconds lifetime = 40s, int backlog = SOMAXCONN)
        : answer_(std::move(answer)), deadline_(Clock::now() + lifetime) {
        listener_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        address.sin_port = 0;
        bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address);
        int length = sizeof address;
        getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
        port_ = ntohs(address.sin_port);
        listen(listener_, backlog);
        if (answer_) thread_ = std::thread([this] { run(); });
    }
    LocalServer(const LocalServer&) = delete;
    LocalServer& operator=(const LocalServer&) = delete;
    ~LocalServer() {
        {
            std::lock_guard lock(mutex_);
            stopping_ = true;
        }
        stopped_.notify_all();
        if (thread_.joinable()) thread_.join();
        closesocket(listener_);
    }

    int port() const { return port_; }
    std::vector<std::string> requests() const {
        std::lock_guard lock(mutex_);
        return requests_;
    }

private:
    bool stopping() const {
        std::lock_guard lock(mutex_);
        return stopping_ || Clock::now() >= deadline_;
    }

    void run() {
        while (!stopping()) {
            fd_set ready;
            FD_ZERO(&ready);
            FD_SET(listener_, &ready);
            timeval tick{0, 100000};
            if (select(0, &ready, nullptr, nullptr, &tick) != 1) continue;
            SOCKET client = accept(listener_, nullptr, nullptr);
            if (client == INVALID_SOCKET) continue;
            DWORD timeoutMs = 3000;
            setsockopt(client, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&timeoutMs), sizeof timeoutMs);
            Connection connection{client, readHead(client), [this](std::chrono::milliseconds most) {
                                      std::unique_lock lock(mutex_);
                                      stopped_.wait_for(lock, most, [this] { return stopping_; });
                                  }};
            {
                std::lock_guard lock(mutex_);
                requests_.push_back(connection.request);
            }
            answer_(connection);
            shutdown(client, SD_SEND);
            closesocket(client);
        }
    }

    static std::string readHead(SOCKET client) {
        std::string head;
        char buffer[512];
        while (head.find("\r\n\r\n") == std::string::npos && head.size() < 65536) {
            const int n = recv(client, buffer, sizeof buffer, 0);
            if (n <= 0) break;
            head.append(buffer, static_cast<std::size_t>(n));
        }
        return head;
    }

    Winsock winsock_;
    Answer answer_;
    Clock::time_point deadline_;
    SOCKET listener_ = INVALID_SOCKET;
    int port_ = 0;
    mutable std::mutex mutex_;
    std::condition_variable stopped_;
    bool stopping_ = false;
    std::vector<std::string> requests_;
    std::thread thread_;
};

// Passes every step to the real binding and notes what the fetch did with it.
class WatchedSteps : public HttpSteps {
public:
    int reads = 0;
    int largestChunk = 0;
    std::string failedStep;

    int openInternet() override { return note("openInternet", inner_.openInternet()); }
    int openConnection(const std::string& h, int p) override { return note("openConnection", inner_.openConnection(h, p)); }
    int openRequest(const std::string& v, const std::string& p) override { return note("openRequest", inner_.openRequest(v, p)); }
    int sendRequest() override { return note("sendRequest", inner_.sendRequest()); }
    int queryInfo(int l, std::string& t) override { return note("queryInfo", inner_.queryInfo(l, t)); }
    int readChunk(uint8_t* b, int c, int& g) override {
        ++reads;
        const int code = note("readChunk", inner_.readChunk(b, c, g));
        largestChunk = std::max(largestChunk, g);
        return code;
    }
    void closeRequest() override { inner_.closeRequest(); }
    void closeConnection() override { inner_.closeConnection(); }
    void closeInternet() override { inner_.closeInternet(); }

private:
    int note(const char* step, int code) {
        if (code != 0 && failedStep.empty()) failedStep = step;
        return code;
    }
    WinInetSteps inner_;
};

std::string marker(const std::string& date) { return "<gd:when startTime='" + date + "T00:00:00.000+09:00'/>"; }

std::string answer(const std::string& statusLine, const std::string& body) {
    return "HTTP/1.1 " + statusLine + "\r\nContent-Type: application/atom+xml\r\nContent-Length: " +
           std::to_string(body.size()) + "\r\nConnection: close\r\n\r\n" + body;
}

LocalServer::Answer replyWith(std::string text) {
    return [text = std::move(text)](Connection& c) { c.send(text); };
}

struct Fetch {
    int code = -1;
    std::vector<DateValue> days;
    int count = -1;
    double seconds = 0;
    int reads = 0;
    int largestChunk = 0;
    std::string failedStep;
};

Fetch fetchFrom(int port, DateValue base = makeDate(2009, 1, 1)) {
    WatchedSteps steps;
    HappyFromGoogle feed(steps, FeedConfig{"127.0.0.1", port, "test@example.org"});
    const auto start = Clock::now();
    Fetch f;
    f.code = feed.loadHappyDays(base);
    f.seconds = std::chrono::duration<double>(Clock::now() - start).count();
    f.days = feed.happyDays;
    f.count = feed.happyCount;
    f.reads = steps.reads;
    f.largestChunk = steps.largestChunk;
    f.failedStep = steps.failedStep;
    return f;
}

std::vector<std::string> headerNames(const std::string& head) {
    std::vector<std::string> names;
    std::size_t at = head.find("\r\n");
    while (at != std::string::npos) {
        const std::size_t next = head.find("\r\n", at + 2);
        const std::string line = head.substr(at + 2, next == std::string::npos ? std::string::npos : next - at - 2);
        if (line.empty()) break;
        names.push_back(line.substr(0, line.find(':')));
        at = next;
    }
    return names;
}

}  // namespace

TEST(WinInetFeed, SendsTheBareGetRequest) {
    LocalServer server(replyWith(answer("200 OK", "<feed>" + marker("2009-01-01") + marker("2009-01-12") +
                                                      marker("2009-01-01") + "</feed>")));
    const Fetch f = fetchFrom(server.port());
    ASSERT_EQ(f.code, 0) << f.failedStep;
    EXPECT_THAT(f.days, ElementsAre(makeDate(2009, 1, 1), makeDate(2009, 1, 12), makeDate(2009, 1, 1)));
    EXPECT_EQ(f.count, 3);
    const std::vector<std::string> requests = server.requests();
    ASSERT_EQ(requests.size(), 1u);
    const std::string& head = requests[0];
    EXPECT_EQ(head.substr(0, head.find("\r\n")),
              "GET /calendar/feeds/test@example.org/public/attendees-only?start-min=2008-12-01&start-max=2009-02-01 "
              "HTTP/1.1");
    // No agent, no extra headers, no body: only what the library must send.
    EXPECT_THAT(headerNames(head), ElementsAre("Host")) << head;
    EXPECT_NE(head.find("\r\nHost: 127.0.0.1:" + std::to_string(server.port()) + "\r\n"), std::string::npos) << head;
    EXPECT_EQ(head.size(), head.find("\r\n\r\n") + 4) << "request body sent";
}

TEST(WinInetFeed, StatusOutsideTwoHundredsIsNineWithoutReading) {
    for (const char* status : {"404 Not Found", "500 Internal Server Error"}) {
        LocalServer server(replyWith(answer(status, marker("2009-01-01"))));
        const Fetch f = fetchFrom(server.port());
        EXPECT_EQ(f.code, 9) << status;
        EXPECT_EQ(f.reads, 0) << status;
        EXPECT_THAT(f.days, IsEmpty());
        EXPECT_EQ(f.count, 0);
    }
}

TEST(WinInetFeed, RefusedConnectionFailsAtSend) {
    // A port that was bound and let go: nothing listens there.
    int port = 0;
    {
        LocalServer closed(nullptr);
        port = closed.port();
    }
    const Fetch f = fetchFrom(port);
    EXPECT_EQ(f.code, ERROR_INTERNET_CANNOT_CONNECT);
    EXPECT_EQ(f.failedStep, "sendRequest");
    EXPECT_THAT(f.days, IsEmpty());
    EXPECT_LT(f.seconds, 5.0);
}

TEST(WinInetFeed, EmptyBodyIsSuccessWithNoDates) {
    LocalServer server(replyWith(answer("200 OK", "")));
    const Fetch f = fetchFrom(server.port());
    EXPECT_EQ(f.code, 0) << f.failedStep;
    EXPECT_THAT(f.days, IsEmpty());
    EXPECT_EQ(f.count, 0);
}

TEST(WinInetFeed, ChunkedAnswerIsJoinedBeforeTheScan) {
    // The second marker is split across two transfer chunks.
    const std::string body = marker("2009-01-01") + marker("2009-01-12");
    const std::string first = body.substr(0, 50);
    const std::string second = body.substr(50);
    const auto hex = [](std::size_t n) {
        char text[16];
        snprintf(text, sizeof text, "%zx", n);
        return std::string(text);
    };
    LocalServer server([&](Connection& c) {
        c.send("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\nConnection: close\r\n\r\n");
        c.send(hex(first.size()) + "\r\n" + first + "\r\n");
        std::this_thread::sleep_for(50ms);
        c.send(hex(second.size()) + "\r\n" + second + "\r\n0\r\n\r\n");
    });
    const Fetch f = fetchFrom(server.port());
    EXPECT_EQ(f.code, 0) << f.failedStep;
    EXPECT_THAT(f.days, ElementsAre(makeDate(2009, 1, 1), makeDate(2009, 1, 12)));
}

TEST(WinInetFeed, LongBodyArrivesInChunksOfAtMost1024) {
    std::string body;
    std::vector<DateValue> expected;
    for (int i = 0; i < 50; ++i) {
        // Each marker straddles a 1024-byte boundary of the body.
        body += std::string(1024 - 25, ' ') + marker("2009-01-" + std::string(i % 28 < 9 ? "0" : "") + std::to_string(i % 28 + 1));
        expected.push_back(makeDate(2009, 1, i % 28 + 1));
    }
    LocalServer server([&](Connection& c) {
        const std::string whole = answer("200 OK", body);
        for (std::size_t at = 0; at < whole.size(); at += 7000) c.send(whole.substr(at, 7000));
    });
    const Fetch f = fetchFrom(server.port());
    ASSERT_EQ(f.code, 0) << f.failedStep;
    EXPECT_EQ(f.days, expected);
    EXPECT_EQ(f.largestChunk, 1024);
    EXPECT_GE(f.reads, static_cast<int>(body.size() / 1024) + 1);
}

TEST(WinInetFeed, ServerClosingMidBodyEndsTheFetch) {
    LocalServer server([](Connection& c) {
        const std::string part = marker("2009-02-11") + std::string(2000, ' ');
        c.send("HTTP/1.1 200 OK\r\nContent-Length: 5000\r\n\r\n" + part);
    });
    const Fetch f = fetchFrom(server.port());
    // Either the part that came is kept, or the fetch fails and keeps nothing.
    if (f.code == 0) {
        EXPECT_THAT(f.days, ElementsAre(makeDate(2009, 2, 11)));
    } else {
        EXPECT_THAT(f.days, IsEmpty());
    }
    EXPECT_LT(f.seconds, 5.0);
    std::printf("[ measured ] closed mid-body: code %d after %.2f s, %d reads\n", f.code, f.seconds, f.reads);
}

TEST(WinInetFeed, SilentServerTimesOutInSeconds) {
    LocalServer server([](Connection& c) { c.waitForStop(30s); });
    const Fetch f = fetchFrom(server.port());
    EXPECT_NE(f.code, 0);
    EXPECT_THAT(f.days, IsEmpty());
    EXPECT_GT(f.seconds, 5.0);
    EXPECT_LT(f.seconds, 25.0);
    std::printf("[ measured ] silent server: code %d at %s after %.2f s, %zu connections\n", f.code,
                f.failedStep.c_str(), f.seconds, server.requests().size());
}

// Wine 8.0 does not apply the connect time-out: this case took 135 s there (the kernel's own
// limit on connection attempts), so it runs only where asked for, e.g. on Windows with
// --gtest_also_run_disabled_tests.
TEST(WinInetFeed, DISABLED_UnacceptedConnectionTimesOutInSeconds) {
    // Nobody accepts and the backlog is full, so the system drops further connection attempts.
    LocalServer server(nullptr, 40s, 1);
    std::vector<SOCKET> fillers;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<u_short>(server.port()));
    for (int i = 0; i < 4; ++i) {
        SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        u_long nonBlocking = 1;
        ioctlsocket(s, FIONBIO, &nonBlocking);
        connect(s, reinterpret_cast<sockaddr*>(&address), sizeof address);
        fillers.push_back(s);
    }
    std::this_thread::sleep_for(300ms);
    const Fetch f = fetchFrom(server.port());
    for (SOCKET s : fillers) closesocket(s);
    EXPECT_NE(f.code, 0);
    EXPECT_THAT(f.days, IsEmpty());
    EXPECT_GT(f.seconds, 5.0);
    EXPECT_LT(f.seconds, 25.0);
    std::printf("[ measured ] unaccepted connection: code %d at %s after %.2f s\n", f.code, f.failedStep.c_str(),
                f.seconds);
}

TEST(WinInetSteps, FailedCallsNeverReportZero) {
    WinInetSteps steps;
    // No root handle yet: the library refuses, and the code must say so.
    EXPECT_NE(steps.openConnection("127.0.0.1", 80), 0);
    EXPECT_NE(steps.openRequest("GET", "/"), 0);
    EXPECT_NE(steps.sendRequest(), 0);
    std::string status = "untouched";
    EXPECT_NE(steps.queryInfo(19, status), 0);
    EXPECT_EQ(status, "");
    uint8_t buffer[1024];
    int got = -1;
    EXPECT_NE(steps.readChunk(buffer, sizeof buffer, got), 0);
    EXPECT_EQ(got, 0);
}

TEST(WinInetSteps, FailureWithoutAnErrorCodeStillFails) {
    SetLastError(0);
    EXPECT_EQ(stepCode(false), ERROR_INTERNET_INTERNAL_ERROR);
    SetLastError(ERROR_INTERNET_TIMEOUT);
    EXPECT_EQ(stepCode(false), ERROR_INTERNET_TIMEOUT);
    SetLastError(0);
    EXPECT_EQ(stepCode(true), 0);
}

// An error left over from earlier calls must not fail a good step.
TEST(WinInetSteps, GoodStepsReportZeroWhateverCameBefore) {
    LocalServer server(replyWith(answer("203 Non-Authoritative Information", "abc")));
    WinInetSteps steps;
    SetLastError(ERROR_ACCESS_DENIED);
    ASSERT_EQ(steps.openInternet(), 0);
    SetLastError(ERROR_ACCESS_DENIED);
    ASSERT_EQ(steps.openConnection("127.0.0.1", server.port()), 0);
    SetLastError(ERROR_ACCESS_DENIED);
    ASSERT_EQ(steps.openRequest("GET", "/x"), 0);
    SetLastError(ERROR_ACCESS_DENIED);
    ASSERT_EQ(steps.sendRequest(), 0);
    std::string status;
    SetLastError(ERROR_ACCESS_DENIED);
    ASSERT_EQ(steps.queryInfo(19, status), 0);
    EXPECT_EQ(status, "203");
    uint8_t buffer[1024];
    int got = 0;
    SetLastError(ERROR_ACCESS_DENIED);
    EXPECT_EQ(steps.readChunk(buffer, sizeof buffer, got), 0);
    EXPECT_EQ(got, 3);
    SetLastError(ERROR_ACCESS_DENIED);
    EXPECT_EQ(steps.readChunk(buffer, sizeof buffer, got), 0);
    EXPECT_EQ(got, 0);
}
