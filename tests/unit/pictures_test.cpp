// The pictures under pictures/: what the program reads out of them at fixed places. (The frame's
// interior and the logo as they show on the screen: the end-to-end panel and run-command tests.)
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

// The wallpaper is a written BMP: a file that cannot be made is reported, not taken as written.
TEST(Pictures, AFileThatCannotBeMadeIsNotWritten) {
    Image img(2, 2, 0);
    EXPECT_FALSE(tavro::render::writeBmpFile((picturePath("no such folder") + "/x.bmp").c_str(), img.canvas()));
}

TEST(Pictures, CommittedFilesAreTheGeneratorsOutput) {
    const std::vector<tavro::pictures::PictureFile> files = tavro::pictures::makeAllPictures();
    ASSERT_FALSE(files.empty());
    for (const auto& file : files) EXPECT_TRUE(fileBytes(picturePath(file.name)) == file.bytes) << file.name;
}
