#include "pictures.h"

#include "frame_pictures.h"
#include "glyph_sheet.h"
#include "icon.h"
#include "logo.h"
#include "render/bmp.h"

namespace tavro::pictures {

namespace {
std::vector<uint8_t> bmpOf(render::Image image) { return render::encodeBmp24(image.canvas()); }
}  // namespace

std::vector<PictureFile> makeAllPictures() {
    std::vector<PictureFile> files;
    files.push_back({"seven_segment.bmp", bmpOf(makeGlyphSheet())});
    files.push_back({"mosaic_tile.bmp", bmpOf(makeMosaicTile())});
    files.push_back({"frame.bmp", bmpOf(makeFramePicture())});
    files.push_back({"logo.bmp", bmpOf(makeLogo())});
    files.push_back({"tavroclock.ico", makeIcon()});
    return files;
}

}  // namespace tavro::pictures
