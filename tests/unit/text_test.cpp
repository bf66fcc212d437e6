#include "render/text.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "render/pixel_ops.h"
#include "render/sjis.h"

using namespace tavro::render;

namespace {
constexpr float kScale = 0.5f;

ColorRef blendOnce(ColorRef pixel, ColorRef colour, float alpha) {
    Image img(1, 1);
    Canvas c = img.canvas();
    c.setPixel(0, 0, pixel);
    blendPixel(c, 0, 0, colour, alpha);
    return c.getPixel(0, 0);
}
ColorRef addOnce(ColorRef pixel, ColorRef colour, float alpha) {
    Image img(1, 1);
    Canvas c = img.canvas();
    c.setPixel(0, 0, pixel);
    addPixel(c, 0, 0, colour, alpha);
    return c.getPixel(0, 0);
}

TEST(PixelColourHelpers, LabelGreyIntoBlackAtFifteenPercent) {
    EXPECT_EQ(blendOnce(0, kLabelColour, 0.15f), 0x202020);  // 32.1 and 31.65 both round to 32
}

TEST(PixelColourHelpers, OnlyTheLowTwentyFourBitsOfAColourCount) {
    EXPECT_EQ(blendOnce(0, -1, 1.0f), 0xFFFFFF);
    EXPECT_EQ(blendOnce(0, -1, 0.5f), 0x808080);  // 127.5 to the even 128
    EXPECT_EQ(blendOnce(0, 0x7F010203, 1.0f), 0x010203);
    EXPECT_EQ(addOnce(0x000010, static_cast<ColorRef>(0xFF000001), 1.0f), 0x000011);
}

TEST(PixelColourHelpers, ComponentsAreKeptApartAndRoundHalfToEven) {
    // Red 3, green 5, blue 7 at one half: 1.5, 2.5 and 3.5 go to 2, 2 and 4.
    EXPECT_EQ(blendOnce(0, 0x070503, 0.5f), 0x040202);
    // From the other side: (200 + 1) / 2 = 100.5 goes down to 100, (200 + 3) / 2 = 101.5 up to 102.
    EXPECT_EQ(blendOnce(0xC8C8C8, 0x030001, 0.5f), 0x666464);
}

TEST(PixelColourHelpers, AddPixelSumsEachComponentAndStopsAt255) {
    EXPECT_EQ(addOnce(0x102030, 0x010203, 1.0f), 0x112233);
    EXPECT_EQ(addOnce(0xF01080, 0x20F080, 1.0f), 0xFFFFFF);
    EXPECT_EQ(addOnce(0xF00000, 0x200101, 1.0f), 0xFF0101) << "only blue saturates";
    EXPECT_EQ(addOnce(0x000000, 0x050301, 0.5f), 0x020200);  // 0.5, 1.5, 2.5 half to even
}

TEST(PixelColourHelpers, PixelsOutsideTheCanvasAreLeftAlone) {
    Image img(2, 2, 0);
    Canvas c = img.canvas();
    for (auto [x, y] : {std::pair{-1, 0}, std::pair{0, -1}, std::pair{2, 0}, std::pair{0, 2}}) {
        blendPixel(c, x, y, 0xFFFFFF, 1.0f);
        blendPixelIfDiffer(c, x, y, 0xFFFFFF, 1.0f);
        addPixel(c, x, y, 0xFFFFFF, 1.0f);
    }
    EXPECT_EQ(img.pixels, std::vector<Pixel>(4, 0));
}

TEST(PixelColourHelpers, BlendIfDifferBlendsAPixelOfAnotherColour) {
    Image img(1, 1, 0);
    Canvas c = img.canvas();
    blendPixelIfDiffer(c, 0, 0, kLabelColour, 0.15f);
    EXPECT_EQ(c.getPixel(0, 0), 0x202020);
}

// ---- Shift-JIS byte counts ----

TEST(ShiftJisWidth, SingleAndDoubleByteCharacters) {
    for (wchar_t ch : {L'A', L'0', L'\\', L'~', L'\0', wchar_t{0x7F}, wchar_t{0x80}})
        EXPECT_EQ(shiftJisWidth(ch), 1) << int(ch);
    for (wchar_t ch : {wchar_t{0xFF61}, wchar_t{0xFF76}, wchar_t{0xFF9F}}) EXPECT_EQ(shiftJisWidth(ch), 1) << "half-width kana";
    for (wchar_t ch : {wchar_t{0xF8F0}, wchar_t{0xF8F1}, wchar_t{0xF8F2}}) EXPECT_EQ(shiftJisWidth(ch), 1) << int(ch);
    for (wchar_t ch : {L'　', L'現', L'在', L'年', L'秒', L'ア', L'あ', L'Ａ', L'￥', L'～'})
        EXPECT_EQ(shiftJisWidth(ch), 2) << int(ch);
    EXPECT_EQ(shiftJisWidth(wchar_t{0xE000}), 2) << "user-defined area, lead byte 0xF0";
    EXPECT_EQ(shiftJisWidth(wchar_t{0xE757}), 2);
    EXPECT_EQ(shiftJisWidth(wchar_t{0xE758}), 1) << "past the user-defined area: \"?\"";
}

TEST(ShiftJisWidth, BestFitAndUnmappedCharacters) {
    EXPECT_EQ(shiftJisWidth(wchar_t{0x00A5}), 1) << "yen sign best-fits to 0x5C";
    EXPECT_EQ(shiftJisWidth(wchar_t{0x00E9}), 1) << "e acute best-fits to e";
    EXPECT_EQ(shiftJisWidth(wchar_t{0x00B7}), 2) << "middle dot best-fits to the katakana middle dot";
    EXPECT_EQ(shiftJisWidth(wchar_t{0x00A0}), 1);
    EXPECT_EQ(shiftJisWidth(wchar_t{0x301C}), 1) << "wave dash has no mapping in code page 932";
    EXPECT_EQ(shiftJisWidth(wchar_t{0x2212}), 1) << "minus sign has no mapping";
    EXPECT_EQ(shiftJisWidth(wchar_t{0x0E01}), 1) << "Thai: \"?\"";
    EXPECT_EQ(shiftJisWidth(wchar_t{0xD800}), 1) << "a lone surrogate: \"?\"";
}

// ---- text layout ----

struct Glyph {
    int x, y;
    wchar_t ch;
    int pixelHeight;
    ColorRef colour;
};

// Records where each character would be drawn, drawing nothing.
class RecordingRasterizer : public GlyphRasterizer {
public:
    std::vector<Glyph> glyphs;
    void drawGlyph(Canvas&, int x, int y, wchar_t ch, int pixelHeight, ColorRef colour) override {
        glyphs.push_back({x, y, ch, pixelHeight, colour});
    }
    const Glyph* find(wchar_t ch) const {
        for (const Glyph& g : glyphs)
            if (g.ch == ch) return &g;
        return nullptr;
    }
};

struct Panel {
    Image img{440, 600, 0};
    Canvas canvas = img.canvas();
};

TEST(DrawTextLayout, CaptionCentredOnColumnElevenStartsAtSevenAndAHalf) {
    Panel p;
    RecordingRasterizer r;
    const float column = drawTextCenter(p.canvas, r, kScale, 0, 11, L"現　在　時　刻", 1, kLabelColour);
    EXPECT_EQ(column, 7.5f);
    ASSERT_EQ(r.glyphs.size(), 7u);
    for (size_t i = 0; i < 7; ++i) {
        EXPECT_EQ(r.glyphs[i].x, 150 + 20 * static_cast<int>(i) + 2) << "2 px right of a full-width pen";
        EXPECT_EQ(r.glyphs[i].y, 2);
        EXPECT_EQ(r.glyphs[i].pixelHeight, 16);
        EXPECT_EQ(r.glyphs[i].colour, kLabelColour);
    }
    EXPECT_EQ(r.glyphs[6].ch, L'刻');
    EXPECT_EQ(r.glyphs[6].x + 18, 290) << "ends at column 14.5";
}

TEST(DrawTextLayout, UnitRowPutsEachUnitRightOfItsDigits) {
    Panel p;
    RecordingRasterizer r;
    drawDateUnits(p.canvas, r, kScale, 2.25f, 1, kLabelColour);
    const std::pair<wchar_t, int> units[] = {{L'年', 5}, {L'月', 8}, {L'日', 11}, {L'時', 14}, {L'分', 17}, {L'秒', 20}};
    for (auto [ch, column] : units) {
        const Glyph* g = r.find(ch);
        ASSERT_NE(g, nullptr);
        EXPECT_EQ(g->x, 20 * column + 2) << "column " << column;
        EXPECT_EQ(g->y, 47) << "row 2.25 is 45 px, plus 2";
    }
    EXPECT_EQ(r.glyphs.size(), 20u) << "the ideographic spaces are drawn too";
}

TEST(DrawTextLayout, HalfWidthCharactersAdvanceHalfAUnitAndStandOnePixelRight) {
    Panel p;
    RecordingRasterizer r;
    drawText(p.canvas, r, kScale, 27.25f, 1, L"A現1", 1, kLabelColour);
    ASSERT_EQ(r.glyphs.size(), 3u);
    EXPECT_EQ(r.glyphs[0].x, 21);
    EXPECT_EQ(r.glyphs[1].x, 32);
    EXPECT_EQ(r.glyphs[2].x, 51);
    EXPECT_EQ(r.glyphs[0].y, 547);
}

TEST(DrawTextLayout, SizeScalesTheFontAndTheAdvance) {
    Panel p;
    RecordingRasterizer r;
    drawText(p.canvas, r, kScale, 0, 0, L"現在", 2, kLabelColour);
    ASSERT_EQ(r.glyphs.size(), 2u);
    EXPECT_EQ(r.glyphs[0].pixelHeight, 36);
    EXPECT_EQ(r.glyphs[1].x, 40 + 2) << "the offset is not scaled";
}

TEST(DrawTextLayout, NoSizeOrAbsurdPositionsDrawNothing) {
    Panel p;
    RecordingRasterizer r;
    drawText(p.canvas, r, kScale, 0, 0, L"現", 0, kLabelColour);
    drawText(p.canvas, r, kScale, 0, 0, L"現", -3, kLabelColour);
    drawText(p.canvas, r, kScale, 1e30f, 0, L"現", 1, kLabelColour);
    drawText(p.canvas, r, kScale, 0, -1e30f, L"現", 1, kLabelColour);
    EXPECT_TRUE(r.glyphs.empty());
}

// ---- the halo ----

// Draws a fixed set of pixels, relative to the top left of the character cell.
class PatternRasterizer : public GlyphRasterizer {
public:
    explicit PatternRasterizer(std::vector<std::pair<int, int>> points) : points_(std::move(points)) {}
    void drawGlyph(Canvas& canvas, int x, int y, wchar_t, int, ColorRef colour) override {
        for (auto [dx, dy] : points_) canvas.setPixel(x + dx, y + dy, colour);
    }

private:
    std::vector<std::pair<int, int>> points_;
};

// A full-width character at column 1, row 0: its cell's top left at (22, 2), its pen at (20, 2).
Panel drawPattern(std::vector<std::pair<int, int>> points, const wchar_t* text = L"現") {
    Panel p;
    PatternRasterizer r(std::move(points));
    drawText(p.canvas, r, kScale, 0, 1, text, 1, kLabelColour);
    return p;
}

TEST(DrawTextHalo, EachTextNeighbourPullsAPixelFifteenPercentNearer) {
    // A vertical bar of three text pixels at (27, 7..9).
    Panel p = drawPattern({{5, 5}, {5, 6}, {5, 7}});
    const Canvas& c = p.canvas;
    for (int y = 7; y <= 9; ++y) EXPECT_EQ(c.getPixel(27, y), kLabelColour) << "text pixels stay";
    // 214 (1 - 0.85^k) step by step, rounded each time: 32, 59, 82.
    EXPECT_EQ(c.getPixel(26, 8), 0x525252) << "three text neighbours";
    EXPECT_EQ(c.getPixel(28, 8), 0x525252);
    EXPECT_EQ(c.getPixel(26, 7), 0x3B3B3B) << "two";
    EXPECT_EQ(c.getPixel(28, 9), 0x3B3B3B);
    EXPECT_EQ(c.getPixel(26, 6), 0x202020) << "one, diagonally";
    EXPECT_EQ(c.getPixel(27, 6), 0x202020) << "one, above";
    EXPECT_EQ(c.getPixel(27, 10), 0x202020) << "one, below";
    EXPECT_EQ(c.getPixel(27, 5), 0) << "two away";
    EXPECT_EQ(c.getPixel(25, 8), 0);
    int changed = 0;
    for (Pixel px : p.img.pixels) changed += px != 0;
    EXPECT_EQ(changed, 3 + 12);
}

TEST(DrawTextHalo, TextPixelsNextToEachOtherKeepTheirColour) {
    std::vector<std::pair<int, int>> block;
    for (int y = 3; y < 8; ++y)
        for (int x = 3; x < 8; ++x) block.push_back({x, y});
    Panel p = drawPattern(block);
    for (auto [x, y] : block) EXPECT_EQ(p.canvas.getPixel(22 + x, 2 + y), kLabelColour);
    EXPECT_EQ(p.canvas.getPixel(24, 4), 0x202020) << "the corner's diagonal neighbour";
    EXPECT_EQ(p.canvas.getPixel(24, 6), 0x525252) << "beside three";
}

TEST(DrawTextHalo, ScanCoversEighteenPixelsBeyondTheFullWidthPen) {
    // Pen (20, 2): the scan reaches (38, 20); the cell starts 2 px right of the pen.
    Panel inside = drawPattern({{16, 18}});
    EXPECT_EQ(inside.canvas.getPixel(39, 21), 0x202020);
    Panel beyondRight = drawPattern({{17, 5}});
    EXPECT_EQ(beyondRight.canvas.getPixel(40, 7), 0) << "column 19 is not scanned";
    Panel beyondBottom = drawPattern({{5, 19}});
    EXPECT_EQ(beyondBottom.canvas.getPixel(27, 22), 0) << "row 19 is not scanned";
}

TEST(DrawTextHalo, TextAtTheCanvasEdgeDoesNotReachOutside) {
    Image img(30, 10, 0);
    Canvas c = img.canvas();
    PatternRasterizer r({{-2, 0}, {0, 0}});
    drawText(c, r, kScale, -0.1f, 0, L"現", 1, kLabelColour);  // pen at (0, 0)
    EXPECT_EQ(c.getPixel(0, 0), kLabelColour);
    EXPECT_EQ(c.getPixel(1, 0), 0x3B3B3B) << "next to (0, 0) and to (2, 0)";
}

// ---- the logo on the desktop picture ----

constexpr Pixel kKey = rgb(0, 200, 0);
Image makeLogo() {
    Image logo(246, 60);
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 246; ++x) logo.at(x, y) = (x + y) % 7 == 0 ? kKey : rgb(x % 100, y, 5);
    return logo;
}

