// Label characters drawn by GDI with the window font into the DC whose DIB section is the canvas.
#pragma once

#include <windows.h>

#include "base/unique_handle_win32.h"
#include "render/text.h"

namespace tavro::render {

// "ＭＳ ゴシック", regular, Shift-JIS character set.
inline constexpr wchar_t kWindowFontName[] = L"\uFF2D\uFF33 \u30B4\u30B7\u30C3\u30AF";

class GdiGlyphRasterizer : public GlyphRasterizer {
public:
    // dc must have the canvas's DIB section selected; it is borrowed, not owned.
    explicit GdiGlyphRasterizer(HDC dc) : dc_(dc) {}
    GdiGlyphRasterizer(const GdiGlyphRasterizer&) = delete;
    GdiGlyphRasterizer& operator=(const GdiGlyphRasterizer&) = delete;

    // Draws with a transparent background and without anti-aliasing, then flushes GDI so that the
    // canvas pixels can be read at once.
    void drawGlyph(Canvas& canvas, int x, int y, wchar_t ch, int pixelHeight, ColorRef colour) override;

private:
    HFONT fontFor(int pixelHeight);

    HDC dc_;
    base::UniqueFont font_;
    int fontHeight_ = 0;
};

}  // namespace tavro::render
