#include "glyph_sheet.h"

#include <array>
#include <cmath>
#include <initializer_list>
#include <vector>

#include "raster.h"

namespace tavro::pictures {

namespace {

// Digit box inside the 38 x 64 cell. The lean moves the top about 14 px right of the bottom.
// The bottom right must stay left of x 25 up to row 53: the unlit point is copied there as
// an opaque 8 x 8 square after every glyph.
constexpr double kDigitTop = 2.0;
constexpr double kDigitBottom = 61.0;  // rows 2 to 60
constexpr double kLean = 0.24;         // about one pixel every four rows
constexpr double kDigitLeft = 1.0;
constexpr double kDigitWidth = 22.0;
// Upright strokes a little thinner than the bars: the cell is narrow, and this keeps the
// counters open and the bars long enough to read.
constexpr double kUprightStroke = 5.6;
constexpr double kBarStroke = 6.6;
// The dark cut between neighbouring segments: wide enough to leave a dark pixel after the
// 2:1 reduction, so every segment stays separable on screen.
constexpr double kGap = 2.4;
constexpr double kJointSlope = 1.6;
constexpr double kCornerRounding = 0.8;
constexpr double kOuterCornerRadius = 4.5;

enum Segment { A, B, C, D, E, F, G };  // top, upper right, lower right, bottom, lower left, upper left, middle

std::vector<Vec2> mirroredU(std::vector<Vec2> pts, double w) {
    for (Vec2& p : pts) p.x = w - p.x;
    return pts;
}
std::vector<Vec2> mirroredV(std::vector<Vec2> pts, double h) {
    for (Vec2& p : pts) p.y = h - p.y;
    return pts;
}

// Segment outlines in upright digit coordinates (u across, v down, origin at the top left).
// The corners are split along their diagonal; the middle joints are pointed.
std::array<std::vector<Vec2>, 7> segmentOutlines() {
    const double w = kDigitWidth, h = kDigitBottom - kDigitTop, tv = kUprightStroke, th = kBarStroke;
    const double vm = h / 2;
    // Shifts that open a cut of kGap across the corner diagonal (tv, th) ...
    const double du = kGap * std::sqrt(tv * tv + th * th) / (2 * th);
    const double dv = du * th / tv;
    // The middle joints have faces steeper than 45 degrees (slope k), which leaves the middle
    // bar longer. Upright tips end sv above and below the middle line; the bar's tips end su
    // inside, so that each face pair is kGap apart.
    const double k = kJointSlope;
    const double sv = kGap / 2;
    const double su = (kGap * std::sqrt(k * k + 1) - sv) / k;
    std::array<std::vector<Vec2>, 7> seg;
    seg[A] = {{du, 0}, {w - du, 0}, {w - tv - du, th}, {tv + du, th}};
    seg[F] = {{0, dv}, {tv, th + dv}, {tv, vm - sv - k * tv / 2}, {tv / 2, vm - sv}, {0, vm - sv - k * tv / 2}};
    const double bar0 = tv / 2 + su, bar1 = w - tv / 2 - su, reach = th / (2 * k);
    seg[G] = {{bar0, vm},         {bar0 + reach, vm - th / 2}, {bar1 - reach, vm - th / 2},
              {bar1, vm},         {bar1 - reach, vm + th / 2}, {bar0 + reach, vm + th / 2}};
    seg[B] = mirroredU(seg[F], w);
    seg[E] = mirroredV(seg[F], h);
    seg[C] = mirroredU(seg[E], w);
    seg[D] = mirroredV(seg[A], h);
    return seg;
}

Shape digitShape(unsigned segmentMask) {
    const auto outlines = segmentOutlines();
    Shape shape;
    for (int i = 0; i < 7; ++i) {
        if (!(segmentMask & (1u << i))) continue;
        std::vector<Vec2> pts;
        for (const Vec2& p : outlines[static_cast<size_t>(i)]) pts.push_back({p.x + kDigitLeft, p.y + kDigitTop});
        shape.add(Shape::polygon(pts, kCornerRounding));
    }
    // The outer corners of the figure are rounded as one stroke would be.
    shape.intersect(Shape::polygon(Shape::roundedBoxOutline(kDigitLeft, kDigitTop, kDigitLeft + kDigitWidth,
                                                            kDigitBottom, kOuterCornerRadius)));
    return shape.sheared(kLean, kDigitBottom);
}

constexpr unsigned seg(std::initializer_list<Segment> list) {
    unsigned m = 0;
    for (Segment s : list) m |= 1u << s;
    return m;
}

constexpr std::array<unsigned, 10> kDigitSegments = {
    seg({A, B, C, D, E, F}), seg({B, C}),          seg({A, B, D, E, G}),    seg({A, B, C, D, G}),
    seg({B, C, F, G}),       seg({A, C, D, F, G}), seg({A, C, D, E, F, G}), seg({A, B, C}),
    seg({A, B, C, D, E, F, G}), seg({A, B, C, D, F, G}),
};
constexpr unsigned kAllSegments = seg({A, B, C, D, E, F, G});
constexpr unsigned kLetterE = seg({A, D, E, F, G});

// The symbols stand upright and share one centre, so that together they make a diamond.
constexpr double kSymbolCentreX = kGlyphWidth / 2.0;
constexpr double kSymbolCentreY = 31.5;
constexpr double kBarHalf = 3.5;                   // "-" covers rows 28 to 34
constexpr double kDiamondHalfHeight = 18.5;        // rows 13 to 49
constexpr double kHeadLength = 16.0;
constexpr double kSymbolRounding = 0.9;
// The shaft reaches deep into the head, so that no shading rim shows where the two meet.
constexpr double kShaftOverlap = 8.0;

std::vector<Vec2> box(double x0, double y0, double x1, double y1) { return {{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}}; }

// Full width; the ends run past the cell and are cut square by it, so neighbours line up.
Shape barShape() {
    return Shape::polygon(box(-2, kSymbolCentreY - kBarHalf, kGlyphWidth + 2, kSymbolCentreY + kBarHalf),
                          kSymbolRounding);
}

Shape plusShape() {
    Shape s = barShape();
    s.add(Shape::polygon(box(kSymbolCentreX - kBarHalf, kSymbolCentreY - kDiamondHalfHeight - 0.5,
                             kSymbolCentreX + kBarHalf, kSymbolCentreY + kDiamondHalfHeight + 0.5),
                         kSymbolRounding));
    return s;
}

// Up arrow: the head's sides lie on the diamond's edges.
Shape upArrowShape() {
    const double cx = kSymbolCentreX, top = kSymbolCentreY - kDiamondHalfHeight;
    const double halfWidth = kHeadLength * kSymbolCentreX / kDiamondHalfHeight;
    const double base = top + kHeadLength;
    // The tip is set a little beyond the diamond so that the rounding leaves it on the diamond.
    Shape s = Shape::polygon({{cx, top - 0.9}, {cx + halfWidth + 0.6, base}, {cx - halfWidth - 0.6, base}},
                             kSymbolRounding);
    s.add(Shape::polygon(box(cx - kBarHalf, base - kShaftOverlap, cx + kBarHalf, kSymbolCentreY + kDiamondHalfHeight),
                         kSymbolRounding));
    return s;
}

// Left arrow: tip on the cell's left edge, shaft out through the right edge.
Shape leftArrowShape() {
    const double cy = kSymbolCentreY;
    const double halfHeight = kHeadLength * kDiamondHalfHeight / kSymbolCentreX;
    Shape s = Shape::polygon({{-0.9, cy}, {kHeadLength, cy - halfHeight - 0.6}, {kHeadLength, cy + halfHeight + 0.6}},
                             kSymbolRounding);
    s.add(Shape::polygon(box(kHeadLength - kShaftOverlap, cy - kBarHalf, kGlyphWidth + 2, cy + kBarHalf), kSymbolRounding));
    return s;
}

Rgb hex(unsigned v) { return rgbOf(static_cast<render::Pixel>(v)); }

struct RowColours {
    Rgb body, core;
};

// Rows 1 to 7 of the sheet.
const std::array<RowColours, 7> kLitRows = {{
    {hex(0x1018DE), hex(0x1820FF)},
    {hex(0x00D763), hex(0x00F773)},
    {hex(0x31BEDE), hex(0x39D7FF)},
    {hex(0xDE0000), hex(0xFF0000)},
    {hex(0xDE2094), hex(0xFF20A5)},
    {hex(0xDE8E21), hex(0xFFA629)},
    {hex(0xDEDFDE), hex(0xFFFFFF)},
}};

StrokeShade unlitShade() { return {hex(0x080808), hex(0x101010), hex(0x181818)}; }
StrokeShade litShade(const RowColours& c) { return {scaled(c.body, 0.5), c.body, c.core, 0.8, 1.5, 2.3}; }


// Sheet columns 10 to 15: "+", "-", "↑", "↓", "←", "→".
Shape symbolShape(int column) {
    switch (column) {
        case 10: return plusShape();
        case 11: return barShape();
        case 12: return upArrowShape();
        case 13: return upArrowShape().mirroredY(kSymbolCentreY);
        case 14: return leftArrowShape();
        default: return leftArrowShape().mirroredX(kGlyphWidth / 2.0);
    }
}

// The diamond itself fills the gaps between the heads, so the dim figure is one smooth shape.
Shape unlitSymbolShape() {
    const double cx = kSymbolCentreX, cy = kSymbolCentreY;
    Shape s = Shape::polygon(
        {{-0.9, cy}, {cx, cy - kDiamondHalfHeight - 0.9}, {kGlyphWidth + 0.9, cy}, {cx, cy + kDiamondHalfHeight + 0.9}},
        kSymbolRounding);
    for (int column = 10; column <= 15; ++column) s.add(symbolShape(column));
    return s;
}

// One cell: the faint unlit figure, and the lit one over it.
render::Image glyphCell(const Shape& unlit, const Shape* lit, const StrokeShade* litShadeOrNull) {
    FloatImage cell(kGlyphWidth, kGlyphHeight);
    paint(cell, unlit, unlitShade());
    if (lit && litShadeOrNull) paint(cell, *lit, *litShadeOrNull);
    return cell.toImage();
}

void blit(render::Image& sheet, const render::Image& piece, int x, int y) {
    for (int j = 0; j < piece.height; ++j)
        for (int i = 0; i < piece.width; ++i) sheet.at(x + i, y + j) = piece.at(i, j);
}

// The point column: the dim dot of row 0 and a glowing dot for each lit row.
constexpr Vec2 kUnlitPointCentre{615.0 - kPointColumnX, 57.0};  // x 611 to 618, y 53 to 60
constexpr Vec2 kLitPointCentre{615.5 - kPointColumnX, 56.5};    // glow x 608 to 622, y 49 to 63
constexpr double kPointColumnWidth = kSheetSize - kPointColumnX;

render::Image unlitPoint() {
    FloatImage cell(static_cast<int>(kPointColumnWidth), kGlyphHeight);
    StrokeShade shade = unlitShade();
    shade.rimDepth = 0.9;
    shade.bodyDepth = 1.6;
    shade.coreDepth = 3.2;
    paint(cell, Shape::circle(kUnlitPointCentre, 4.0), shade);
    return cell.toImage();
}

render::Image litPoint(const RowColours& colours) {
    FloatImage cell(static_cast<int>(kPointColumnWidth), kGlyphHeight);
    constexpr double glowRadius = 7.5, dotRadius = 4.0;
    const Rgb body = colours.body;
    paint(cell, Shape::circle(kLitPointCentre, glowRadius), [body](double depth) {
        const double t = depth / (glowRadius - dotRadius);
        return scaled(body, 0.42 * t * t);
    });
    StrokeShade shade = litShade(colours);
    shade.rimDepth = 0.9;
    shade.bodyDepth = 1.5;
    shade.coreDepth = 3.0;
    paint(cell, Shape::circle(kLitPointCentre, dotRadius), shade);
    return cell.toImage();
}

}  // namespace

render::Image makeGlyphSheet() {
    render::Image sheet(kSheetSize, kSheetSize, 0);
    const Shape unlitEight = digitShape(kAllSegments);
    const Shape unlitSymbol = unlitSymbolShape();

    const render::Image unlitDigitCell = glyphCell(unlitEight, nullptr, nullptr);
    const render::Image unlitSymbolCell = glyphCell(unlitSymbol, nullptr, nullptr);
    for (int k = 0; k < 16; ++k) blit(sheet, k < 10 ? unlitDigitCell : unlitSymbolCell, kGlyphWidth * k, 0);
    blit(sheet, unlitPoint(), kPointColumnX, 0);

    for (int row = 1; row <= 7; ++row) {
        const StrokeShade shade = litShade(kLitRows[static_cast<size_t>(row - 1)]);
        for (int k = 0; k < 16; ++k) {
            const Shape lit = k < 10 ? digitShape(kDigitSegments[static_cast<size_t>(k)]) : symbolShape(k);
            blit(sheet, glyphCell(k < 10 ? unlitEight : unlitSymbol, &lit, &shade), kGlyphWidth * k, kGlyphHeight * row);
        }
        blit(sheet, litPoint(kLitRows[static_cast<size_t>(row - 1)]), kPointColumnX, kGlyphHeight * row);
    }

    // Row 8: the error row. Column 0 unlit, columns 1 to 7 an "E" in the colours of rows 1 to 7.
    constexpr int errorRow = 8;
    blit(sheet, unlitDigitCell, 0, kGlyphHeight * errorRow);
    const Shape letterE = digitShape(kLetterE);
    for (int k = 1; k <= 7; ++k) {
        const StrokeShade shade = litShade(kLitRows[static_cast<size_t>(k - 1)]);
        blit(sheet, glyphCell(unlitEight, &letterE, &shade), kGlyphWidth * k, kGlyphHeight * errorRow);
    }
    return sheet;
}

}  // namespace tavro::pictures
