#include "render/frames.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <fstream>
#include <optional>
#include <string>
#include <tuple>
#include <utility>

#include "render/bmp.h"
#include "render/stretch.h"

using namespace tavro::render;

namespace {
constexpr float kScale = 0.5f;
constexpr Pixel kBackground = rgb(9, 99, 199);

// Counts the pixels of a rectangle that are not the expected colour.
template <typename Expected>
int mismatches(const Image& img, int x0, int y0, int w, int h, Expected expected) {
    int bad = 0;
    for (int y = y0; y < y0 + h; ++y)
        for (int x = x0; x < x0 + w; ++x)
            if (img.at(x, y) != expected(x - x0, y - y0)) ++bad;
    return bad;
}
int mismatches(const Image& img, int x0, int y0, int w, int h, Pixel colour) {
    return mismatches(img, x0, y0, w, h, [colour](int, int) { return colour; });
}

// ---- the mosaic ----

// A tile whose top left block (2 x 2: 1 px at half size) is a marker no other pixel has.
constexpr Pixel kMarker = rgb(250, 1, 1);
Image makeTile(int markerSide = 2) {
    Image tile(40, 40);
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 40; ++x) tile.at(x, y) = rgb(4 * x, 4 * y, 77);
    for (int y = 0; y < markerSide; ++y)
        for (int x = 0; x < markerSide; ++x) tile.at(x, y) = kMarker;
    return tile;
}

struct Marks {
    int count = 0;
    bool allOnGrid = true;
};
Marks markers(const Image& img) {
    Marks m;
    for (int y = 0; y < img.height; ++y)
        for (int x = 0; x < img.width; ++x)
            if (img.at(x, y) == kMarker) {
                ++m.count;
                m.allOnGrid = m.allOnGrid && x % 20 == 0 && y % 20 == 0;
            }
    return m;
}

// Every tile on its own: the inclusive bounds let the last column and row start on the edge.
Image mosaicTileByTile(int w, int h, const Image& tile) {
    Image img(w, h, kBackground);
    Canvas c = img.canvas();
    for (int x = 0; x <= w; x += 20)
        for (int y = 0; y <= h; y += 20) stretchCopy(c, x, y, 20, 20, tile, SourceRect{0, 0, 40, 40});
    return img;
}

Image mosaic(int w, int h, const Image& tile, float scale = kScale) {
    Image img(w, h, kBackground);
    Canvas c = img.canvas();
    paddingMosaic(c, tile, scale);
    return img;
}

TEST(PaddingMosaic, SizeMultipleOfTwentyEndsWithFullTilesAndTheEdgeColumnClippedAway) {
    const Image tile = makeTile();
    const Image img = mosaic(100, 60, tile);
    const Marks m = markers(img);
    EXPECT_EQ(m.count, 5 * 3) << "the tiles starting at x 100 and y 60 lie wholly outside";
    EXPECT_TRUE(m.allOnGrid);
    // The last whole tile ends exactly at the corner: its half-size bottom right pixel is there.
    EXPECT_EQ(img.at(99, 59), img.at(19, 19));
    EXPECT_EQ(img.at(80, 40), kMarker);
    EXPECT_EQ(mismatches(img, 0, 0, 100, 60, kBackground), 100 * 60) << "nothing left uncovered";
}

TEST(PaddingMosaic, SameAsCopyingEveryTileOnItsOwn) {
    const Image tile = makeTile();
    for (auto [w, h] : {std::pair{1913, 1077}, std::pair{1366, 768}, std::pair{7, 3}}) {
        const Image fast = mosaic(w, h, tile);
        const Image reference = mosaicTileByTile(w, h, tile);
        EXPECT_EQ(fast.pixels, reference.pixels) << w << " x " << h;
    }
}

TEST(PaddingMosaic, FractionalStepsStillCoverTheCanvasWithoutGaps) {
    const Image tile = makeTile(4);  // a pixel of a 13.2 px tile covers 3.03 source pixels
    const Image img = mosaic(131, 57, tile, 0.33f);  // 13.2 px steps
    EXPECT_EQ(mismatches(img, 0, 0, 131, 57, kBackground), 131 * 57);
    EXPECT_EQ(img.at(0, 0), kMarker);
    EXPECT_EQ(img.at(13, 13), kMarker) << "tile 1 starts at floor(13.2)";
    EXPECT_EQ(img.at(26, 0), kMarker) << "tile 2 starts at floor(26.4)";
}

