// Arbitrary bytes as the feed's answer body and as the feed settings: no crash, and every date
// found is a valid pure date with its own 30 bytes of marker and date.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "holidays/happy_feed.h"

using namespace tavro::holidays;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view all(reinterpret_cast<const char*>(data), size);
    const std::vector<DateValue> dates = scanHappyDays(all);
    if (dates.size() > size / 30) std::abort();
    for (DateValue d : dates) {
        const tavro::datetime::CivilDateTime c = tavro::datetime::toCivil(d);
        if (!std::isfinite(d) || d != std::floor(d) || c.year < 1 || c.year > 9999) std::abort();
    }
    statusNumber(all);
    const FeedConfig config = parseFeedConfig(all.substr(0, size / 2), all.substr(size / 2));
    if (config.port < 1 || feedPath(config.calendarId, 40000).empty()) std::abort();
    return 0;
}
