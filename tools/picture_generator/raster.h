// Anti-aliased drawing of vector shapes for the generated pictures.
//
// Shapes are signed distance fields (negative inside), so one description gives both the
// coverage of each pixel (for soft edges) and the depth of its centre inside the shape (for the
// shading of strokes: dark rim, body colour, bright core). Only +, -, *, / and sqrt are used,
// so the pictures come out bit-identical on every build.
#pragma once

#include <functional>
#include <vector>

#include "render/canvas.h"

namespace tavro::pictures {

struct Vec2 {
    double x = 0, y = 0;
};

struct Rgb {
    double r = 0, g = 0, b = 0;  // 0 to 255
};

Rgb rgbOf(render::Pixel p);
render::Pixel pixelOf(Rgb c);  // rounded and clamped
Rgb mix(Rgb a, Rgb b, double t);
Rgb scaled(Rgb c, double f);

// One convex or concave piece of a shape.
struct ShapePart {
    enum class Kind { Polygon, Capsule, Ring };
    Kind kind = Kind::Polygon;
    std::vector<Vec2> points;  // polygon vertices, or the capsule's two ends
    double radius = 0;         // polygon: corner rounding; capsule: half thickness; ring: centre-line radius
    double halfWidth = 0;      // ring: half the stroke width
    Vec2 centre;               // ring
    double ringScaleX = 1;     // ring: horizontal stretch (an ellipse, distances approximate)
    // Half-planes a point must lie in (a.x * x + a.y * y <= c); used to cut rings into arcs.
    struct Cut {
        Vec2 normal;
        double offset;
    };
    std::vector<Cut> cuts;
};

class Shape {
public:
    Shape() = default;

    // A polygon whose corners are rounded with the given radius; the outline stays where it is.
    static Shape polygon(std::vector<Vec2> points, double rounding = 0);
    static Shape capsule(Vec2 a, Vec2 b, double halfThickness);
    static Shape circle(Vec2 centre, double radius);
    // A ring stroke around centre; scaleX > 1 stretches it sideways.
    static Shape ring(Vec2 centre, double radius, double halfWidth, double scaleX = 1);

    // Keep only the last part's points with normal.x * x + normal.y * y <= offset.
    Shape& cut(Vec2 normal, double offset);
    Shape& add(const Shape& other);
    // Keep only what also lies inside clip (one clip per shape; a later one replaces it).
    Shape& intersect(const Shape& clip);
    // Take away what lies inside hole (one hole per shape; a later one replaces it).
    Shape& subtract(const Shape& hole);
    Shape moved(Vec2 by) const;
    // Reflections about the vertical line x = axis, or the horizontal line y = axis.
    Shape mirroredX(double axis) const;
    Shape mirroredY(double axis) const;
    // x' = x + factor * (baseline - y): the italic lean of the digits.
    Shape sheared(double factor, double baseline) const;

    double distance(Vec2 p) const;
    bool empty() const { return parts_.empty(); }
    // Bounding box, grown by margin.
    void bounds(double margin, double& x0, double& y0, double& x1, double& y1) const;

    // A polygon for a rectangle with rounded corners (each arc of `steps` straight pieces).
    static std::vector<Vec2> roundedBoxOutline(double x0, double y0, double x1, double y1, double radius, int steps = 8);

private:
    template <class F>
    Shape transformed(F&& f) const;
    std::vector<ShapePart> parts_;
    std::vector<ShapePart> clip_;
    std::vector<ShapePart> hole_;
};

// A picture being drawn, in floating point so that layers blend without rounding steps.
class FloatImage {
public:
    FloatImage(int width, int height, Rgb fill = {});
    int width() const { return width_; }
    int height() const { return height_; }
    Rgb& at(int x, int y) { return pixels_[static_cast<size_t>(y) * width_ + x]; }
    const Rgb& at(int x, int y) const { return pixels_[static_cast<size_t>(y) * width_ + x]; }
    render::Image toImage() const;

private:
    int width_, height_;
    std::vector<Rgb> pixels_;
};

// Fraction of the pixel with top left (px, py) covered by the shape (8 x 8 samples).
double coverage(const Shape& shape, int px, int py);

// Colour at a depth (in pixels) inside a shape; the depth is 0 at the outline.
using DepthColour = std::function<Rgb(double depth)>;

// Blend the shape over the picture: each touched pixel gets colourAt(depth of its centre),
// weighted by the pixel's coverage.
void paint(FloatImage& image, const Shape& shape, const DepthColour& colourAt);
void paint(FloatImage& image, const Shape& shape, Rgb colour);

// Three-tone stroke shading: a dark anti-aliased rim, the body colour, a bright core.
struct StrokeShade {
    Rgb rim;
    Rgb body;
    Rgb core;
    double rimDepth = 1.1;   // rim fades into the body over this depth
    double bodyDepth = 2.0;  // body colour up to here ...
    double coreDepth = 2.8;  // ... and the core colour from here
    Rgb operator()(double depth) const;
};

// Smooth 0..1 ramp between edge0 and edge1.
double smoothStep(double edge0, double edge1, double x);

}  // namespace tavro::pictures
