// The last good copy of the holiday list, byte for byte, in %LOCALAPPDATA%\TavroClock.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tavro::holidays {

// %LOCALAPPDATA%\TavroClock\syukujitsu.csv; "" when the shell has no such folder.
std::wstring holidayListCachePath();

// The file's bytes; nothing when it is missing, unreadable or larger than any list.
std::optional<std::string> readCachedList(const std::wstring& path);

// Writes a temporary file beside it and renames it over the old copy, so that a crash mid-write
// leaves the old copy whole. True when the new copy is in place.
bool writeCachedList(const std::wstring& path, std::string_view bytes);

}  // namespace tavro::holidays
