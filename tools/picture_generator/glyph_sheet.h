// The glyph sheet of the seven-segment fields: 640 x 640, rows by colour index, columns by
// character of "0123456789+-↑↓←→", and the decimal point column at x 608.
#pragma once

#include "render/canvas.h"

namespace tavro::pictures {

inline constexpr int kSheetSize = 640;
inline constexpr int kGlyphWidth = 38;
inline constexpr int kGlyphHeight = 64;
inline constexpr int kPointColumnX = 608;

render::Image makeGlyphSheet();

}  // namespace tavro::pictures
