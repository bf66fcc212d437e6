#include "holidays/happy_feed.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace tavro::holidays {

namespace {

constexpr std::string_view kMarker = "<gd:when startTime='";
constexpr std::size_t kDateChars = 10;

bool isDigit(char c) { return c >= '0' && c <= '9'; }

std::string_view trimmed(std::string_view text) {
    const auto isSpace = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!text.empty() && isSpace(text.front())) text.remove_prefix(1);
    while (!text.empty() && isSpace(text.back())) text.remove_suffix(1);
    return text;
}

// Letters, digits, '-', '.' and '_': enough for DNS names and dotted IPv4 addresses.
bool isHostName(std::string_view host) {
    if (host.empty() || host.size() > 253) return false;
    return std::all_of(host.begin(), host.end(), [](char c) {
        return isDigit(c) || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '-' || c == '.' ||
               c == '_';
    });
}

// The id goes into the path unescaped: keep to characters that cannot end or split it.
bool isCalendarId(std::string_view id) {
    if (id.empty() || id.size() > kMaxPathChars) return false;
    return std::all_of(id.begin(), id.end(), [](char c) {
        const auto u = static_cast<unsigned char>(c);
        return u > 0x20 && u < 0x7F && c != '/' && c != '?' && c != '#' && c != '&' && c != '%';
    });
}

int parsePort(std::string_view text) {
    if (text.empty() || text.size() > 5) return 0;
    int port = 0;
    for (char c : text) {
        if (!isDigit(c)) return 0;
        port = port * 10 + (c - '0');
    }
    return port <= 65535 ? port : 0;
}

