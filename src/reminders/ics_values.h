// Values of iCalendar properties: dates, date-times, durations, texts and file URIs.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "reminders/local_minute.h"

namespace tavro::reminders {

// A DATE (20261210) or DATE-TIME (20261210T100000, …Z for UTC) value.
struct IcsDateTime {
    int64_t day = 0;        // a day count, as datetime::daysFromCivil
    int secondOfDay = 0;
    bool hasTime = false;
    bool utc = false;
};

// nullopt for anything else: other lengths, an impossible date or time, a year before 1000.
std::optional<IcsDateTime> parseIcsDateTime(std::string_view text);

std::string formatIcsDate(int64_t day);                      // 20261210
std::string formatIcsDateTime(LocalMinute minute, int second = 0);  // 20261210T100000 (floating)

// How times given with a zone are made local. Floating times are local as they are. A UTC time
// is moved by localOffsetMinutes (the clock's offset from UTC, +540 in Japan). A TZID the file
// gives a fixed offset for (its VTIMEZONE without daylight time, or a zone of Japan by name) is
// moved from that offset to local; any other TZID is taken as local wall time, which is right for
// the common case of events in the user's own zone.
struct TimeContext {
    int localOffsetMinutes = 540;
    std::vector<std::pair<std::string, int>> zoneOffsets;  // TZID, minutes east of UTC
};

// The offset of a named zone, if it is fixed: the file's, or Japan's for its usual names.
std::optional<int> fixedZoneOffset(std::string_view tzid, const TimeContext& context);

// The local minute of a value (seconds dropped).
LocalMinute localMinuteOf(const IcsDateTime& value, std::optional<std::string_view> tzid, const TimeContext& context);

// A DURATION (-PT10M, PT9H, P1D, -P1W, +P1DT2H30M) in seconds; nullopt when malformed or
// beyond 10 years.
std::optional<int64_t> parseIcsDuration(std::string_view text);
// Minutes as a DURATION: -PT10M, PT9H, -P1D, PT0S; mixed values as -PT1H30M.
std::string formatIcsDuration(int minutes);

// TEXT escapes: backslash, semicolon, comma and newline.
std::string escapeIcsText(std::string_view text);
std::string unescapeIcsText(std::string_view text);

// A Windows path as a file: URI (file:///C:/Sounds/a%20b.wav, UNC as file://server/share/…),
// and back; nullopt for a URI that is not a file: URI. Kept as UTF-8, other bytes %-escaped.
std::string fileUriFromPath(std::wstring_view path);
std::optional<std::wstring> pathFromFileUri(std::string_view uri);

// ASCII case-insensitive equality (names and parameter names of iCalendar).
bool equalsNoCase(std::string_view a, std::string_view b);

}  // namespace tavro::reminders
