#include "holidays/happy_feed.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <deque>
#include <string>
#include <vector>

using namespace tavro::holidays;
using tavro::datetime::makeDate;
using tavro::datetime::makeDateTime;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

// Scripted steps: each open step's code, the status text and the body, served in chunks.
// It keeps a log of the calls and which handles it holds, as the real library would.
class FakeSteps : public HttpSteps {
public:
    int internetCode = 0, connectionCode = 0, requestCode = 0, sendCode = 0, queryCode = 0;
    std::string status = "200";
    std::string body;
    int chunkLimit = kChunkBytes;
    std::deque<int> readCodes;  // codes of the next reads; 0 once used up
    bool failingCallKeepsHandle = false;

    std::vector<std::string> calls;
    std::string host, verb, path;
    int port = 0, level = 0, reads = 0;
    bool rootOpen = false, connectionOpen = false, requestOpen = false;

    int openInternet() override {
        calls.push_back("openInternet");
        rootOpen = internetCode == 0 || failingCallKeepsHandle;
        return internetCode;
    }
    int openConnection(const std::string& h, int p) override {
        calls.push_back("openConnection");
        host = h;
        port = p;
        connectionOpen = connectionCode == 0 || failingCallKeepsHandle;
        return connectionCode;
    }
    int openRequest(const std::string& v, const std::string& p) override {
        calls.push_back("openRequest");
        verb = v;
        path = p;
        requestOpen = requestCode == 0 || failingCallKeepsHandle;
        return requestCode;
    }
    int sendRequest() override {
        calls.push_back("sendRequest");
        return sendCode;
    }
    int queryInfo(int l, std::string& text) override {
        calls.push_back("queryInfo");
        level = l;
        if (queryCode == 0) text = status;
        return queryCode;
    }
    int readChunk(uint8_t* buffer, int capacity, int& got) override {
        ++reads;
        got = 0;
        if (!readCodes.empty()) {
            const int code = readCodes.front();
            readCodes.pop_front();
            if (code != 0) return code;
        }
        got = static_cast<int>(std::min<std::size_t>({body.size() - served_, static_cast<std::size_t>(capacity),
                                                       static_cast<std::size_t>(chunkLimit)}));
        std::copy_n(body.data() + served_, got, buffer);
        served_ += static_cast<std::size_t>(got);
        return 0;
    }
    void closeRequest() override {
        calls.push_back("closeRequest");
        requestOpen = false;
    }
    void closeConnection() override {
        calls.push_back("closeConnection");
        connectionOpen = false;
    }
    void closeInternet() override {
        calls.push_back("closeInternet");
        rootOpen = false;
    }

    bool anyOpen() const { return rootOpen || connectionOpen || requestOpen; }
    std::vector<std::string> closes() const {
        std::vector<std::string> out;
        for (const auto& c : calls) {
            if (c.rfind("close", 0) == 0) out.push_back(c);
        }
        return out;
    }

private:
    std::size_t served_ = 0;
};

std::string marker(const std::string& date) { return "<gd:when startTime='" + date + "'/>"; }

const std::string kDefaultId = "japanese@holiday.calendar.google.com";

}  // namespace

// The range runs from the first of the month before the shown month to the first of the month after.
TEST(HappyFeedRequest, PathCarriesTheMonthsEitherSide) {
    EXPECT_EQ(feedPath(kDefaultId, makeDate(2009, 1, 1)),
              "/calendar/feeds/japanese@holiday.calendar.google.com/public/attendees-only"
              "?start-min=2008-12-01&start-max=2009-02-01");
    const std::string december = feedPath(kDefaultId, makeDate(2008, 12, 1));
    EXPECT_THAT(december, ::testing::EndsWith("start-min=2008-11-01&start-max=2009-01-01"));
    EXPECT_EQ(december.size(), 116u);
}

TEST(HappyFeedRequest, MonthArithmeticClampsAndWrapsYears) {
    EXPECT_THAT(feedPath(kDefaultId, makeDate(2010, 1, 1)), ::testing::EndsWith("start-min=2009-12-01&start-max=2010-02-01"));
    EXPECT_THAT(feedPath(kDefaultId, makeDate(2009, 12, 1)), ::testing::EndsWith("start-min=2009-11-01&start-max=2010-01-01"));
    // Not the first of the month: the day is clamped to the target month's end.
    EXPECT_THAT(feedPath(kDefaultId, makeDate(2008, 3, 31)), ::testing::EndsWith("start-min=2008-02-29&start-max=2008-04-30"));
    // A time of day does not shift the dates.
    EXPECT_THAT(feedPath(kDefaultId, makeDateTime({2009, 1, 1, 23, 59, 0})),
                ::testing::EndsWith("start-min=2008-12-01&start-max=2009-02-01"));
    EXPECT_THAT(feedPath(kDefaultId, makeDate(1899, 12, 1)), ::testing::EndsWith("start-min=1899-11-01&start-max=1900-01-01"));
}