TEST(PaddingMosaic, BadInputDrawsNothing) {
    const Image tile = makeTile();
    for (float scale : {0.0f, -0.5f, 0.01f, NAN}) {
        const Image img = mosaic(50, 50, tile, scale);
        EXPECT_EQ(mismatches(img, 0, 0, 50, 50, kBackground), 0) << scale;
    }
    EXPECT_EQ(mismatches(mosaic(50, 50, Image{}), 0, 0, 50, 50, kBackground), 0);
    Image none;
    Canvas c = none.canvas();
    paddingMosaic(c, tile, kScale);  // an empty canvas: nothing to do, no crash
}

// ---- the frames ----

// Every cell of the synthetic frame picture names itself in red; green runs down and blue runs
// across each cell (4 per source pixel), so the placement and the stretch of a piece can be read
// back exactly after the half-size box filter: a plain half-size copy gives 8 r + 2 at row r.
int cellId(int i, int j) { return 10 + 10 * (j * 7 + i); }
Pixel cellPixel(int i, int j, int sx, int sy) { return rgb(cellId(i, j), 4 * sy, 4 * sx); }
Image makeFramePicture() {
    Image p(280, 120);
    for (int y = 0; y < 120; ++y)
        for (int x = 0; x < 280; ++x) p.at(x, y) = cellPixel(x / 40, y / 40, x % 40, y % 40);
    return p;
}
int red(Pixel p) { return static_cast<int>((p >> 16) & 0xFF); }
int green(Pixel p) { return static_cast<int>((p >> 8) & 0xFF); }

// A piece copied at exactly half size: cell (i, j) onto 20 x 20 pixels.
auto halfSize(int i, int j) {
    return [i, j](int x, int y) { return rgb(cellId(i, j), 8 * y + 2, 8 * x + 2); };
}

struct FrameCanvas {
    Image img;
    Canvas canvas;
    const Image picture = makeFramePicture();
    FrameCanvas(int w, int h) : img(w, h, kBackground), canvas(img.canvas()) {}
    void draw(int top, int left, int width, int height) { DrawWaku(canvas, picture, kScale, top, left, width, height); }
};

TEST(DrawWaku, WorkedExamplePiecesLandOnTheirRectangles) {
    FrameCanvas f(440, 120);
    f.draw(1, 0, 22, 3);
    const Image& img = f.img;
    EXPECT_EQ(mismatches(img, 0, 20, 20, 20, halfSize(0, 0)), 0) << "top left corner";
    EXPECT_EQ(mismatches(img, 0, 60, 20, 20, halfSize(0, 2)), 0) << "bottom left corner";
    EXPECT_EQ(mismatches(img, 420, 20, 20, 20, halfSize(6, 0)), 0) << "top right corner";
    EXPECT_EQ(mismatches(img, 420, 60, 20, 20, halfSize(6, 2)), 0) << "bottom right corner";
    EXPECT_EQ(mismatches(img, 0, 40, 20, 20, halfSize(0, 1)), 0) << "left edge";
    EXPECT_EQ(mismatches(img, 420, 40, 20, 20, halfSize(6, 1)), 0) << "right edge";
    // The edges are one source cell stretched tenfold sideways: a tenth of a source column per pixel.
    auto topEdge = [](int x, int y) { return rgb(cellId(1, 0), 8 * y + 2, 4 * (x / 10)); };
    EXPECT_EQ(mismatches(img, 20, 20, 400, 20, topEdge), 0) << "top edge";
    auto bottomEdge = [](int x, int y) { return rgb(cellId(1, 2), 8 * y + 2, 4 * (x / 10)); };
    EXPECT_EQ(mismatches(img, 20, 60, 170, 20, bottomEdge), 0) << "bottom edge left of the logo";
    EXPECT_EQ(mismatches(img, 250, 60, 170, 20, [&](int x, int y) { return bottomEdge(x + 230, y); }), 0)
        << "bottom edge right of the logo";
    auto logo = [](int x, int y) { return rgb(cellId(2 + x / 20, 2), 8 * y + 2, 8 * (x % 20) + 2); };
    EXPECT_EQ(mismatches(img, 190, 60, 60, 20, logo), 0) << "logo piece";
    EXPECT_EQ(mismatches(img, 20, 40, 400, 20, Pixel{0}), 0) << "black interior";
    EXPECT_EQ(mismatches(img, 0, 0, 440, 20, kBackground), 0) << "row above untouched";
    EXPECT_EQ(mismatches(img, 0, 80, 440, 40, kBackground), 0) << "rows below untouched";
}

