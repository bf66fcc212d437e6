#include "raster.h"

#include <algorithm>
#include <cmath>

namespace tavro::pictures {

namespace {

double dot(Vec2 a, Vec2 b) { return a.x * b.x + a.y * b.y; }
Vec2 sub(Vec2 a, Vec2 b) { return {a.x - b.x, a.y - b.y}; }

// Exact signed distance to a simple polygon (either winding).
double polygonSignedDistance(const std::vector<Vec2>& v, Vec2 p) {
    const size_t n = v.size();
    double best = dot(sub(p, v[0]), sub(p, v[0]));
    double sign = 1.0;
    for (size_t i = 0, j = n - 1; i < n; j = i, ++i) {
        const Vec2 e = sub(v[j], v[i]);
        const Vec2 w = sub(p, v[i]);
        const double t = std::clamp(dot(w, e) / dot(e, e), 0.0, 1.0);
        const Vec2 b{w.x - e.x * t, w.y - e.y * t};
        best = std::min(best, dot(b, b));
        const bool c1 = p.y >= v[i].y, c2 = p.y < v[j].y, c3 = e.x * w.y > e.y * w.x;
        if ((c1 && c2 && c3) || (!c1 && !c2 && !c3)) sign = -sign;
    }
    return sign * std::sqrt(best);
}

double signedArea(const std::vector<Vec2>& v) {
    double a = 0;
    for (size_t i = 0, j = v.size() - 1; i < v.size(); j = i, ++i) a += v[j].x * v[i].y - v[i].x * v[j].y;
    return a / 2;
}

// Each edge moved inwards by r, neighbouring edges intersected again.
std::vector<Vec2> insetPolygon(const std::vector<Vec2>& v, double r) {
    const size_t n = v.size();
    const double inward = signedArea(v) > 0 ? 1.0 : -1.0;
    struct Line {
        Vec2 p, d;
    };
    std::vector<Line> lines(n);
    for (size_t i = 0; i < n; ++i) {
        const Vec2 a = v[i], b = v[(i + 1) % n];
        Vec2 d = sub(b, a);
        const double len = std::sqrt(dot(d, d));
        d = {d.x / len, d.y / len};
        // With a positive shoelace area the inside lies on the (-d.y, d.x) side of every edge.
        const Vec2 normal{-d.y * inward, d.x * inward};
        lines[i] = {{a.x + normal.x * r, a.y + normal.y * r}, d};
    }
    std::vector<Vec2> out(n);
    for (size_t i = 0; i < n; ++i) {
        const Line& l1 = lines[(i + n - 1) % n];
        const Line& l2 = lines[i];
        const double den = l1.d.x * l2.d.y - l1.d.y * l2.d.x;
        if (std::fabs(den) < 1e-12) {
            out[i] = l2.p;
            continue;
        }
        const Vec2 w = sub(l2.p, l1.p);
        const double t = (w.x * l2.d.y - w.y * l2.d.x) / den;
        out[i] = {l1.p.x + l1.d.x * t, l1.p.y + l1.d.y * t};
    }
    return out;
}

double partDistance(const ShapePart& part, Vec2 p) {
    double d = 0;
    switch (part.kind) {
        case ShapePart::Kind::Polygon:
            d = polygonSignedDistance(part.points, p) - part.radius;
            break;
        case ShapePart::Kind::Capsule: {
            const Vec2 a = part.points[0], b = part.points[1];
            const Vec2 ab = sub(b, a), ap = sub(p, a);
            const double len2 = dot(ab, ab);
            const double t = len2 > 0 ? std::clamp(dot(ap, ab) / len2, 0.0, 1.0) : 0.0;
            const Vec2 q{ap.x - ab.x * t, ap.y - ab.y * t};
            d = std::sqrt(dot(q, q)) - part.radius;
            break;
        }
        case ShapePart::Kind::Ring: {
            const Vec2 q{(p.x - part.centre.x) / part.ringScaleX, p.y - part.centre.y};
            d = std::fabs(std::sqrt(dot(q, q)) - part.radius) - part.halfWidth;
            break;
        }
    }
    for (const ShapePart::Cut& c : part.cuts) d = std::max(d, dot(c.normal, p) - c.offset);
    return d;
}

}  // namespace

Rgb rgbOf(render::Pixel p) {
    return {static_cast<double>((p >> 16) & 0xFF), static_cast<double>((p >> 8) & 0xFF),
            static_cast<double>(p & 0xFF)};
}

render::Pixel pixelOf(Rgb c) {
    auto channel = [](double v) { return static_cast<int>(std::floor(std::clamp(v, 0.0, 255.0) + 0.5)); };
    return render::rgb(channel(c.r), channel(c.g), channel(c.b));
}

Rgb mix(Rgb a, Rgb b, double t) { return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t}; }
Rgb scaled(Rgb c, double f) { return {c.r * f, c.g * f, c.b * f}; }