TEST(HappyFeedRequest, UnformattableRangesGiveNoPath) {
    EXPECT_EQ(feedPath(kDefaultId, makeDate(1, 1, 15)), "");
    EXPECT_EQ(feedPath(kDefaultId, makeDate(9999, 12, 1)), "");
    EXPECT_EQ(feedPath(kDefaultId, std::nan("")), "");
    EXPECT_EQ(feedPath(kDefaultId, 1e300), "");
    EXPECT_EQ(feedPath(std::string(176, 'x'), makeDate(2009, 1, 1)), "");
    EXPECT_EQ(feedPath(std::string(175, 'x'), makeDate(2009, 1, 1)).size(), 255u);
    EXPECT_EQ(formatFeedDate(makeDate(987, 6, 5)), "0987-06-05");
}

TEST(HappyFeedRequest, FetchSendsGetOnTheConfiguredServer) {
    FakeSteps steps;
    HappyFromGoogle feed(steps);
    ASSERT_EQ(feed.loadHappyDays(makeDate(2009, 1, 1)), 0);
    EXPECT_EQ(steps.host, "www.google.com");
    EXPECT_EQ(steps.port, 80);
    EXPECT_EQ(steps.verb, "GET");
    EXPECT_EQ(steps.path, feedPath(kDefaultId, makeDate(2009, 1, 1)));
    EXPECT_EQ(steps.level, 19);
    EXPECT_THAT(steps.calls, ElementsAre("openInternet", "openConnection", "openRequest", "sendRequest", "queryInfo",
                                         "closeRequest", "closeConnection", "closeInternet"));

    FakeSteps local;
    HappyFromGoogle configured(local, FeedConfig{"127.0.0.1", 8080, "a@b"});
    ASSERT_EQ(configured.loadHappyDays(makeDate(2009, 1, 1)), 0);
    EXPECT_EQ(local.host, "127.0.0.1");
    EXPECT_EQ(local.port, 8080);
    EXPECT_EQ(local.path, "/calendar/feeds/a@b/public/attendees-only?start-min=2008-12-01&start-max=2009-02-01");
}

TEST(HappyFeedRequest, BaseOutsideTheDateRangeOpensNothing) {
    FakeSteps steps;
    HappyFromGoogle feed(steps);
    EXPECT_EQ(feed.loadHappyDays(std::nan("")), kInvalidRequest);
    EXPECT_THAT(steps.calls, IsEmpty());
}

TEST(HappyFeedConfig, HostNameWithOptionalPort) {
    EXPECT_EQ(parseFeedConfig("", "").host, "www.google.com");
    EXPECT_EQ(parseFeedConfig("", "").port, 80);
    EXPECT_EQ(parseFeedConfig("", "").calendarId, kDefaultId);
    const FeedConfig plain = parseFeedConfig("feeds.example.org", "");
    EXPECT_EQ(plain.host, "feeds.example.org");
    EXPECT_EQ(plain.port, 80);
    const FeedConfig withPort = parseFeedConfig(" 127.0.0.1:8080 ", "");
    EXPECT_EQ(withPort.host, "127.0.0.1");
    EXPECT_EQ(withPort.port, 8080);
    EXPECT_EQ(parseFeedConfig("h:65535", "").port, 65535);
}

TEST(HappyFeedConfig, BadHostTextFallsBackWhole) {
    for (const char* text : {"host:", "host:abc", "host:0", "host:65536", "host:8o", ":8080", "a b", "h/x",
                             "::1", "host:80:81", "host:-1", "host:123456"}) {
        const FeedConfig config = parseFeedConfig(text, "");
        EXPECT_EQ(config.host, "www.google.com") << text;
        EXPECT_EQ(config.port, 80) << text;
    }
}

TEST(HappyFeedConfig, CalendarIdMustFitThePath) {
    EXPECT_EQ(parseFeedConfig("", "en.japanese#holiday@group.v.calendar.google.com").calendarId, kDefaultId);
    EXPECT_EQ(parseFeedConfig("", "test@example.org").calendarId, "test@example.org");
    EXPECT_EQ(parseFeedConfig("", "a/b").calendarId, kDefaultId);
    EXPECT_EQ(parseFeedConfig("", "a?b").calendarId, kDefaultId);
    EXPECT_EQ(parseFeedConfig("", "a b").calendarId, kDefaultId);
    EXPECT_EQ(parseFeedConfig("", "\x93\xfa\x96\x7b").calendarId, kDefaultId);
    EXPECT_EQ(parseFeedConfig("", std::string(176, 'x')).calendarId, kDefaultId);
    EXPECT_EQ(parseFeedConfig("", std::string(175, 'x')).calendarId, std::string(175, 'x'));
}

