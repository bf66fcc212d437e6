#include "holidays/holiday_days.h"

#include <algorithm>

#include "holidays/national_holidays.h"

namespace tavro::holidays {

bool isHappy(const std::vector<DateValue>& happyDays, int happyCount, const DateValue& date) {
    const auto count = static_cast<std::size_t>(std::clamp<long long>(happyCount, 0, happyDays.size()));
    return std::find(happyDays.begin(), happyDays.begin() + static_cast<std::ptrdiff_t>(count), date) !=
           happyDays.begin() + static_cast<std::ptrdiff_t>(count);
}

int FeedOrComputedHolidays::loadHappyDays(const DateValue& firstDay) {
    const int result = feed_.loadHappyDays(firstDay);
    usingFeed_ = result == 0;
    computed_.clear();
    if (!usingFeed_) {
        // The same months the feed was asked for.
        for (const NationalHoliday& h :
             nationalHolidays(datetime::addMonths(firstDay, -1), datetime::addMonths(firstDay, 1)))
            computed_.push_back(h.date);
    }
    return result;
}

bool FeedOrComputedHolidays::isHappy(const DateValue& date) const {
    if (usingFeed_) return holidays::isHappy(feed_.happyDays, feed_.happyCount, date);
    return holidays::isHappy(computed_, static_cast<int>(computed_.size()), date);
}

}  // namespace tavro::holidays
