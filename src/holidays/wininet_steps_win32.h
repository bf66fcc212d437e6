// The feed's HTTP steps on WinINet.
#pragma once

#include <windows.h>
#include <wininet.h>

#include <atomic>

#include "holidays/happy_feed.h"

namespace tavro::holidays {

// Connect, send and receive each give up after this long; the whole fetch has its own deadline.
inline constexpr DWORD kFeedTimeoutMs = 10000;

// The code of a step: the last error its call left, or ERROR_INTERNET_INTERNAL_ERROR when the
// call failed without setting one. The caller clears the error before the call.
int stepCode(bool succeeded);

// Gives a handle kFeedTimeoutMs for connecting, sending and receiving; nothing for none.
void setTimeouts(HINTERNET handle);

// A WinINet handle that another thread may close: closing a handle is how a blocking call on it
// is made to return.
class InternetHandle {
public:
    InternetHandle() = default;
    InternetHandle(const InternetHandle&) = delete;
    InternetHandle& operator=(const InternetHandle&) = delete;
    ~InternetHandle() { reset(); }

    HINTERNET get() const { return handle_.load(); }
    void reset(HINTERNET handle = nullptr) {
        if (HINTERNET old = handle_.exchange(handle)) InternetCloseHandle(old);
    }

private:
    std::atomic<HINTERNET> handle_{nullptr};
};

class WinInetSteps final : public HttpSteps {
public:
    int openInternet() override;
    int openConnection(const std::string& host, int port) override;
    int openRequest(const std::string& verb, const std::string& path) override;
    int sendRequest() override;
    int queryInfo(int level, std::string& statusText) override;
    int readChunk(uint8_t* buffer, int capacity, int& got) override;
    void closeRequest() override { request_.reset(); }
    void closeConnection() override { connection_.reset(); }
    void closeInternet() override { root_.reset(); }

    // From any thread: every later step fails with ERROR_INTERNET_OPERATION_CANCELLED and the
    // handles are closed, which makes a call blocked on them return.
    void abandon();

private:
    // The step's code, or the cancellation once abandoned.
    int cancelledOr(int code) const;

    std::atomic<bool> abandoned_{false};
    // Declared root first so that leftovers close request, connection, root.
    InternetHandle root_;
    InternetHandle connection_;
    InternetHandle request_;
};

}  // namespace tavro::holidays
