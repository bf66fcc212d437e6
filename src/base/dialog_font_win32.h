// The dialogs' font ("ＭＳ ゴシック", 9 pt, Shift-JIS glyphs), also given to the calendar's tooltip,
// whose default font may lack Japanese.
#pragma once

#include <string_view>

#include "base/unique_handle_win32.h"

namespace tavro::base {

// The system substitutes a near one where it is missing.
inline constexpr std::wstring_view kDialogFontName = L"ＭＳ ゴシック";
inline constexpr int kDialogFontPoints = 9;

// At a monitor's DPI; empty when it cannot be made.
UniqueFont dialogFont(int dpi);

}  // namespace tavro::base
