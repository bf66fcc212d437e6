#include "render/gdi_text_win32.h"

namespace tavro::render {

HFONT GdiGlyphRasterizer::fontFor(int pixelHeight) {
    if (!font_ || fontHeight_ != pixelHeight) {
        // A negative height asks for the em height, not the cell height, as a point size does.
        // Without NONANTIALIASED_QUALITY, edge pixels would be mixed colours and get no halo.
        font_.reset(CreateFontW(-pixelHeight, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET,
                                OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, NONANTIALIASED_QUALITY,
                                FIXED_PITCH | FF_MODERN, kWindowFontName));
        fontHeight_ = font_ ? pixelHeight : 0;
    }
    return font_.get();
}

void GdiGlyphRasterizer::drawGlyph(Canvas&, int x, int y, wchar_t ch, int pixelHeight, ColorRef colour) {
    if (!dc_ || pixelHeight < 1) return;
    HFONT font = fontFor(pixelHeight);
    if (!font) return;
    {
        base::ScopedSelect selected(dc_, font);
        const int oldMode = SetBkMode(dc_, TRANSPARENT);
        const COLORREF oldColour = SetTextColor(dc_, static_cast<COLORREF>(colour) & 0xFFFFFF);
        const UINT oldAlign = SetTextAlign(dc_, TA_LEFT | TA_TOP | TA_NOUPDATECP);
        TextOutW(dc_, x, y, &ch, 1);
        SetTextAlign(dc_, oldAlign);
        SetTextColor(dc_, oldColour);
        SetBkMode(dc_, oldMode);
    }
    GdiFlush();
}

}  // namespace tavro::render
