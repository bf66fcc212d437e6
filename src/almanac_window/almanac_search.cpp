#include "almanac_window/almanac_search.h"

#include <algorithm>

#include "calendar/day_texts.h"
#include "holidays/holiday_days.h"

namespace tavro::almanac_window {

void AlmanacSearch::takeList(std::shared_ptr<const holidays::HolidayList> list) {
    list_ = std::move(list);
    holidaysTaken_ = false;
}

bool AlmanacSearch::isHoliday(int64_t day) {
    if (!holidaysTaken_) {
        holidays_.clear();
        const auto first = static_cast<double>(almanac::firstSearchDay()), last = static_cast<double>(almanac::lastSearchDay());
        for (const holidays::NationalHoliday& h : holidays::listOrComputedHolidays(list_.get(), first, last))
            holidays_.push_back(static_cast<int64_t>(h.date));
        holidaysTaken_ = true;
    }
    return std::binary_search(holidays_.begin(), holidays_.end(), day);
}

std::optional<datetime::CivilDate> AlmanacSearch::find(almanac::DayKind kind, datetime::CivilDate from,
                                                       almanac::SearchDirection direction) {
    const std::optional<int64_t> day = search_.find(kind, datetime::daysFromCivil(from.year, from.month, from.day), direction);
    if (!day) return std::nullopt;
    return datetime::civilFromDays(*day);
}

std::wstring searchStatusText(almanac::DayKind kind, almanac::SearchDirection direction,
                              const std::optional<datetime::CivilDate>& found) {
    const bool next = direction == almanac::SearchDirection::Next;
    const std::wstring what = (next ? L"次の" : L"前の") + std::wstring(almanac::dayKindName(kind));
    if (found)
        return what + L": " + calendar::dayDateText(found->year, found->month, found->day) + L"　F3 で次、Shift+F3 で前";
    return (next ? L"2100年12月31日までに" : L"1900年1月1日までに") + what + L"はありません";
}

}  // namespace tavro::almanac_window
