#include "holidays/holiday_days.h"

#include <algorithm>

#include "holidays/national_holidays.h"

namespace tavro::holidays {

namespace {

// The holidays of the month that starts on firstDay, sorted and once each.
std::vector<DateValue> daysOfMonth(const std::vector<DateValue>& dates, DateValue firstDay) {
    const DateValue next = datetime::addMonths(firstDay, 1);
    std::vector<DateValue> out;
    for (DateValue d : dates)
        if (d >= firstDay && d < next) out.push_back(d);
    std::sort(out.begin(), out.end());
    out.erase(std::unique(out.begin(), out.end()), out.end());
    return out;
}

}  // namespace

std::vector<NationalHoliday> listOrComputedHolidays(const HolidayList* list, DateValue from, DateValue to) {
    if (!list) return nationalHolidays(from, to);
    std::vector<NationalHoliday> out;
    for (int year = datetime::toCivil(from).year; year <= datetime::toCivil(to).year; ++year) {
        const DateValue first = std::max(from, datetime::makeDate(year, 1, 1));
        const DateValue last = std::min(to, datetime::makeDate(year, 12, 31));
        std::vector<NationalHoliday> part = list->covers(year) ? list->between(first, last) : nationalHolidays(first, last);
        out.insert(out.end(), std::make_move_iterator(part.begin()), std::make_move_iterator(part.end()));
    }
    return out;
}

bool isHappy(const std::vector<DateValue>& happyDays, int happyCount, const DateValue& date) {
    const auto count = static_cast<std::size_t>(std::clamp<long long>(happyCount, 0, happyDays.size()));
    return std::find(happyDays.begin(), happyDays.begin() + static_cast<std::ptrdiff_t>(count), date) !=
           happyDays.begin() + static_cast<std::ptrdiff_t>(count);
}

void FeedOrComputedHolidays::selectMonth(const DateValue& firstDay) {
    selected_ = firstDay;
    usingFeed_ = firstDay == feedMonth_;
    days_.clear();
    // The same months the feed is asked for.
    named_ = listOrComputedHolidays(list_.get(), datetime::addMonths(firstDay, -1), datetime::addMonths(firstDay, 1));
    if (usingFeed_) {
        days_ = feedDays_;
        return;
    }
    for (const NationalHoliday& h : named_) days_.push_back(h.date);
}

bool FeedOrComputedHolidays::isHappy(const DateValue& date) const {
    return holidays::isHappy(days_, static_cast<int>(days_.size()), date);
}

std::wstring FeedOrComputedHolidays::holidayName(const DateValue& date) const {
    if (!isHappy(date)) return {};
    const auto found = std::find_if(named_.begin(), named_.end(), [&](const NationalHoliday& h) { return h.date == date; });
    return found == named_.end() ? std::wstring() : found->name;
}

bool FeedOrComputedHolidays::takeFeed(const DateValue& firstDay, std::vector<DateValue> dates) {
    feedMonth_ = firstDay;
    feedDays_ = std::move(dates);
    if (firstDay != selected_) return false;
    const bool differs = daysOfMonth(feedDays_, firstDay) != daysOfMonth(days_, firstDay);
    selectMonth(firstDay);
    return differs;
}

bool FeedOrComputedHolidays::takeList(std::shared_ptr<const HolidayList> list) {
    list_ = std::move(list);
    if (selected_ == -1) return false;  // nothing drawn yet
    const std::vector<DateValue> before = daysOfMonth(days_, selected_);
    selectMonth(selected_);
    return daysOfMonth(days_, selected_) != before;
}

}  // namespace tavro::holidays
