// Arbitrary bytes as a download of the holiday list: no crash, and whatever is taken keeps every
// promise of the checker (1955 through the year asked, the last year to 23 November, dates strictly
// ascending, short names).
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "../../tools/native/holiday_list_native.h"
#include "holidays/holiday_list.h"

using namespace tavro::holidays;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const int currentYear = size > 0 ? 1955 + data[0] % 80 : 2026;
    const auto list = checkHolidayList(bytes, currentYear, tavro::native::decodeCp932);
    if (!list) return 0;
    if (list->size() == 0 || list->firstYear() > kListFirstYear || list->lastYear() < currentYear) std::abort();
    const auto days = list->between(-1e9, 1e9);
    if (days.size() != list->size()) std::abort();
    if (days.back().date < tavro::datetime::makeDate(list->lastYear(), 11, 23)) std::abort();
    for (size_t i = 0; i < days.size(); ++i) {
        if (i > 0 && days[i].date <= days[i - 1].date) std::abort();
        if (days[i].name.empty() || days[i].name.size() > kMaxNameChars * 2) std::abort();
    }
    return 0;
}
