// The holiday dates the month calendar marks: the feed's, or when the feed cannot be had,
// the national holidays computed for the same months.
#pragma once

#include <vector>

#include "datetime/date_value.h"
#include "holidays/happy_feed.h"

namespace tavro::holidays {

// What the calendar asks before it draws a month and for each day it draws.
class HolidayLookup {
public:
    virtual ~HolidayLookup() = default;
    // Fetches the holidays around firstDay; returns the fetch's result code.
    virtual int loadHappyDays(const DateValue& firstDay) = 0;
    virtual bool isHappy(const DateValue& date) const = 0;
};

// True when date equals one of the first happyCount entries.
bool isHappy(const std::vector<DateValue>& happyDays, int happyCount, const DateValue& date);

// The feed's dates when the fetch succeeds, even when it lists none; else the computed
// national holidays of the months the fetch asked for.
class FeedOrComputedHolidays final : public HolidayLookup {
public:
    explicit FeedOrComputedHolidays(HappyFromGoogle& feed) : feed_(feed) {}

    int loadHappyDays(const DateValue& firstDay) override;
    bool isHappy(const DateValue& date) const override;

    bool usingFeed() const { return usingFeed_; }

private:
    HappyFromGoogle& feed_;
    bool usingFeed_ = false;
    std::vector<DateValue> computed_;
};

}  // namespace tavro::holidays
