#include "render/text.h"

#include <cmath>

#include "render/pixel_ops.h"
#include "render/sjis.h"

namespace tavro::render {

namespace {
// Neighbours in the order the halo visits them.
constexpr int kNeighbours[8][2] = {{-1, -1}, {-1, 0}, {-1, 1}, {0, -1}, {0, 1}, {1, -1}, {1, 0}, {1, 1}};

// Pixels beyond this are bad input: rounding them to int would be undefined.
constexpr double kFarPixels = 1 << 24;

// Nearest whole pixel, halves to even.
bool toPixel(double v, int& out) {
    if (!(std::fabs(v) <= kFarPixels)) return false;
    out = static_cast<int>(std::nearbyint(v));
    return true;
}

void halo(Canvas& canvas, int penX, int penY, int columns, int rows, ColorRef colour) {
    for (int a = 0; a <= columns; ++a) {
        for (int b = 0; b <= rows; ++b) {
            const int qx = penX + a, qy = penY + b;
            if (!canvas.contains(qx, qy) || canvas.getPixel(qx, qy) != colour) continue;
            for (const auto& d : kNeighbours) blendPixelIfDiffer(canvas, qx + d[0], qy + d[1], colour, kHaloAlpha);
        }
    }
}
}  // namespace

void drawText(Canvas& canvas, GlyphRasterizer& glyphs, float drawScale, float y, float x, std::wstring_view text,
              int size, ColorRef colour) {
    if (size < 1) return;
    colour &= 0xFFFFFF;  // the pixels hold only 24 bits, so only those can match
    const double s = drawScale;
    int pixelHeight = 0, penY = 0, haloRows = 0;
    if (!toPixel(s * 40 * size - 4, pixelHeight) || pixelHeight < 1) return;
    if (!toPixel(s * 40 * y, penY) || !toPixel(s * 36 * size, haloRows)) return;
    penY += 2;  // not scaled
    int n = 0;  // half units used so far
    for (const wchar_t ch : text) {
        int penX = 0, haloColumns = 0;
        const int w = shiftJisWidth(ch);
        if (!toPixel(s * (40.0 * x + 20.0 * size * n), penX) || !toPixel(s * 18 * w * size, haloColumns)) return;
        n += w;
        // A full-width character stands 2 px, a half-width one 1 px right of the pen, unscaled.
        glyphs.drawGlyph(canvas, penX + w, penY, ch, pixelHeight, colour);
        halo(canvas, penX, penY, haloColumns, haloRows, colour);
    }
}

float drawTextCenter(Canvas& canvas, GlyphRasterizer& glyphs, float drawScale, float y, float centreX,
                     std::wstring_view text, int size, ColorRef colour) {
    const float column = centreX - static_cast<float>(shiftJisLength(text)) / 4;
    drawText(canvas, glyphs, drawScale, y, column, text, size, colour);
    return column;
}

void drawDateUnits(Canvas& canvas, GlyphRasterizer& glyphs, float drawScale, float y, float x, ColorRef colour) {
    drawText(canvas, glyphs, drawScale, y, x, L"　　　　年　　月　　日　　時　　分　　秒", 1, colour);
}

void composeLogo(Canvas& screen, const Image& logo, int workRight, int workBottom) {
    if (logo.empty()) return;
    const long long left = static_cast<long long>(workRight) - 24 - logo.width;
    const long long top = static_cast<long long>(workBottom) - 32 - logo.height;
    if (left < -kFarPixels || left > kFarPixels || top < -kFarPixels || top > kFarPixels) return;
    const Pixel key = logo.at(0, 0) & 0xFFFFFF;
    for (int x = 0; x < logo.width; ++x) {
        for (int y = 0; y < logo.height; ++y) {
            const Pixel c = logo.at(x, y) & 0xFFFFFF;
            if (c == key) continue;
            addPixel(screen, static_cast<int>(left) + x, static_cast<int>(top) + y, colorRefFromPixel(c), 1.0f);
        }
    }
}

}  // namespace tavro::render
