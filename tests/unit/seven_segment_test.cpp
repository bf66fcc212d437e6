#include "render/seven_segment.h"
#include "render/stretch.h"

#include <gtest/gtest.h>

#include <set>

using namespace tavro::render;

namespace {
// A sheet whose every glyph cell is one flat colour that names its column and row, so the cell
// that landed on the canvas can be read back after the half-size box filter.
constexpr Pixel kUnlitPoint = rgb(200, 201, 202);
Pixel cellColour(int column, int row) { return rgb(10 + column * 10, 10 + row * 20, 1); }
Pixel litPoint(int row) { return rgb(250, 20 * row, 3); }

Image makeSheet() {
    Image sheet(640, 640, 0);
    for (int y = 0; y < 576; ++y)
        for (int x = 0; x < 608; ++x) sheet.at(x, y) = cellColour(x / 38, y / 64);
    for (int y = 53; y <= 60; ++y)
        for (int x = 611; x <= 618; ++x) sheet.at(x, y) = kUnlitPoint;
    for (int row = 1; row <= 8; ++row)
        for (int y = 64 * row + 50; y < 64 * row + 64; ++y)
            for (int x = 608; x < 622; ++x) sheet.at(x, y) = litPoint(row);
    return sheet;
}

struct Field {
    Image canvasImage{480, 620, 0};
    Canvas canvas = canvasImage.canvas();
    const Image sheet = makeSheet();
    void draw(float x, float y, const std::wstring& t, const std::wstring& text, int colour) {
        draw7seg(canvas, sheet, 0.5f, x, y, t, text, colour);
    }
    Pixel at(int x, int y) const { return canvasImage.at(x, y); }
    // The glyph drawn at a position whose pen is at pixel (px, py): sampled away from the point.
    Pixel glyphAt(int px, int py) const { return at(px + 3, py + 5); }
};

int penX(float gridX, int position) { return static_cast<int>(20 * gridX) + 20 * position; }
int penY(float gridY) { return static_cast<int>(20 * gridY + 14); }
}  // namespace

TEST(Draw7segGeometry, WorkedExampleLandsOnItsRectangles) {
    Field f;
    f.draw(6, 26, L"↓ZZZ0", L"-12", 4);
    // The sign slot: the "↑" of the red row from x 120 (the half pixel of X + 1 falls down) for 19 px.
    for (int y = 534; y < 566; ++y) {
        EXPECT_EQ(f.at(120, y), cellColour(12, 4)) << y;
        EXPECT_EQ(f.at(138, y), cellColour(12, 4)) << y;
        EXPECT_EQ(f.at(139, y), 0u) << "nothing right of the 19-pixel glyph";
    }
    EXPECT_EQ(f.at(125, 533), 0u);
    EXPECT_EQ(f.at(125, 566), 0u);
    EXPECT_EQ(f.glyphAt(140, 534), cellColour(8, 0));
    EXPECT_EQ(f.glyphAt(160, 534), cellColour(8, 0));
    EXPECT_EQ(f.glyphAt(180, 534), cellColour(1, 4));
    EXPECT_EQ(f.glyphAt(200, 534), cellColour(2, 4));
    EXPECT_EQ(f.at(219, 540), 0u) << "the field ends at X = 440, pixel 220";
    // The unlit point of each digit position: 4 x 4 pixels at (+13, +26) of its pen.
    for (int pen : {140, 160, 180, 200}) {
        for (int dy = 0; dy < 4; ++dy)
            for (int dx = 0; dx < 4; ++dx) EXPECT_EQ(f.at(pen + 13 + dx, 534 + 26 + dy), kUnlitPoint);
        EXPECT_NE(f.at(pen + 17, 561), kUnlitPoint);
        EXPECT_NE(f.at(pen + 13, 564), kUnlitPoint);
    }
    EXPECT_NE(f.at(120 + 13, 561), kUnlitPoint) << "the sign slot has no point";
}

