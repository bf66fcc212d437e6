// The pictures under pictures/ and the fixed geometry the program reads out of them.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "render/bmp.h"
#include "render/canvas.h"
#include "render/stretch.h"

// The generator is compiled in here as well: the native build links it only into make_pictures,
// and the check that the committed files are its output should not depend on that exe.
#include "../../tools/picture_generator/glyph_sheet.cpp"
#include "../../tools/picture_generator/pictures.cpp"
#include "../../tools/picture_generator/raster.cpp"

using tavro::render::Image;
using tavro::render::Pixel;

namespace {

std::string picturePath(const std::string& name) { return std::string(TAVRO_SOURCE_DIR) + "/pictures/" + name; }

std::vector<uint8_t> fileBytes(const std::string& path) {
    std::vector<uint8_t> bytes;
    if (std::FILE* f = std::fopen(path.c_str(), "rb")) {
        uint8_t chunk[65536];
        size_t n;
        while ((n = std::fread(chunk, 1, sizeof chunk, f)) > 0) bytes.insert(bytes.end(), chunk, chunk + n);
        std::fclose(f);
    }
    return bytes;
}

const Image& picture(const std::string& name) {
    static std::vector<std::pair<std::string, Image>> loaded;
    for (const auto& [n, img] : loaded)
        if (n == name) return img;
    std::optional<Image> img = tavro::render::readBmpFile(picturePath(name).c_str());
    loaded.emplace_back(name, img ? std::move(*img) : Image());
    return loaded.back().second;
}

int brightness(Pixel p) { return std::max({(p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF}); }

constexpr int kCellW = 38, kCellH = 64;
constexpr int kUnlitMax = 0x18;  // the brightest unlit grey
constexpr int kLit = 0x60;       // clearly lit

struct RowColours {
    Pixel body, highlight;
};
const std::array<RowColours, 8> kRows = {{
    {0, 0},
    {0x1018DE, 0x1820FF},
    {0x00D763, 0x00F773},
    {0x31BEDE, 0x39D7FF},
    {0xDE0000, 0xFF0000},
    {0xDE2094, 0xFF20A5},
    {0xDE8E21, 0xFFA629},
    {0xDEDFDE, 0xFFFFFF},
}};

Pixel cellPixel(const Image& sheet, int column, int row, int x, int y) {
    return sheet.at(kCellW * column + x, kCellH * row + y);
}

int countColour(const Image& img, int x0, int y0, int w, int h, Pixel colour) {
    int n = 0;
    for (int y = y0; y < y0 + h; ++y)
        for (int x = x0; x < x0 + w; ++x) n += img.at(x, y) == colour;
    return n;
}

bool sameCell(const Image& sheet, int c1, int r1, int c2, int r2) {
    for (int y = 0; y < kCellH; ++y)
        for (int x = 0; x < kCellW; ++x)
            if (cellPixel(sheet, c1, r1, x, y) != cellPixel(sheet, c2, r2, x, y)) return false;
    return true;
}

// Segments a to g as bits 0 to 6: the figures a seven-segment display shows.
constexpr std::array<unsigned, 10> kDigitSegments = {0x3F, 0x06, 0x5B, 0x4F, 0x66, 0x6D, 0x7D, 0x07, 0x7F, 0x6F};
constexpr unsigned kSegmentsOfE = 0x79;

// Which segments are lit in a glyph on screen (the sheet reduced 2:1 as the program draws it),
// read at each segment's middle along the leaning figure.
unsigned litSegmentsAtHalfSize(const Image& half, int column, int row) {
    // Segment middles in the upright figure (x across from its left, y down from row 2), and the lean.
    const double mid[7][2] = {{11, 3.3}, {19.2, 15}, {19.2, 44}, {11, 55.7}, {2.8, 44}, {2.8, 15}, {11, 29.5}};
    unsigned lit = 0;
    for (int s = 0; s < 7; ++s) {
        const double x = kCellW * column + 1 + mid[s][0] + 0.24 * (59 - mid[s][1]);
        const double y = kCellH * row + 2 + mid[s][1];
        if (brightness(half.at(static_cast<int>(x / 2), static_cast<int>(y / 2))) > kLit) lit |= 1u << s;
    }
    return lit;
}

Image halfSize(const Image& sheet) {
    Image half(sheet.width / 2, sheet.height / 2);
    tavro::render::Canvas c = half.canvas();
    tavro::render::stretchCopy(c, 0, 0, half.width, half.height, sheet, {0, 0, sheet.width, sheet.height});
    return half;
}

}  // namespace

TEST(GlyphSheet, SizeAndEmptyAreas) {
    const Image& sheet = picture("seven_segment.bmp");
    ASSERT_EQ(sheet.width, 640);
    ASSERT_EQ(sheet.height, 640);
    EXPECT_EQ(countColour(sheet, 0, 576, 640, 64, 0), 640 * 64) << "rows 576 to 639 are black";
    // Row 8 holds the unlit figure and seven "E"s only.
    EXPECT_EQ(countColour(sheet, 8 * kCellW, 512, 640 - 8 * kCellW, 64, 0), (640 - 8 * kCellW) * 64);
}

TEST(GlyphSheet, EveryLitCellShowsItsRowsBodyAndHighlight) {
    const Image& sheet = picture("seven_segment.bmp");
    ASSERT_FALSE(sheet.empty());
    for (int row = 1; row <= 7; ++row) {
        for (int column = 0; column < 16; ++column) {
            const int x0 = kCellW * column, y0 = kCellH * row;
            EXPECT_GE(countColour(sheet, x0, y0, kCellW, kCellH, kRows[row].body), 20) << row << "/" << column;
            EXPECT_GE(countColour(sheet, x0, y0, kCellW, kCellH, kRows[row].highlight), 2) << row << "/" << column;
        }
        // The "E" of row 8, column `row`, is drawn in that row's colours.
        EXPECT_GE(countColour(sheet, kCellW * row, 512, kCellW, kCellH, kRows[row].body), 20) << "E " << row;
    }
}

TEST(GlyphSheet, DigitsStayInsideTheirCellAndRows2To60) {
    const Image& sheet = picture("seven_segment.bmp");
    ASSERT_FALSE(sheet.empty());
    for (int row = 0; row <= 8; ++row) {
        for (int column = 0; column < 10; ++column) {
            for (int y = 0; y < kCellH; ++y) {
                for (int x = 0; x < kCellW; ++x) {
                    const bool outsideRows = y < 2 || y > 60;
                    const bool onCellEdge = x == 0 || x == kCellW - 1;
                    // The unlit point is copied opaquely over this square after each glyph.
                    const bool underPoint = x >= 25 && x <= 32 && y >= 53 && y <= 60;
                    if (outsideRows || onCellEdge || underPoint) {
                        ASSERT_EQ(cellPixel(sheet, column, row, x, y), 0u)
                            << "row " << row << " column " << column << " at " << x << "," << y;
                    }
                }
            }
        }
    }
    // And they reach both rows 2 and 60.
    int top = 0, bottom = 0;
    for (int x = 0; x < kCellW; ++x) {
        top += brightness(cellPixel(sheet, 8, 7, x, 2)) > kLit;
        bottom += brightness(cellPixel(sheet, 8, 7, x, 60)) > kLit;
    }
    EXPECT_GT(top, 5);
    EXPECT_GT(bottom, 5);
}

TEST(GlyphSheet, UnlitCellsAreAllTheSame) {
    const Image& sheet = picture("seven_segment.bmp");
    ASSERT_FALSE(sheet.empty());
    for (int column = 1; column < 10; ++column) EXPECT_TRUE(sameCell(sheet, 0, 0, column, 0)) << column;
    for (int column = 11; column < 16; ++column) EXPECT_TRUE(sameCell(sheet, 10, 0, column, 0)) << column;
    EXPECT_TRUE(sameCell(sheet, 0, 0, 0, 8)) << "the first cell of the E row is the unlit figure";
    EXPECT_FALSE(sameCell(sheet, 0, 0, 10, 0));
    for (int y = 0; y < kCellH; ++y)
        for (int x = 0; x < kCellW; ++x) ASSERT_LE(brightness(cellPixel(sheet, 0, 0, x, y)), kUnlitMax);
}

TEST(GlyphSheet, UnlitSymbolIsADiamondAroundRow31) {
    const Image& sheet = picture("seven_segment.bmp");
    ASSERT_FALSE(sheet.empty());
    int x0 = kCellW, x1 = -1, y0 = kCellH, y1 = -1;
    for (int y = 0; y < kCellH; ++y) {
        for (int x = 0; x < kCellW; ++x) {
            if (cellPixel(sheet, 10, 0, x, y) == 0) continue;
            x0 = std::min(x0, x), x1 = std::max(x1, x), y0 = std::min(y0, y), y1 = std::max(y1, y);
        }
    }
    EXPECT_GE(x1 - x0 + 1, 33);
    EXPECT_NEAR(y1 - y0 + 1, 37, 2);
    EXPECT_NEAR((y0 + y1) / 2.0, 31, 1);
    // A diamond, not a box: its corners are empty and its middle full.
    EXPECT_EQ(cellPixel(sheet, 10, 0, x0 + 2, y0 + 2), 0u);
    EXPECT_EQ(cellPixel(sheet, 10, 0, x1 - 2, y1 - 2), 0u);
    EXPECT_NE(cellPixel(sheet, 10, 0, 19, 20), 0u);
    EXPECT_NE(cellPixel(sheet, 10, 0, 8, 31), 0u);
}

TEST(GlyphSheet, LitGlyphsLieOverTheUnlitFigure) {
    const Image& sheet = picture("seven_segment.bmp");
    ASSERT_FALSE(sheet.empty());
    // In a "1" the top bar stays unlit: dim but not black.
    for (int row = 1; row <= 7; ++row) {
        const Pixel p = cellPixel(sheet, 1, row, 25, 5);
        EXPECT_GT(brightness(p), 0) << row;
        EXPECT_LE(brightness(p), kUnlitMax) << row;
    }
    // The lit "-" has the dim diamond above and below its bar.
    const Pixel above = cellPixel(sheet, 11, 4, 19, 20);
    EXPECT_GT(brightness(above), 0);
    EXPECT_LE(brightness(above), kUnlitMax);
}

TEST(GlyphSheet, DigitSegmentsReadBackAtHalfSize) {
    const Image& sheet = picture("seven_segment.bmp");
    ASSERT_FALSE(sheet.empty());
    const Image half = halfSize(sheet);
    for (int column = 0; column < 10; ++column) EXPECT_EQ(litSegmentsAtHalfSize(half, column, 0), 0u) << column;
    for (int row = 1; row <= 7; ++row) {
        for (int digit = 0; digit < 10; ++digit)
            EXPECT_EQ(litSegmentsAtHalfSize(half, digit, row), kDigitSegments[digit]) << row << "/" << digit;
        EXPECT_EQ(litSegmentsAtHalfSize(half, row, 8), kSegmentsOfE) << "E " << row;
    }
    // Between segments, even of a full "8", the picture is dark on screen: at the joints of the
    // upright strokes with the middle bar, and across the corners.
    for (int row = 1; row <= 7; ++row) {
        const int x = kCellW * 8, y = kCellH * row;
        const double joints[4][2] = {{2.8, 29.5}, {19.2, 29.5}, {0.6, 0.6}, {21.4, 0.6}};
        for (const auto& j : joints) {
            const double sx = x + 1 + j[0] + 0.24 * (59 - j[1]), sy = y + 2 + j[1];
            EXPECT_LT(brightness(half.at(static_cast<int>(sx / 2), static_cast<int>(sy / 2))), 0x40)
                << row << " at " << j[0] << "," << j[1];
        }
    }
}

TEST(GlyphSheet, BarPlusAndArrows) {
    const Image& sheet = picture("seven_segment.bmp");
    ASSERT_FALSE(sheet.empty());
    auto lit = [&](int column, int x, int y) { return brightness(cellPixel(sheet, column, 6, x, y)) > kLit; };
    // "-": rows 28 to 34 across the whole cell, nothing lit above or below.
    for (int y = 28; y <= 34; ++y)
        for (int x = 1; x < kCellW - 1; ++x) EXPECT_TRUE(lit(11, x, y)) << x << "," << y;
    for (int y = 29; y <= 33; ++y) EXPECT_TRUE(lit(11, 0, y) && lit(11, kCellW - 1, y)) << y;
    for (int x = 0; x < kCellW; ++x) EXPECT_FALSE(lit(11, x, 26) || lit(11, x, 36)) << x;
    // "+": the bar and an upright bar through the middle.
    EXPECT_TRUE(lit(10, 19, 16) && lit(10, 19, 46) && lit(10, 2, 31));
    EXPECT_FALSE(lit(11, 19, 16) || lit(11, 19, 46));
    // "↑" and "↓": head at the top or the bottom, shaft through the middle, nothing at the sides.
    EXPECT_TRUE(lit(12, 19, 15) && lit(12, 8, 26) && lit(12, 19, 45));
    EXPECT_FALSE(lit(12, 8, 37) || lit(12, 2, 31));
    EXPECT_TRUE(lit(13, 19, 48) && lit(13, 8, 37) && lit(13, 19, 18));
    EXPECT_FALSE(lit(13, 8, 26) || lit(13, 2, 31));
    // "←" and "→" run from edge to edge of the cell, head on their side.
    for (int column : {14, 15}) EXPECT_TRUE(lit(column, 0, 31) && lit(column, kCellW - 1, 31)) << column;
    EXPECT_TRUE(lit(14, 10, 23) && !lit(14, 28, 23));
    EXPECT_TRUE(lit(15, 28, 23) && !lit(15, 10, 23));
}

TEST(GlyphSheet, DecimalPoints) {
    const Image& sheet = picture("seven_segment.bmp");
    ASSERT_FALSE(sheet.empty());
    // Row 0: a dim dot inside x 611 to 618, y 53 to 60, touching all four sides of that square.
    int x0 = 640, x1 = 0, y0 = 64, y1 = 0;
    for (int y = 0; y < 64; ++y) {
        for (int x = 608; x < 640; ++x) {
            const Pixel p = sheet.at(x, y);
            if (p == 0) continue;
            EXPECT_LE(brightness(p), kUnlitMax);
            x0 = std::min(x0, x), x1 = std::max(x1, x), y0 = std::min(y0, y), y1 = std::max(y1, y);
        }
    }
    EXPECT_EQ(x0, 611);
    EXPECT_EQ(x1, 618);
    EXPECT_EQ(y0, 53);
    EXPECT_EQ(y1, 60);
    // Rows 1 to 7: the lit dot and its glow inside x 608 to 622, rows 49 to 63; the dot itself in
    // the 14 x 14 square that the program reads at (608, 64 * row + 50).
    for (int row = 1; row <= 7; ++row) {
        for (int y = 0; y < 64; ++y) {
            for (int x = 608; x < 640; ++x) {
                const bool inside = x <= 622 && y >= 49;
                if (!inside) {
                    ASSERT_EQ(sheet.at(x, 64 * row + y), 0u) << row << " at " << x << "," << y;
                }
            }
        }
        EXPECT_GE(countColour(sheet, 608, 64 * row + 50, 14, 14, kRows[row].body), 4) << row;
        EXPECT_GT(brightness(sheet.at(615, 64 * row + 56)), 0xC0) << row;
        EXPECT_GT(brightness(sheet.at(609, 64 * row + 56)), 0) << "glow " << row;
    }
    // Row 8 has no point.
    EXPECT_EQ(countColour(sheet, 608, 512, 32, 64, 0), 32 * 64);
}

TEST(Pictures, CommittedFilesAreTheGeneratorsOutput) {
    const std::vector<tavro::pictures::PictureFile> files = tavro::pictures::makeAllPictures();
    ASSERT_FALSE(files.empty());
    for (const tavro::pictures::PictureFile& file : files) {
        const std::vector<uint8_t> committed = fileBytes(picturePath(file.name));
        EXPECT_EQ(committed.size(), file.bytes.size()) << file.name;
        EXPECT_TRUE(committed == file.bytes) << file.name << " differs from a fresh run of make_pictures";
    }
}
