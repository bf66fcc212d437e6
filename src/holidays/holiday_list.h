// The Cabinet Office's list of holidays (syukujitsu.csv): checked whole before any of it is used,
// and kept compact, since the program holds it for its whole run.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "datetime/date_value.h"
#include "holidays/national_holidays.h"

namespace tavro::holidays {

// The list is Shift_JIS; the names are decoded by the platform (code page 932 on Windows).
// Nothing when the bytes are not valid Shift_JIS.
using NameDecoder = std::optional<std::wstring> (*)(std::string_view bytes);

inline constexpr std::size_t kMaxListBytes = 256 * 1024;  // the list is about 22 KB
inline constexpr int kListFirstYear = 1955;
inline constexpr std::size_t kMaxNameChars = 30;
// The list of 1955 to 2027 has 23 names, about three new ones a decade (a new or renamed holiday,
// a one-off ceremony). Ten times that count leaves room for centuries at that pace and still
// refuses a list made to be slow, with a name on every row.
inline constexpr std::size_t kMaxListNames = 256;

class HolidayList {
public:
    // The years from the first row's to the last row's: within them exactly the listed days are holidays.
    int firstYear() const { return firstYear_; }
    int lastYear() const { return lastYear_; }
    bool covers(int year) const { return year >= firstYear_ && year <= lastYear_; }
    std::size_t size() const { return days_.size(); }
    // The listed days from `from` to `to`, both included, in order.
    std::vector<NationalHoliday> between(datetime::DateValue from, datetime::DateValue to) const;

private:
    friend std::optional<HolidayList> checkHolidayList(std::string_view, int, NameDecoder);
    struct Day {
        int32_t day;       // days since 1899-12-30
        uint16_t nameIndex;  // into names_: the list repeats two dozen names a thousand times
    };
    std::vector<Day> days_;
    std::vector<std::wstring> names_;
    int firstYear_ = 0, lastYear_ = 0;
};

// The list when every rule holds: the exact header; every row "y/m/d,name" with a real date and a
// name of 1 to 30 characters, at most kMaxListNames of them; every line ended by CRLF; dates
// strictly ascending; every year from 1955 through currentYear present, the last one running to
// 23 November or later (a list cut off at a row's end is not a list); at most kMaxListBytes.
// Anything else (an HTML page, another encoding, an empty answer) gives nothing.
std::optional<HolidayList> checkHolidayList(std::string_view bytes, int currentYear, NameDecoder decode);

}  // namespace tavro::holidays
