#include "frame_pictures.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "lettering.h"
#include "raster.h"

namespace tavro::pictures {

namespace {

// A small fixed hash, so the tile's texture is the same on every run.
uint32_t textureHash(uint32_t x, uint32_t y) {
    uint32_t h = x * 0x9E3779B1u ^ (y + 0x7F4A7C15u) * 0x85EBCA77u;
    h ^= h >> 15;
    h *= 0x2C1B3C6Du;
    h ^= h >> 12;
    h *= 0x297A2D39u;
    h ^= h >> 15;
    return h;
}

constexpr render::Pixel kTileBody = 0x464A4E;
constexpr render::Pixel kTileTexture = 0x45494D;
constexpr render::Pixel kTileBevel = 0x5B5F62;
constexpr render::Pixel kTileShade = 0x454A4E;

constexpr render::Pixel kFaceTop = 0x434448;
constexpr render::Pixel kFaceLeft = 0x37383B;
constexpr render::Pixel kFaceBottom = 0x65696D;
constexpr render::Pixel kFaceRight = 0x485053;
// The mitres where two faces meet, and the rims around the black: darker above and left,
// lighter below and right, so the interior reads as a sunken window. A dark line round the
// outside keeps the frame apart from the mosaic.
//
// The edge cells are halved across and stretched along; each pair of pixels that the halving
// averages has an even sum in every component, so the average is whole and a stretch of
// identical columns (or rows) cannot round differently from one column to the next.
constexpr render::Pixel kMitreLine = 0x2E2F32;
constexpr render::Pixel kRimTop = 0x2B2C2E;     // averaged with the top face
constexpr render::Pixel kRimLeft = 0x242628;    // averaged with black
constexpr render::Pixel kRimBottom = 0x818589;  // averaged with the bottom face
constexpr render::Pixel kRimRight = 0x5E666A;   // averaged with black
constexpr render::Pixel kOuterTop = 0x2F3034;
constexpr render::Pixel kOuterLeft = 0x2F3031;
constexpr render::Pixel kOuterBottom = 0x2F3133;
constexpr render::Pixel kOuterRight = 0x303235;
// The word mark cut into the bottom face.
constexpr render::Pixel kEngraving = 0x45484C;
constexpr render::Pixel kEngravingLight = 0x868A8E;

enum class Face { Top, Left, Bottom, Right };

// Which face a border pixel centre belongs to: the corners are split along the lines from the
// picture's corners to the interior's corners.
Face faceAt(double x, double y) {
    const double l = kInteriorLeft, t = kInteriorTop;
    const double r = kInteriorRight + 1.0, b = kInteriorBottom + 1.0;
    const double w = kFrameWidth, h = kFrameHeight;
    if (x < l && y < t) return y * l < x * t ? Face::Top : Face::Left;
    if (x >= r && y < t) return y * (w - r) < (w - x) * t ? Face::Top : Face::Right;
    if (x < l && y >= b) return (h - y) * l < x * (h - b) ? Face::Bottom : Face::Left;
    if (x >= r && y >= b) return (h - y) * (w - r) < (w - x) * (h - b) ? Face::Bottom : Face::Right;
    if (y < t) return Face::Top;
    if (y >= b) return Face::Bottom;
    return x < l ? Face::Left : Face::Right;
}

render::Pixel faceColour(Face f) {
    switch (f) {
        case Face::Top: return kFaceTop;
        case Face::Left: return kFaceLeft;
        case Face::Bottom: return kFaceBottom;
        default: return kFaceRight;
    }
}

render::Pixel outerColour(Face f) {
    switch (f) {
        case Face::Top: return kOuterTop;
        case Face::Left: return kOuterLeft;
        case Face::Bottom: return kOuterBottom;
        default: return kOuterRight;
    }
}

render::Pixel rimColour(Face f) {
    switch (f) {
        case Face::Top: return kRimTop;
        case Face::Left: return kRimLeft;
        case Face::Bottom: return kRimBottom;
        default: return kRimRight;
    }
}

// Distance from a point to the segment a-b.
double segmentDistance(Vec2 p, Vec2 a, Vec2 b) {
    const double ex = b.x - a.x, ey = b.y - a.y;
    const double t = std::clamp(((p.x - a.x) * ex + (p.y - a.y) * ey) / (ex * ex + ey * ey), 0.0, 1.0);
    const double dx = p.x - a.x - ex * t, dy = p.y - a.y - ey * t;
    return std::sqrt(dx * dx + dy * dy);
}

}  // namespace

render::Image makeMosaicTile() {
    render::Image tile(kTileSize, kTileSize, kTileBody);
    for (int y = 1; y < kTileSize - 1; ++y)
        for (int x = 1; x < kTileSize - 1; ++x)
            if (textureHash(static_cast<uint32_t>(x), static_cast<uint32_t>(y)) % 100 < 22) tile.at(x, y) = kTileTexture;
    for (int i = 0; i < kTileSize - 1; ++i) {
        tile.at(i, 0) = kTileBevel;
        tile.at(0, i) = kTileBevel;
    }
    for (int i = 0; i < kTileSize; ++i) {
        tile.at(kTileSize - 1, i) = kTileShade;
        tile.at(i, kTileSize - 1) = kTileShade;
    }
    return tile;
}

render::Image makeFramePicture() {
    FloatImage frame(kFrameWidth, kFrameHeight);
    const double l = kInteriorLeft, t = kInteriorTop, r = kInteriorRight + 1.0, b = kInteriorBottom + 1.0;
    const double w = kFrameWidth, h = kFrameHeight;
    const Vec2 mitres[4][2] = {{{0, 0}, {l, t}}, {{w, 0}, {r, t}}, {{0, h}, {l, b}}, {{w, h}, {r, b}}};

    for (int y = 0; y < kFrameHeight; ++y) {
        for (int x = 0; x < kFrameWidth; ++x) {
            const bool interior = x >= kInteriorLeft && x <= kInteriorRight && y >= kInteriorTop && y <= kInteriorBottom;
            if (interior) continue;  // stays black
            const Vec2 c{x + 0.5, y + 0.5};
            const Face face = faceAt(c.x, c.y);
            // The one-pixel rim next to the interior.
            const bool rim = (x == kInteriorLeft - 1 || x == kInteriorRight + 1 || y == kInteriorTop - 1 ||
                              y == kInteriorBottom + 1) &&
                             x >= kInteriorLeft - 1 && x <= kInteriorRight + 1 && y >= kInteriorTop - 1 &&
                             y <= kInteriorBottom + 1;
            const bool outer = x == 0 || y == 0 || x == kFrameWidth - 1 || y == kFrameHeight - 1;
            Rgb colour = rgbOf(outer ? outerColour(face) : rim ? rimColour(face) : faceColour(face));
            if (!rim && !outer) {
                // Soft one-pixel mitre lines.
                double d = 1e9;
                for (const auto& m : mitres) d = std::min(d, segmentDistance(c, m[0], m[1]));
                const double line = std::clamp(1.0 - d, 0.0, 1.0);
                colour = mix(colour, rgbOf(kMitreLine), line);
            }
            frame.at(x, y) = colour;
        }
    }

    // The word mark in the bottom edge, between x 100 and 177, cut in: a light lower edge
    // under dark letters.
    constexpr double capHeight = 12.5, stroke = 2.5, spacing = 3.6;
    const WordMark probe = tavroWord({0, 0}, capHeight, stroke, spacing);
    const double left = 100.0 + (77.0 - probe.width) / 2;
    const double top = b + (h - b - capHeight) / 2 + 0.5;
    const WordMark word = tavroWord({left, top}, capHeight, stroke, spacing);
    paint(frame, word.shape.moved({0.8, 0.8}), rgbOf(kEngravingLight));
    paint(frame, word.shape, rgbOf(kEngraving));
    return frame.toImage();
}

}  // namespace tavro::pictures
