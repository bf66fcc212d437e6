#include "app/static_panels.h"

#include "app/layout.h"
#include "render/frames.h"

namespace tavro::app {

void drawStaticPanels(render::Canvas& canvas, const render::Image& frame, render::GlyphRasterizer& glyphs,
                      float drawScale) {
    using namespace render;
    DrawWaku(canvas, frame, drawScale, 1, 0, 22, 3);
    drawTextCenter(canvas, glyphs, drawScale, 0, 11, L"現　在　時　刻", 1, kLabelColour);
    drawDateUnits(canvas, glyphs, drawScale, 2.25f, 1, kLabelColour);
    DrawWaku(canvas, frame, drawScale, 4, 0, 22, 17);
    DrawWaku(canvas, frame, drawScale, 22, 0, 22, 3);
    drawTextCenter(canvas, glyphs, drawScale, 21, 11, L"目　標　時　刻", 1, kLabelColour);
    drawDateUnits(canvas, glyphs, drawScale, 23.25f, 1, kLabelColour);
    DrawWaku(canvas, frame, drawScale, 26, 0, 22, 3);
    drawTextCenter(canvas, glyphs, drawScale, 25, 11, L"到　達　時　間", 1, kLabelColour);
    drawText(canvas, glyphs, drawScale, 27.25f, 1, L"　　　　　　　　　　日　　時　　分　　秒", 1, kLabelColour);
}

}  // namespace tavro::app
