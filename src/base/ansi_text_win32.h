// Texts in the system's ANSI code page (932 on the Japanese systems the program is made for),
// where the registry and older calls keep bytes rather than UTF-16.
#pragma once

#include <string>
#include <string_view>

namespace tavro::base {

// Characters with no ANSI form become the code page's default character.
std::string toAnsi(std::wstring_view text);
std::wstring fromAnsi(std::string_view ansi);

}  // namespace tavro::base
