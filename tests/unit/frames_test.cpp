#include "render/frames.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <functional>
#include <string>
#include <tuple>
#include <utility>

using namespace tavro::render;

namespace {
constexpr Pixel kBackground = rgb(9, 99, 199), kMarker = rgb(250, 1, 1);
using PixelOf = std::function<Pixel(int, int)>;

// Pixels of a rectangle that are not the expected colour.
int mismatches(const Image& img, int x0, int y0, int w, int h, const PixelOf& expected) {
    int bad = 0;
    for (int y = y0; y < y0 + h; ++y)
        for (int x = x0; x < x0 + w; ++x) bad += img.at(x, y) != expected(x - x0, y - y0);
    return bad;
}
PixelOf flat(Pixel p) { return [p](int, int) { return p; }; }
// Pixels changed outside the rectangle (x0, y0)-(x1, y1), exclusive.
int changedOutside(const Image& img, int x0, int y0, int x1, int y1) {
    int n = 0;
    for (int y = 0; y < img.height; ++y)
        for (int x = 0; x < img.width; ++x)
            n += (x < x0 || x >= x1 || y < y0 || y >= y1) && img.at(x, y) != kBackground;
    return n;
}

// A gradient tile whose top left corner is a marker no other pixel has.
Image makeTile(int markerSide) {
    Image tile(40, 40);
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 40; ++x) tile.at(x, y) = x < markerSide && y < markerSide ? kMarker : rgb(4 * x, 4 * y, 77);
    return tile;
}
Image mosaic(int w, int h, const Image& tile, float scale) {
    Image img(w, h, kBackground);
    Canvas c = img.canvas();
    paddingMosaic(c, tile, scale);
    return img;
}

// (The 20 px tiles from the screen's corner, as they show: the end-to-end run-command, panel and
// display tests.)
TEST(PaddingMosaic, TilesFromTheCornerWithoutGapsAtAnyScale) {
    const Image tile = makeTile(2);
    for (auto [w, h] : {std::pair{1913, 1077}, std::pair{7, 3}})
        EXPECT_EQ(mismatches(mosaic(w, h, tile, 0.5f), 0, 0, w, h, flat(kBackground)), w * h) << "nothing left uncovered";
    const Image even = mosaic(100, 60, tile, 0.5f);
    EXPECT_EQ(even.at(99, 59), even.at(19, 19)) << "the last whole tile ends on the corner";
    EXPECT_EQ(even.at(80, 40), kMarker);
    // 13.2 px steps: each tile starts at the floor of its place, and no gaps open.
    const Image fractional = mosaic(131, 57, makeTile(4), 0.33f);
    EXPECT_EQ(mismatches(fractional, 0, 0, 131, 57, flat(kBackground)), 131 * 57);
    for (auto [x, y] : {std::pair{0, 0}, std::pair{13, 13}, std::pair{26, 0}}) EXPECT_EQ(fractional.at(x, y), kMarker);
    // Bad scales or tiles (none, or one under a pixel high) draw nothing.
    for (float scale : {0.0f, -0.5f, 0.01f, NAN}) EXPECT_EQ(changedOutside(mosaic(50, 50, tile, scale), 0, 0, 0, 0), 0);
    for (const Image& bad : {Image{}, Image(40, 1, kMarker)}) EXPECT_EQ(changedOutside(mosaic(50, 50, bad, 0.5f), 0, 0, 0, 0), 0);
    // A tile exactly one pixel high and wide at the scale still covers everything.
    EXPECT_EQ(mismatches(mosaic(5, 5, Image(2, 2, kMarker), 0.5f), 0, 0, 5, 5, flat(kMarker)), 0);
}

// Each 40 px cell of the synthetic frame picture names itself in red; green runs down and blue
// across (4 per source pixel), so a half-size copy of cell (i, j) reads 8 y + 2 and 8 x + 2.
int cellId(int i, int j) { return 10 + 10 * (j * 7 + i); }
PixelOf halfCell(int i, int j, int dx = 0) {
    return [=](int x, int y) { return rgb(cellId(i, j), 8 * y + 2, 8 * (x + dx) + 2); };
}
PixelOf logoPiece(int dx = 0) { return [=](int x, int y) { return halfCell(2 + (x + dx) / 20, 2, 0)((x + dx) % 20, y); }; }
// An edge: one cell stretched tenfold sideways, each pixel between the two source columns nearest
// its centre (blue runs 4 per column), not ten pixels of one column.
PixelOf edge(int i, int j, int dx = 0) {
    return [=](int x, int y) { return rgb(cellId(i, j), 8 * y + 2, int(std::lround(4 * std::clamp((x + dx + 0.5) / 10 - 0.5, 0.0, 39.0)))); };
}

