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
// with no send or receive time-out, so each handle gets them.
void setTimeouts(HINTERNET handle) {
    if (!handle) return;
    DWORD ms = kFeedTimeoutMs;
    for (DWORD option : {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_SEND_TIMEOUT,
                         INTERNET_OPTION_RECEIVE_TIMEOUT, INTERNET_OPTION_DATA_SEND_TIMEOUT,
                         INTERNET_OPTION_DATA_RECEIVE_TIMEOUT}) {
        InternetSetOptionA(handle, option, &ms, sizeof ms);
    }
}

void InternetSession::abandon() {
    abandoned_.store(true);
    close();
}

bool InternetSession::keep(InternetHandle& slot, HINTERNET handle) {
    slot.reset(handle);
    // Stored before the flag is read, as abandon() sets the flag before it closes: either the
    // abandon closes this handle or this sees the flag.
    if (!abandoned()) return true;
    slot.reset();
    return false;
}

void InternetSession::close() {
    request.reset();
    connection.reset();
    root.reset();
}

int WinInetSteps::openInternet() {
    return session_.open(session_.root,
                         [] { return InternetOpenA(nullptr, INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0); });
}

int WinInetSteps::openConnection(const std::string& host, int port) {
    return session_.open(session_.connection, [&] {
        return InternetConnectA(session_.root.get(), host.c_str(), static_cast<INTERNET_PORT>(port), nullptr, nullptr,
                                INTERNET_SERVICE_HTTP, 0, 0);
    });
}

int WinInetSteps::openRequest(const std::string& verb, const std::string& path) {
    // Reload only: the library's other defaults, such as following redirects, stay.
    return session_.open(session_.request, [&] {
        return HttpOpenRequestA(session_.connection.get(), verb.c_str(), path.c_str(), "HTTP/1.1", nullptr, nullptr,
                                INTERNET_FLAG_RELOAD, 0);
    });
}

int WinInetSteps::sendRequest() {
    return session_.step([&] { return HttpSendRequestA(session_.request.get(), nullptr, 0, nullptr, 0) != FALSE; });
}

int WinInetSteps::queryInfo(int level, std::string& statusText) {
    char buffer[1024] = {};
    return session_.step([&] {
        DWORD length = sizeof buffer;
        DWORD index = 0;
        const BOOL queried = HttpQueryInfoA(session_.request.get(), static_cast<DWORD>(level), buffer, &length, &index);
        statusText.assign(buffer, strnlen(buffer, sizeof buffer));
        return queried != FALSE;
    });
}

int WinInetSteps::readChunk(uint8_t* buffer, int capacity, int& got) {
    got = 0;
    return session_.step([&] {
        const auto room = static_cast<DWORD>(std::max(capacity, 0));
        DWORD read = 0;
        const BOOL ok = InternetReadFile(session_.request.get(), buffer, room, &read);
        got = static_cast<int>(std::min(read, room));
        return ok != FALSE;
    });
}

}  // namespace tavro::holidays
