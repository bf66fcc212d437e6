// The user's desktop from before the program's first change (wallpaper, its style, the copies of
// pictures the system rewrites, the wallpaper object's state, the colour) and the program's own
// file, kept in the program's registry key while the program runs, so that a run killed before
// its shutdown can still be mended by the next run's exit. A normal exit removes it.
//
// The settings store keeps texts in the ANSI code page and at most 255 bytes each, so the fields
// are kept as ASCII with every other character and the separator "|" escaped ("%XXXX", its UTF-16
// unit in hex), joined by "|" and split over numbered values.
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

inline constexpr std::wstring_view kRecordPartsName = settings::kOriginalWallPaperParts.name;
inline constexpr std::wstring_view kRecordPartName = settings::kOriginalWallPaperPart.name;  // followed by 1, 2, ...
inline constexpr std::wstring_view kRecordColourName = settings::kOriginalDesktopColour.name;
inline constexpr std::size_t kRecordPartChars = 200;
inline constexpr int kRecordMaxParts = 32;

std::wstring escapeRecordText(std::wstring_view text);
// Nothing for a text that escapeRecordText cannot have made.
std::optional<std::wstring> unescapeRecordText(std::wstring_view text);

// Nothing unless every value is there and well formed: half a record is no record.
std::optional<DesktopSettings> loadRecord(RecordStore& store);
// Removes what an earlier, longer record left. False when a value could not be written.
bool saveRecord(RecordStore& store, const DesktopSettings& originals);
void clearRecord(RecordStore& store);

}  // namespace tavro::desktop
