#include "lettering.h"

#include <cmath>

namespace tavro::pictures {

namespace {

std::vector<Vec2> rect(double x0, double y0, double x1, double y1) { return {{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}}; }

constexpr double kLetterRounding = 0.35;

// Each letter is drawn with its top left at (0, 0) and returns its width.
double letterT(Shape& out, double h, double s) {
    const double w = h * 0.78;
    out.add(Shape::polygon(rect(0, 0, w, s), kLetterRounding));
    out.add(Shape::polygon(rect(w / 2 - s / 2, s / 2, w / 2 + s / 2, h), kLetterRounding));
    return w;
}

// The A is an open chevron, the mirror of the V.
double letterA(Shape& out, double h, double s, bool upsideDown) {
    const double w = h * 0.92;
    // Horizontal thickness of a leg that is s thick across.
    const double legDx = w / 2, legDy = h;
    const double sx = s * std::sqrt(legDx * legDx + legDy * legDy) / legDy;
    Shape legs = Shape::polygon({{0, h}, {sx, h}, {w / 2 + sx / 2, 0}, {w / 2 - sx / 2, 0}}, kLetterRounding);
    legs.add(Shape::polygon({{w, h}, {w - sx, h}, {w / 2 - sx / 2, 0}, {w / 2 + sx / 2, 0}}, kLetterRounding));
    out.add(upsideDown ? legs.mirroredY(h / 2) : legs);
    return w;
}

double letterR(Shape& out, double h, double s) {
    const double w = h * 0.74;
    const double bowl = h * 0.56;           // height of the bowl, outer
    const double r = bowl / 2;              // outer radius of its round side
    const double cx = w - r;                // centre of the round side
    out.add(Shape::polygon(rect(0, 0, s, h), kLetterRounding));
    out.add(Shape::polygon(rect(s / 2, 0, cx + 0.01, s), kLetterRounding));
    out.add(Shape::polygon(rect(s / 2, bowl - s, cx + 0.01, bowl), kLetterRounding));
    Shape arc = Shape::ring({cx, r}, r - s / 2, s / 2);
    arc.cut({-1, 0}, -cx);  // keep x >= cx
    out.add(arc);
    // The leg runs from the bowl's joint to the bottom right corner.
    const double x0 = cx - s * 0.4;
    const double dx = w - s * 0.55 - x0, dy = h - bowl;
    const double sx = s * std::sqrt(dx * dx + dy * dy) / dy * 0.5;
    out.add(Shape::polygon({{x0 - sx, bowl - s / 2}, {x0 + sx, bowl - s / 2}, {w, h}, {w - 2 * sx, h}}, kLetterRounding));
    return w;
}

double letterO(Shape& out, double h, double s) {
    out.add(Shape::ring({h / 2, h / 2}, (h - s) / 2, s / 2));
    return h;
}

}  // namespace

WordMark tavroWord(Vec2 origin, double capHeight, double stroke, double spacing) {
    WordMark mark;
    double x = 0;
    auto place = [&](Shape letter, double width) {
        mark.shape.add(letter.moved({origin.x + x, origin.y}));
        x += width + spacing;
    };
    {
        Shape l;
        const double w = letterT(l, capHeight, stroke);
        place(l, w);
    }
    {
        Shape l;
        const double w = letterA(l, capHeight, stroke, false);
        place(l, w);
    }
    {
        Shape l;
        const double w = letterA(l, capHeight, stroke, true);
        place(l, w);
    }
    {
        Shape l;
        const double w = letterR(l, capHeight, stroke);
        place(l, w);
    }
    {
        Shape l;
        const double w = letterO(l, capHeight, stroke);
        place(l, w);
    }
    mark.width = x - spacing;
    return mark;
}

}  // namespace tavro::pictures
