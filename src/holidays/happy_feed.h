// mdlHappyFromGoogle: downloads the public Japanese-holiday calendar over plain HTTP and keeps
// the list of holiday dates that the month calendar asks about.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "datetime/date_value.h"

namespace tavro::holidays {

using datetime::DateValue;

// Result codes of a fetch besides the steps' own last-error codes.
inline constexpr int kStatusNotOk = 9;            // HTTP status outside 200-299
inline constexpr int kBodyTooLarge = 8;           // ERROR_NOT_ENOUGH_MEMORY: answer over kMaxBodyBytes
inline constexpr int kInvalidRequest = 87;        // ERROR_INVALID_PARAMETER: no sendable request path
inline constexpr int kNotAFeed = 13;              // ERROR_INVALID_DATA: a 2xx answer without a single marker

inline constexpr int kChunkBytes = 1024;
inline constexpr int kStatusCodeLevel = 19;       // HTTP_QUERY_STATUS_CODE, as text
inline constexpr int kMaxReadFailures = 3;        // consecutive failing reads before giving up
inline constexpr std::size_t kMaxBodyBytes = 1u << 20;  // a holiday feed is a few kilobytes
inline constexpr std::size_t kMaxPathChars = 255;

// One HTTP-library call per step. Each returns the platform's last-error code of its call
// (0 = success). A step that fails may still hold a handle, so its close step is always called.
class HttpSteps {
public:
    virtual ~HttpSteps() = default;
    virtual int openInternet() = 0;
    virtual int openConnection(const std::string& host, int port) = 0;
    virtual int openRequest(const std::string& verb, const std::string& path) = 0;
    virtual int sendRequest() = 0;
    virtual int queryInfo(int level, std::string& statusText) = 0;
    // Reads at most capacity bytes; got is the count read (0 at the end of the body).
    virtual int readChunk(uint8_t* buffer, int capacity, int& got) = 0;
    // Closing a handle that is not open does nothing.
    virtual void closeRequest() = 0;
    virtual void closeConnection() = 0;
    virtual void closeInternet() = 0;
};

struct FeedConfig {
    std::string host = "www.google.com";
    int port = 80;
    std::string calendarId = "japanese@holiday.calendar.google.com";
};

// The registry values feedHost ("name" or "name:port") and feedCalendarId, either possibly
// empty. A value that is empty or unusable falls back to its default; a bad port rejects the
// whole feedHost, since a half-read host would only fail the fetch later.
FeedConfig parseFeedConfig(std::string_view feedHost, std::string_view feedCalendarId);

// "yyyy-mm-dd" of the date part; empty when the year is outside 1-9999.
std::string formatFeedDate(DateValue date);

// The request path for the months before and after base; empty when it cannot be built.
std::string feedPath(const std::string& calendarId, DateValue base);

// The dates after each "<gd:when startTime='" in response order; entries that are not a
// valid yyyy-mm-dd are skipped.
std::vector<DateValue> scanHappyDays(std::string_view body);

// The HTTP status text as a number; 0 when it holds no number.
int statusNumber(std::string_view statusText);

class HappyFromGoogle {
public:
    explicit HappyFromGoogle(HttpSteps& steps, FeedConfig config = {});

    // Fetches the holidays around base (the first day of the shown month). Returns 0 or the
    // failing step's code; the list holds exactly this fetch's dates (none on failure). An answer
    // with no marker at all (a login page, an empty body) fails: every span asked for since 1996
    // holds a national holiday, so it cannot be the feed.
    int loadHappyDays(const DateValue& base);

    std::vector<DateValue> happyDays;
    int happyCount = 0;

private:
    int fetch(const std::string& path, std::vector<DateValue>& found);
    int readResponse(std::vector<uint8_t>& body);

    HttpSteps& steps_;
    FeedConfig config_;
};

}  // namespace tavro::holidays
