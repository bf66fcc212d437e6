#include "notify/countdown_notice.h"

#include <gtest/gtest.h>

#include <vector>

#include "notify/tray_tip.h"

namespace tavro::notify {
namespace {

using datetime::makeDateTime;

const DateValue T = makeDateTime({2026, 12, 31, 23, 59, 59});
const DateValue T2 = makeDateTime({2027, 1, 2, 0, 0, 0});
DateValue at(int seconds) { return T + seconds / 86400.0; }

enum Step { Start, Tick, Dialog };  // a start (catch-up), a second of the tick, the target dialog
struct Event { Step step; DateValue target, now; };
constexpr int R = int(NoticeKind::Reached), P = int(NoticeKind::Passed), N = -1;

// The notices a run of events gives, one per event or N, and the told text stored at the end. (The
// target reached while running, told again at no later start, passed before a start: the
// end-to-end tray test.)
TEST(CountdownNotice, WhenANoticeIsDueAndWhatWasTold) {
    const std::wstring told = L"2026/12/31 23:59:59", none = L"1899/12/30 00:00:00";
    struct Case { const char* name; std::wstring stored; std::vector<Event> events; std::vector<int> want;
                  std::wstring storedAfter; } cases[] = {
        {"a late tick is still in time", L"", {{Start, T, at(-9)}, {Tick, T, at(5)}}, {N, R}, told},
        {"catch-up after a resume", L"", {{Start, T, at(-60)}, {Tick, T, at(3600)}}, {N, P}, told},
        {"a new target", told, {{Start, T, at(10)}, {Dialog, T2, at(11)}, {Tick, T2, T2}}, {N, N, R}, L"2027/01/02 00:00:00"},
        {"clear, then the same target ahead", told, {{Dialog, 0, at(11)}, {Tick, 0, at(12)}, {Dialog, T, at(-5)}, {Tick, T, at(0)}}, {N, N, N, R}, told},
        {"cleared", told, {{Dialog, 0, at(11)}}, {N}, none},
        {"a clock set back across the target", L"", {{Start, T, at(-1)}, {Tick, T, at(0)}, {Tick, T, at(-600)}, {Tick, T, at(0)}}, {N, R, N, N}, told},
        {"a target past when set", L"", {{Start, 0, at(0)}, {Dialog, T, at(1)}, {Tick, T, at(2)}, {Start, T, at(9)}}, {N, N, N, N}, told},
        {"a target ahead when set", told, {{Dialog, T2, at(1)}}, {N}, none},
        {"stored text not a date", L"abc", {{Start, T, at(3)}}, {P}, told},
        {"stored in another form", told + L" ", {{Start, T, at(3)}}, {P}, told},
        {"stored no-target text", none, {{Start, 0, at(3)}}, {N}, none},
    };
    for (const Case& c : cases) {
        CountdownNotice notice(toldFromStored(c.stored));
        for (std::size_t i = 0; i < c.events.size(); ++i) {
            const Event& e = c.events[i];
            std::optional<Notice> got;
            if (e.step == Dialog) notice.targetSet(e.target, e.now);
            else got = notice.due(e.target, e.now, e.step == Start);
            EXPECT_EQ(got ? int(got->kind) : N, c.want[i]) << c.name << ", event " << i;
            EXPECT_TRUE(!got || got->target == e.target) << c.name;
        }
        EXPECT_EQ(notice.storedTold(), c.storedAfter) << c.name;
    }
}

// 2026-12-09 is the first day of the old calendar's 11th month: 大安.
TEST(TrayTip, TodayAndTheCountdownToTheMinute) {
    const DateValue now = makeDateTime({2026, 12, 9, 20, 54, 30});
    const std::wstring today = L"TavroClock\n2026年12月9日（水） 大安";
    TrayTip tip;
    EXPECT_EQ(tip.text(now, 0), today);
    EXPECT_EQ(tip.text(now, makeDateTime({2026, 12, 31, 0, 0, 0})), today + L"\n目標まで 21日 3時間 5分");
    EXPECT_EQ(tip.text(now, makeDateTime({2026, 12, 9, 21, 0, 0})), today + L"\n目標まで 5分");
    EXPECT_EQ(tip.text(now, makeDateTime({2026, 12, 8, 19, 0, 0})), today + L"\n目標から 1日 1時間 54分");
    EXPECT_EQ(TrayTip().text(makeDateTime({2101, 1, 1, 0, 0, 0}), 0), L"TavroClock\n2101年1月1日（土）");
    EXPECT_EQ(tip.text(now, makeDateTime({2026, 12, 9, 21, 0, 0}), L"次の予定 12/11 10:00 会議"),
              today + L"\n目標まで 5分\n次の予定 12/11 10:00 会議");
}

}  // namespace
}  // namespace tavro::notify