TEST(DrawWaku, SideEdgesOfTheCalendarFrameAreOneCellStretchedTo300Pixels) {
    FrameCanvas f(440, 440);
    f.draw(4, 0, 22, 17);
    for (int x0 : {0, 420}) {
        const int id = x0 == 0 ? cellId(0, 1) : cellId(6, 1);
        int previous = -1;
        for (int k = 0; k < 300; ++k) {
            const Pixel p = f.img.at(x0 + 7, 100 + k);
            ASSERT_EQ(red(p), id) << k;
            // Stretched, not repeated: green climbs once from the top source row to the bottom one.
            EXPECT_GE(green(p), previous) << k;
            EXPECT_NEAR(green(p), 4.0 * k * 40 / 300, 4.0) << k;
            previous = green(p);
        }
        EXPECT_EQ(green(f.img.at(x0, 100)), 0);
        EXPECT_EQ(green(f.img.at(x0, 399)), 156);
        EXPECT_EQ(mismatches(f.img, x0, 80, 20, 20, halfSize(x0 == 0 ? 0 : 6, 0)), 0) << "top corner";
        EXPECT_EQ(mismatches(f.img, x0, 400, 20, 20, halfSize(x0 == 0 ? 0 : 6, 2)), 0) << "bottom corner";
    }
    EXPECT_EQ(mismatches(f.img, 20, 100, 400, 300, Pixel{0}), 0) << "black interior";
}

// The piece starts at ((left + width) / 2 - 1.5) cells: on a half cell when the sum is even.
int logoStart(const Image& img, int row) {
    for (int x = 0; x < img.width; ++x)
        if (red(img.at(x, row)) == cellId(2, 2)) return x;
    return -1;
}

TEST(DrawWaku, LogoPieceStartsAtHalfTheSumOfLeftAndWidthLessOneAndAHalfCells) {
    {
        FrameCanvas f(480, 120);
        f.draw(1, 0, 22, 3);
        EXPECT_EQ(logoStart(f.img, 70), 190) << "9.5 cells";
        EXPECT_EQ(red(f.img.at(249, 70)), cellId(4, 2));
        EXPECT_EQ(red(f.img.at(250, 70)), cellId(1, 2));
    }
    {
        FrameCanvas f(480, 120);
        f.draw(1, 1, 22, 3);
        EXPECT_EQ(logoStart(f.img, 70), 200) << "(1 + 22) / 2 - 1.5 = 10 cells";
        EXPECT_EQ(mismatches(f.img, 200, 60, 60, 20,
                             [](int x, int y) { return rgb(cellId(2 + x / 20, 2), 8 * y + 2, 8 * (x % 20) + 2); }),
                  0);
    }
    {
        FrameCanvas f(480, 120);
        f.draw(1, 2, 22, 3);
        EXPECT_EQ(logoStart(f.img, 70), 210) << "12 - 1.5 = 10.5 cells";
    }
}

TEST(DrawWaku, RealFramePicture) {
    const std::string path = std::string(TAVRO_SOURCE_DIR) + "/pictures/frame.bmp";
    const std::optional<Image> picture = readBmpFile(path.c_str());
    ASSERT_TRUE(picture.has_value()) << path << " is one of the program's pictures";
    ASSERT_EQ(picture->width, 280);
    ASSERT_EQ(picture->height, 120);
    Image img(440, 120, kBackground);
    Canvas c = img.canvas();
    DrawWaku(c, *picture, kScale, 1, 0, 22, 3);

    auto piece = [&](SourceRect from, int w, int h) {
        Image out(w, h);
        Canvas oc = out.canvas();
        stretchCopy(oc, 0, 0, w, h, *picture, from);
        return out;
    };
    auto matches = [&](int x0, int y0, const Image& expected) {
        return mismatches(img, x0, y0, expected.width, expected.height,
                          [&](int x, int y) { return expected.at(x, y); });
    };
    EXPECT_EQ(matches(0, 20, piece({0, 0, 40, 40}, 20, 20)), 0);
    EXPECT_EQ(matches(0, 60, piece({0, 80, 40, 40}, 20, 20)), 0);
    EXPECT_EQ(matches(420, 20, piece({240, 0, 40, 40}, 20, 20)), 0);
    EXPECT_EQ(matches(420, 60, piece({240, 80, 40, 40}, 20, 20)), 0);
    EXPECT_EQ(matches(0, 40, piece({0, 40, 40, 40}, 20, 20)), 0);
    EXPECT_EQ(matches(420, 40, piece({240, 40, 40, 40}, 20, 20)), 0);
    EXPECT_EQ(matches(20, 20, piece({40, 0, 40, 40}, 400, 20)), 0);
    EXPECT_EQ(matches(190, 60, piece({80, 80, 120, 40}, 60, 20)), 0);
    EXPECT_EQ(mismatches(img, 20, 40, 400, 20, Pixel{0}), 0);
    // The top edge's columns are all alike, so the long stretch shows no seams.
    EXPECT_EQ(mismatches(img, 20, 20, 400, 20, [&](int, int y) { return img.at(20, 20 + y); }), 0);
}

