// The pictures under pictures/: what the program reads out of them at fixed places.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "render/bmp.h"
#include "render/canvas.h"

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
        for (int c; (c = std::fgetc(f)) != EOF;) bytes.push_back(static_cast<uint8_t>(c));
        std::fclose(f);
    }
    return bytes;
}
Image picture(const std::string& name) { return tavro::render::readBmpFile(picturePath(name).c_str()).value_or(Image()); }
int brightness(Pixel p) { return static_cast<int>(std::max({(p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF})); }
int count(const Image& img, int x0, int y0, int w, int h, bool (*test)(Pixel, Pixel), Pixel arg) {
    int n = 0;
    for (int y = y0; y < y0 + h; ++y)
        for (int x = x0; x < x0 + w; ++x) n += test(img.at(x, y), arg);
    return n;
}
bool equal(Pixel p, Pixel q) { return p == q; }
bool brighterThan(Pixel p, Pixel limit) { return brightness(p) > static_cast<int>(limit); }
}  // namespace

TEST(Pictures, GlyphSheetCellsAtTheirPlacesInTheirRowsColours) {
    const Image sheet = picture("seven_segment.bmp");
    ASSERT_TRUE(sheet.width == 640 && sheet.height == 640);
    EXPECT_EQ(count(sheet, 0, 576, 640, 64, equal, 0), 640 * 64) << "below the nine rows: black";
    EXPECT_EQ(count(sheet, 8 * 38, 512, 640 - 8 * 38, 64, equal, 0), (640 - 8 * 38) * 64) << "row 8: 8 cells only";
    // Body and highlight of rows 1 to 7; row 8 holds an "E" in each of those rows' colours.
    const Pixel body[] = {0, 0x1018DE, 0x00D763, 0x31BEDE, 0xDE0000, 0xDE2094, 0xDE8E21, 0xDEDFDE};
    const Pixel highlight[] = {0, 0x1820FF, 0x00F773, 0x39D7FF, 0xFF0000, 0xFF20A5, 0xFFA629, 0xFFFFFF};
    for (int row = 1; row <= 7; ++row) {
        for (int column = 0; column < 16; ++column) {
            EXPECT_GE(count(sheet, 38 * column, 64 * row, 38, 64, equal, body[row]), 20) << row << "/" << column;
            EXPECT_GE(count(sheet, 38 * column, 64 * row, 38, 64, equal, highlight[row]), 2) << row << "/" << column;
        }
        EXPECT_GE(count(sheet, 38 * row, 512, 38, 64, equal, body[row]), 20) << "E " << row;
    }
    // Unlit: digits 0-9 and the first E-row cell alike, signs 10-15 alike, both dim.
    auto cell = [&](int column, int row) {
        std::vector<Pixel> px;
        for (int y = 0; y < 64; ++y)
            for (int x = 0; x < 38; ++x) px.push_back(sheet.at(38 * column + x, 64 * row + y));
        return px;
    };
    for (int column = 1; column < 16; ++column) EXPECT_EQ(cell(column, 0), cell(column < 10 ? 0 : 10, 0)) << column;
    EXPECT_EQ(cell(0, 8), cell(0, 0));
    EXPECT_NE(cell(0, 0), cell(10, 0));
    EXPECT_EQ(count(sheet, 0, 0, 38, 64, brighterThan, 0x18), 0);
}

TEST(Pictures, FrameInteriorLogoAndIcon) {
    const Image frame = picture("frame.bmp");
    ASSERT_TRUE(frame.width == 280 && frame.height == 120);
    for (int y = 0; y < 120; ++y)
        for (int x = 0; x < 280; ++x)
            ASSERT_EQ(frame.at(x, y) == 0, x >= 25 && x <= 254 && y >= 22 && y <= 97) << x << "," << y;

    // The logo: dim (it is added onto the mosaic), mostly key colour, an emblem brighter than the tiles.
    const Image logo = picture("logo.bmp");
    ASSERT_TRUE(logo.width == 246 && logo.height == 60);
    const Pixel key = logo.at(0, 0);
    const int keyed = count(logo, 0, 0, 246, 60, equal, key);
    EXPECT_EQ(count(logo, 0, 0, 246, 60, brighterThan, 127), 0);
    EXPECT_TRUE(keyed > 246 * 60 / 2 && 246 * 60 - keyed > 246 * 60 / 10) << keyed;
    EXPECT_GT(count(logo, 0, 0, 246, 60, [](Pixel p, Pixel k) { return p != k && brightness(p) + 0x4E > 0xA0; }, key), 500);

    // The icon: 16, 32 and 48 px, 256 colours with a mask hiding the corners, an orange bezel.
    const std::vector<uint8_t> ico = fileBytes(picturePath("tavroclock.ico"));
    auto le = [&](size_t at, int bytes) {
        uint32_t v = 0;
        for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | ico.at(at + static_cast<size_t>(i));
        return v;
    };
    ASSERT_GE(ico.size(), 54u);
    ASSERT_TRUE(le(0, 2) == 0 && le(2, 2) == 1 && le(4, 2) == 3);
    for (int i = 0; i < 3; ++i) {
        const size_t e = 6 + 16 * static_cast<size_t>(i), w = 16 * (static_cast<size_t>(i) + 1);
        const uint32_t bytes = le(e + 8, 4), at = le(e + 12, 4);
        const size_t colourStride = (w + 3) / 4 * 4, maskStride = (w + 31) / 32 * 4;
        EXPECT_TRUE(ico[e] == w && ico[e + 1] == w && le(e + 4, 2) == 1 && le(e + 6, 2) == 8) << w;
        ASSERT_EQ(bytes, 40 + 256 * 4 + (colourStride + maskStride) * w);
        ASSERT_LE(size_t{at} + bytes, ico.size());
        EXPECT_TRUE(le(at, 4) == 40 && le(at + 4, 4) == w && le(at + 8, 4) == 2 * w && le(at + 14, 2) == 8 &&
                    le(at + 16, 4) == 0) << w;
        const size_t palette = at + 40, colours = palette + 256 * 4, mask = colours + colourStride * w;
        auto hidden = [&](size_t x, size_t y) { return (ico[mask + maskStride * (w - 1 - y) + x / 8] & (0x80 >> (x % 8))) != 0; };
        auto colourAt = [&](size_t x, size_t y) { return static_cast<Pixel>(le(palette + 4 * ico[colours + colourStride * (w - 1 - y) + x], 3)); };
        EXPECT_TRUE(hidden(0, 0) && hidden(w - 1, 0) && hidden(0, w - 1) && hidden(w - 1, w - 1)) << w;
        EXPECT_FALSE(hidden(w / 2, w / 2) || hidden(w / 2, 1) || hidden(1, w / 2)) << w;
        EXPECT_EQ(colourAt(0, 0), 0u) << "hidden pixels are black";
        size_t orange = 0;
        for (size_t p = 0; p < w * w; ++p) {
            const Pixel c = colourAt(p % w, p / w);
            orange += !hidden(p % w, p / w) && (c >> 16) > 0xC0 && ((c >> 8) & 0xFF) > 0x70 && ((c >> 8) & 0xFF) < 0xB0 &&
                      (c & 0xFF) < 0x50;
        }
        EXPECT_GT(orange, w) << w;
    }
}

TEST(Pictures, CommittedFilesAreTheGeneratorsOutput) {
    const std::vector<tavro::pictures::PictureFile> files = tavro::pictures::makeAllPictures();
    ASSERT_FALSE(files.empty());
    for (const auto& file : files) EXPECT_TRUE(fileBytes(picturePath(file.name)) == file.bytes) << file.name;
}