double smoothStep(double edge0, double edge1, double x) {
    const double t = std::clamp((x - edge0) / (edge1 - edge0), 0.0, 1.0);
    return t * t * (3 - 2 * t);
}

Shape Shape::polygon(std::vector<Vec2> points, double rounding) {
    Shape s;
    ShapePart part;
    part.kind = ShapePart::Kind::Polygon;
    part.points = rounding > 0 ? insetPolygon(points, rounding) : std::move(points);
    part.radius = rounding;
    s.parts_.push_back(std::move(part));
    return s;
}

Shape Shape::capsule(Vec2 a, Vec2 b, double halfThickness) {
    Shape s;
    ShapePart part;
    part.kind = ShapePart::Kind::Capsule;
    part.points = {a, b};
    part.radius = halfThickness;
    s.parts_.push_back(std::move(part));
    return s;
}

Shape Shape::circle(Vec2 centre, double radius) { return capsule(centre, centre, radius); }

Shape Shape::ring(Vec2 centre, double radius, double halfWidth, double scaleX) {
    Shape s;
    ShapePart part;
    part.kind = ShapePart::Kind::Ring;
    part.centre = centre;
    part.radius = radius;
    part.halfWidth = halfWidth;
    part.ringScaleX = scaleX;
    s.parts_.push_back(std::move(part));
    return s;
}

Shape& Shape::cut(Vec2 normal, double offset) {
    const double len = std::sqrt(dot(normal, normal));
    if (!parts_.empty() && len > 0) parts_.back().cuts.push_back({{normal.x / len, normal.y / len}, offset / len});
    return *this;
}

Shape& Shape::add(const Shape& other) {
    parts_.insert(parts_.end(), other.parts_.begin(), other.parts_.end());
    return *this;
}

Shape& Shape::intersect(const Shape& clip) {
    clip_ = clip.parts_;
    return *this;
}

Shape& Shape::subtract(const Shape& hole) {
    hole_ = hole.parts_;
    return *this;
}

// f maps a point; cuts are only ever moved or mirrored, so their normals follow f's linear part.
template <class F>
Shape Shape::transformed(F&& f) const {
    Shape s = *this;
    auto apply = [&](std::vector<ShapePart>& parts) {
        for (ShapePart& part : parts) {
            for (Vec2& p : part.points) p = f(p);
            const Vec2 origin = f(Vec2{0, 0});
            for (ShapePart::Cut& c : part.cuts) {
                // A point q on the cut line before the move lands on f(q); rebuild the line from it.
                const Vec2 q{c.normal.x * c.offset, c.normal.y * c.offset};
                const Vec2 n1 = f(c.normal);
                Vec2 normal{n1.x - origin.x, n1.y - origin.y};
                const Vec2 fq = f(q);
                c.normal = normal;
                c.offset = dot(normal, fq);
            }
            part.centre = f(part.centre);
        }
    };
    apply(s.parts_);
    apply(s.clip_);
    apply(s.hole_);
    return s;
}

Shape Shape::moved(Vec2 by) const {
    return transformed([by](Vec2 p) { return Vec2{p.x + by.x, p.y + by.y}; });
}

Shape Shape::mirroredX(double axis) const {
    return transformed([axis](Vec2 p) { return Vec2{2 * axis - p.x, p.y}; });
}

Shape Shape::mirroredY(double axis) const {
    return transformed([axis](Vec2 p) { return Vec2{p.x, 2 * axis - p.y}; });
}

// Rings and cuts are not sheared (only the digits lean, and they are plain polygons).
Shape Shape::sheared(double factor, double baseline) const {
    Shape s = *this;
    for (auto* parts : {&s.parts_, &s.clip_, &s.hole_})
        for (ShapePart& part : *parts)
            for (Vec2& p : part.points) p.x += factor * (baseline - p.y);
    return s;
}

