// 「次の…」 in the 暦 window: the day search with the holidays the window shows (the official
// list for the years it covers, else the act's rules), and what the status line says of it.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "almanac/note_search.h"
#include "datetime/date_value.h"
#include "holidays/holiday_list.h"

namespace tavro::almanac_window {

class AlmanacSearch {
public:
    AlmanacSearch() = default;
    AlmanacSearch(const AlmanacSearch&) = delete;  // the search's holiday test points at this
    AlmanacSearch& operator=(const AlmanacSearch&) = delete;

    // A newer list: the holidays are taken afresh at the next holiday search.
    void takeList(std::shared_ptr<const holidays::HolidayList> list);
    // The first day of the kind after (or before) the day, within 1900-01-01 .. 2100-12-31.
    std::optional<datetime::CivilDate> find(almanac::DayKind kind, datetime::CivilDate from,
                                            almanac::SearchDirection direction);

private:
    bool isHoliday(int64_t day);

    std::shared_ptr<const holidays::HolidayList> list_;
    std::vector<int64_t> holidays_;  // sorted; taken at the first holiday search after a list
    bool holidaysTaken_ = false;
    almanac::DaySearch search_{[this](int64_t day) { return isHoliday(day); }};
};

// The status line after a search: 「次の天赦日: 2026年12月16日（水）　F3 で次、Shift+F3 で前」, or
// where none was found 「2100年12月31日までに次の天赦日はありません」 (back: 「1900年1月1日までに
// 前の天赦日はありません」).
std::wstring searchStatusText(almanac::DayKind kind, almanac::SearchDirection direction,
                              const std::optional<datetime::CivilDate>& found);

}  // namespace tavro::almanac_window
