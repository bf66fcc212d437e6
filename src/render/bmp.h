// Windows bitmap files: reading the program's pictures and writing the wallpaper.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "render/canvas.h"

namespace tavro::render {

// Uncompressed 24- and 32-bit BMPs, bottom-up or top-down, and 8-bit palette BMPs.
// Anything else, or a truncated file, gives nothing.
std::optional<Image> readBmp(const uint8_t* data, size_t size);
std::optional<Image> readBmpFile(const char* path);

// A 24-bit bottom-up BMP, the form every program opens.
std::vector<uint8_t> encodeBmp24(const Canvas& canvas);
bool writeBmpFile(const char* path, const Canvas& canvas);

}  // namespace tavro::render