std::vector<Vec2> Shape::roundedBoxOutline(double x0, double y0, double x1, double y1, double radius, int steps) {
    // Points on a quarter circle from the rational parametrisation, so no trigonometry is needed.
    std::vector<Vec2> quarter;
    for (int i = 0; i <= steps; ++i) {
        const double t = static_cast<double>(i) / steps;  // tan of half the angle, 0 to 1 for 0 to 90 degrees
        quarter.push_back({(1 - t * t) / (1 + t * t), 2 * t / (1 + t * t)});
    }
    std::vector<Vec2> out;
    const Vec2 centres[4] = {{x1 - radius, y1 - radius}, {x0 + radius, y1 - radius}, {x0 + radius, y0 + radius},
                             {x1 - radius, y0 + radius}};
    // Corner k turns the quarter by k * 90 degrees: (c, s) -> (-s, c).
    for (int k = 0; k < 4; ++k) {
        for (const Vec2& q : quarter) {
            Vec2 v = q;
            for (int r = 0; r < k; ++r) v = {-v.y, v.x};
            out.push_back({centres[k].x + v.x * radius, centres[k].y + v.y * radius});
        }
    }
    return out;
}

double Shape::distance(Vec2 p) const {
    double d = 1e9;
    for (const ShapePart& part : parts_) d = std::min(d, partDistance(part, p));
    if (!clip_.empty()) {
        double c = 1e9;
        for (const ShapePart& part : clip_) c = std::min(c, partDistance(part, p));
        d = std::max(d, c);
    }
    if (!hole_.empty()) {
        double c = 1e9;
        for (const ShapePart& part : hole_) c = std::min(c, partDistance(part, p));
        d = std::max(d, -c);
    }
    return d;
}

void Shape::bounds(double margin, double& x0, double& y0, double& x1, double& y1) const {
    x0 = y0 = 1e9;
    x1 = y1 = -1e9;
    auto grow = [&](Vec2 p, double rx, double ry) {
        x0 = std::min(x0, p.x - rx - margin);
        y0 = std::min(y0, p.y - ry - margin);
        x1 = std::max(x1, p.x + rx + margin);
        y1 = std::max(y1, p.y + ry + margin);
    };
    for (const ShapePart& part : parts_) {
        if (part.kind == ShapePart::Kind::Ring) {
            const double r = part.radius + part.halfWidth;
            grow(part.centre, r * part.ringScaleX, r);
        } else {
            for (const Vec2& p : part.points) grow(p, part.radius, part.radius);
        }
    }
}

FloatImage::FloatImage(int width, int height, Rgb fill)
    : width_(width), height_(height), pixels_(static_cast<size_t>(width) * height, fill) {}

render::Image FloatImage::toImage() const {
    render::Image img(width_, height_);
    for (size_t i = 0; i < pixels_.size(); ++i) img.pixels[i] = pixelOf(pixels_[i]);
    return img;
}

double coverage(const Shape& shape, int px, int py) {
    constexpr int kSamples = 8;
    int inside = 0;
    for (int j = 0; j < kSamples; ++j) {
        for (int i = 0; i < kSamples; ++i) {
            const Vec2 p{px + (i + 0.5) / kSamples, py + (j + 0.5) / kSamples};
            if (shape.distance(p) < 0) ++inside;
        }
    }
    return static_cast<double>(inside) / (kSamples * kSamples);
}

void paint(FloatImage& image, const Shape& shape, const DepthColour& colourAt) {
    if (shape.empty()) return;
    double bx0, by0, bx1, by1;
    shape.bounds(1.0, bx0, by0, bx1, by1);
    const int x0 = std::max(0, static_cast<int>(std::floor(bx0)));
    const int y0 = std::max(0, static_cast<int>(std::floor(by0)));
    const int x1 = std::min(image.width(), static_cast<int>(std::ceil(bx1)) + 1);
    const int y1 = std::min(image.height(), static_cast<int>(std::ceil(by1)) + 1);
    for (int y = y0; y < y1; ++y) {
        for (int x = x0; x < x1; ++x) {
            const double d = shape.distance({x + 0.5, y + 0.5});
            // Beyond the pixel's half diagonal (with room for the approximate ellipse distances)
            // the pixel is entirely outside or inside.
            double cover;
            if (d > 1.0) continue;
            if (d < -1.0) {
                cover = 1.0;
            } else {
                cover = coverage(shape, x, y);
                if (cover <= 0) continue;
            }
            Rgb& dst = image.at(x, y);
            dst = mix(dst, colourAt(std::max(0.0, -d)), cover);
        }
    }
}

void paint(FloatImage& image, const Shape& shape, Rgb colour) {
    paint(image, shape, [colour](double) { return colour; });
}

Rgb StrokeShade::operator()(double depth) const {
    if (depth < rimDepth) return mix(rim, body, smoothStep(0.0, rimDepth, depth));
    if (depth < bodyDepth) return body;
    return mix(body, core, smoothStep(bodyDepth, coreDepth, depth));
}

}  // namespace tavro::pictures
