// One fixed-width numeric field of seven-segment glyphs copied from the glyph sheet.
#pragma once

#include <string>

#include "render/canvas.h"

namespace tavro::render {

// The sheet's rows that the clock draws in.
inline constexpr int kColourGreen = 2, kColourLightBlue = 3, kColourRed = 4, kColourOrange = 6, kColourWhite = 7;

// Characters of the sheet's columns, in order: column k holds kGlyphLookup[k].
inline constexpr std::wstring_view kGlyphLookup = L"0123456789+-↑↓←→";
inline constexpr std::wstring_view kSignCharacters = L"+-↑↓←→";

// The canvas pixels a drawing may have changed: left, top inclusive, right, bottom exclusive.
struct PixelBounds {
    bool any = false;
    int left = 0, top = 0, right = 0, bottom = 0;
    void add(const PixelBounds& other);
    bool operator==(const PixelBounds&) const = default;
};

// x, y in grid units of 40 sheet pixels; the template and text are taken by value on purpose:
// the field is cut down from its own copies as it is drawn. Gives back the pixels it covered
// (before clipping to the canvas), so that the window repaints exactly those.
PixelBounds draw7seg(Canvas& canvas, const Image& sheet, float drawScale, float x, float y, std::wstring fieldTemplate,
              std::wstring text, int colour);

// What draws the fields: the window's canvas, or a recorder in the tests.
class FieldPainter {
public:
    virtual ~FieldPainter() = default;
    virtual void draw7seg(float x, float y, std::wstring_view fieldTemplate, std::wstring_view text, int colour) = 0;
};

// The text a field shows for a non-empty value, after any sign slot was taken off:
// the last L characters of (blank positions followed by the number formatted by the picture).
std::wstring formatFieldText(const std::wstring& fieldTemplate, const std::wstring& text);

}  // namespace tavro::render
