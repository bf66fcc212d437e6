// What GDI makes of our font and arguments in the window's DIB canvas, and the Shift-JIS byte
// counts against the system's own conversion.
#include "render/gdi_text_win32.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "render/dib_canvas_win32.h"
#include "render/sjis.h"

using namespace tavro::render;

namespace {
// The canvas's pixels after drawing (or an empty list when no DIB could be made).
template <typename Draw>
std::vector<ColorRef> drawn(int w, int h, Draw draw) {
    auto dib = DibCanvas::create(w, h);
    if (!dib) return {};
    Canvas& c = dib->canvas();
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) c.at(x, y) = 0;
    GdiGlyphRasterizer glyphs(dib->dc());
    draw(c, glyphs);
    std::vector<ColorRef> out;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) out.push_back(c.getPixel(x, y));
    return out;
}

TEST(GdiGlyphRasterizer, KanjiLandInTheirCellInExactlyTheColourEachItsOwnPicture) {
    for (ColorRef colour : {kLabelColour, ColorRef{0x4080C0}}) {
        std::vector<std::vector<ColorRef>> pictures;
        for (wchar_t ch : {L'現', L'在', L'年'}) {
            const auto px = drawn(48, 40, [&](Canvas& c, GdiGlyphRasterizer& g) { g.drawGlyph(c, 10, 6, ch, 16, colour); });
            ASSERT_FALSE(px.empty());
            int lit = 0, otherColours = 0, outsideCell = 0, left = 48, right = -1;
            for (int i = 0; i < 48 * 40; ++i) {
                if (px[i] == 0) continue;
                const int x = i % 48, y = i / 48;
                ++lit;
                otherColours += px[i] != colour;  // no smoothing, no byte swap
                outsideCell += x < 10 || x > 25 || y < 6 || y > 21;
                left = std::min(left, x);
                right = std::max(right, x);
            }
            EXPECT_GT(lit, 40) << int(ch);
            EXPECT_EQ(otherColours, 0) << int(ch);
            EXPECT_EQ(outsideCell, 0) << int(ch);
            EXPECT_GT(right - left, 8) << "full width";
            pictures.push_back(px);
        }
        // Without the window font (or Wine's replacement) every kanji would be the same box.
        EXPECT_TRUE(pictures[0] != pictures[1] && pictures[0] != pictures[2] && pictures[1] != pictures[2]);
    }
}

// shiftJisWidth must agree with WideCharToMultiByte(932), best fit and "?" included.
int systemWidth(const wchar_t* units, int count) {
    char bytes[256];
    return WideCharToMultiByte(932, 0, units, count, bytes, sizeof bytes, nullptr, nullptr);
}

TEST(ShiftJisWidthOnWindows, EveryCodeUnitAndASurrogatePairAgreeWithTheSystem) {
    int differ = 0;
    std::string examples;
    for (unsigned u = 0; u <= 0xFFFF; ++u) {
        const auto ch = static_cast<wchar_t>(u);
        const int expected = systemWidth(&ch, 1);
        if (shiftJisWidth(ch) != expected && ++differ <= 20) {
            char note[32];
            std::snprintf(note, sizeof note, " U+%04X:%d", u, expected);
            examples += note;
        }
    }
    EXPECT_EQ(differ, 0) << examples;
    const std::wstring pair = L"\xD83D\xDE00";
    EXPECT_EQ(shiftJisLength(pair), systemWidth(pair.data(), 2));
}

}  // namespace