struct FrameCanvas {
    Image img;
    FrameCanvas(int w, int h, int top, int left, int width, int height) : img(w, h, kBackground) {
        static const Image synthetic = [] {
            Image p(280, 120);
            for (int y = 0; y < 120; ++y)
                for (int x = 0; x < 280; ++x) p.at(x, y) = rgb(cellId(x / 40, y / 40), 4 * (y % 40), 4 * (x % 40));
            return p;
        }();
        Canvas c = img.canvas();
        DrawWaku(c, synthetic, 0.5f, top, left, width, height);
    }
};

TEST(DrawWaku, PiecesLandOnTheirRectangles) {
    // Four cells high: the side edges are one cell stretched over two, not repeated.
    const FrameCanvas f(440, 140, 1, 0, 22, 4);
    const auto side = [](int i) -> PixelOf { return [=](int x, int y) { return rgb(cellId(i, 1), 4 * y, 8 * x + 2); }; };
    const struct { int x, y, w, h; PixelOf expected; const char* what; } pieces[] = {
        {0, 20, 20, 20, halfCell(0, 0), "top left"},      {0, 80, 20, 20, halfCell(0, 2), "bottom left"},
        {420, 20, 20, 20, halfCell(6, 0), "top right"},   {420, 80, 20, 20, halfCell(6, 2), "bottom right"},
        {0, 40, 20, 40, side(0), "left edge"},            {420, 40, 20, 40, side(6), "right edge"},
        {20, 20, 400, 20, edge(1, 0), "top edge"},        {20, 80, 170, 20, edge(1, 2), "bottom edge, left"},
        {250, 80, 170, 20, edge(1, 2, 230), "bottom edge, right"}, {190, 80, 60, 20, logoPiece(), "logo piece"},
        {20, 40, 400, 40, flat(0), "black interior"},     {0, 0, 440, 20, flat(kBackground), "row above"},
        {0, 100, 440, 40, flat(kBackground), "rows below"},
    };
    for (const auto& p : pieces) EXPECT_EQ(mismatches(f.img, p.x, p.y, p.w, p.h, p.expected), 0) << p.what;
}

TEST(DrawWaku, OddFramesStayInsideTheirCellsOrDrawNothing) {
    for (auto [w, h] : {std::pair{1, 1}, std::pair{2, 2}, std::pair{1, 3}, std::pair{3, 1}, std::pair{2, 5}, std::pair{4, 3}})
        EXPECT_EQ(changedOutside(FrameCanvas(200, 200, 2, 3, w, h).img, 60, 40, 60 + 20 * w, 40 + 20 * h), 0) << w << "x" << h;
    // 1 x 1 at column 3: the last corner, then the logo piece from half a cell, cut at the cell.
    const FrameCanvas one(200, 200, 2, 3, 1, 1);
    EXPECT_EQ(mismatches(one.img, 60, 40, 10, 20, halfCell(4, 2, 10)), 0);
    EXPECT_EQ(mismatches(one.img, 70, 40, 10, 20, halfCell(6, 2, 10)), 0);
    for (auto [top, left, w, h] : {std::tuple{1, 1, 0, 3}, {1, 1, 3, 0}, {1, 1, -5, 3}, {1, 1, 3, -5},
                                   {INT_MAX, INT_MAX, INT_MAX, INT_MAX}, {INT_MIN, 0, 22, INT_MAX}, {1, INT_MAX - 1, 22, 3}})
        EXPECT_EQ(changedOutside(FrameCanvas(100, 100, top, left, w, h).img, 0, 0, 0, 0), 0) << top << " " << left;
    // Cells -1 to 2 across, -1 to 1 down: clipped; the logo piece covers the visible bottom row.
    const FrameCanvas off(100, 100, -1, -1, 4, 3);
    EXPECT_EQ(mismatches(off.img, 0, 0, 40, 20, flat(0)), 0);
    EXPECT_EQ(mismatches(off.img, 40, 0, 20, 20, halfCell(6, 1)), 0);
    EXPECT_EQ(mismatches(off.img, 0, 20, 60, 20, logoPiece()), 0);
    EXPECT_EQ(changedOutside(off.img, 0, 0, 60, 40), 0);
}

}  // namespace