TEST(Draw7segFieldText, FormatsByTheTemplate) {
    struct Case {
        const wchar_t* templ;
        const wchar_t* text;
        const wchar_t* field;
    } cases[] = {
        {L"Z0", L"+7", L" 7"},   {L"Z0", L"+12", L"12"},     {L"Z0", L"+123", L"23"}, {L"00", L"+5", L"05"},
        {L"ZZZ0", L"+5", L"   5"}, {L"0000", L"+2024", L"2024"}, {L"Z0", L"-5", L"-5"}, {L"0000", L"+12345", L"2345"},
        {L"0.0", L"+12", L"2.0"}, {L".0", L"+5", L".0"},       {L"00", L"+0", L"00"},  {L"ZZZ0", L"+0", L"   0"},
    };
    for (const Case& c : cases) EXPECT_EQ(formatFieldText(c.templ, c.text), c.field) << c.templ << " " << c.text;
}

TEST(Draw7segSigns, ArrowsFollowTheTemplateAndTheSign) {
    struct Case {
        const wchar_t* templ;
        const wchar_t* text;
        int column;
    } cases[] = {
        {L"↓ZZZ0", L"5", 13}, {L"↓ZZZ0", L"-5", 12}, {L"↑Z0", L"5", 12}, {L"↑Z0", L"-5", 13},
        {L"←Z0", L"+5", 14},  {L"←Z0", L"-5", 15},   {L"→Z0", L"-5", 14}, {L"+Z0", L"-5", 11},
        {L"+Z0", L"5", 10},   {L"-Z0", L"5", 10},    {L"↓Z0", L"←5", 14},
    };
    for (const Case& c : cases) {
        Field f;
        f.draw(1, 1, c.templ, c.text, 3);
        EXPECT_EQ(f.glyphAt(20, 34), cellColour(c.column, 3)) << c.templ << " " << c.text;
        const int lastPosition = static_cast<int>(std::wstring(c.templ).size()) - 1;
        EXPECT_EQ(f.glyphAt(20 + 20 * lastPosition, 34), cellColour(5, 3)) << "the digit ends the field";
    }
}

TEST(Draw7segSigns, PlusAndNoSignShowTheSameAndMinusTakesAPosition) {
    Field a, b, c;
    a.draw(1, 1, L"Z0", L"+7", 2);
    b.draw(1, 1, L"Z0", L"7", 2);
    EXPECT_EQ(a.canvasImage.pixels, b.canvasImage.pixels);
    EXPECT_EQ(a.glyphAt(20, 34), cellColour(8, 0));
    EXPECT_EQ(a.glyphAt(40, 34), cellColour(7, 2));
    c.draw(1, 1, L"Z0", L"-5", 2);
    EXPECT_EQ(c.glyphAt(20, 34), cellColour(11, 2));
    EXPECT_EQ(c.glyphAt(40, 34), cellColour(5, 2));
}

TEST(Draw7segBlank, EmptyTextDrawsUnlitSegmentsWhateverTheColour) {
    Field twoDigits;
    twoDigits.draw(1, 1, L"Z0", L"", 6);
    for (int position = 0; position < 2; ++position) {
        EXPECT_EQ(twoDigits.glyphAt(penX(1, position), penY(1)), cellColour(8, 0));
        EXPECT_EQ(twoDigits.at(penX(1, position) + 14, penY(1) + 27), kUnlitPoint);
    }
    Field countdown;
    countdown.draw(6, 26, L"↓ZZZ0", L"", 4);
    EXPECT_EQ(countdown.glyphAt(120, 534), cellColour(10, 0)) << "the unlit symbol";
    for (int position = 1; position <= 4; ++position)
        EXPECT_EQ(countdown.glyphAt(120 + 20 * position, 534), cellColour(8, 0));
    for (int colour : {0, 1, 2, 7, 8}) {
        Field other;
        other.draw(6, 26, L"↓ZZZ0", L"", colour);
        EXPECT_EQ(other.canvasImage.pixels, countdown.canvasImage.pixels) << colour;
    }
}

