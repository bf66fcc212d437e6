#include "render/pixel_ops.h"

#include <cmath>

namespace tavro::render {

namespace {
constexpr uint32_t kColourBits = 0xFFFFFF;

int component(uint32_t colour, int shift) { return static_cast<int>((colour >> shift) & 0xFF); }

// nearbyint rounds half to even in the default rounding mode; NaN and overflow end at the bounds.
int toComponent(double v) {
    if (!(v >= 0.0)) return 0;
    if (v >= 255.0) return 255;
    return static_cast<int>(std::nearbyint(v));
}

template <typename Mix>
void mixPixel(Canvas& canvas, int x, int y, ColorRef colour, Mix mix) {
    if (!canvas.contains(x, y)) return;
    const auto c = static_cast<uint32_t>(colour) & kColourBits;
    const auto p = static_cast<uint32_t>(canvas.getPixel(x, y)) & kColourBits;
    uint32_t out = 0;
    for (int shift = 0; shift <= 16; shift += 8)
        out |= static_cast<uint32_t>(toComponent(mix(component(p, shift), component(c, shift)))) << shift;
    canvas.setPixel(x, y, static_cast<ColorRef>(out));
}
}  // namespace

void blendPixel(Canvas& canvas, int x, int y, ColorRef colour, float alpha) {
    const double a = alpha;
    mixPixel(canvas, x, y, colour, [a](int p, int c) { return (1.0 - a) * p + a * c; });
}

void blendPixelIfDiffer(Canvas& canvas, int x, int y, ColorRef colour, float alpha) {
    if (!canvas.contains(x, y)) return;
    if ((static_cast<uint32_t>(canvas.getPixel(x, y)) & kColourBits) == (static_cast<uint32_t>(colour) & kColourBits))
        return;
    blendPixel(canvas, x, y, colour, alpha);
}

void addPixel(Canvas& canvas, int x, int y, ColorRef colour, float alpha) {
    const double a = alpha;
    mixPixel(canvas, x, y, colour, [a](int p, int c) { return p + a * c; });
}

}  // namespace tavro::render
