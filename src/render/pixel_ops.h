// Per-pixel colour operations on the canvas, in pixel coordinates. Colours are 0x00BBGGRR;
// only their low 24 bits count. Pixels outside the canvas are left alone.
#pragma once

#include "render/canvas.h"

namespace tavro::render {

// Each component becomes (1 - alpha) * pixel + alpha * colour, rounded half to even.
void blendPixel(Canvas& canvas, int x, int y, ColorRef colour, float alpha);

// blendPixel, unless the pixel already has the colour: text pixels keep their colour under the halo.
void blendPixelIfDiffer(Canvas& canvas, int x, int y, ColorRef colour, float alpha);

// Each component becomes pixel + alpha * colour, rounded half to even and held at 255.
void addPixel(Canvas& canvas, int x, int y, ColorRef colour, float alpha);

}  // namespace tavro::render
