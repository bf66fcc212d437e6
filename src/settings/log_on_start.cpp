#include "settings/log_on_start.h"

namespace tavro::settings {

std::wstring runCommandFor(std::wstring_view exePath) { return L"\"" + std::wstring(exePath) + L"\""; }

bool startsAtLogOn(const std::optional<std::wstring>& runValue, const std::optional<std::vector<unsigned char>>& approved) {
    if (!runValue || runValue->find_first_not_of(L" \t") == std::wstring::npos) return false;
    return !approved || approved->empty() || ((*approved)[0] & 1) == 0;
}

}  // namespace tavro::settings
