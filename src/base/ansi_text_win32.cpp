#include "base/ansi_text_win32.h"

#include <windows.h>

namespace tavro::base {

std::string toAnsi(std::wstring_view text) {
    if (text.empty()) return {};
    const int length = static_cast<int>(text.size());
    const int bytes = WideCharToMultiByte(CP_ACP, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
    if (bytes <= 0) return {};
    std::string ansi(static_cast<std::size_t>(bytes), '\0');
    WideCharToMultiByte(CP_ACP, 0, text.data(), length, ansi.data(), bytes, nullptr, nullptr);
    return ansi;
}

std::wstring fromAnsi(std::string_view ansi) {
    if (ansi.empty()) return {};
    const int length = static_cast<int>(ansi.size());
    const int chars = MultiByteToWideChar(CP_ACP, 0, ansi.data(), length, nullptr, 0);
    if (chars <= 0) return {};
    std::wstring text(static_cast<std::size_t>(chars), L'\0');
    MultiByteToWideChar(CP_ACP, 0, ansi.data(), length, text.data(), chars);
    return text;
}

}  // namespace tavro::base
