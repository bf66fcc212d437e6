// GDI label text into the window's DIB canvas, and the Shift-JIS byte counts against the
// system's own conversion.
#include "render/gdi_text_win32.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "render/dib_canvas_win32.h"
#include "render/sjis.h"

using namespace tavro::render;

namespace {
constexpr Pixel kBackground = rgb(0, 0, 0);

std::unique_ptr<DibCanvas> blankCanvas(int w, int h) {
    auto dib = DibCanvas::create(w, h);
    if (dib) {
        Canvas& c = dib->canvas();
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) c.at(x, y) = kBackground;
    }
    return dib;
}

struct Changed {
    int count = 0;
    int otherColours = 0;
    int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;  // inclusive
};
Changed changedPixels(const Canvas& c, ColorRef colour) {
    Changed r;
    for (int y = 0; y < c.height; ++y)
        for (int x = 0; x < c.width; ++x) {
            if ((c.at(x, y) & 0xFFFFFF) == kBackground) continue;
            ++r.count;
            if (c.getPixel(x, y) != colour) ++r.otherColours;
            r.left = std::min(r.left, x);
            r.top = std::min(r.top, y);
            r.right = std::max(r.right, x);
            r.bottom = std::max(r.bottom, y);
        }
    return r;
}

TEST(GdiGlyphRasterizer, DrawsTheCharacterInExactlyTheColourWithoutSmoothing) {
    for (ColorRef colour : {kLabelColour, ColorRef{0x4080C0}}) {
        auto dib = blankCanvas(64, 48);
        ASSERT_TRUE(dib);
        GdiGlyphRasterizer glyphs(dib->dc());
        glyphs.drawGlyph(dib->canvas(), 10, 6, L'現', 16, colour);
        const Changed r = changedPixels(dib->canvas(), colour);
        EXPECT_GT(r.count, 40) << "a 16 px kanji has many pixels";
        EXPECT_EQ(r.otherColours, 0) << "every pixel drawn is the text colour: no anti-aliasing, no byte swap";
        // Within the 16 px cell whose top left is (10, 6).
        EXPECT_GE(r.left, 10);
        EXPECT_LE(r.right, 10 + 15);
        EXPECT_GE(r.top, 6);
        EXPECT_LE(r.bottom, 6 + 15);
        EXPECT_GT(r.right - r.left, 8) << "a full-width glyph";
    }
}

// Without the window font (or its replacement under Wine) every kanji comes out as the same box.
TEST(GdiGlyphRasterizer, DifferentCharactersGiveDifferentPictures) {
    auto pictureOf = [](wchar_t ch) {
        auto dib = blankCanvas(20, 20);
        if (!dib) return std::vector<Pixel>{};
        GdiGlyphRasterizer glyphs(dib->dc());
        glyphs.drawGlyph(dib->canvas(), 2, 2, ch, 16, kLabelColour);
        const Canvas& c = dib->canvas();
        std::vector<Pixel> out;
        for (int y = 0; y < c.height; ++y)
            for (int x = 0; x < c.width; ++x) out.push_back(c.at(x, y) & 0xFFFFFF);
        return out;
    };
    const auto gen = pictureOf(L'現'), zai = pictureOf(L'在'), nen = pictureOf(L'年');
    ASSERT_FALSE(gen.empty());
    EXPECT_NE(gen, zai);
    EXPECT_NE(gen, nen);
    EXPECT_NE(zai, nen);
}

TEST(GdiGlyphRasterizer, IdeographicSpaceDrawsNothing) {
    auto dib = blankCanvas(40, 40);
    ASSERT_TRUE(dib);
    GdiGlyphRasterizer glyphs(dib->dc());
    glyphs.drawGlyph(dib->canvas(), 4, 4, L'　', 16, kLabelColour);
    EXPECT_EQ(changedPixels(dib->canvas(), kLabelColour).count, 0);
}

TEST(GdiGlyphRasterizer, UnitRowGetsItsHaloOnTheCanvas) {
    auto dib = blankCanvas(440, 80);
    ASSERT_TRUE(dib);
    GdiGlyphRasterizer glyphs(dib->dc());
    drawDateUnits(dib->canvas(), glyphs, 0.5f, 2.25f, 1, kLabelColour);
    const Canvas& c = dib->canvas();
    int text = 0, haloOnce = 0, nothingLeftOfYear = 0;
    for (int y = 40; y < 80; ++y)
        for (int x = 0; x < 440; ++x) {
            const ColorRef p = c.getPixel(x, y);
            if (x >= 100 && x < 120) {
                text += p == kLabelColour;
                haloOnce += p == 0x202020;
            }
            if (x < 99) nothingLeftOfYear += p != 0;
        }
    EXPECT_GT(text, 30) << "年 at column 5";
    EXPECT_GT(haloOnce, 10);
    EXPECT_EQ(nothingLeftOfYear, 0) << "the ideographic spaces before it";
}

// shiftJisWidth must agree with WideCharToMultiByte(932), best fit and "?" included.
int systemWidth(const wchar_t* units, int count) {
    char bytes[256];
    return WideCharToMultiByte(932, 0, units, count, bytes, sizeof bytes, nullptr, nullptr);
}

TEST(ShiftJisWidthOnWindows, EveryCodeUnitAgreesWithTheSystemConversion) {
    int differ = 0;
    std::string examples;
    for (unsigned u = 0; u <= 0xFFFF; ++u) {
        if (u >= 0xD800 && u <= 0xDFFF) continue;
        const auto ch = static_cast<wchar_t>(u);
        const int expected = systemWidth(&ch, 1);
        if (shiftJisWidth(ch) != expected) {
            char note[32];
            std::snprintf(note, sizeof note, " U+%04X:%d", u, expected);
            if (++differ <= 20) examples += note;
        }
    }
    EXPECT_EQ(differ, 0) << examples;
}

TEST(ShiftJisWidthOnWindows, LoneSurrogatesAndPairs) {
    for (wchar_t ch : {wchar_t{0xD800}, wchar_t{0xDBFF}, wchar_t{0xDC00}, wchar_t{0xDFFF}})
        EXPECT_EQ(shiftJisWidth(ch), systemWidth(&ch, 1)) << int(ch);
    const std::wstring pair = L"\xD83D\xDE00";
    EXPECT_EQ(shiftJisLength(pair), systemWidth(pair.data(), 2));
}

TEST(ShiftJisWidthOnWindows, LabelsAgreeWithTheSystemConversion) {
    for (const wchar_t* text : {L"現　在　時　刻", L"　　　　年　　月　　日　　時　　分　　秒", L"Aｱ¥·〜"}) {
        const std::wstring s = text;
        EXPECT_EQ(shiftJisLength(s), systemWidth(s.data(), static_cast<int>(s.size()))) << s.size();
    }
}

}  // namespace
