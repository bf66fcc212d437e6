#include "app/command_line.h"

#include <algorithm>
#include <string_view>

namespace tavro::app {

namespace {
constexpr std::wstring_view kRestoreDesktop = L"restore-desktop";

bool isSwitch(std::wstring_view argument) {
    const std::size_t first = argument.find_first_not_of(L" \t");
    if (first == std::wstring_view::npos) return false;
    argument = argument.substr(first, argument.find_last_not_of(L" \t") - first + 1);
    if (argument.size() != kRestoreDesktop.size() + 1 || (argument[0] != L'/' && argument[0] != L'-')) return false;
    return std::equal(kRestoreDesktop.begin(), kRestoreDesktop.end(), argument.begin() + 1, [](wchar_t a, wchar_t b) {
        return a == (b >= L'A' && b <= L'Z' ? static_cast<wchar_t>(b - L'A' + L'a') : b);
    });
}
}  // namespace

bool asksToRestoreDesktop(std::span<const std::wstring> arguments) {
    return std::any_of(arguments.begin(), arguments.end(), [](const std::wstring& a) { return isSwitch(a); });
}

}  // namespace tavro::app
