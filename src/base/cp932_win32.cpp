#include "base/cp932_win32.h"

#include <windows.h>

namespace tavro::base {

std::optional<std::wstring> decodeCp932(std::string_view bytes) {
    if (bytes.empty()) return std::wstring();
    if (bytes.size() > 0x7FFFFFFF) return std::nullopt;
    const int length = static_cast<int>(bytes.size());
    // Strict: without MB_ERR_INVALID_CHARS a bad sequence would quietly become a default character.
    const int needed = MultiByteToWideChar(932, MB_ERR_INVALID_CHARS, bytes.data(), length, nullptr, 0);
    if (needed <= 0) return std::nullopt;
    std::wstring text(static_cast<std::size_t>(needed), L'\0');
    if (MultiByteToWideChar(932, MB_ERR_INVALID_CHARS, bytes.data(), length, text.data(), needed) != needed)
        return std::nullopt;
    return text;
}

}  // namespace tavro::base
