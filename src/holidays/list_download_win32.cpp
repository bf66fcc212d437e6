#include "holidays/list_download_win32.h"

#include <process.h>
#include <wininet.h>

#include <atomic>
#include <vector>

#include "holidays/cp932_win32.h"
#include "holidays/happy_feed.h"
#include "holidays/holiday_list_cache_win32.h"
#include "holidays/wininet_steps_win32.h"

namespace tavro::holidays {

namespace {

constexpr DWORD kJoinMs = 1000;
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

// Shared by the thread and the owner: whichever lets go last frees it.
struct ListDownload::Job {
    Job(ListRequest request, HWND notify, UINT done) : request(std::move(request)), notify(notify), done(done) {}
    ListRequest request;
    HWND notify;
    UINT done;
    std::atomic<bool> abandoned{false}, finished{false};
    // Declared root first so that leftovers close request, connection, root.
    InternetHandle root, connection, http;
    ListAnswer answer;
    ListVerdict verdict;

    int cancelledOr(int code) const { return abandoned.load() ? ERROR_INTERNET_OPERATION_CANCELLED : code; }
    int fetch();
    int read(ULONGLONG deadline);
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

    if (abandoned.load()) return ERROR_INTERNET_OPERATION_CANCELLED;
    SetLastError(0);
    root.reset(InternetOpenW(L"TavroClock", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
    if (!root.get()) return cancelledOr(stepCode(false));
    setTimeouts(root.get());
    SetLastError(0);
    connection.reset(InternetConnectW(root.get(), host, parts.nPort, nullptr, nullptr, INTERNET_SERVICE_HTTP, 0, 0));
    if (!connection.get()) return cancelledOr(stepCode(false));
    setTimeouts(connection.get());
    // Reload: the library's cache neither answers nor adds validators of its own; ours are sent.
    const DWORD flags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_NO_COOKIES |
                        INTERNET_FLAG_NO_UI | (secure ? INTERNET_FLAG_SECURE : 0);
    SetLastError(0);
    http.reset(HttpOpenRequestW(connection.get(), L"GET", object.c_str(), L"HTTP/1.1", nullptr, nullptr, flags, 0));
    if (!http.get()) return cancelledOr(stepCode(false));
    setTimeouts(http.get());
    SetLastError(0);
    const std::string& headers = request.headers;
    if (!HttpSendRequestA(http.get(), headers.empty() ? nullptr : headers.c_str(), static_cast<DWORD>(headers.size()),
                          nullptr, 0))
        return cancelledOr(stepCode(false));
    answer.status = static_cast<int>(headerNumber(http.get(), HTTP_QUERY_STATUS_CODE).value_or(0));
    answer.contentLength = headerNumber(http.get(), HTTP_QUERY_CONTENT_LENGTH);
    answer.validators = {headerText(http.get(), HTTP_QUERY_LAST_MODIFIED), headerText(http.get(), HTTP_QUERY_ETAG)};
    if (answer.status < 200 || answer.status > 299) return cancelledOr(0);  // no body worth reading
    return read(deadline);
}

int ListDownload::Job::read(ULONGLONG deadline) {
    std::vector<char> chunk(kReadBytes);
    for (;;) {
        // A trickling answer must not run past the deadline even when nobody abandons it.
        if (GetTickCount64() > deadline) return ERROR_INTERNET_TIMEOUT;
        DWORD got = 0;
        SetLastError(0);
        if (!InternetReadFile(http.get(), chunk.data(), kReadBytes, &got)) return cancelledOr(stepCode(false));
        if (abandoned.load()) return ERROR_INTERNET_OPERATION_CANCELLED;
        if (got == 0) return 0;
        if (answer.body.size() + got > kMaxListBytes) return kBodyTooLarge;
        answer.body.append(chunk.data(), got);
    }
}

std::unique_ptr<ListDownload> ListDownload::start(ListRequest request, HWND notify, UINT done) {
    auto job = std::make_shared<Job>(std::move(request), notify, done);
    std::unique_ptr<ListDownload> download(new ListDownload(job));
    auto* handOver = new std::shared_ptr<Job>(job);
    const uintptr_t thread = _beginthreadex(nullptr, 0, run, handOver, 0, nullptr);
    if (thread == 0) {
        delete handOver;
        return nullptr;
    }
    download->thread_.reset(reinterpret_cast<HANDLE>(thread));
    return download;
}

unsigned __stdcall ListDownload::run(void* handOver) {
    const std::unique_ptr<std::shared_ptr<Job>> owned(static_cast<std::shared_ptr<Job>*>(handOver));
    Job& job = **owned;
    job.answer.code = job.fetch();
    job.http.reset();
    job.connection.reset();
    job.root.reset();
    const bool conditional = !job.request.headers.empty();
    job.verdict = judgeListAnswer(job.answer, conditional, job.request.currentYear, decodeCp932);
    // Written before the owner takes it: a list in use is a list on disk (unless the disk refuses).
    if (job.verdict.outcome == ListOutcome::NewList && !job.abandoned.load())
        writeCachedList(job.request.cachePath, job.answer.body);
    job.answer.body = std::string();  // the list keeps what it needs
    job.finished.store(true, std::memory_order_release);
    PostMessageW(job.notify, job.done, 0, 0);
    return 0;
}

ListDownload::~ListDownload() {
    if (!thread_) return;
    if (!finished()) abandon();
    // In short steps, as the feed's join: one long wait was seen under Wine to last until the
    // stalled download's own time-out.
    while (WaitForSingleObject(thread_.get(), 0) == WAIT_TIMEOUT && GetTickCount64() - abandonedAt_ < kJoinMs)
        Sleep(10);
}

bool ListDownload::finished() const { return job_->finished.load(std::memory_order_acquire); }
ListVerdict& ListDownload::verdict() { return job_->verdict; }
const ListValidators& ListDownload::validators() const { return job_->answer.validators; }

void ListDownload::abandon() {
    if (abandonedAt_ == 0) abandonedAt_ = GetTickCount64();
    job_->abandoned.store(true);
    job_->http.reset();
    job_->connection.reset();
    job_->root.reset();
}

}  // namespace tavro::holidays
