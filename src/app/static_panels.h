// What start-up draws once: the four frames, the captions and the unit labels.
#pragma once

#include "render/canvas.h"
#include "render/text.h"

namespace tavro::app {

void drawStaticPanels(render::Canvas& canvas, const render::Image& frame, render::GlyphRasterizer& glyphs,
                      float drawScale);

}  // namespace tavro::app
