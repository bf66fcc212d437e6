// The stored form of a date-time value: "yyyy/mm/dd hh:mm:ss".
#pragma once

#include <string>

#include "datetime/date_value.h"

namespace tavro::datetime {

// The text of 0, which stands for "no countdown target".
inline constexpr const char* kNoTargetText = "1899/12/30 00:00:00";

// Four-digit year, two-digit month, day, 24-hour hour, minute and second, rounded to the
// nearest second. A value that is not finite or lies outside the years 100..9999 (which the
// parser never gives) is written as kNoTargetText, so that nothing unreadable is stored.
std::string formatDateTime(DateValue value);

}  // namespace tavro::datetime
