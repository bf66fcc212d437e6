#include "holidays/wininet_steps_win32.h"

#include <algorithm>
#include <cstring>

namespace tavro::holidays {

// Each step clears the error before its call so that an older code cannot fail a good call.
int stepCode(bool succeeded) {
    const DWORD code = GetLastError();
    if (!succeeded && code == 0) return ERROR_INTERNET_INTERNAL_ERROR;
    return static_cast<int>(code);
}

// Windows hands the root's time-outs down to its children; Wine starts every connection handle
// with no send or receive time-out, so each handle gets them. Set after the step's code is
// read: these calls are not part of the step.
void setTimeouts(HINTERNET handle) {
    if (!handle) return;
    DWORD ms = kFeedTimeoutMs;
    for (DWORD option : {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_SEND_TIMEOUT,
                         INTERNET_OPTION_RECEIVE_TIMEOUT, INTERNET_OPTION_DATA_SEND_TIMEOUT,
                         INTERNET_OPTION_DATA_RECEIVE_TIMEOUT}) {
        InternetSetOptionA(handle, option, &ms, sizeof ms);
    }
}

void WinInetSteps::abandon() {
    abandoned_.store(true);
    request_.reset();
    connection_.reset();
    root_.reset();
}

int WinInetSteps::cancelledOr(int code) const {
    return abandoned_.load() ? ERROR_INTERNET_OPERATION_CANCELLED : code;
}

int WinInetSteps::openInternet() {
    if (abandoned_.load()) return ERROR_INTERNET_OPERATION_CANCELLED;
    SetLastError(0);
    root_.reset(InternetOpenA(nullptr, INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
    const int code = stepCode(root_.get() != nullptr);
    setTimeouts(root_.get());
    return cancelledOr(code);
}

int WinInetSteps::openConnection(const std::string& host, int port) {
    SetLastError(0);
    connection_.reset(InternetConnectA(root_.get(), host.c_str(), static_cast<INTERNET_PORT>(port), nullptr,
                                       nullptr, INTERNET_SERVICE_HTTP, 0, 0));
    const int code = stepCode(connection_.get() != nullptr);
    setTimeouts(connection_.get());
    return cancelledOr(code);
}

int WinInetSteps::openRequest(const std::string& verb, const std::string& path) {
    SetLastError(0);
    // Reload only: the library's other defaults, such as following redirects, stay.
    request_.reset(HttpOpenRequestA(connection_.get(), verb.c_str(), path.c_str(), "HTTP/1.1", nullptr, nullptr,
                                    INTERNET_FLAG_RELOAD, 0));
    const int code = stepCode(request_.get() != nullptr);
    setTimeouts(request_.get());
    return cancelledOr(code);
}

int WinInetSteps::sendRequest() {
    SetLastError(0);
    const BOOL sent = HttpSendRequestA(request_.get(), nullptr, 0, nullptr, 0);
    return cancelledOr(stepCode(sent != FALSE));
}

int WinInetSteps::queryInfo(int level, std::string& statusText) {
    char buffer[1024] = {};
    DWORD length = sizeof buffer;
    DWORD index = 0;
    SetLastError(0);
    const BOOL queried = HttpQueryInfoA(request_.get(), static_cast<DWORD>(level), buffer, &length, &index);
    const int code = stepCode(queried != FALSE);
    statusText.assign(buffer, strnlen(buffer, sizeof buffer));
    return cancelledOr(code);
}

int WinInetSteps::readChunk(uint8_t* buffer, int capacity, int& got) {
    DWORD read = 0;
    SetLastError(0);
    const BOOL ok = InternetReadFile(request_.get(), buffer, static_cast<DWORD>(std::max(capacity, 0)), &read);
    const int code = stepCode(ok != FALSE);
    got = static_cast<int>(std::min<DWORD>(read, static_cast<DWORD>(std::max(capacity, 0))));
    return cancelledOr(code);
}

}  // namespace tavro::holidays
