// The static artwork of the window: the mosaic of tiles over the whole canvas and the bevelled
// frames around the display regions, both cut from their pictures and scaled by drawScale.
#pragma once

#include "render/canvas.h"

namespace tavro::render {

// Side of one cell of the frame picture, in picture pixels (the tile is one cell too).
inline constexpr int kCellSourcePixels = 40;

// Covers the canvas with copies of the tile, each scaled by drawScale, anchored at the top left
// corner; the last column and row start at or before the right and bottom edges and are clipped.
void paddingMosaic(Canvas& canvas, const Image& tile, float drawScale);

// One frame over the cells rows top .. top + height - 1 and columns left .. left + width - 1:
// corners, stretched edges, the logo piece of the bottom edge and a black interior. It draws only
// inside its own cells, and nothing for an empty or absurdly placed frame.
void DrawWaku(Canvas& canvas, const Image& frame, float drawScale, int top, int left, int width, int height);

}  // namespace tavro::render