TEST(HappyFeedScan, DatesInResponseOrderWithDuplicates) {
    const std::string body = "<feed>" + marker("2009-01-01") + "<x>" + marker("2009-01-12") + marker("2009-01-01") + "</feed>";
    EXPECT_THAT(scanHappyDays(body), ElementsAre(makeDate(2009, 1, 1), makeDate(2009, 1, 12), makeDate(2009, 1, 1)));

    FakeSteps steps;
    steps.body = body;
    HappyFromGoogle feed(steps);
    ASSERT_EQ(feed.loadHappyDays(makeDate(2009, 1, 1)), 0);
    EXPECT_EQ(feed.happyCount, 3);
    EXPECT_THAT(feed.happyDays, ElementsAre(makeDate(2009, 1, 1), makeDate(2009, 1, 12), makeDate(2009, 1, 1)));
}

TEST(HappyFeedScan, OnlyTheTenDateCharactersAreRead) {
    EXPECT_THAT(scanHappyDays("<gd:when startTime='2009-02-11T00:00:00.000+09:00' endTime='2009-02-12'/>"),
                ElementsAre(makeDate(2009, 2, 11)));
    // Dates outside the shown months are kept.
    EXPECT_THAT(scanHappyDays(marker("1999-12-31")), ElementsAre(makeDate(1999, 12, 31)));
}

TEST(HappyFeedScan, EntriesThatAreNotDatesAreSkipped) {
    EXPECT_THAT(scanHappyDays(marker("2009-02-30") + marker("2009-02-11")), ElementsAre(makeDate(2009, 2, 11)));
    EXPECT_THAT(scanHappyDays(marker("20O9-01-01") + marker("abcd-ef-gh")), IsEmpty());
    EXPECT_THAT(scanHappyDays(marker("2009/01/01") + marker("2009-1-1'/>")), IsEmpty());
    EXPECT_THAT(scanHappyDays(marker("0000-01-01") + marker("2009-13-01") + marker("2009-00-10")), IsEmpty());
    // A marker inside the ten characters is not a date but is scanned in its own right.
    EXPECT_THAT(scanHappyDays("<gd:when startTime='<gd:when startTime='2009-05-05'"), ElementsAre(makeDate(2009, 5, 5)));
}

TEST(HappyFeedScan, TruncatedAnswerKeepsTheWholeEntries) {
    EXPECT_THAT(scanHappyDays(marker("2009-01-01") + "<gd:when startTime='2009-01-1"), ElementsAre(makeDate(2009, 1, 1)));
    EXPECT_THAT(scanHappyDays("<gd:when startTime='"), IsEmpty());
    EXPECT_THAT(scanHappyDays("<gd:when startTime"), IsEmpty());
}

TEST(HappyFeedScan, MarkerIsExactAndCaseSensitive) {
    EXPECT_THAT(scanHappyDays("<gd:when starttime='2009-01-01'"), IsEmpty());
    EXPECT_THAT(scanHappyDays("<gd:when startTime=\"2009-01-01\""), IsEmpty());
    EXPECT_THAT(scanHappyDays("<gd:when  startTime='2009-01-01'"), IsEmpty());
    // cp932 text around the marker does not hide it.
    EXPECT_THAT(scanHappyDays("\x8c\xb3\x93\xfa" + marker("2009-01-01") + "\x90\xac\x90\x6c\x82\xcc\x93\xfa"),
                ElementsAre(makeDate(2009, 1, 1)));
}

TEST(HappyFeedScan, NoMarkerOrEmptyBodyIsSuccessWithNoDates) {
    for (const char* body : {"", "<feed></feed>"}) {
        FakeSteps steps;
        steps.body = body;
        HappyFromGoogle feed(steps);
        EXPECT_EQ(feed.loadHappyDays(makeDate(2009, 1, 1)), 0);
        EXPECT_EQ(feed.happyCount, 0);
        EXPECT_THAT(feed.happyDays, IsEmpty());
        // The empty body ends at the first read; the other at the second.
        EXPECT_EQ(steps.reads, body[0] == '\0' ? 1 : 2);
    }
}

