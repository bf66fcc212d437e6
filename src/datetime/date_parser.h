// Reading a date and/or time as a Japanese user types it into the target dialog, and as the
// program stores it ("yyyy/mm/dd hh:mm:ss").
#pragma once

#include <optional>
#include <string_view>

#include "datetime/date_value.h"

namespace tavro::datetime {

// Accepted, with ASCII or full-width digits and separators and surrounding spaces:
//   dates   2010/2/3  2010-02-03  2010.2.3  2010年2月3日  2/3 and 2月3日 (in currentYear)
//   eras    平成22年2月3日  H22/2/3  H22.2.3  平成元年1月8日  (明治 大正 昭和 平成 令和, M T S H R, ㍻ …)
//   times   23:59  7:05:09  23時59分59秒  23時  午後3時  午後3:00  午前0時30分
//   a date, then a space (or "T", or nothing after 日), then a time.
// Years written with one or two digits pivot at 30 (00-29 -> 20xx, 30-99 -> 19xx); otherwise
// the year must lie in 100..9999. An era date must lie within its era: 平成31年5月1日 is
// rejected (it is 令和元年5月1日), as is 平成元年1月7日 (still 昭和64年); the eras and their first days:
// datetime/japanese_era.h.
// A date alone is at 00:00:00; a time alone lies on 1899-12-30.
std::optional<DateValue> parseDateText(std::wstring_view text, int currentYear);

}  // namespace tavro::datetime
