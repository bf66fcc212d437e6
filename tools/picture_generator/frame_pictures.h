// The mosaic tile (40 x 40) and the frame picture (280 x 120, 7 x 3 cells of 40 x 40).
#pragma once

#include "render/canvas.h"

namespace tavro::pictures {

inline constexpr int kTileSize = 40;
inline constexpr int kFrameWidth = 280;
inline constexpr int kFrameHeight = 120;

// The black interior of the frame picture, inclusive.
inline constexpr int kInteriorLeft = 25, kInteriorRight = 254;
inline constexpr int kInteriorTop = 22, kInteriorBottom = 97;

render::Image makeMosaicTile();
render::Image makeFramePicture();

}  // namespace tavro::pictures
