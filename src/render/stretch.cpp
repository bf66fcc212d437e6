#include "render/stretch.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace tavro::render {

namespace {
struct Span {
    int first;          // first source index
    int count;          // source pixels that contribute
    int64_t weights[8]; // in 1/65536 of a source pixel: whole numbers, so ties round alike everywhere
};

// Enlarged: each destination pixel between the two source pixels nearest its centre, weighted by
// the distance (bilinear), never reading outside the source rectangle. Smooth where the pictures
// are drawn beyond their size; an area average there would repeat pixels into blocks.
std::vector<Span> enlargingSpans(int destCount, int srcStart, int srcCount) {
    std::vector<Span> spans(static_cast<size_t>(destCount));
    const double scale = static_cast<double>(srcCount) / destCount;
    for (int i = 0; i < destCount; ++i) {
        const double u = std::clamp((i + 0.5) * scale - 0.5, 0.0, static_cast<double>(srcCount - 1));
        const int first = std::min(srcCount - 1, static_cast<int>(std::floor(u)));
        // u below the last index wherever far is not 0: the second pixel is inside.
        const int64_t far = std::llround(65536.0 * (u - first));
        Span s{};
        s.first = srcStart + first;
        s.count = far > 0 ? 2 : 1;
        s.weights[0] = 65536 - (s.count == 2 ? far : 0);
        s.weights[1] = s.count == 2 ? far : 0;
        spans[static_cast<size_t>(i)] = s;
    }
    return spans;
}

// For each destination pixel, the source pixels it covers and their weights.
// Shrinks of more than 8:1 are never asked for; they fall back to nearest sampling.
std::vector<Span> spansFor(int destCount, int srcStart, int srcCount) {
    if (destCount > srcCount) return enlargingSpans(destCount, srcStart, srcCount);
    std::vector<Span> spans(static_cast<size_t>(destCount));
    const double scale = static_cast<double>(srcCount) / destCount;
    for (int i = 0; i < destCount; ++i) {
        const double a = i * scale;
        const double b = (i + 1) * scale;
        Span s{};
        const int first = static_cast<int>(std::floor(a));
        const int last = std::min(srcCount - 1, static_cast<int>(std::ceil(b)) - 1);
        if (last - first + 1 > 8) {
            s.first = srcStart + std::min(srcCount - 1, static_cast<int>((a + b) / 2));
            s.count = 1;
            s.weights[0] = 65536;
        } else {
            s.first = srcStart + first;
            s.count = last - first + 1;
            for (int k = 0; k < s.count; ++k) {
                const double lo = std::max(a, static_cast<double>(first + k));
                const double hi = std::min(b, static_cast<double>(first + k + 1));
                s.weights[k] = std::llround(65536.0 * (hi - lo) / scale);
            }
        }
        spans[static_cast<size_t>(i)] = s;
    }
    return spans;
}
}  // namespace

void stretchCopy(Canvas& dst, double dx, double dy, double dw, double dh, const Image& src, SourceRect from,
                 RasterOp op) {
    const int x0 = static_cast<int>(std::floor(dx));
    const int y0 = static_cast<int>(std::floor(dy));
    const int x1 = static_cast<int>(std::floor(dx + dw));
    const int y1 = static_cast<int>(std::floor(dy + dh));
    if (x1 <= x0 || y1 <= y0 || from.width <= 0 || from.height <= 0) return;
    // Never read outside the picture.
    if (from.x < 0 || from.y < 0 || from.x + from.width > src.width || from.y + from.height > src.height) return;

    const std::vector<Span> cols = spansFor(x1 - x0, from.x, from.width);
    const std::vector<Span> rows = spansFor(y1 - y0, from.y, from.height);
    const int cx0 = std::max(x0, 0), cx1 = std::min(x1, dst.width);
    const int cy0 = std::max(y0, 0), cy1 = std::min(y1, dst.height);
    for (int y = cy0; y < cy1; ++y) {
        const Span& r = rows[static_cast<size_t>(y - y0)];
        for (int x = cx0; x < cx1; ++x) {
            const Span& c = cols[static_cast<size_t>(x - x0)];
            int64_t red = 0, green = 0, blue = 0, total = 0;
            for (int j = 0; j < r.count; ++j) {
                for (int i = 0; i < c.count; ++i) {
                    const Pixel p = src.at(c.first + i, r.first + j);
                    const int64_t w = r.weights[j] * c.weights[i];
                    red += w * ((p >> 16) & 0xFF);
                    green += w * ((p >> 8) & 0xFF);
                    blue += w * (p & 0xFF);
                    total += w;
                }
            }
            if (total <= 0) continue;
            const auto average = [total](int64_t sum) { return static_cast<int>((sum + total / 2) / total); };
            const Pixel out = rgb(average(red), average(green), average(blue));
            Pixel& d = dst.at(x, y);
            d = op == RasterOp::Or ? (d | out) & 0xFFFFFF : out;
        }
    }
}

void fillBox(Canvas& dst, double x0, double y0, double x1, double y1, Pixel colour) {
    const int ax = std::max(0, static_cast<int>(std::floor(x0)));
    const int ay = std::max(0, static_cast<int>(std::floor(y0)));
    const int bx = std::min(dst.width, static_cast<int>(std::floor(x1)));
    const int by = std::min(dst.height, static_cast<int>(std::floor(y1)));
    for (int y = ay; y < by; ++y)
        for (int x = ax; x < bx; ++x) dst.at(x, y) = colour;
}

}  // namespace tavro::render
