#include "holidays/holiday_list.h"

#include <gtest/gtest.h>

#include <string>

#include "../../tools/native/holiday_list_native.h"
#include "holidays/holiday_days.h"
#include "holidays/list_answer.h"
#include "holidays/list_schedule.h"

using namespace tavro::holidays;
using tavro::datetime::makeDate;
using tavro::native::cp932;
using tavro::native::decodeCp932;

namespace {

const std::string& officialList() { return tavro::native::officialListBytes(); }

// The official list with `from` replaced by `to` once.
std::string edited(const std::string& from, const std::string& to) {
    std::string list = officialList();
    const std::size_t at = list.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    return at == std::string::npos ? list : list.replace(at, from.size(), to);
}

// The official list without the rows that start with `prefix`.
std::string withoutRows(const std::string& prefix) {
    std::string list;
    for (std::size_t at = 0; at < officialList().size();) {
        const std::size_t end = officialList().find("\r\n", at) + 2;
        if (officialList().compare(at, prefix.size(), prefix) != 0) list += officialList().substr(at, end - at);
        at = end;
    }
    return list;
}

const std::string kHeader = cp932("国民の祝日・休日月日,国民の祝日・休日名称") + "\r\n";
const std::string kNewYear2027 = "2027/1/1," + cp932("元日") + "\r\n";

// The official list's days named "0", "1", ... "count - 1", "0", ... in turn.
std::string withNames(std::size_t count) {
    std::string list = kHeader;
    for (std::size_t at = kHeader.size(), row = 0; at < officialList().size(); at = officialList().find("\r\n", at) + 2)
        list += officialList().substr(at, officialList().find(',', at) + 1 - at) + std::to_string(row++ % count) + "\r\n";
    return list;
}

TEST(HolidayList, TheOfficialListPassesAndEveryBadFormIsRejected) {
    const auto good = checkHolidayList(officialList(), 2027, decodeCp932);
    ASSERT_TRUE(good);
    EXPECT_EQ(good->firstYear(), 1955);
    EXPECT_EQ(good->lastYear(), 2027);
    const auto nov = good->between(makeDate(2026, 11, 1), makeDate(2026, 11, 30));
    ASSERT_EQ(nov.size(), 2u);
    EXPECT_EQ(nov[1], (NationalHoliday{makeDate(2026, 11, 23), L"勤労感謝の日"}));

    std::string lfOnly = officialList();
    std::erase(lfOnly, '\r');
    const struct { const char* form; std::string bytes; int currentYear; } bad[] = {
        {"empty answer", "", 2027},
        {"an HTML page", "<!DOCTYPE html>\r\n<html><body>ログイン</body></html>\r\n", 2027},
        {"LF line ends", lfOnly, 2027},
        {"header only", kHeader, 2027},
        {"another header", edited(cp932("名称"), cp932("名前")), 2027},
        {"cut off mid-row", officialList().substr(0, officialList().size() - 5), 2027},
        {"cut off right after 2026/1/12", officialList().substr(0, officialList().find("2026/2/11,")), 2026},
        {"does not reach the current year", officialList(), 2028},
        {"starts after 1955", kHeader + officialList().substr(officialList().find("1956/1/1,")), 2027},
        {"a year missing", withoutRows("1990/"), 2027},
        {"not a real date", edited("2026/11/23,", "2026/11/31,"), 2027},
        {"not digits", edited("2026/11/23,", "2026/11/2x,"), 2027},
        {"two-digit year", edited("2026/11/23,", "26/11/23,"), 2027},
        {"no name", edited("2026/11/23," + cp932("勤労感謝の日"), "2026/11/23,"), 2027},
        {"name of 31 characters", edited(cp932("勤労感謝の日"), cp932("あ" + std::string(30, 'x'))), 2027},
        {"name not Shift_JIS", edited(cp932("勤労感謝の日"), "\x82\xff"), 2027},
        {"name with a control character", edited(cp932("勤労感謝の日"), cp932("勤労\t感謝の日")), 2027},
        {"no comma", edited("2026/11/23,", "2026/11/23;"), 2027},
        {"an empty line", edited(kNewYear2027, "\r\n" + kNewYear2027), 2027},
        {"the same day twice", edited(kNewYear2027, kNewYear2027 + kNewYear2027), 2027},
        {"out of order", edited(kNewYear2027, "2027/1/2," + cp932("元日") + "\r\n2027/1/1," + cp932("休日") + "\r\n"), 2027},
        {"over 256 KB", officialList() + std::string(kMaxListBytes, 'x'), 2027},
        {"one name too many", withNames(kMaxListNames + 1), 2027},
    };
    for (const auto& c : bad) EXPECT_FALSE(checkHolidayList(c.bytes, c.currentYear, decodeCp932)) << c.form;
    // Names of exactly 30 characters, as many names as allowed, a year running on into the next: still a list.
    EXPECT_TRUE(checkHolidayList(withNames(kMaxListNames), 2027, decodeCp932));
    EXPECT_TRUE(checkHolidayList(edited(cp932("勤労感謝の日"), cp932("あいうえおかきくけこさしすせそたちつてとなにぬねのはひふへほ")),
                                 2027, decodeCp932));
    EXPECT_TRUE(checkHolidayList(officialList() + "2028/1/1," + cp932("元日") + "\r\n2028/11/23," + cp932("勤労感謝の日") + "\r\n",
                                 2027, decodeCp932));
}

TEST(ListAnswer, WhatEachAnswerIsWorth) {
    const struct { const char* answer; ListAnswer a; bool conditional; ListOutcome want; } cases[] = {
        {"200 with the list", {0, 200, officialList().size(), officialList(), {}}, false, ListOutcome::NewList},
        {"200, no length given", {0, 200, std::nullopt, officialList(), {}}, false, ListOutcome::NewList},
        {"shorter than announced", {0, 200, officialList().size() + 1, officialList(), {}}, false, ListOutcome::Rejected},
        {"a failed or cancelled read", {12002, 200, std::nullopt, officialList(), {}}, false, ListOutcome::Rejected},
        {"404 with the list as body", {0, 404, std::nullopt, officialList(), {}}, false, ListOutcome::Rejected},
        {"304 to a conditional request", {0, 304, std::nullopt, "", {}}, true, ListOutcome::Unchanged},
        {"304 unasked", {0, 304, std::nullopt, "", {}}, false, ListOutcome::Rejected},
        {"200 with a login page", {0, 200, std::nullopt, "<html></html>", {}}, true, ListOutcome::Rejected},
    };
    for (const auto& c : cases) {
        const ListVerdict v = judgeListAnswer(c.a, c.conditional, 2027, decodeCp932);
        EXPECT_EQ(v.outcome, c.want) << c.answer;
        EXPECT_EQ(v.list.has_value(), c.want == ListOutcome::NewList) << c.answer;
    }
}

TEST(ListAnswer, TheUrlSetting) {
    const std::wstring official(kOfficialListUrl);
    const struct { std::optional<std::wstring> stored; std::wstring want; } cases[] = {
        {std::nullopt, official},  // missing, or not a REG_SZ
        {L"", L""},                // off
        {L"http://127.0.0.1:8080/list.csv", L"http://127.0.0.1:8080/list.csv"},
        {L"HTTPS://mirror.example/a.csv", L"HTTPS://mirror.example/a.csv"},
        {L"mirror.example/a.csv", official},
        {L"https:///a.csv", official},
        {L"http://mirror.example/a b.csv", official},
        {L"http://ミラー.example/a.csv", official},
    };
    for (const auto& c : cases) EXPECT_EQ(listUrlSetting(c.stored), c.want) << c.stored.value_or(L"(none)").c_str();
}

TEST(ListSchedule, AtStartAndOnADateChangeConditionalOnTheCopyInUse) {
    const auto d1 = makeDate(2026, 12, 9), d2 = makeDate(2026, 12, 10), d3 = makeDate(2026, 12, 11);
    const int64_t H = 3600 * 1000;
    const ListValidators v{"Wed, 01 Feb 2026 00:00:00 GMT", "\"abc\""};
    const std::string both = "If-Modified-Since: Wed, 01 Feb 2026 00:00:00 GMT\r\nIf-None-Match: \"abc\"\r\n";
    ListSchedule s;
    EXPECT_FALSE(s.startDue(0)) << "nothing shown yet";
    s.shown(d1 + 0.5);
    EXPECT_EQ(s.startDue(0), "") << "at start, unconditional";
    s.shown(d2);
    EXPECT_FALSE(s.startDue(10)) << "one at a time";
    EXPECT_FALSE(s.overdue(kListDeadlineMs)) << "within the deadline";
    EXPECT_TRUE(s.overdue(kListDeadlineMs + 1)) << "past it";
    s.finish(ListOutcome::Rejected, v);
    EXPECT_EQ(s.startDue(H), "") << "then the new day; a rejected answer's validators are not kept";
    s.finish(ListOutcome::NewList, v);
    EXPECT_FALSE(s.startDue(5 * H)) << "once a day";
    s.shown(d1);
    EXPECT_EQ(s.startDue(5 * H), both) << "a clock set back: another date, conditional on the new list";
    s.finish(ListOutcome::Unchanged, {});
    s.shown(d3);
    EXPECT_EQ(s.startDue(7 * H), both) << "304 keeps the copy and its validators";
    s.finish(ListOutcome::NewList, {"Thu\x7f", "W/\"x\"\r\nX-Evil: 1"});
    s.shown(d2);
    EXPECT_EQ(s.startDue(9 * H), "") << "a validator that would add a header is not sent";
    s.finish(ListOutcome::NewList, {std::string(256, 'x'), std::string(257, 'y')});
    s.shown(d1);
    EXPECT_EQ(s.startDue(11 * H), "If-Modified-Since: " + std::string(256, 'x') + "\r\n") << "256 characters at the most";
}

// A list that knows a day the act does not (2026-12-14) and drops one (2026-11-23).
std::shared_ptr<const HolidayList> changedList() {
    std::string bytes = withoutRows("2026/11/23,");
    bytes.insert(bytes.find("2027/1/1,"), "2026/12/14," + cp932("記念の日") + "\r\n");
    auto list = checkHolidayList(bytes, 2026, decodeCp932);
    EXPECT_TRUE(list);
    return list ? std::make_shared<const HolidayList>(std::move(*list)) : nullptr;
}

TEST(HolidaySources, TheListForItsYearsTheActLaterTheFeedForItsMonth) {
    const DateValue dec = makeDate(2026, 12, 1), nov = makeDate(2026, 11, 1);
    FeedOrComputedHolidays h;
    EXPECT_FALSE(h.takeList(changedList())) << "nothing drawn yet";
    h.selectMonth(nov);
    EXPECT_FALSE(h.isHappy(makeDate(2026, 11, 23))) << "the list dropped it";
    EXPECT_TRUE(h.isHappy(makeDate(2026, 11, 3)));
    EXPECT_EQ(h.holidayName(makeDate(2026, 11, 3)), L"文化の日");
    EXPECT_TRUE(h.takeList(nullptr)) << "back to the act: 11/23 changes";
    EXPECT_EQ(h.holidayName(makeDate(2026, 11, 23)), L"勤労感謝の日");
    h.selectMonth(dec);
    EXPECT_FALSE(h.isHappy(makeDate(2026, 12, 14)));
    EXPECT_TRUE(h.takeList(changedList())) << "a new list changes a day of the shown month";
    EXPECT_FALSE(h.takeList(changedList())) << "the same days again: nothing to redraw";
    EXPECT_EQ(h.holidayName(makeDate(2026, 12, 14)), L"記念の日");
    // Beyond the list's last year (2027): the act's rules.
    h.selectMonth(makeDate(2028, 1, 1));
    EXPECT_TRUE(h.isHappy(makeDate(2028, 1, 10)));
    EXPECT_EQ(h.holidayName(makeDate(2028, 1, 1)), L"元日");
    // Dec 2027 asks Nov 2027 to Jan 2028: list and act side by side across the year end.
    h.selectMonth(makeDate(2027, 12, 1));
    EXPECT_TRUE(h.isHappy(makeDate(2027, 11, 23)) && h.isHappy(makeDate(2028, 1, 1)));
    // The feed's answer still holds for its month, list or not.
    h.selectMonth(dec);
    EXPECT_TRUE(h.takeFeed(dec, {makeDate(2026, 12, 24)}));
    EXPECT_TRUE(h.isHappy(makeDate(2026, 12, 24)) && !h.isHappy(makeDate(2026, 12, 14)));
    EXPECT_FALSE(h.takeList(nullptr)) << "the feed holds: no day changes";
    EXPECT_FALSE(h.isHappy(makeDate(2026, 12, 14)));
}

}  // namespace
