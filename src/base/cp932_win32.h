// Shift_JIS text as Windows reads it.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tavro::base {

// Code page 932 to UTF-16; nothing when a byte sequence is not valid there.
std::optional<std::wstring> decodeCp932(std::string_view bytes);

}  // namespace tavro::base
