#include "render/seven_segment.h"
#include "render/stretch.h"

#include <gtest/gtest.h>

#include <string>

using namespace tavro::render;

namespace {
// Every glyph cell of this sheet is one flat colour naming its column and row, so the cell that
// landed on the canvas can be read back after the half-size box filter.
constexpr Pixel kUnlitPoint = rgb(200, 201, 202);
Pixel cellColour(int column, int row) { return rgb(10 + column * 10, 10 + row * 20, 1); }

struct Field {
    Image img{480, 620, 0};
    Field(float x, float y, const std::wstring& t, const std::wstring& text, int colour) {
        static const Image sheet = [] {
            Image s(640, 640, 0);
            for (int y = 0; y < 576; ++y)
                for (int x = 0; x < 608; ++x) s.at(x, y) = cellColour(x / 38, y / 64);
            for (int y = 53; y <= 60; ++y)
                for (int x = 611; x <= 618; ++x) s.at(x, y) = kUnlitPoint;
            return s;
        }();
        Canvas c = img.canvas();
        draw7seg(c, sheet, 0.5f, x, y, t, text, colour);
    }
    Pixel at(int x, int y) const { return img.at(x, y); }
    // The glyph whose pen is at pixel (px, py), sampled away from its point.
    Pixel glyphAt(int px, int py) const { return at(px + 3, py + 5); }
};
}  // namespace

TEST(Draw7seg, FieldTextFollowsTheTemplate) {
    const wchar_t* cases[][3] = {
        {L"Z0", L"+7", L" 7"},      {L"Z0", L"+12", L"12"},       {L"Z0", L"+123", L"23"}, {L"00", L"+5", L"05"},
        {L"0.0", L"+1.5.", L".5."}, {L"0000", L"+2024", L"2024"}, {L"Z0", L"-5", L"-5"},   {L"0000", L"+12345", L"2345"},  // 1.5.: no number, as it is
        {L"0.0", L"+12", L"2.0"},   {L".0", L"+5", L".0"},        {L"00", L"+0", L"00"},   {L"ZZZ0", L"+0", L"   0"},
        {L"Z0", L"7", L" 7"},       {L"0.0", L"+2.05", L"2.1"},   {L"0.0", L"+0.96", L"1.0"},  // signless, as the clock gives it; a 0 decimal; a carry
    };
    for (auto& c : cases) EXPECT_EQ(formatFieldText(c[0], c[1]), c[2]) << c[0] << " " << c[1];
}

// The glyphs and colours of the fields the clock draws (digits, blanks, the ↓ and ↑ signs, unlit
// fields): the end-to-end tests read them off the screen with the glyph sheet as the font. They
// leave out the decimal points, drawn here.
TEST(Draw7seg, AnEmptyFieldShowsTheUnlitPointOfEachDigitPosition) {
    // An empty field shows the unlit point (4 x 4 px at +13, +26 of the pen) of every digit
    // position, none beside the sign, and nothing left of its pen (the glyph is half a pixel in).
    const Field blank(1, 1, L"↓Z0", L"", 6);
    EXPECT_TRUE(blank.at(53, 61) == kUnlitPoint && blank.at(76, 63) == kUnlitPoint && blank.at(33, 61) != kUnlitPoint);
    EXPECT_TRUE(blank.at(19, 40) == 0 && blank.at(20, 40) != 0);
    // A lit glyph in the colour's row; the sign's arrow turns for a negative value.
    const Field lit(1, 1, L"↓Z0", L"-5", 4);
    EXPECT_TRUE(lit.glyphAt(20, 34) == cellColour(12, 4) && lit.glyphAt(60, 34) == cellColour(5, 4));
    // A sheet narrower than the glyph sheet (a picture that is not it) draws nothing.
    Image img(100, 100, 0);
    Canvas c = img.canvas();
    EXPECT_FALSE(draw7seg(c, Image(639, 640, 1), 0.5f, 1, 1, L"00", L"12", 6).any);
}

TEST(StretchCopy, HalvesRoundTiesUpInALongStretchAndNeverReadsOutsideThePicture) {
    Image src(2, 1);
    src.at(0, 0) = rgb(100, 0, 0);
    src.at(1, 0) = rgb(101, 0, 0);
    for (int h : {1, 300}) {  // 300: halved across and stretched along at once, as a frame's side edge
        Image out(1, h);
        Canvas c = out.canvas();
        stretchCopy(c, 0, 0, 1, h, src, {0, 0, 2, 1});
        for (int y = 0; y < h; ++y) EXPECT_EQ(out.at(0, y), rgb(101, 0, 0)) << y;
    }
    // Never read outside the picture (one that failed to load is empty): nothing is drawn.
    for (const Image& from : {src, Image{}})
        for (SourceRect r : {SourceRect{1, 0, 2, 1}, {0, 0, 2, 2}, {-1, 0, 2, 1}, {0, -1, 2, 1}}) {
            Image out(1, 1, 7);
            Canvas c = out.canvas();
            stretchCopy(c, 0, 0, 1, 1, from, r);
            EXPECT_EQ(out.at(0, 0), 7u) << r.x << "," << r.y << " " << r.width << "x" << r.height;
        }
}
