// Japan's national holidays computed from the Act on National Holidays and its amendments,
// for when the holiday feed cannot be had.
#pragma once

#include <string>
#include <vector>

#include "datetime/date_value.h"

namespace tavro::holidays {

struct NationalHoliday {
    datetime::DateValue date = 0;  // a pure date
    std::wstring name;             // as the Cabinet Office lists it; L"休日" for substitute and citizens' holidays
    bool operator==(const NationalHoliday&) const = default;
};

// The holidays from `from` to `to`, both days included and their time of day ignored, sorted by date.
// Nothing before 1948-07-20 (the Act in force) or after 2150-12-31 (end of the equinox formula);
// NaN or an empty range gives an empty list.
std::vector<NationalHoliday> nationalHolidays(datetime::DateValue from, datetime::DateValue to);

}  // namespace tavro::holidays
