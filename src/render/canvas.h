// Pixels. An Image owns its pixels; a Canvas is a view onto pixels someone else owns
// (an Image, or on Windows the memory of a DIB section that GDI draws into as well).
//
// In memory a pixel is 0x00RRGGBB (the byte order of a 32-bit DIB: B, G, R, 0).
// The colour values of the program's drawing rules are 0x00BBGGRR (COLORREF); getPixel and
// setPixel speak that form.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace tavro::render {

using Pixel = uint32_t;      // 0x00RRGGBB as stored
using ColorRef = int32_t;    // 0x00BBGGRR as in the drawing rules

constexpr Pixel pixelFromColorRef(ColorRef c) {
    const auto v = static_cast<uint32_t>(c);
    return ((v & 0xFF) << 16) | (v & 0xFF00) | ((v >> 16) & 0xFF);
}
constexpr ColorRef colorRefFromPixel(Pixel p) {
    return static_cast<ColorRef>(((p & 0xFF) << 16) | (p & 0xFF00) | ((p >> 16) & 0xFF));
}
constexpr Pixel rgb(int r, int g, int b) {
    return (static_cast<uint32_t>(r & 0xFF) << 16) | (static_cast<uint32_t>(g & 0xFF) << 8) |
           static_cast<uint32_t>(b & 0xFF);
}

struct Canvas {
    Pixel* pixels = nullptr;
    int width = 0;
    int height = 0;
    int stride = 0;  // pixels per row

    bool contains(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
    Pixel& at(int x, int y) { return pixels[static_cast<size_t>(y) * stride + x]; }
    Pixel at(int x, int y) const { return pixels[static_cast<size_t>(y) * stride + x]; }
    // -1 outside the canvas: it equals no colour.
    ColorRef getPixel(int x, int y) const { return contains(x, y) ? colorRefFromPixel(at(x, y)) : -1; }
    void setPixel(int x, int y, ColorRef c) {
        if (contains(x, y)) at(x, y) = pixelFromColorRef(c) & 0xFFFFFF;
    }
};

struct Image {
    int width = 0;
    int height = 0;
    std::vector<Pixel> pixels;  // top-down rows, width pixels each

    Image() = default;
    Image(int w, int h, Pixel fill = 0) : width(w), height(h), pixels(static_cast<size_t>(w) * h, fill) {}

    bool empty() const { return pixels.empty(); }
    Pixel at(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
    Pixel& at(int x, int y) { return pixels[static_cast<size_t>(y) * width + x]; }
    Canvas canvas() { return Canvas{pixels.data(), width, height, width}; }
};

}  // namespace tavro::render
