// The Cabinet Office's holiday list for the clock window: the cached copy at start, then a
// download at start and on each new date (holidayListUrl, "" for none), in the background.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "datetime/date_value.h"
#include "holidays/holiday_list.h"
#include "holidays/list_download_win32.h"
#include "holidays/list_schedule.h"

namespace tavro::holidays {

class HolidayListKeeper {
public:
    // Reads holidayListUrl and the cached copy: the list to draw the first calendar with, nothing
    // when there is no good copy for currentYear.
    std::shared_ptr<const HolidayList> load(int currentYear);
    // The calendar shows `today`: takes a finished download, abandons an overdue one, starts the
    // one due (posting `done` to `notify` when it ends). A new list when one has just come.
    std::shared_ptr<const HolidayList> pump(datetime::DateValue today, HWND notify, UINT done);
    // At exit: the download winds down and is waited for no longer than a second.
    void abandon();

private:
    std::wstring url_, cachePath_;
    ListSchedule schedule_;
    std::unique_ptr<ListDownload> download_;
};

}  // namespace tavro::holidays
