#include "holidays/happy_feed.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

#include "holidays/feed_schedule.h"
#include "holidays/holiday_days.h"

using namespace tavro::holidays;
using tavro::datetime::makeDate;

namespace {

// Scripted steps: the step named in `fail` fails, the status text and the body served in chunks,
// with `readFailures` failing reads first. Logs every call.
struct FakeSteps : HttpSteps {
    std::string fail, status = "200", body, log, path;
    int chunk = 7, readFailures = 0;  // 7: markers cut across chunk edges
    size_t served = 0;
    int step(const std::string& name) {
        log += name + " ";
        return fail == name ? 12029 : 0;
    }
    int openInternet() override { return step("internet"); }
    int openConnection(const std::string& host, int port) override { return path = host + ":" + std::to_string(port), step("connection"); }
    int openRequest(const std::string& verb, const std::string& p) override { return path += " " + verb + " " + p, step("request"); }
    int sendRequest() override { return step("send"); }
    int queryInfo(int level, std::string& text) override { return text = level == kStatusCodeLevel ? status : "", step("query"); }
    int readChunk(uint8_t* buffer, int capacity, int& got) override {
        got = static_cast<int>(std::min({body.size() - served, static_cast<size_t>(capacity), static_cast<size_t>(chunk)}));
        if (readFailures-- > 0) return got = 0, 12002;
        std::copy_n(body.data() + served, got, buffer);
        served += static_cast<size_t>(got);
        return 0;
    }
    void closeRequest() override { step("-request"); }
    void closeConnection() override { step("-connection"); }
    void closeInternet() override { step("-internet"); }
};

std::string marker(const std::string& date) { return "<gd:when startTime='" + date + "'/>"; }

TEST(HappyFeed, RequestPathAndSettings) {
    FakeSteps steps;
    steps.body = marker("2009-01-01");
    HappyFromGoogle feed(steps, parseFeedConfig(" 127.0.0.1:8080 ", "test@example.org"));
    ASSERT_EQ(feed.loadHappyDays(makeDate(2009, 1, 1) + 0.5), 0);
    EXPECT_EQ(steps.path, "127.0.0.1:8080 GET /calendar/feeds/test@example.org/public/attendees-only"
                          "?start-min=2008-12-01&start-max=2009-02-01");
    const std::string kDefault = "www.google.com:80 japanese@holiday.calendar.google.com";
    for (auto [host, id, want] : {std::tuple{" \tzZaA-9._:8080\r\n", "\n~a!\t", std::string("zZaA-9._:8080 ~a!")},
                                  {"", "a/b", kDefault}, {"host:0", "a\x7f", kDefault}, {"host:65536", "a b", kDefault},
                                  {"h{st", "a%b", kDefault}, {"host:80x", "a?b", kDefault}, {"h@:1", "a#b&", kDefault}}) {
        const FeedConfig c = parseFeedConfig(host, id);
        EXPECT_EQ(c.host + ":" + std::to_string(c.port) + " " + c.calendarId, want) << host;  // unusable: default
    }
    EXPECT_EQ(statusNumber(" 1234567890"), 123456789);
    // The first and last days whose months either side have four-digit years.
    EXPECT_EQ(feedPath("a", makeDate(1, 2, 1)), "/calendar/feeds/a/public/attendees-only?start-min=0001-01-01&start-max=0001-03-01");
    for (DateValue outside : {makeDate(1, 1, 31) + 0.9, makeDate(9999, 12, 1)}) EXPECT_EQ(feedPath("a", outside), "") << outside;
}

TEST(HappyFeed, EachAnswerGivesItsCodeAndDatesAndClosesEverything) {
    struct Case { const char* fail; std::string status, body; int readFailures, code; std::vector<DateValue> dates; std::string log; } cases[] = {
        {"internet", "200", "", 0, 12029, {}, "internet -internet "},
        {"connection", "200", "", 0, 12029, {}, "internet connection -connection -internet "},
        {"request", "200", "", 0, 12029, {}, "internet connection request -request -connection -internet "},
        {"send", "200", "", 0, 12029, {}, "internet connection request send -request -connection -internet "},
        {"query", "200", "", 0, 12029, {}, "internet connection request send query -request -connection -internet "},
        {"", "404", marker("2009-01-01"), 0, kStatusNotOk, {}, ""},
        {"", "299", marker("2009-01-01") + marker("2009-01-12T00:00") + marker("2009-01-01") + marker("0001-01-01"), 0, 0,
         {makeDate(2009, 1, 1), makeDate(2009, 1, 12), makeDate(2009, 1, 1), makeDate(1, 1, 1)}, ""},
        {"", "200", marker("2009-02-30") + marker("2009/02/12") + marker("2009-02-11") + "<GD:WHEN startTime='2009-03-03'",
         2, 0, {makeDate(2009, 2, 11)}, ""},
        {"", "200", "<feed></feed>", 0, kNotAFeed, {}, ""},  // 2xx but no marker: a login page, say
        {"", "200", marker("2009-01-01"), 3, 12002, {}, ""},  // reads that keep failing end the fetch
        {"", "200", std::string(kMaxBodyBytes + 1, 'x'), 0, kBodyTooLarge, {}, ""},
    };
    for (const Case& c : cases) {
        FakeSteps steps;
        steps.fail = c.fail;
        steps.status = c.status;
        steps.body = c.body;
        steps.readFailures = c.readFailures;
        HappyFromGoogle feed(steps);
        feed.happyDays = {1.0};  // a failure leaves nothing of an earlier fetch
        EXPECT_EQ(feed.loadHappyDays(makeDate(2009, 1, 1)), c.code) << c.body;
        EXPECT_EQ(feed.happyDays, c.dates) << c.body;
        EXPECT_EQ(feed.happyCount, static_cast<int>(c.dates.size()));
        if (!c.log.empty()) EXPECT_EQ(steps.log, c.log);
        else EXPECT_TRUE(steps.log.ends_with("-request -connection -internet ")) << steps.log;
    }
}

TEST(FeedSchedule, OneAtATimeForTheShownDayWithinTheDeadline) {
    // A script: 's' the calendar shows `day`; 'b' a fetch is started if due (want: the day, or 0
    // for none); 'o' is it overdue (want 1/0); 'f' the fetch ends with `code` (want: used 1/0).
    const DateValue d1 = makeDate(2027, 1, 15), d2 = makeDate(2027, 2, 15);
    const int64_t D = kFetchDeadlineMs;
    struct Event { char op; DateValue day; int code; int64_t ms; DateValue want; const char* rule; } script[] = {
        {'b', 0, 0, 0, 0, "nothing shown yet"},          {'s', d1 + 0.75, 0, 0, 0, ""},
        {'b', 0, 0, 0, d1, "the shown day"},             {'s', d2, 0, 0, 0, ""},
        {'b', 0, 0, 100, 0, "never two at once"},        {'f', 0, 0, 200, 0, "the day changed meanwhile: dropped"},
        {'b', 0, 0, 300, d2, "then the shown day"},      {'o', 0, 0, 300 + D, 0, "within the deadline"},
        {'o', 0, 0, 301 + D, 1, "past the deadline"},    {'f', 0, 0, 301 + D, 0, "too late: not used"},
        {'b', 0, 0, 400 + D, 0, "a day is fetched once"}, {'s', d1, 0, 0, 0, ""},
        {'b', 0, 0, 500 + D, d1, "another day"},         {'f', 0, 12029, 600 + D, 0, "a failure is not used"},
        {'s', d2, 0, 0, 0, ""},                          {'b', 0, 0, 0, d2, ""},
        {'f', 0, 0, D, 1, "in time for the shown day"},  {'f', 0, 0, D, 0, "nothing runs"},
    };
    FeedSchedule s;
    for (const Event& e : script) {
        switch (e.op) {
            case 's': s.shown(e.day); break;
            case 'b': EXPECT_EQ(s.startDue(e.ms).value_or(0), e.want) << e.rule; break;
            case 'o': EXPECT_EQ(s.overdue(e.ms), e.want == 1) << e.rule; break;
            case 'f': EXPECT_EQ(s.finish(e.code, e.ms), e.want == 1) << e.rule; break;
        }
    }
}

TEST(FeedOrComputedHolidays, ComputedUntilTheFeedAnswersForTheShownMonth) {
    const DateValue may = makeDate(2009, 5, 1);
    FeedOrComputedHolidays h;
    h.selectMonth(may);
    for (int day : {3, 4, 5, 6}) EXPECT_TRUE(h.isHappy(makeDate(2009, 5, day))) << day;  // 6: substitute
    EXPECT_TRUE(h.isHappy(makeDate(2009, 4, 29)));  // the month before
    EXPECT_FALSE(h.isHappy(makeDate(2009, 5, 7)) || h.isHappy(makeDate(2009, 7, 20)));
    EXPECT_FALSE(h.takeFeed(makeDate(2009, 6, 1), {makeDate(2009, 6, 2)}) || h.usingFeed()) << "not the shown month";
    EXPECT_FALSE(h.takeFeed(may, {makeDate(2009, 5, 6), makeDate(2009, 5, 3), makeDate(2009, 5, 4),
                                  makeDate(2009, 5, 5), makeDate(2009, 5, 5), makeDate(2009, 6, 9)}))
        << "the same days of May in another order: nothing to redraw";
    EXPECT_TRUE(h.usingFeed());
    EXPECT_TRUE(h.takeFeed(may, {makeDate(2009, 5, 7)}));
    EXPECT_TRUE(h.isHappy(makeDate(2009, 5, 7)) && !h.isHappy(makeDate(2009, 5, 4)));
    // A name only for a red day: the feed's own day has none, a day it dropped is not named.
    EXPECT_EQ(h.holidayName(makeDate(2009, 5, 7)) + h.holidayName(makeDate(2009, 5, 4)), L"");
    h.selectMonth(makeDate(2009, 6, 1));
    EXPECT_FALSE(h.usingFeed());
    h.selectMonth(may);
    EXPECT_TRUE(h.isHappy(makeDate(2009, 5, 7))) << "kept for the month it came for";
    EXPECT_FALSE(isHappy({makeDate(2009, 1, 12), makeDate(2009, 1, 13)}, 1, makeDate(2009, 1, 13)));  // happyCount
}

}  // namespace
