#include "notify/countdown_notice.h"

#include <gtest/gtest.h>

#include <vector>

#include "notify/tray_tip.h"

namespace tavro::notify {
namespace {

using datetime::CivilDateTime;
using datetime::makeDateTime;

const DateValue T = makeDateTime({2026, 12, 31, 23, 59, 59});
const DateValue T2 = makeDateTime({2027, 1, 2, 0, 0, 0});
DateValue at(int seconds) { return T + seconds / 86400.0; }

// What the clock does, step by step: a start (catch-up), a tick, or the dialog.
enum Step { Start, Tick, Dialog };
struct Event {
    Step step;
    DateValue target;
    DateValue now;
};
constexpr int None = -1;

// The notices a run of events gives, and the told text stored at the end.
TEST(CountdownNotice, WhenANoticeIsDueAndWhatWasTold) {
    struct Case {
        const char* name;
        std::wstring stored;
        std::vector<Event> events;
        std::vector<int> want;  // per event: a NoticeKind or None
        std::wstring storedAfter;
    } cases[] = {
        {"crossing while running", L"", {{Start, T, at(-2)}, {Tick, T, at(-1)}, {Tick, T, at(0)}, {Tick, T, at(1)}},
         {None, None, int(NoticeKind::Reached), None}, L"2026/12/31 23:59:59"},
        {"a late tick is still in time", L"", {{Start, T, at(-9)}, {Tick, T, at(5)}}, {None, int(NoticeKind::Reached)},
         L"2026/12/31 23:59:59"},
        {"catch-up at start", L"", {{Start, T, at(3)}, {Tick, T, at(4)}}, {int(NoticeKind::Passed), None},
         L"2026/12/31 23:59:59"},
        {"catch-up after a resume", L"", {{Start, T, at(-60)}, {Tick, T, at(3600)}}, {None, int(NoticeKind::Passed)},
         L"2026/12/31 23:59:59"},
        {"already told", L"2026/12/31 23:59:59", {{Start, T, at(3)}, {Tick, T, at(0)}}, {None, None},
         L"2026/12/31 23:59:59"},
        {"a new target", L"2026/12/31 23:59:59", {{Start, T, at(10)}, {Dialog, T2, at(11)}, {Tick, T2, T2}},
         {None, None, int(NoticeKind::Reached)}, L"2027/01/02 00:00:00"},
        {"clear forgets the told target", L"2026/12/31 23:59:59",
         {{Start, T, at(10)}, {Dialog, 0, at(11)}, {Tick, 0, at(12)}, {Dialog, T, at(-5)}, {Tick, T, at(0)}},
         {None, None, None, None, int(NoticeKind::Reached)}, L"2026/12/31 23:59:59"},
        {"cleared", L"2026/12/31 23:59:59", {{Dialog, 0, at(11)}}, {None}, L"1899/12/30 00:00:00"},
        {"a clock set back across the target", L"",
         {{Start, T, at(-1)}, {Tick, T, at(0)}, {Tick, T, at(-600)}, {Tick, T, at(0)}},
         {None, int(NoticeKind::Reached), None, None}, L"2026/12/31 23:59:59"},
        {"a target past when set", L"", {{Start, 0, at(0)}, {Dialog, T, at(1)}, {Tick, T, at(2)}, {Start, T, at(9)}},
         {None, None, None, None}, L"2026/12/31 23:59:59"},
        {"a target ahead when set", L"2026/12/31 23:59:59", {{Dialog, T2, at(1)}}, {None}, L"1899/12/30 00:00:00"},
        {"stored text not a date", L"abc", {{Start, T, at(3)}}, {int(NoticeKind::Passed)}, L"2026/12/31 23:59:59"},
        {"stored in another form", L"2026/12/31 23:59:59 ", {{Start, T, at(3)}}, {int(NoticeKind::Passed)},
         L"2026/12/31 23:59:59"},
        {"stored no-target text", L"1899/12/30 00:00:00", {{Start, 0, at(3)}}, {None}, L"1899/12/30 00:00:00"},
    };
    for (const Case& c : cases) {
        CountdownNotice notice(toldFromStored(c.stored));
        for (std::size_t i = 0; i < c.events.size(); ++i) {
            const Event& e = c.events[i];
            std::optional<Notice> got;
            if (e.step == Dialog) {
                notice.targetSet(e.target, e.now);
            } else {
                got = notice.due(e.target, e.now, e.step == Start);
            }
            EXPECT_EQ(got ? int(got->kind) : None, c.want[i]) << c.name << ", event " << i;
            if (got) {
                EXPECT_EQ(got->target, e.target) << c.name;
            }
        }
        EXPECT_EQ(notice.storedTold(), c.storedAfter) << c.name;
    }
}

TEST(TrayTip, TodayAndTheCountdownToTheMinute) {
    const DateValue now = makeDateTime({2026, 12, 9, 20, 54, 30});
    struct Case {
        DateValue target;
        std::wstring want;
    } cases[] = {
        {0, L"TavroClock\n2026年12月9日（水） 大安"},
        {makeDateTime({2026, 12, 31, 0, 0, 0}), L"TavroClock\n2026年12月9日（水） 大安\n目標まで 21日 3時間 5分"},
        {makeDateTime({2026, 12, 9, 21, 0, 0}), L"TavroClock\n2026年12月9日（水） 大安\n目標まで 5分"},
        {makeDateTime({2026, 12, 9, 20, 54, 59}), L"TavroClock\n2026年12月9日（水） 大安\n目標まで 0分"},
        {makeDateTime({2026, 12, 8, 19, 0, 0}), L"TavroClock\n2026年12月9日（水） 大安\n目標から 1日 1時間 54分"},
    };
    TrayTip tip;
    for (const Case& c : cases) EXPECT_EQ(tip.text(now, c.target), c.want);
    EXPECT_EQ(TrayTip().text(makeDateTime({2101, 1, 1, 0, 0, 0}), 0), L"TavroClock\n2101年1月1日（土）");
}

}  // namespace
}  // namespace tavro::notify
