// The downloads' HTTP steps on WinINet, each of which an abandon from another thread ends.
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

// The handles of one download, and its abandon, which may come from another thread at any
// moment: before a step, while a call blocks, or while a call is still making its handle.
class InternetSession {
public:
    // Every later step fails with ERROR_INTERNET_OPERATION_CANCELLED, and the open handles are
    // closed, which makes a call blocked on them return.
    void abandon();
    bool abandoned() const { return abandoned_.load(); }
    int cancelledOr(int code) const { return abandoned() ? ERROR_INTERNET_OPERATION_CANCELLED : code; }
    // A step's new handle (nothing when its call failed) into `slot`: false, and the handle
    // closed, once abandoned, also when the abandon came while the call was making it.
    bool keep(InternetHandle& slot, HINTERNET handle);

    // A step that makes a handle into `slot`, with the time-outs; its code.
    template <typename Call>
    int open(InternetHandle& slot, Call call) {
        if (abandoned()) return ERROR_INTERNET_OPERATION_CANCELLED;
        SetLastError(0);
        const HINTERNET handle = call();
        const int code = stepCode(handle != nullptr);  // read before the time-outs: they are no part of the step
        if (!keep(slot, handle)) return ERROR_INTERNET_OPERATION_CANCELLED;
        setTimeouts(handle);
        return code;
    }
    // A step on the open handles, `call` true when it succeeded; its code.
    template <typename Call>
    int step(Call call) {
        if (abandoned()) return ERROR_INTERNET_OPERATION_CANCELLED;
        SetLastError(0);
        const bool succeeded = call();
        return cancelledOr(stepCode(succeeded));
    }
    // Request, connection, root: the order WinINet wants them closed in.
    void close();

    // Declared root first so that leftovers close request, connection, root.
    InternetHandle root, connection, request;

private:
    std::atomic<bool> abandoned_{false};
};

// The holiday feed's steps, in a session that the feed's worker may abandon.
class WinInetSteps final : public HttpSteps {
public:
    explicit WinInetSteps(InternetSession& session) : session_(session) {}
    int openInternet() override;
    int openConnection(const std::string& host, int port) override;
    int openRequest(const std::string& verb, const std::string& path) override;
    int sendRequest() override;
    int queryInfo(int level, std::string& statusText) override;
    int readChunk(uint8_t* buffer, int capacity, int& got) override;
    void closeRequest() override { session_.request.reset(); }
    void closeConnection() override { session_.connection.reset(); }
    void closeInternet() override { session_.root.reset(); }

private:
    InternetSession& session_;
};

}  // namespace tavro::holidays
