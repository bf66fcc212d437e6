// The holiday dates the month calendar marks: the feed's, once an answer for the shown months has
// come; else, for the years the Cabinet Office's list covers, exactly the list's days and names;
// else the national holidays computed for the same months.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "datetime/date_value.h"
#include "holidays/holiday_list.h"
#include "holidays/national_holidays.h"

namespace tavro::holidays {

using datetime::DateValue;

// What the calendar asks before it draws a month and for each day it draws.
class HolidayLookup {
public:
    virtual ~HolidayLookup() = default;
    // The calendar is about to draw the month that starts on firstDay. Never waits on the network.
    virtual void selectMonth(const DateValue& firstDay) = 0;
    virtual bool isHappy(const DateValue& date) const = 0;
    // The holiday's name for a day of the selected month that isHappy reports, "" when it has
    // none to tell (a day only the feed lists, or no holiday).
    virtual std::wstring holidayName(const DateValue& date) const = 0;
};

// The holidays from `from` to `to` without the feed: exactly the list's for the years it covers
// (all of them without a list), the ones computed by the act's rules for the others; sorted by date.
std::vector<NationalHoliday> listOrComputedHolidays(const HolidayList* list, DateValue from, DateValue to);

// True when date equals one of the first happyCount entries.
bool isHappy(const std::vector<DateValue>& happyDays, int happyCount, const DateValue& date);

class FeedOrComputedHolidays final : public HolidayLookup {
public:
    void selectMonth(const DateValue& firstDay) override;
    bool isHappy(const DateValue& date) const override;
    std::wstring holidayName(const DateValue& date) const override;

    // A successful feed answer for the months around firstDay, kept for every later drawing of
    // that month. True when the selected month is that month and one of its days changes colour.
    bool takeFeed(const DateValue& firstDay, std::vector<DateValue> dates);
    bool usingFeed() const { return usingFeed_; }
    // A checked list (nothing: none). True when a day of the selected month changes colour.
    bool takeList(std::shared_ptr<const HolidayList> list);
    const std::shared_ptr<const HolidayList>& list() const { return list_; }

private:
    DateValue selected_ = -1;
    DateValue feedMonth_ = -1;
    std::vector<DateValue> feedDays_;
    bool usingFeed_ = false;
    std::vector<DateValue> days_;  // what isHappy looks in
    std::vector<NationalHoliday> named_;  // the list's or computed holidays of the same months, with names
    std::shared_ptr<const HolidayList> list_;
};

}  // namespace tavro::holidays
