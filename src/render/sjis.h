// Byte counts of text in code page 932 (Shift-JIS as Windows converts it), the measure by which
// label text advances and is centred.
#pragma once

#include <string_view>

namespace tavro::render {

// Bytes WideCharToMultiByte(932, 0, ...) gives for one UTF-16 code unit: 2 for what the code page
// holds as a double-byte character (its best-fit mappings included), 1 for the rest; a unit the
// code page cannot hold becomes "?", one byte. Values above U+FFFF also count as one "?".
int shiftJisWidth(wchar_t ch);

// The sum of shiftJisWidth over the text's code units.
int shiftJisLength(std::wstring_view text);

}  // namespace tavro::render
