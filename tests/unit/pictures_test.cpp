// The pictures under pictures/ and the fixed geometry the program reads out of them.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "render/bmp.h"
#include "render/canvas.h"
#include "render/stretch.h"

// The generator is compiled in here as well: the native build links it only into make_pictures,
// and the check that the committed files are its output should not depend on that exe.
#include "../../tools/picture_generator/frame_pictures.cpp"
#include "../../tools/picture_generator/glyph_sheet.cpp"
#include "../../tools/picture_generator/icon.cpp"
#include "../../tools/picture_generator/lettering.cpp"
#include "../../tools/picture_generator/logo.cpp"
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

namespace {
bool columnsAlike(const Image& img, int x0, int y0, int w, int h) {
    for (int y = y0; y < y0 + h; ++y)
        for (int x = x0 + 1; x < x0 + w; ++x)
            if (img.at(x, y) != img.at(x0, y)) return false;
    return true;
}
bool rowsAlike(const Image& img, int x0, int y0, int w, int h) {
    for (int y = y0 + 1; y < y0 + h; ++y)
        for (int x = x0; x < x0 + w; ++x)
            if (img.at(x, y) != img.at(x, y0)) return false;
    return true;
}
}  // namespace

TEST(FramePicture, BlackInteriorExactlyInside25To254By22To97) {
    const Image& frame = picture("frame.bmp");
    ASSERT_EQ(frame.width, 280);
    ASSERT_EQ(frame.height, 120);
    for (int y = 0; y < 120; ++y) {
        for (int x = 0; x < 280; ++x) {
            const bool interior = x >= 25 && x <= 254 && y >= 22 && y <= 97;
            ASSERT_EQ(frame.at(x, y) == 0, interior) << x << "," << y;
        }
    }
}

TEST(Logo, SizeKeyAndDimComponents) {
    const Image& logo = picture("logo.bmp");
    ASSERT_EQ(logo.width, 246);
    ASSERT_EQ(logo.height, 60);
    const Pixel key = logo.at(0, 0);
    int keyed = 0;
    for (Pixel p : logo.pixels) {
        ASSERT_LT((p >> 16) & 0xFF, 128u);
        ASSERT_LT((p >> 8) & 0xFF, 128u);
        ASSERT_LT(p & 0xFF, 128u);
        keyed += p == key;
    }
    // Mostly see-through, with a real emblem on it.
    EXPECT_GT(keyed, 246 * 60 / 2);
    EXPECT_GT(246 * 60 - keyed, 246 * 60 / 10);
    // Added onto the mosaic grey the emblem is clearly brighter than the tiles.
    int bright = 0;
    for (Pixel p : logo.pixels) bright += p != key && brightness(p) + 0x4E > 0xA0;
    EXPECT_GT(bright, 500);
}

namespace {
uint32_t le(const std::vector<uint8_t>& b, size_t at, int bytes) {
    uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | b[at + static_cast<size_t>(i)];
    return v;
}
}  // namespace

TEST(ProgramIcon, ThreeSizesOf256ColoursWithAMask) {
    const std::vector<uint8_t> ico = fileBytes(picturePath("tavroclock.ico"));
    ASSERT_GE(ico.size(), 6u + 3 * 16);
    EXPECT_EQ(le(ico, 0, 2), 0u);
    EXPECT_EQ(le(ico, 2, 2), 1u) << "an icon, not a cursor";
    ASSERT_EQ(le(ico, 4, 2), 3u);
    const int sizes[3] = {16, 32, 48};
    for (int i = 0; i < 3; ++i) {
        const size_t e = 6 + 16 * static_cast<size_t>(i);
        const int w = sizes[i];
        EXPECT_EQ(ico[e], w);
        EXPECT_EQ(ico[e + 1], w);
        EXPECT_EQ(le(ico, e + 4, 2), 1u);
        EXPECT_EQ(le(ico, e + 6, 2), 8u);
        const uint32_t bytes = le(ico, e + 8, 4), at = le(ico, e + 12, 4);
        ASSERT_LE(static_cast<size_t>(at) + bytes, ico.size());
        // BITMAPINFOHEADER with the height doubled for the mask, 8 bits, uncompressed.
        EXPECT_EQ(le(ico, at, 4), 40u);
        EXPECT_EQ(le(ico, at + 4, 4), static_cast<uint32_t>(w));
        EXPECT_EQ(le(ico, at + 8, 4), static_cast<uint32_t>(2 * w));
        EXPECT_EQ(le(ico, at + 14, 2), 8u);
        EXPECT_EQ(le(ico, at + 16, 4), 0u);
        const size_t colourStride = (w + 3) / 4 * 4, maskStride = (w + 31) / 32 * 4;
        ASSERT_EQ(bytes, 40 + 256 * 4 + (colourStride + maskStride) * w);
        const size_t palette = at + 40, colours = palette + 256 * 4, mask = colours + colourStride * w;
        // Rows are stored bottom up; a mask bit of 1 hides the pixel.
        auto hidden = [&](int x, int y) {
            return (ico[mask + maskStride * (w - 1 - y) + x / 8] & (0x80 >> (x % 8))) != 0;
        };
        auto colourAt = [&](int x, int y) {
            const size_t p = palette + 4 * ico[colours + colourStride * (w - 1 - y) + x];
            return static_cast<Pixel>(ico[p + 2] << 16 | ico[p + 1] << 8 | ico[p]);
        };
        EXPECT_TRUE(hidden(0, 0) && hidden(w - 1, 0) && hidden(0, w - 1) && hidden(w - 1, w - 1)) << w;
        EXPECT_FALSE(hidden(w / 2, w / 2) || hidden(w / 2, 1) || hidden(1, w / 2)) << w;
        EXPECT_EQ(colourAt(0, 0), 0u) << "hidden pixels are black, so they vanish on any background";
        // The bezel is the display's orange.
        int orange = 0;
        for (int y = 0; y < w; ++y)
            for (int x = 0; x < w; ++x) {
                const Pixel p = colourAt(x, y);
                orange += !hidden(x, y) && ((p >> 16) & 0xFF) > 0xC0 && ((p >> 8) & 0xFF) > 0x70 &&
                          ((p >> 8) & 0xFF) < 0xB0 && (p & 0xFF) < 0x50;
            }
        EXPECT_GT(orange, w) << w;
    }
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