TEST(HappyFeedScan, MarkersAcrossChunkEdgesAreFound) {
    FakeSteps steps;
    std::string body;
    for (int i = 0; i < 60; ++i) {
        body += std::string(1024 - 25, ' ') + marker("2009-01-" + std::string(i % 28 < 9 ? "0" : "") +
                                                    std::to_string(i % 28 + 1));
    }
    steps.body = body;
    steps.chunkLimit = 700;
    HappyFromGoogle feed(steps);
    ASSERT_EQ(feed.loadHappyDays(makeDate(2009, 1, 1)), 0);
    ASSERT_EQ(feed.happyCount, 60);
    EXPECT_EQ(feed.happyDays[0], makeDate(2009, 1, 1));
    EXPECT_EQ(feed.happyDays[59], makeDate(2009, 1, 4));
}

TEST(HappyFeedFailures, EachStepReturnsItsCodeAndClosesWhatItIssued) {
    struct Case {
        int FakeSteps::*code;
        int value;
        std::vector<std::string> closes;
    };
    const std::vector<Case> cases = {
        {&FakeSteps::internetCode, 12001, {"closeInternet"}},
        {&FakeSteps::connectionCode, 12007, {"closeConnection", "closeInternet"}},
        {&FakeSteps::requestCode, 12006, {"closeRequest", "closeConnection", "closeInternet"}},
        {&FakeSteps::sendCode, 12029, {"closeRequest", "closeConnection", "closeInternet"}},
        {&FakeSteps::queryCode, 12150, {"closeRequest", "closeConnection", "closeInternet"}},
    };
    for (const Case& c : cases) {
        for (bool keepsHandle : {false, true}) {
            FakeSteps steps;
            steps.*c.code = c.value;
            steps.failingCallKeepsHandle = keepsHandle;
            steps.body = marker("2009-01-01");
            HappyFromGoogle feed(steps);
            EXPECT_EQ(feed.loadHappyDays(makeDate(2009, 1, 1)), c.value);
            EXPECT_EQ(steps.closes(), c.closes) << c.value;
            EXPECT_FALSE(steps.anyOpen()) << c.value;
            EXPECT_EQ(steps.reads, 0) << c.value;
            EXPECT_THAT(feed.happyDays, IsEmpty());
            EXPECT_EQ(feed.happyCount, 0);
        }
    }
}

TEST(HappyFeedFailures, LaterStepsAreNotIssuedAfterAFailure) {
    FakeSteps steps;
    steps.connectionCode = 12007;
    HappyFromGoogle feed(steps);
    feed.loadHappyDays(makeDate(2009, 1, 1));
    EXPECT_THAT(steps.calls, ElementsAre("openInternet", "openConnection", "closeConnection", "closeInternet"));
}

TEST(HappyFeedFailures, StatusOutsideTwoHundredsIsNineAndTheBodyIsNotRead) {
    for (const char* status : {"404", "500", "199", "300", "", "OK", "301"}) {
        FakeSteps steps;
        steps.status = status;
        steps.body = marker("2009-01-01");
        HappyFromGoogle feed(steps);
        EXPECT_EQ(feed.loadHappyDays(makeDate(2009, 1, 1)), 9) << status;
        EXPECT_EQ(steps.reads, 0) << status;
        EXPECT_THAT(feed.happyDays, IsEmpty());
        EXPECT_EQ(steps.closes(), (std::vector<std::string>{"closeRequest", "closeConnection", "closeInternet"}));
    }
    for (const char* status : {"200", "204", "299"}) {
        FakeSteps steps;
        steps.status = status;
        HappyFromGoogle feed(steps);
        EXPECT_EQ(feed.loadHappyDays(makeDate(2009, 1, 1)), 0) << status;
    }
}

TEST(HappyFeedFailures, FailingFetchAfterASuccessLeavesTheListEmpty) {
    FakeSteps good;
    good.body = marker("2009-01-01") + marker("2009-01-12");
    HappyFromGoogle feed(good);
    ASSERT_EQ(feed.loadHappyDays(makeDate(2009, 1, 1)), 0);
    ASSERT_EQ(feed.happyCount, 2);
    good.sendCode = 12029;
    EXPECT_EQ(feed.loadHappyDays(makeDate(2009, 1, 1)), 12029);
    EXPECT_EQ(feed.happyCount, 0);
    EXPECT_THAT(feed.happyDays, IsEmpty());
}

