#include "render/picture_resources_win32.h"

#include <windows.h>

#include "render/bmp.h"

namespace tavro::render {

std::optional<Image> loadPictureResource(const wchar_t* name) {
    HMODULE module = GetModuleHandleW(nullptr);
    HRSRC info = FindResourceW(module, name, MAKEINTRESOURCEW(10) /* RT_RCDATA */);
    if (!info) return std::nullopt;
    // Resource memory is mapped with the module and needs no freeing.
    HGLOBAL block = LoadResource(module, info);
    const void* data = block ? LockResource(block) : nullptr;
    if (!data) return std::nullopt;
    return readBmp(static_cast<const uint8_t*>(data), SizeofResource(module, info));
}

}  // namespace tavro::render
