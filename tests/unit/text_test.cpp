#include "render/text.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "render/pixel_ops.h"

using namespace tavro::render;

namespace {
constexpr float kScale = 0.5f;

// Their rounding: the halo below (blend) and the logo on the screen (add: the end-to-end run-command test).
TEST(PixelOps, PixelsOutsideTheCanvasAreLeftAlone) {
    Image img(2, 2, 0);
    Canvas c = img.canvas();
    for (auto [x, y] : {std::pair{-1, 0}, std::pair{0, -1}, std::pair{2, 0}, std::pair{0, 2}}) {
        blendPixel(c, x, y, 0xFFFFFF, 1.0f);
        blendPixelIfDiffer(c, x, y, 0xFFFFFF, 1.0f);
        addPixel(c, x, y, 0xFFFFFF, 1.0f);
    }
    EXPECT_EQ(img.pixels, std::vector<Pixel>(4, 0)) << "pixels outside the canvas are left alone";
}

// Draws a fixed set of pixels relative to the top left of the character cell.
struct PatternRasterizer : GlyphRasterizer {
    std::vector<std::pair<int, int>> points;
    void drawGlyph(Canvas& canvas, int x, int y, wchar_t, int, ColorRef colour) override {
        for (auto [dx, dy] : points) canvas.setPixel(x + dx, y + dy, colour);
    }
};
// A full-width character at column 1, row 0: its pen at (20, 2), its cell from (22, 2).
Image drawPattern(std::vector<std::pair<int, int>> points, int w = 440, int h = 100, float x = 0, float y = 1, int size = 1) {
    Image img(w, h, 0);
    Canvas c = img.canvas();
    PatternRasterizer r;
    r.points = std::move(points);
    drawText(c, r, kScale, x, y, L"現", size, kLabelColour);
    return img;
}

TEST(DrawText, EachTextNeighbourPullsAPixelFifteenPercentNearerTheText) {
    // 214 (1 - 0.85^k), rounded at each step: 32, 59, 82 for one, two, three neighbours.
    const Image bar = drawPattern({{5, 5}, {5, 6}, {5, 7}});  // text at (27, 7..9)
    const std::tuple<int, int, ColorRef> pixels[] = {
        {27, 7, kLabelColour}, {27, 8, kLabelColour}, {27, 9, kLabelColour}, {26, 8, 0x525252}, {28, 8, 0x525252},
        {26, 7, 0x3B3B3B}, {28, 9, 0x3B3B3B}, {26, 6, 0x202020}, {27, 6, 0x202020}, {27, 10, 0x202020},
        {27, 5, 0}, {25, 8, 0}};
    for (auto [x, y, p] : pixels) EXPECT_EQ(bar.at(x, y), p) << x << "," << y;
    int changed = 0;
    for (Pixel px : bar.pixels) changed += px != 0;
    EXPECT_EQ(changed, 3 + 12);
    // Text pixels beside text keep their colour.
    std::vector<std::pair<int, int>> block;
    for (int i = 0; i < 25; ++i) block.push_back({3 + i % 5, 3 + i / 5});
    const Image solid = drawPattern(block);
    for (auto [x, y] : block) EXPECT_EQ(solid.at(22 + x, 2 + y), kLabelColour);
    EXPECT_EQ(solid.at(24, 4), 0x202020);
    EXPECT_EQ(solid.at(24, 6), 0x525252);
    // The scan reaches 18 px beyond the pen (to 38, 20), not 19.
    EXPECT_EQ(drawPattern({{16, 18}}).at(39, 21), 0x202020);
    EXPECT_EQ(drawPattern({{17, 5}}).at(40, 7), 0u);
    EXPECT_EQ(drawPattern({{5, 19}}).at(27, 22), 0u);
    // At the canvas edge (pen at 0, 0) nothing reaches outside.
    const Image edge = drawPattern({{-2, 0}, {0, 0}}, 30, 10, -0.1f, 0);
    EXPECT_EQ(edge.at(0, 0), kLabelColour);
    EXPECT_EQ(edge.at(1, 0), 0x3B3B3B);
    // No size or absurd positions draw nothing.
    for (auto [size, x, y] : {std::tuple{0, 0.0f, 1.0f}, {-3, 0.0f, 1.0f}, {1, 1e30f, 1.0f}, {1, 0.0f, -1e30f}})
        EXPECT_EQ(drawPattern({{5, 5}}, 40, 10, x, y, size).pixels, std::vector<Pixel>(400, 0)) << size << " " << x << " " << y;
}

}  // namespace
