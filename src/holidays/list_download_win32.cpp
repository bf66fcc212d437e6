#include "holidays/list_download_win32.h"

#include <wininet.h>

#include <vector>

#include "base/cp932_win32.h"
#include "holidays/happy_feed.h"
#include "holidays/holiday_list_cache_win32.h"
#include "holidays/wininet_steps_win32.h"

namespace tavro::holidays {

namespace {

constexpr DWORD kReadBytes = 16 * 1024;

// A header as text; "" when the answer has none.
std::string headerText(HINTERNET request, DWORD level) {
    char buffer[1024] = {};
    DWORD length = sizeof buffer - 1;
    if (!HttpQueryInfoA(request, level, buffer, &length, nullptr)) return {};
    return std::string(buffer, std::min<DWORD>(length, sizeof buffer - 1));
}

std::optional<std::size_t> headerNumber(HINTERNET request, DWORD level) {
    DWORD number = 0;
    DWORD length = sizeof number;
    if (!HttpQueryInfoA(request, level | HTTP_QUERY_FLAG_NUMBER, &number, &length, nullptr)) return std::nullopt;
    return number;
}

}  // namespace

struct ListDownload::Job final : DownloadWorker::Job {
    explicit Job(ListRequest request) : request(std::move(request)) {}
    void run() override;
    int fetch();
    int read(ULONGLONG deadline);

    ListRequest request;
    ListAnswer answer;
    ListVerdict verdict;
};

int ListDownload::Job::fetch() {
    const ULONGLONG deadline = GetTickCount64() + kListDeadlineMs;
    wchar_t host[256] = {}, path[2048] = {}, extra[2048] = {};
    URL_COMPONENTSW parts{};
    parts.dwStructSize = sizeof parts;
    parts.lpszHostName = host;
    parts.dwHostNameLength = ARRAYSIZE(host);
    parts.lpszUrlPath = path;
    parts.dwUrlPathLength = ARRAYSIZE(path);
    parts.lpszExtraInfo = extra;
    parts.dwExtraInfoLength = ARRAYSIZE(extra);
    SetLastError(0);
    if (!InternetCrackUrlW(request.url.c_str(), 0, 0, &parts)) return stepCode(false);
    const bool secure = parts.nScheme == INTERNET_SCHEME_HTTPS;
    if (!secure && parts.nScheme != INTERNET_SCHEME_HTTP) return ERROR_INTERNET_UNRECOGNIZED_SCHEME;
    const std::wstring object = std::wstring(*path ? path : L"/") + extra;

    InternetSession& s = session;
    if (const int code = s.open(s.root, [] {
            return InternetOpenW(L"TavroClock", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0);
        }))
        return code;
    if (const int code = s.open(s.connection, [&] {
            return InternetConnectW(s.root.get(), host, parts.nPort, nullptr, nullptr, INTERNET_SERVICE_HTTP, 0, 0);
        }))
        return code;
    // Reload: the library's cache neither answers nor adds validators of its own; ours are sent.
    const DWORD flags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_NO_COOKIES |
                        INTERNET_FLAG_NO_UI | (secure ? INTERNET_FLAG_SECURE : 0);
    if (const int code = s.open(s.request, [&] {
            return HttpOpenRequestW(s.connection.get(), L"GET", object.c_str(), L"HTTP/1.1", nullptr, nullptr, flags, 0);
        }))
        return code;
    const std::string& headers = request.headers;
    if (const int code = s.step([&] {
            return HttpSendRequestA(s.request.get(), headers.empty() ? nullptr : headers.c_str(),
                                    static_cast<DWORD>(headers.size()), nullptr, 0) != FALSE;
        }))
        return code;
    answer.status = static_cast<int>(headerNumber(s.request.get(), HTTP_QUERY_STATUS_CODE).value_or(0));
    answer.contentLength = headerNumber(s.request.get(), HTTP_QUERY_CONTENT_LENGTH);
    answer.validators = {headerText(s.request.get(), HTTP_QUERY_LAST_MODIFIED),
                         headerText(s.request.get(), HTTP_QUERY_ETAG)};
    if (answer.status < 200 || answer.status > 299) return s.cancelledOr(0);  // no body worth reading
    return read(deadline);
}

int ListDownload::Job::read(ULONGLONG deadline) {
    std::vector<char> chunk(kReadBytes);
    for (;;) {
        // A trickling answer must not run past the deadline even when nobody abandons it.
        if (GetTickCount64() > deadline) return ERROR_INTERNET_TIMEOUT;
        DWORD got = 0;
        if (const int code = session.step([&] {
                return InternetReadFile(session.request.get(), chunk.data(), kReadBytes, &got) != FALSE;
            }))
            return code;
        if (got == 0) return 0;
        if (answer.body.size() + got > kMaxListBytes) return kBodyTooLarge;
        answer.body.append(chunk.data(), got);
    }
}

void ListDownload::Job::run() {
    answer.code = fetch();
    session.close();
    const bool conditional = !request.headers.empty();
    verdict = judgeListAnswer(answer, conditional, request.currentYear, base::decodeCp932);
    // Written before the owner takes it: a list in use is a list on disk (unless the disk refuses).
    if (verdict.outcome == ListOutcome::NewList && !session.abandoned()) writeCachedList(request.cachePath, answer.body);
    answer.body = std::string();  // the list keeps what it needs
}

std::unique_ptr<ListDownload> ListDownload::start(ListRequest request, HWND notify, UINT done) {
    std::unique_ptr<ListDownload> download(new ListDownload);
    download->job_ = std::make_shared<Job>(std::move(request));
    if (!download->launch(download->job_, notify, done)) return nullptr;
    return download;
}

ListVerdict& ListDownload::verdict() { return job_->verdict; }
const ListValidators& ListDownload::validators() const { return job_->answer.validators; }

}  // namespace tavro::holidays
