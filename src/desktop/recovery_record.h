// The user's desktop from before the program's first change (wallpaper, its style, the copies of
// pictures the system rewrites, the wallpaper object's state, the colour) and the program's own
// file, kept in the program's registry key while the program runs, so that a run killed before
// its shutdown can still be mended. A normal exit removes it.
//
// One text value in UTF-16, of any length, so that one write keeps it whole or not at all: the
// colour, the length of the rest and the fields, joined by "|"; the separator, the escape "%" and
// control characters escaped ("%XXXX", the UTF-16 unit in hex). The release before kept it in the
// settings store's ANSI texts of at most 255 bytes (every character beyond ASCII escaped, split
// over numbered values, the colour in a number of its own); such a record is still read.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "desktop/wallpaper_rules.h"
#include "settings/record_store.h"
#include "settings/settings_table.h"

namespace tavro::desktop {

// Where the record lives; the program's key on Windows, a map in the tests.
using settings::makeRegistryRecordStore;
using settings::RecordStore;

inline constexpr std::wstring_view kRecordName = settings::kOriginalDesktop.name;
// The earlier shape.
inline constexpr std::wstring_view kRecordPartsName = settings::kOriginalWallPaperParts.name;
inline constexpr std::wstring_view kRecordPartName = settings::kOriginalWallPaperPart.name;  // followed by 1, 2, ...
inline constexpr std::wstring_view kRecordColourName = settings::kOriginalDesktopColour.name;
inline constexpr int kRecordMaxParts = 32;

std::wstring escapeRecordText(std::wstring_view text);
// Nothing for a text that escapeRecordText cannot have made.
std::optional<std::wstring> unescapeRecordText(std::wstring_view text);

// Nothing unless the record is there whole and well formed: half a record is no record.
std::optional<DesktopSettings> loadRecord(RecordStore& store);
// True once the record reads back as written; then a record of the earlier shape is removed.
// On failure whatever record was there stays.
bool saveRecord(RecordStore& store, const DesktopSettings& originals);
void clearRecord(RecordStore& store);

}  // namespace tavro::desktop
