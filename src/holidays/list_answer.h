// The holidayListUrl setting, and what one answer of the list's server is worth.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "holidays/holiday_list.h"
#include "holidays/list_schedule.h"
#include "settings/settings_table.h"

namespace tavro::holidays {

inline constexpr std::wstring_view kOfficialListUrl = settings::kHolidayListUrl.otherwise;

// holidayListUrl as stored (nothing when missing or not a REG_SZ): the address to ask, "" for
// none. Empty turns the download off; anything but an http:// or https:// address of printable
// ASCII gives the official address.
std::wstring listUrlSetting(const std::optional<std::wstring>& stored);

// One download as the network library left it.
struct ListAnswer {
    int code = 0;  // 0, or the failing step's last-error code (a cancelled or cut-off read too)
    int status = 0;
    std::optional<std::size_t> contentLength;  // as the server announced it
    std::string body;
    ListValidators validators;  // Last-Modified and ETag of the answer
};

struct ListVerdict {
    ListOutcome outcome = ListOutcome::Rejected;
    std::optional<HolidayList> list;  // with NewList
};

// NewList for a 2xx answer whose body is whole (as long as announced) and passes the checks;
// Unchanged for 304 to a conditional request; Rejected for everything else.
ListVerdict judgeListAnswer(const ListAnswer& answer, bool conditional, int currentYear, NameDecoder decode);

}  // namespace tavro::holidays
