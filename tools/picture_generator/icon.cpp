#include "icon.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <map>

#include "raster.h"

namespace tavro::pictures {

namespace {

Rgb hexColour(unsigned v) { return rgbOf(static_cast<render::Pixel>(v)); }

// Directions of the twelve hours, clockwise from twelve, without trigonometry.
Vec2 hourDirection(int hour) {
    const double h = std::sqrt(3.0) / 2;
    static const std::array<Vec2, 3> firstQuarter = {{{0, -1}, {0.5, -h}, {h, -0.5}}};
    const Vec2 v = firstQuarter[static_cast<size_t>(hour % 3)];
    switch ((hour / 3) % 4) {
        case 0: return v;
        case 1: return {-v.y, v.x};
        case 2: return {-v.x, -v.y};
        default: return {v.y, -v.x};
    }
}

// Quantise to at most 256 colours by median cut, deterministically.
std::vector<render::Pixel> paletteFor(const std::vector<render::Pixel>& pixels) {
    std::map<render::Pixel, int> counts;
    for (render::Pixel p : pixels) ++counts[p];
    std::vector<render::Pixel> unique;
    for (const auto& [p, n] : counts) unique.push_back(p);
    if (unique.size() <= 255) return unique;

    std::vector<std::vector<render::Pixel>> boxes = {unique};
    auto channel = [](render::Pixel p, int c) { return static_cast<int>((p >> (16 - 8 * c)) & 0xFF); };
    while (boxes.size() < 255) {
        // Split the box with the widest channel range.
        size_t best = 0;
        int bestRange = -1, bestChannel = 0;
        for (size_t i = 0; i < boxes.size(); ++i) {
            if (boxes[i].size() < 2) continue;
            for (int c = 0; c < 3; ++c) {
                int lo = 255, hi = 0;
                for (render::Pixel p : boxes[i]) lo = std::min(lo, channel(p, c)), hi = std::max(hi, channel(p, c));
                if (hi - lo > bestRange) bestRange = hi - lo, best = i, bestChannel = c;
            }
        }
        if (bestRange <= 0) break;
        std::vector<render::Pixel>& box = boxes[best];
        std::stable_sort(box.begin(), box.end(), [&](render::Pixel a, render::Pixel b) {
            return channel(a, bestChannel) < channel(b, bestChannel);
        });
        std::vector<render::Pixel> upper(box.begin() + static_cast<long>(box.size() / 2), box.end());
        box.resize(box.size() / 2);
        boxes.push_back(std::move(upper));
    }
    std::vector<render::Pixel> palette;
    for (const auto& box : boxes) {
        long sum[3] = {0, 0, 0}, n = 0;
        for (render::Pixel p : box) {
            const long w = counts[p];
            for (int c = 0; c < 3; ++c) sum[c] += channel(p, c) * w;
            n += w;
        }
        palette.push_back(render::rgb(static_cast<int>((sum[0] + n / 2) / n), static_cast<int>((sum[1] + n / 2) / n),
                                      static_cast<int>((sum[2] + n / 2) / n)));
    }
    return palette;
}

uint8_t nearestIndex(const std::vector<render::Pixel>& palette, render::Pixel p) {
    long best = -1;
    size_t bestIndex = 0;
    for (size_t i = 0; i < palette.size(); ++i) {
        long d = 0;
        for (int c = 0; c < 3; ++c) {
            const long delta = static_cast<long>((p >> (8 * c)) & 0xFF) - static_cast<long>((palette[i] >> (8 * c)) & 0xFF);
            d += delta * delta;
        }
        if (best < 0 || d < best) best = d, bestIndex = i;
    }
    return static_cast<uint8_t>(bestIndex);
}

void put16(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}
void put32(std::vector<uint8_t>& out, uint32_t v) {
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

// BITMAPINFOHEADER (height doubled for the mask), 256 palette entries, colour rows, mask rows.
std::vector<uint8_t> iconBitmap(const IconImage& image) {
    const int w = image.colours.width, h = image.colours.height;
    std::vector<render::Pixel> shown;
    for (int i = 0; i < w * h; ++i)
        if (image.opaque[static_cast<size_t>(i)]) shown.push_back(image.colours.pixels[static_cast<size_t>(i)]);
    // Entry 0 is black: the colour of the hidden pixels, so that they vanish under the mask.
    std::vector<render::Pixel> palette = {0};
    for (render::Pixel p : paletteFor(shown))
        if (p != 0) palette.push_back(p);
    palette.resize(256, 0);

    const size_t colourStride = (static_cast<size_t>(w) + 3) / 4 * 4;
    const size_t maskStride = (static_cast<size_t>(w) + 31) / 32 * 4;
    std::vector<uint8_t> out;
    put32(out, 40);
    put32(out, static_cast<uint32_t>(w));
    put32(out, static_cast<uint32_t>(2 * h));
    put16(out, 1);
    put16(out, 8);
    put32(out, 0);
    put32(out, static_cast<uint32_t>((colourStride + maskStride) * h));
    put32(out, 0);
    put32(out, 0);
    put32(out, 256);
    put32(out, 0);
    for (render::Pixel p : palette) {
        out.push_back(static_cast<uint8_t>(p));
        out.push_back(static_cast<uint8_t>(p >> 8));
        out.push_back(static_cast<uint8_t>(p >> 16));
        out.push_back(0);
    }
    // Exact colours map to themselves; entry 0 only ever means black.
    std::map<render::Pixel, uint8_t> lookup;
    for (int y = h - 1; y >= 0; --y) {
        const size_t start = out.size();
        for (int x = 0; x < w; ++x) {
            const size_t i = static_cast<size_t>(y) * w + x;
            uint8_t index = 0;
            if (image.opaque[i]) {
                const render::Pixel p = image.colours.pixels[i];
                auto found = lookup.find(p);
                if (found == lookup.end()) found = lookup.emplace(p, nearestIndex(palette, p)).first;
                index = found->second;
            }
            out.push_back(index);
        }
        out.resize(start + colourStride, 0);
    }
    for (int y = h - 1; y >= 0; --y) {
        std::vector<uint8_t> row(maskStride, 0);
        for (int x = 0; x < w; ++x)
            if (!image.opaque[static_cast<size_t>(y) * w + x]) row[static_cast<size_t>(x / 8)] |= 0x80 >> (x % 8);
        out.insert(out.end(), row.begin(), row.end());
    }
    return out;
}

}  // namespace

IconImage makeIconImage(int size) {
    FloatImage img(size, size);
    const double s = size;
    const Vec2 c{s / 2, s / 2};
    const double outer = s / 2 - 0.25;
    const double ringWidth = std::max(1.6, s * 0.11);

    const Shape disc = Shape::circle(c, outer);
    // Dark glass face, a little lighter towards the middle.
    paint(img, disc, [](double depth) { return mix(hexColour(0x101010), hexColour(0x1A1C20), std::min(1.0, depth / 10)); });
    // Orange bezel, shaded like the display's strokes.
    const StrokeShade bezel{hexColour(0x8A5512), hexColour(0xDE8E21), hexColour(0xFFA629), s * 0.025, s * 0.04,
                            s * 0.06 + 0.4};
    paint(img, Shape::ring(c, outer - ringWidth / 2, ringWidth / 2), bezel);

    const double face = outer - ringWidth;
    if (size >= 32) {
        for (int hour = 0; hour < 12; ++hour) {
            const Vec2 d = hourDirection(hour);
            const bool major = hour % 3 == 0;
            const double r0 = face - (major ? s * 0.13 : s * 0.08), r1 = face - s * 0.035;
            const Rgb colour = hexColour(major ? 0x39D7FF : 0x31BEDE);
            paint(img, Shape::capsule({c.x + d.x * r0, c.y + d.y * r0}, {c.x + d.x * r1, c.y + d.y * r1},
                                      major ? s * 0.03 + 0.2 : s * 0.02 + 0.15),
                  major ? colour : scaled(colour, 0.75));
        }
    }
    // Hands at ten past ten.
    const double handWidth = std::max(0.75, s * 0.045);
    const Vec2 hourHand = hourDirection(10), minuteHand = hourDirection(2);
    const Rgb white = hexColour(0xFFFFFF), light = hexColour(0xDEDFDE);
    paint(img, Shape::capsule(c, {c.x + hourHand.x * face * 0.55, c.y + hourHand.y * face * 0.55}, handWidth * 1.15), light);
    paint(img, Shape::capsule(c, {c.x + minuteHand.x * face * 0.82, c.y + minuteHand.y * face * 0.82}, handWidth), white);
    paint(img, Shape::circle(c, std::max(0.9, s * 0.06)), hexColour(0xFFA629));

    IconImage icon{img.toImage(), std::vector<bool>(static_cast<size_t>(size) * size)};
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) icon.opaque[static_cast<size_t>(y) * size + x] = coverage(disc, x, y) >= 0.5;
    return icon;
}

std::vector<uint8_t> encodeIco(const std::vector<IconImage>& images) {
    std::vector<std::vector<uint8_t>> bitmaps;
    for (const IconImage& image : images) bitmaps.push_back(iconBitmap(image));
    std::vector<uint8_t> out;
    put16(out, 0);
    put16(out, 1);  // icon
    put16(out, static_cast<uint32_t>(images.size()));
    uint32_t offset = static_cast<uint32_t>(6 + 16 * images.size());
    for (size_t i = 0; i < images.size(); ++i) {
        const int w = images[i].colours.width, h = images[i].colours.height;
        out.push_back(static_cast<uint8_t>(w >= 256 ? 0 : w));
        out.push_back(static_cast<uint8_t>(h >= 256 ? 0 : h));
        out.push_back(0);  // 256 colours
        out.push_back(0);
        put16(out, 1);
        put16(out, 8);
        put32(out, static_cast<uint32_t>(bitmaps[i].size()));
        put32(out, offset);
        offset += static_cast<uint32_t>(bitmaps[i].size());
    }
    for (const auto& b : bitmaps) out.insert(out.end(), b.begin(), b.end());
    return out;
}

std::vector<uint8_t> makeIcon() { return encodeIco({makeIconImage(16), makeIconImage(32), makeIconImage(48)}); }

}  // namespace tavro::pictures
