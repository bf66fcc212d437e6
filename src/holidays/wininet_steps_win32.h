// The feed's HTTP steps on WinINet.
#pragma once

#include <windows.h>
#include <wininet.h>

#include "holidays/happy_feed.h"

namespace tavro::holidays {

// Connect, send and receive each give up after this long: the library's defaults would keep
// the clock's only thread waiting for minutes.
inline constexpr DWORD kFeedTimeoutMs = 10000;

// The code of a step: the last error its call left, or ERROR_INTERNET_INTERNAL_ERROR when the
// call failed without setting one. The caller clears the error before the call.
int stepCode(bool succeeded);

class InternetHandle {
public:
    InternetHandle() = default;
    explicit InternetHandle(HINTERNET handle) : handle_(handle) {}
    InternetHandle(InternetHandle&& other) noexcept : handle_(other.release()) {}
    InternetHandle& operator=(InternetHandle&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }
    InternetHandle(const InternetHandle&) = delete;
    InternetHandle& operator=(const InternetHandle&) = delete;
    ~InternetHandle() { reset(); }

    HINTERNET get() const { return handle_; }
    HINTERNET release() {
        HINTERNET handle = handle_;
        handle_ = nullptr;
        return handle;
    }
    void reset(HINTERNET handle = nullptr) {
        if (handle_) InternetCloseHandle(handle_);
        handle_ = handle;
    }

private:
    HINTERNET handle_ = nullptr;
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

private:
    // Declared root first so that leftovers close request, connection, root.
    InternetHandle root_;
    InternetHandle connection_;
    InternetHandle request_;
};

}  // namespace tavro::holidays