TEST(Draw7segPoint, ALitPointLandsOnThePrecedingGlyphAndIsClearedByARedraw) {
    Field f;
    f.draw(1, 1, L"0.0", L"12", 5);
    // "2.0": the point sits 7.5 px left of the pen that follows the "2", 7 x 7 px, 25 px down.
    const int nextPen = penX(1, 1);
    const int top = penY(1) + 25;
    // It is ORed over what the "2" position holds: its glyph and, partly, its unlit point.
    const int twoPen = penX(1, 0);
    for (int dy = 0; dy < 7; ++dy)
        for (int dx = -8; dx < -1; ++dx) {
            const int x = nextPen + dx, y = top + dy;
            const bool onUnlitPoint = x >= twoPen + 13 && x < twoPen + 17 && y >= penY(1) + 26 && y < penY(1) + 30;
            EXPECT_EQ(f.at(x, y), litPoint(5) | (onUnlitPoint ? kUnlitPoint : cellColour(2, 5))) << x << "," << y;
        }
    EXPECT_EQ(f.at(nextPen - 9, top + 3), cellColour(2, 5));
    EXPECT_EQ(f.glyphAt(nextPen, penY(1)), cellColour(0, 5)) << "the point took no position";
    f.draw(1, 1, L"00", L"34", 5);
    std::set<Pixel> seen(f.canvasImage.pixels.begin(), f.canvasImage.pixels.end());
    EXPECT_FALSE(seen.count(litPoint(5) | cellColour(2, 5)));
    EXPECT_FALSE(seen.count(litPoint(5) | kUnlitPoint));

    Field first;
    first.draw(2, 1, L".0", L"5", 1);
    EXPECT_EQ(first.at(40 - 8, penY(1) + 25), litPoint(1)) << "a leading point lands 15 sheet px left of the field";
}

TEST(Draw7segRows, ColourEightIsTheERowAndBadInputStaysOnTheSheet) {
    Field e;
    e.draw(1, 1, L"0", L"4", 8);
    EXPECT_EQ(e.glyphAt(20, 34), cellColour(4, 8));
    Field zero;
    zero.draw(1, 1, L"0", L"0", 8);
    EXPECT_EQ(zero.glyphAt(20, 34), cellColour(0, 8));
    // Colours outside the sheet and characters without a glyph draw an unlit position.
    for (int colour : {-1, 9, 1000}) {
        Field f;
        f.draw(1, 1, L"00", L"42", colour);
        EXPECT_EQ(f.glyphAt(20, 34), cellColour(8, 0)) << colour;
    }
    Field letters;
    letters.draw(1, 1, L"00", L"7x", 2);
    EXPECT_EQ(letters.glyphAt(20, 34), cellColour(7, 2));
    EXPECT_EQ(letters.glyphAt(40, 34), cellColour(8, 0));
}

TEST(StretchCopy, HalvesAverageAndTiesRoundTheSameInEveryColumn) {
    // Two source columns averaging to exactly x.5, stretched to many destination columns.
    Image src(2, 1);
    src.at(0, 0) = rgb(100, 0, 0);
    src.at(1, 0) = rgb(101, 0, 0);
    Image half(1, 1);
    Canvas hc = half.canvas();
    stretchCopy(hc, 0, 0, 1, 1, src, {0, 0, 2, 1});
    EXPECT_EQ(half.at(0, 0), rgb(101, 0, 0)) << "100.5 rounds up";
    // Halved across and stretched 300 times along in one copy, as a frame's side edge is.
    Image tall(1, 300);
    Canvas tc = tall.canvas();
    stretchCopy(tc, 0, 0, 1, 300, src, {0, 0, 2, 1});
    for (int y = 0; y < 300; ++y) EXPECT_EQ(tall.at(0, y), rgb(101, 0, 0)) << y;
}