int digitsAt(std::string_view text, std::size_t from, std::size_t count) {
    int value = 0;
    for (std::size_t i = from; i < from + count; ++i) {
        if (!isDigit(text[i])) return -1;
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

// Ten characters "yyyy-mm-dd" as a pure date, or false.
bool readFeedDate(std::string_view ten, DateValue& date) {
    if (ten.size() != kDateChars || ten[4] != '-' || ten[7] != '-') return false;
    const int year = digitsAt(ten, 0, 4);
    const int month = digitsAt(ten, 5, 2);
    const int day = digitsAt(ten, 8, 2);
    if (year < 1 || !datetime::isValidDate(year, month, day)) return false;
    date = datetime::makeDate(year, month, day);
    return true;
}

bool inDateRange(DateValue value) {
    return std::isfinite(value) && value >= datetime::makeDate(1, 1, 1) &&
           value < datetime::makeDate(10000, 1, 1);
}

void appendTwoDigits(std::string& out, int value) {
    out += static_cast<char>('0' + value / 10);
    out += static_cast<char>('0' + value % 10);
}

// Calls the close step of every open step that was issued, newest first, on every way out.
class StepCloser {
public:
    explicit StepCloser(HttpSteps& steps) : steps_(steps) {}
    StepCloser(const StepCloser&) = delete;
    StepCloser& operator=(const StepCloser&) = delete;
    ~StepCloser() {
        if (issued_ >= 3) steps_.closeRequest();
        if (issued_ >= 2) steps_.closeConnection();
        if (issued_ >= 1) steps_.closeInternet();
    }
    void issued(int step) { issued_ = step; }

private:
    HttpSteps& steps_;
    int issued_ = 0;
};

}  // namespace

FeedConfig parseFeedConfig(std::string_view feedHost, std::string_view feedCalendarId) {
    FeedConfig config;
    const std::string_view hostText = trimmed(feedHost);
    const std::size_t colon = hostText.find(':');
    if (colon == std::string_view::npos) {
        if (isHostName(hostText)) config.host = hostText;
    } else {
        const std::string_view name = hostText.substr(0, colon);
        const int port = parsePort(hostText.substr(colon + 1));
        if (isHostName(name) && port > 0) {
            config.host = name;
            config.port = port;
        }
    }
    const std::string_view id = trimmed(feedCalendarId);
    if (isCalendarId(id) && !feedPath(std::string(id), datetime::makeDate(2000, 1, 1)).empty()) {
        config.calendarId = id;
    }
    return config;
}

std::string formatFeedDate(DateValue date) {
    if (!inDateRange(date)) return {};
    const datetime::CivilDateTime c = datetime::toCivil(date);
    if (c.year < 1 || c.year > 9999) return {};
    std::string out;
    out += static_cast<char>('0' + c.year / 1000);
    out += static_cast<char>('0' + c.year / 100 % 10);
    appendTwoDigits(out, c.year % 100);
    out += '-';
    appendTwoDigits(out, c.month);
    out += '-';
    appendTwoDigits(out, c.day);
    return out;
}

std::string feedPath(const std::string& calendarId, DateValue base) {
    // A month either side must stay within the years that format as four digits.
    if (!inDateRange(base) || base < datetime::makeDate(1, 2, 1) || base >= datetime::makeDate(9999, 12, 1)) {
        return {};
    }
    const DateValue day = datetime::dateOnly(base);
    const std::string path = "/calendar/feeds/" + calendarId + "/public/attendees-only?start-min=" +
                             formatFeedDate(datetime::addMonths(day, -1)) +
                             "&start-max=" + formatFeedDate(datetime::addMonths(day, 1));
    return path.size() <= kMaxPathChars ? path : std::string();
}

std::vector<DateValue> scanHappyDays(std::string_view body) {
    // The body is cp932 text, but the marker and the date are ASCII below 0x40 or letters that
    // follow such bytes, so a byte search finds exactly what a search of the decoded text finds.
    std::vector<DateValue> dates;
    std::size_t at = body.find(kMarker);
    while (at != std::string_view::npos) {
        const std::size_t dateAt = at + kMarker.size();
        DateValue date = 0;
        if (readFeedDate(body.substr(dateAt, kDateChars), date)) dates.push_back(date);
        at = body.find(kMarker, dateAt);
    }
    return dates;
}

int statusNumber(std::string_view statusText) {
    const std::string_view text = trimmed(statusText);
    int value = 0;
    for (std::size_t i = 0; i < text.size() && i < 9 && isDigit(text[i]); ++i) value = value * 10 + (text[i] - '0');
    return value;
}

HappyFromGoogle::HappyFromGoogle(HttpSteps& steps, FeedConfig config) : steps_(steps), config_(std::move(config)) {}

int HappyFromGoogle::loadHappyDays(const DateValue& base) {
    happyDays.clear();
    happyCount = 0;
    const std::string path = feedPath(config_.calendarId, base);
    if (path.empty()) return kInvalidRequest;
    std::vector<DateValue> found;
    const int code = fetch(path, found);
    if (code != 0) return code;
    happyDays = std::move(found);
    happyCount = static_cast<int>(happyDays.size());
    return 0;
}

int HappyFromGoogle::fetch(const std::string& path, std::vector<DateValue>& found) {
    StepCloser closer(steps_);
    closer.issued(1);
    if (const int code = steps_.openInternet()) return code;
    closer.issued(2);
    if (const int code = steps_.openConnection(config_.host, config_.port)) return code;
    closer.issued(3);
    if (const int code = steps_.openRequest("GET", path)) return code;
    if (const int code = steps_.sendRequest()) return code;
    std::string statusText;
    if (const int code = steps_.queryInfo(kStatusCodeLevel, statusText)) return code;
    const int status = statusNumber(statusText);
    if (status < 200 || status > 299) return kStatusNotOk;
    std::vector<uint8_t> body;
    if (const int code = readResponse(body)) return code;
    const std::string_view text(reinterpret_cast<const char*>(body.data()), body.size());
    if (text.find(kMarker) == std::string_view::npos) return kNotAFeed;
    found = scanHappyDays(text);
    return 0;
}

int HappyFromGoogle::readResponse(std::vector<uint8_t>& body) {
    body.clear();
    uint8_t chunk[kChunkBytes];
    int failures = 0;
    for (;;) {
        int got = 0;
        if (const int code = steps_.readChunk(chunk, kChunkBytes, got)) {
            // A read that keeps failing would hold the clock's only thread for ever.
            if (++failures >= kMaxReadFailures) return code;
            continue;
        }
        failures = 0;
        if (got <= 0) return 0;
        const auto count = static_cast<std::size_t>(std::min(got, kChunkBytes));
        if (body.size() + count > kMaxBodyBytes) return kBodyTooLarge;
        body.insert(body.end(), chunk, chunk + count);
    }
}

}  // namespace tavro::holidays
