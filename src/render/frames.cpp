#include "render/frames.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "render/stretch.h"

namespace tavro::render {

namespace {
// Pixel positions beyond this are bad input; keeping well inside int also keeps the stretch's
// floor-and-cast of its destination defined.
constexpr double kFarPixels = 1 << 24;

void mosaicTileByTile(Canvas& canvas, const Image& tile, double stepX, double stepY) {
    const SourceRect whole{0, 0, tile.width, tile.height};
    for (int i = 0; i * stepX <= canvas.width; ++i)
        for (int j = 0; j * stepY <= canvas.height; ++j)
            stretchCopy(canvas, i * stepX, j * stepY, stepX, stepY, tile, whole);
}

// With a whole-pixel step every tile is the same block of pixels, so the block is scaled once and
// each canvas row is one copy of the matching row of a repeated strip.
void mosaicByRows(Canvas& canvas, const Image& tile, int stepX, int stepY) {
    Image scaled(stepX, stepY);
    Canvas scaledCanvas = scaled.canvas();
    stretchCopy(scaledCanvas, 0, 0, stepX, stepY, tile, SourceRect{0, 0, tile.width, tile.height});

    const auto width = static_cast<size_t>(canvas.width);
    std::vector<Pixel> strips(width * static_cast<size_t>(stepY));
    for (int r = 0; r < stepY; ++r)
        for (size_t x = 0; x < width; ++x) strips[r * width + x] = scaled.at(static_cast<int>(x % stepX), r);
    for (int y = 0; y < canvas.height; ++y)
        std::memcpy(&canvas.at(0, y), &strips[static_cast<size_t>(y % stepY) * width], width * sizeof(Pixel));
}

// A view of the part of the canvas from (x0, y0) up to (x1, y1), clipped to the canvas.
struct ClippedView {
    Canvas canvas;
    int originX = 0, originY = 0;
};

ClippedView clip(Canvas& canvas, int x0, int y0, int x1, int y1) {
    const int ax = std::max(x0, 0), ay = std::max(y0, 0);
    const int bx = std::min(x1, canvas.width), by = std::min(y1, canvas.height);
    if (bx <= ax || by <= ay) return {};
    return {Canvas{&canvas.at(ax, ay), bx - ax, by - ay, canvas.stride}, ax, ay};
}
}  // namespace

void paddingMosaic(Canvas& canvas, const Image& tile, float drawScale) {
    if (canvas.width <= 0 || canvas.height <= 0 || tile.empty()) return;
    const double stepX = static_cast<double>(drawScale) * tile.width;
    const double stepY = static_cast<double>(drawScale) * tile.height;
    // Steps under a pixel draw nothing visible and would take forever; NaN fails here too.
    if (!(stepX >= 1.0 && stepY >= 1.0)) return;
    if (stepX == std::floor(stepX) && stepY == std::floor(stepY) && stepX <= kFarPixels && stepY <= kFarPixels)
        mosaicByRows(canvas, tile, static_cast<int>(stepX), static_cast<int>(stepY));
    else
        mosaicTileByTile(canvas, tile, stepX, stepY);
}

void DrawWaku(Canvas& canvas, const Image& frame, float drawScale, int top, int left, int width, int height) {
    if (width < 1 || height < 1) return;
    const double cell = static_cast<double>(drawScale) * kCellSourcePixels;
    if (!(cell > 0.0)) return;
    const double t = top, l = left, w = width, h = height;
    const double px0 = cell * l, py0 = cell * t, px1 = cell * (l + w), py1 = cell * (t + h);
    if (std::max({std::fabs(px0), std::fabs(py0), std::fabs(px1), std::fabs(py1)}) > kFarPixels) return;

    ClippedView view = clip(canvas, static_cast<int>(std::floor(px0)), static_cast<int>(std::floor(py0)),
                            static_cast<int>(std::floor(px1)), static_cast<int>(std::floor(py1)));
    if (view.canvas.pixels == nullptr) return;
    // Shifting by whole pixels keeps every piece on the pixels it covers on the full canvas.
    const double ox = view.originX, oy = view.originY;
    auto copy = [&](int sx, int sy, int sw, int sh, double column, double row, double columns, double rows) {
        stretchCopy(view.canvas, cell * column - ox, cell * row - oy, cell * columns, cell * rows, frame,
                    SourceRect{sx, sy, sw, sh});
    };
    const double last = l + w - 1, bottom = t + h - 1;
    copy(0, 0, 40, 40, l, t, 1, 1);             // top left corner
    copy(0, 80, 40, 40, l, bottom, 1, 1);       // bottom left corner
    copy(240, 0, 40, 40, last, t, 1, 1);        // top right corner
    copy(240, 80, 40, 40, last, bottom, 1, 1);  // bottom right corner
    copy(0, 40, 40, 40, l, t + 1, 1, h - 2);    // left edge
    copy(240, 40, 40, 40, last, t + 1, 1, h - 2);  // right edge
    copy(40, 0, 40, 40, l + 1, t, w - 2, 1);       // top edge
    copy(40, 80, 40, 40, l + 1, bottom, w - 2, 1);  // bottom edge
    copy(80, 80, 120, 40, (l + w) / 2 - 1.5, bottom, 3, 1);  // logo piece, over the bottom edge
    fillBox(view.canvas, cell * (l + 1) - ox, cell * (t + 1) - oy, cell * last - ox, cell * bottom - oy, 0);
}

}  // namespace tavro::render
