// Stretched copies of a picture rectangle onto the canvas (the StretchBlt of the drawing rules),
// and the filled box.
#pragma once

#include "render/canvas.h"

namespace tavro::render {

enum class RasterOp { Copy, Or };

struct SourceRect {
    int x, y, width, height;
};

// Destination in canvas pixels, fractions allowed. The covered pixels are those from
// floor(dx) to floor(dx + dw) - 1 (likewise vertically), so equal sizes give equal pixel
// counts wherever a piece lands. Shrunk or kept, each covered pixel is the area-weighted
// average of the source pixels under it (a 2 x 2 box at half size); enlarged, it is
// interpolated between the nearest ones (bilinear), each direction on its own; clipped to the canvas.
void stretchCopy(Canvas& dst, double dx, double dy, double dw, double dh, const Image& src, SourceRect from,
                 RasterOp op = RasterOp::Copy);

// Fill the pixels from floor(x0), floor(y0) up to but not including floor(x1), floor(y1).
void fillBox(Canvas& dst, double x0, double y0, double x1, double y1, Pixel colour);

}  // namespace tavro::render
