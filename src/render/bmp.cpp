#include "render/bmp.h"

#include <cstdio>
#include <cstring>
#include <memory>

namespace tavro::render {

namespace {
uint32_t le32(const uint8_t* p) { return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24); }
uint16_t le16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
void put32(std::vector<uint8_t>& out, uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}
void put16(std::vector<uint8_t>& out, uint16_t v) {
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using UniqueFile = std::unique_ptr<std::FILE, FileCloser>;
}  // namespace

std::optional<Image> readBmp(const uint8_t* data, size_t size) {
    if (size < 54 || data[0] != 'B' || data[1] != 'M') return std::nullopt;
    const uint32_t pixelOffset = le32(data + 10);
    const uint32_t headerSize = le32(data + 14);
    if (headerSize < 40 || 14 + static_cast<size_t>(headerSize) > size) return std::nullopt;
    const int32_t width = static_cast<int32_t>(le32(data + 18));
    const int32_t rawHeight = static_cast<int32_t>(le32(data + 22));
    const uint16_t bits = le16(data + 28);
    const uint32_t compression = le32(data + 30);
    if (width <= 0 || rawHeight == 0 || width > 16384 || rawHeight > 16384 || rawHeight < -16384) return std::nullopt;
    if (!(compression == 0 || (compression == 3 && bits == 32))) return std::nullopt;
    if (bits != 8 && bits != 24 && bits != 32) return std::nullopt;
    const bool topDown = rawHeight < 0;
    const int height = topDown ? -rawHeight : rawHeight;
    const size_t rowBytes = ((static_cast<size_t>(width) * bits + 31) / 32) * 4;
    if (pixelOffset > size || rowBytes * height > size - pixelOffset) return std::nullopt;

    std::vector<Pixel> palette;
    if (bits == 8) {
        uint32_t colours = le32(data + 46);
        if (colours == 0) colours = 256;
        const size_t paletteAt = 14 + headerSize;
        if (colours > 256 || paletteAt + colours * 4 > pixelOffset) return std::nullopt;
        for (uint32_t i = 0; i < colours; ++i) {
            const uint8_t* e = data + paletteAt + i * 4;
            palette.push_back(rgb(e[2], e[1], e[0]));
        }
    }

    Image img(width, height);
    for (int row = 0; row < height; ++row) {
        const uint8_t* src = data + pixelOffset + rowBytes * row;
        const int y = topDown ? row : height - 1 - row;
        for (int x = 0; x < width; ++x) {
            Pixel p;
            if (bits == 8) {
                const uint8_t index = src[x];
                p = index < palette.size() ? palette[index] : 0;
            } else {
                const uint8_t* q = src + static_cast<size_t>(x) * (bits / 8);
                p = rgb(q[2], q[1], q[0]);
            }
            img.at(x, y) = p;
        }
    }
    return img;
}

std::optional<Image> readBmpFile(const char* path) {
    UniqueFile f(std::fopen(path, "rb"));
    if (!f) return std::nullopt;
    std::vector<uint8_t> bytes;
    uint8_t chunk[65536];
    size_t n;
    while ((n = std::fread(chunk, 1, sizeof chunk, f.get())) > 0) bytes.insert(bytes.end(), chunk, chunk + n);
    return readBmp(bytes.data(), bytes.size());
}

std::vector<uint8_t> encodeBmp24(const Canvas& canvas) {
    const size_t rowBytes = ((static_cast<size_t>(canvas.width) * 3 + 3) / 4) * 4;
    const uint32_t imageBytes = static_cast<uint32_t>(rowBytes * canvas.height);
    std::vector<uint8_t> out;
    out.reserve(54 + imageBytes);
    out.push_back('B');
    out.push_back('M');
    put32(out, 54 + imageBytes);
    put32(out, 0);
    put32(out, 54);
    put32(out, 40);
    put32(out, static_cast<uint32_t>(canvas.width));
    put32(out, static_cast<uint32_t>(canvas.height));
    put16(out, 1);
    put16(out, 24);
    put32(out, 0);
    put32(out, imageBytes);
    put32(out, 3780);  // 96 DPI
    put32(out, 3780);
    put32(out, 0);
    put32(out, 0);
    for (int row = canvas.height - 1; row >= 0; --row) {
        const size_t start = out.size();
        for (int x = 0; x < canvas.width; ++x) {
            const Pixel p = canvas.at(x, row);
            out.push_back(static_cast<uint8_t>(p));
            out.push_back(static_cast<uint8_t>(p >> 8));
            out.push_back(static_cast<uint8_t>(p >> 16));
        }
        out.resize(start + rowBytes, 0);
    }
    return out;
}

bool writeBmpFile(const char* path, const Canvas& canvas) {
    const std::vector<uint8_t> bytes = encodeBmp24(canvas);
    UniqueFile f(std::fopen(path, "wb"));
    if (!f) return false;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), f.get()) == bytes.size();
    return std::fclose(f.release()) == 0 && written;
}

}  // namespace tavro::render
