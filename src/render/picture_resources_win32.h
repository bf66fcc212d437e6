// The pictures the program carries, embedded as RCDATA resources of the exe.
#pragma once

#include <optional>

#include "render/canvas.h"

namespace tavro::render {

// The BMP resource of that name decoded, or nothing when it is missing or broken.
std::optional<Image> loadPictureResource(const wchar_t* name);

}  // namespace tavro::render
