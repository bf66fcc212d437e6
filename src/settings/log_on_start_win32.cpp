#include "settings/log_on_start.h"

#include <windows.h>

#include "base/unique_handle_win32.h"

namespace tavro::settings {

namespace {

// Longer texts are no command line anyone wrote.
constexpr DWORD kMostBytes = 65536;

std::optional<std::vector<unsigned char>> queryValue(std::wstring_view key, std::wstring_view name, DWORD types) {
    const std::wstring keyText(key), nameText(name);
    DWORD bytes = 0;
    if (RegGetValueW(HKEY_CURRENT_USER, keyText.c_str(), nameText.c_str(), types, nullptr, nullptr, &bytes) !=
            ERROR_SUCCESS ||
        bytes > kMostBytes)
        return std::nullopt;
    // Room for the zero a text is given even when it was stored without one.
    std::vector<unsigned char> data(bytes + sizeof(wchar_t));
    bytes = static_cast<DWORD>(data.size());
    if (RegGetValueW(HKEY_CURRENT_USER, keyText.c_str(), nameText.c_str(), types, nullptr, data.data(), &bytes) !=
        ERROR_SUCCESS)
        return std::nullopt;
    data.resize(bytes);
    return data;
}

std::optional<std::wstring> queryText(std::wstring_view key, std::wstring_view name) {
    const auto data = queryValue(key, name, RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ | RRF_NOEXPAND);
    if (!data) return std::nullopt;
    std::wstring text(reinterpret_cast<const wchar_t*>(data->data()), data->size() / sizeof(wchar_t));
    return text.substr(0, text.find(L'\0'));
}

// True when the value is gone, or never was.
bool deleteValue(std::wstring_view key, std::wstring_view name) {
    HKEY raw = nullptr;
    const LSTATUS opened = RegOpenKeyExW(HKEY_CURRENT_USER, std::wstring(key).c_str(), 0, KEY_SET_VALUE, &raw);
    if (opened == ERROR_FILE_NOT_FOUND) return true;
    if (opened != ERROR_SUCCESS) return false;
    const base::UniqueKey owned(raw);
    const LSTATUS status = RegDeleteValueW(owned.get(), std::wstring(name).c_str());
    return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
}

}  // namespace

bool readLogOnStart() {
    return startsAtLogOn(queryText(kRunKey, kRunValueName),
                         queryValue(kStartupApprovedRunKey, kRunValueName, RRF_RT_REG_BINARY));
}

bool writeLogOnStart(bool on, std::wstring_view exePath) {
    if (!on) return deleteValue(kRunKey, kRunValueName);
    if (exePath.empty()) return false;
    HKEY raw = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, std::wstring(kRunKey).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_SET_VALUE, nullptr, &raw, nullptr) != ERROR_SUCCESS)
        return false;
    const base::UniqueKey key(raw);
    const std::wstring command = runCommandFor(exePath);
    if (RegSetValueExW(key.get(), std::wstring(kRunValueName).c_str(), 0, REG_SZ,
                       reinterpret_cast<const BYTE*>(command.c_str()),
                       static_cast<DWORD>((command.size() + 1) * sizeof(wchar_t))) != ERROR_SUCCESS)
        return false;
    // Turned on here, it must not stay off in the startup apps.
    deleteValue(kStartupApprovedRunKey, kRunValueName);
    return true;
}

}  // namespace tavro::settings
