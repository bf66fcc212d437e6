// The holiday feed for the clock window: its settings, then a fetch for each date the calendar
// shows, one at a time within its deadline, in the background.
#pragma once

#include <windows.h>

#include <memory>
#include <optional>
#include <vector>

#include "datetime/date_value.h"
#include "holidays/feed_schedule.h"
#include "holidays/feed_worker_win32.h"
#include "holidays/happy_feed.h"

namespace tavro::holidays {

class FeedKeeper {
public:
    // Reads feedHost and feedCalendarId.
    void load();
    // The calendar shows `today`: takes a finished fetch, abandons an overdue one, starts the one
    // due (posting `done` to `notify` when it ends). The dates of a fetch that has just come for
    // the day still shown, for its month.
    std::optional<std::vector<DateValue>> pump(DateValue today, HWND notify, UINT done);
    // At exit: the fetch winds down on its own thread.
    void abandon();

private:
    FeedConfig config_;
    FeedSchedule schedule_;
    std::unique_ptr<FeedWorker> worker_;
};

}  // namespace tavro::holidays