// ---- frames the program never draws ----

// Pixels changed outside the rectangle (x0, y0)-(x1, y1), exclusive.
int changedOutside(const Image& img, int x0, int y0, int x1, int y1) {
    int n = 0;
    for (int y = 0; y < img.height; ++y)
        for (int x = 0; x < img.width; ++x)
            if ((x < x0 || x >= x1 || y < y0 || y >= y1) && img.at(x, y) != kBackground) ++n;
    return n;
}

TEST(DrawWakuOddFrames, SmallFramesStayInsideTheirCells) {
    for (auto [w, h] : {std::pair{1, 1}, std::pair{2, 2}, std::pair{1, 3}, std::pair{3, 1}, std::pair{2, 5},
                        std::pair{4, 3}}) {
        FrameCanvas f(200, 200);
        f.draw(2, 3, w, h);
        EXPECT_EQ(changedOutside(f.img, 60, 40, 60 + 20 * w, 40 + 20 * h), 0) << w << " x " << h;
    }
    // A 1 x 1 frame at column 3: the last corner, then the logo piece from 0.5 cells, cut at the cell.
    FrameCanvas f(200, 200);
    f.draw(2, 3, 1, 1);
    EXPECT_EQ(mismatches(f.img, 60, 40, 10, 20, [](int x, int y) { return halfSize(4, 2)(x + 10, y); }), 0);
    EXPECT_EQ(mismatches(f.img, 70, 40, 10, 20, [](int x, int y) { return halfSize(6, 2)(x + 10, y); }), 0);
}

TEST(DrawWakuOddFrames, EmptyNegativeAndFarFramesDrawNothing) {
    for (auto [top, left, w, h] : {std::tuple{1, 1, 0, 3}, std::tuple{1, 1, 3, 0}, std::tuple{1, 1, -5, 3},
                                   std::tuple{1, 1, 3, -5}, std::tuple{INT_MAX, INT_MAX, INT_MAX, INT_MAX},
                                   std::tuple{INT_MIN, 0, 22, INT_MAX}, std::tuple{1, INT_MAX - 1, 22, 3}}) {
        FrameCanvas f(100, 100);
        f.draw(top, left, w, h);
        EXPECT_EQ(changedOutside(f.img, 0, 0, 0, 0), 0) << top << " " << left << " " << w << " " << h;
    }
}

TEST(DrawWakuOddFrames, FramePartlyOffTheCanvasIsClipped) {
    // Cells -1 to 2 across and -1 to 1 down: the left column and the top row lie off the canvas.
    FrameCanvas f(100, 100);
    f.draw(-1, -1, 4, 3);
    EXPECT_EQ(mismatches(f.img, 0, 0, 40, 20, Pixel{0}), 0) << "interior";
    EXPECT_EQ(mismatches(f.img, 40, 0, 20, 20, halfSize(6, 1)), 0) << "right edge";
    // (-1 + 4) / 2 - 1.5 = 0: the logo piece covers the visible bottom row, corner included.
    EXPECT_EQ(mismatches(f.img, 0, 20, 60, 20,
                         [](int x, int y) { return rgb(cellId(2 + x / 20, 2), 8 * y + 2, 8 * (x % 20) + 2); }),
              0);
    EXPECT_EQ(changedOutside(f.img, 0, 0, 60, 40), 0);
}

}  // namespace
