#include "logo.h"

#include <algorithm>
#include <cmath>

#include "lettering.h"
#include "raster.h"

namespace tavro::pictures {

namespace {

// Amounts added to the mosaic grey: the mark in steel blue, the word in a light grey. Each is
// shaded from a softer rim to a brighter core, which reads as a gently raised emblem.
const StrokeShade kMarkShade{{10, 34, 62}, {22, 66, 112}, {30, 84, 126}, 1.2, 2.2, 5.0};
const StrokeShade kMarkInnerShade{{40, 40, 40}, {96, 98, 100}, {112, 114, 116}, 1.0, 2.0, 4.0};
const StrokeShade kWordShade{{44, 44, 46}, {98, 100, 102}, {116, 118, 120}, 1.0, 1.8, 3.0};
// A faint halo around the mark lifts it off the tiles.
constexpr Rgb kHalo{6, 14, 24};

// The mark: a diamond ring (the shape of the clock's sign glyph) around a T.
Shape markRing(Vec2 c, double half, double stroke) {
    auto diamond = [c](double r, double rounding) {
        return Shape::polygon({{c.x, c.y - r}, {c.x + r, c.y}, {c.x, c.y + r}, {c.x - r, c.y}}, rounding);
    };
    // A band `stroke` thick across its sides.
    Shape ring = diamond(half, 2.5);
    ring.subtract(diamond(half - stroke * std::sqrt(2.0), 1.0));
    return ring;
}

Shape markLetter(Vec2 c, double size, double stroke) {
    const double w = size * 0.9, top = c.y - size * 0.5, x0 = c.x - w / 2;
    Shape t = Shape::polygon({{x0, top}, {x0 + w, top}, {x0 + w, top + stroke}, {x0, top + stroke}}, 0.6);
    t.add(Shape::polygon({{c.x - stroke / 2, top + stroke / 2},
                          {c.x + stroke / 2, top + stroke / 2},
                          {c.x + stroke / 2, top + size},
                          {c.x - stroke / 2, top + size}},
                         0.6));
    return t;
}

}  // namespace

render::Image makeLogo() {
    FloatImage logo(kLogoWidth, kLogoHeight);
    const Vec2 markCentre{34, 30};
    constexpr double markHalf = 27, markStroke = 5.2;

    paint(logo, Shape::circle(markCentre, markHalf + 4), [](double depth) {
        return scaled(kHalo, std::min(1.0, depth / 8.0));
    });
    paint(logo, markRing(markCentre, markHalf, markStroke), kMarkShade);
    paint(logo, markLetter({markCentre.x, markCentre.y + 1}, 22, 5.0), kMarkInnerShade);

    constexpr double capHeight = 28, stroke = 5.6, spacing = 7;
    const WordMark probe = tavroWord({0, 0}, capHeight, stroke, spacing);
    const double wordLeft = 76;
    const double room = kLogoWidth - 8 - wordLeft;
    const double left = wordLeft + std::max(0.0, (room - probe.width) / 2);
    const WordMark word = tavroWord({left, 30 - capHeight / 2}, capHeight, stroke, spacing);
    paint(logo, word.shape, kWordShade);

    render::Image out = logo.toImage();
    // Nothing may reach 128 in any component, and the key pixel must stay black.
    for (render::Pixel& p : out.pixels) {
        const int r = std::min<int>((p >> 16) & 0xFF, 127), g = std::min<int>((p >> 8) & 0xFF, 127),
                  b = std::min<int>(p & 0xFF, 127);
        p = render::rgb(r, g, b);
    }
    out.at(0, 0) = 0;
    return out;
}

}  // namespace tavro::pictures