TEST(HappyFeedFailures, EverySuccessfulFetchReplacesTheList) {
    FakeSteps first;
    first.body = marker("2009-01-01") + marker("2009-01-12");
    FakeSteps second;
    second.body = marker("2009-02-11");
    FakeSteps* current = &first;
    struct Forward : HttpSteps {
        FakeSteps** to;
        explicit Forward(FakeSteps** t) : to(t) {}
        int openInternet() override { return (*to)->openInternet(); }
        int openConnection(const std::string& h, int p) override { return (*to)->openConnection(h, p); }
        int openRequest(const std::string& v, const std::string& p) override { return (*to)->openRequest(v, p); }
        int sendRequest() override { return (*to)->sendRequest(); }
        int queryInfo(int l, std::string& t) override { return (*to)->queryInfo(l, t); }
        int readChunk(uint8_t* b, int c, int& g) override { return (*to)->readChunk(b, c, g); }
        void closeRequest() override { (*to)->closeRequest(); }
        void closeConnection() override { (*to)->closeConnection(); }
        void closeInternet() override { (*to)->closeInternet(); }
    } forward(&current);
    HappyFromGoogle feed(forward);
    ASSERT_EQ(feed.loadHappyDays(makeDate(2009, 1, 1)), 0);
    current = &second;
    ASSERT_EQ(feed.loadHappyDays(makeDate(2009, 2, 1)), 0);
    EXPECT_THAT(feed.happyDays, ElementsAre(makeDate(2009, 2, 11)));
    EXPECT_EQ(feed.happyCount, 1);
}

TEST(HappyFeedRead, BodyIsReadInChunksOf1024) {
    FakeSteps steps;
    steps.body = std::string(3000, 'x') + marker("2009-01-01");
    HappyFromGoogle feed(steps);
    ASSERT_EQ(feed.loadHappyDays(makeDate(2009, 1, 1)), 0);
    // 3033 bytes: three full chunks, one of 985, then the empty read that ends the body.
    EXPECT_EQ(steps.reads, 4);
    EXPECT_EQ(feed.happyCount, 1);
}

TEST(HappyFeedRead, AFailingReadIsRetriedAndTheBodyKeptWhole) {
    FakeSteps steps;
    steps.body = marker("2009-01-01") + std::string(2000, 'y') + marker("2009-01-12");
    steps.chunkLimit = 1024;
    steps.readCodes = {0, 12002, 12002, 0, 12002, 0};
    HappyFromGoogle feed(steps);
    ASSERT_EQ(feed.loadHappyDays(makeDate(2009, 1, 1)), 0);
    EXPECT_THAT(feed.happyDays, ElementsAre(makeDate(2009, 1, 1), makeDate(2009, 1, 12)));
}

TEST(HappyFeedRead, ReadsThatKeepFailingEndTheFetchWithTheirCode) {
    FakeSteps steps;
    steps.body = marker("2009-01-01");
    steps.readCodes = std::deque<int>(100, 12030);
    HappyFromGoogle feed(steps);
    EXPECT_EQ(feed.loadHappyDays(makeDate(2009, 1, 1)), 12030);
    EXPECT_EQ(steps.reads, kMaxReadFailures);
    EXPECT_THAT(feed.happyDays, IsEmpty());
    EXPECT_EQ(steps.closes(), (std::vector<std::string>{"closeRequest", "closeConnection", "closeInternet"}));
}

TEST(HappyFeedRead, BodyOverOneMebibyteIsRefused) {
    FakeSteps exact;
    exact.body = marker("2009-01-01");
    exact.body += std::string(kMaxBodyBytes - exact.body.size(), ' ');
    ASSERT_EQ(exact.body.size(), kMaxBodyBytes);
    HappyFromGoogle accepted(exact);
    EXPECT_EQ(accepted.loadHappyDays(makeDate(2009, 1, 1)), 0);
    EXPECT_EQ(accepted.happyCount, 1);

    FakeSteps over;
    over.body = exact.body + std::string(5 << 20, 'z');
    HappyFromGoogle refused(over);
    EXPECT_EQ(refused.loadHappyDays(makeDate(2009, 1, 1)), kBodyTooLarge);
    EXPECT_THAT(refused.happyDays, IsEmpty());
    EXPECT_EQ(refused.happyCount, 0);
    // Reading stops at the chunk that crosses the limit.
    EXPECT_EQ(over.reads, static_cast<int>(kMaxBodyBytes / kChunkBytes) + 1);
    EXPECT_FALSE(over.anyOpen());
}

TEST(HappyFeedRead, StatusTextIsReadAsANumber) {
    EXPECT_EQ(statusNumber("200"), 200);
    EXPECT_EQ(statusNumber(" 404 "), 404);
    EXPECT_EQ(statusNumber(""), 0);
    EXPECT_EQ(statusNumber("abc"), 0);
    EXPECT_EQ(statusNumber("99999999999999999999"), 999999999);
}
