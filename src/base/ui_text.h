// UI texts are UTF-16 everywhere: wchar_t for the W functions on Windows, char16_t elsewhere,
// so that the tables of captions and messages build and are tested natively too.
#pragma once

#include <string_view>

#if defined(_WIN32)
#define TAVRO_TEXT(s) L##s
namespace tavro {
using UiChar = wchar_t;
}
#else
#define TAVRO_TEXT(s) u##s
namespace tavro {
using UiChar = char16_t;
}
#endif

namespace tavro {
using UiText = std::basic_string_view<UiChar>;
}
