// Label text on the grid of the seven-segment fields, each character with a soft halo, and the
// logo laid onto the desktop picture.
#pragma once

#include <string_view>

#include "render/canvas.h"

namespace tavro::render {

// Draws single characters into the canvas; on Windows GDI with the window font, in tests a stand-in.
// The glyph must come out without anti-aliasing in exactly the colour: only such pixels get a halo.
class GlyphRasterizer {
public:
    virtual ~GlyphRasterizer() = default;
    // (x, y) is the top left of the character cell, pixelHeight the font's em height in pixels.
    virtual void drawGlyph(Canvas& canvas, int x, int y, wchar_t ch, int pixelHeight, ColorRef colour) = 0;
};

inline constexpr ColorRef kLabelColour = 0xD6D3D6;
inline constexpr float kHaloAlpha = 0.15f;

// y, x in grid units of 40 picture pixels; a character advances half a unit per Shift-JIS byte
// (times size). Every pixel next to a text pixel is pulled towards the colour once per such neighbour.
void drawText(Canvas& canvas, GlyphRasterizer& glyphs, float drawScale, float y, float x, std::wstring_view text,
              int size, ColorRef colour);

// Draws text centred on column centreX and gives back the column it starts at.
float drawTextCenter(Canvas& canvas, GlyphRasterizer& glyphs, float drawScale, float y, float centreX,
                     std::wstring_view text, int size, ColorRef colour);

// The unit row under a date-time field row: 年 at column x + 4, 月 x + 7, ... 秒 x + 19.
void drawDateUnits(Canvas& canvas, GlyphRasterizer& glyphs, float drawScale, float y, float x, ColorRef colour);

// Adds the logo onto the screen-sized canvas, ending 24 px left of the work area's right edge and
// 32 px above its bottom; pixels in the colour of the logo's top left pixel are left out.
void composeLogo(Canvas& screen, const Image& logo, int workRight, int workBottom);

}  // namespace tavro::render