TEST(ComposeLogo, EndsTwentyFourLeftAndThirtyTwoAboveTheWorkAreaCorner) {
    constexpr Pixel kMosaic = rgb(70, 74, 78);
    Image screen(1920, 1080, kMosaic);
    Canvas c = screen.canvas();
    const Image logo = makeLogo();
    composeLogo(c, logo, 1920, 1040);
    int covered = 0;
    for (int y = 0; y < 1080; ++y) {
        for (int x = 0; x < 1920; ++x) {
            const bool inside = x >= 1650 && x <= 1895 && y >= 948 && y <= 1007;
            const Pixel got = screen.at(x, y);
            if (!inside) {
                ASSERT_EQ(got, kMosaic) << x << "," << y;
                continue;
            }
            const Pixel l = logo.at(x - 1650, y - 948);
            ASSERT_EQ(got, l == kKey ? kMosaic : kMosaic + l) << x << "," << y;
            covered += l != kKey;
        }
    }
    EXPECT_GT(covered, 246 * 60 * 6 / 7 - 10);
    EXPECT_NE(screen.at(1651, 948), kMosaic) << "the first column holds logo pixels";
    EXPECT_EQ(screen.at(1650, 948), kMosaic) << "a key pixel";
}

TEST(ComposeLogo, OffTheCanvasOrEmptyDrawsNothingOutside) {
    Image screen(100, 100, 0);
    Canvas c = screen.canvas();
    composeLogo(c, makeLogo(), 50, 50);  // mostly above and left of the canvas
    EXPECT_NE(screen.at(0, 0), 0u);
    EXPECT_EQ(screen.at(26, 18), 0u) << "just beyond the logo's last column and row";
    composeLogo(c, Image{}, 50, 50);
    composeLogo(c, makeLogo(), INT32_MIN, INT32_MAX);
}

}  // namespace
