// The client's logo, 246 x 60. It is added pixel by pixel onto the mosaic grey (#464A4E), so
// every colour component stays below 128 and black, its top left pixel, is the "leave alone" key.
#pragma once

#include "render/canvas.h"

namespace tavro::pictures {

inline constexpr int kLogoWidth = 246;
inline constexpr int kLogoHeight = 60;

render::Image makeLogo();

}  // namespace tavro::pictures
