#include "pictures.h"

#include "glyph_sheet.h"
#include "render/bmp.h"

namespace tavro::pictures {

namespace {
std::vector<uint8_t> bmpOf(render::Image image) { return render::encodeBmp24(image.canvas()); }
}  // namespace

std::vector<PictureFile> makeAllPictures() {
    std::vector<PictureFile> files;
    files.push_back({"seven_segment.bmp", bmpOf(makeGlyphSheet())});
    return files;
}

}  // namespace tavro::pictures
