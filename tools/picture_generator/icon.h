// The program icon: a small clock in the display's colours, at 16, 32 and 48 pixels,
// written as a Windows .ico of 256-colour images with a transparency mask.
#pragma once

#include <cstdint>
#include <vector>

#include "render/canvas.h"

namespace tavro::pictures {

// One image of the icon: its colours and which pixels show.
struct IconImage {
    render::Image colours;
    std::vector<bool> opaque;  // row by row, true where the pixel is drawn
};

IconImage makeIconImage(int size);

// An 8-bit palette image (at most 256 colours, a nearest-colour mapping otherwise) per entry.
std::vector<uint8_t> encodeIco(const std::vector<IconImage>& images);

std::vector<uint8_t> makeIcon();  // the 16, 32 and 48 pixel images

}  // namespace tavro::pictures
