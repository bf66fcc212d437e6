#include "settings/registry_store.h"

#include <windows.h>

#include <algorithm>
#include <array>
#include <charconv>
#include <utility>

#include "base/ansi_text_win32.h"
#include "base/unique_handle_win32.h"

namespace tavro::settings {

namespace {

using base::fromAnsi;
using base::toAnsi;
using base::UniqueKey;

// Query, set, create sub-key, enumerate, notify and create link: asked for when reading too.
constexpr REGSAM kAccess = 0x3F;
// A text of 256 bytes or more does not fit with its zero byte and reads as missing.
constexpr DWORD kTextBufferBytes = 256;

HKEY rootKey(RegRoot root) { return root == RegRoot::LocalMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER; }

std::optional<int32_t> numberFromText(std::wstring_view text) {
    while (!text.empty() && text.front() == L' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == L' ') text.remove_suffix(1);
    if (text.empty() || text.size() > 11) return std::nullopt;
    std::array<char, 12> narrow{};
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] > 0x7F) return std::nullopt;
        narrow[i] = static_cast<char>(text[i]);
    }
    int32_t number = 0;
    const char* end = narrow.data() + text.size();
    const auto [stop, error] = std::from_chars(narrow.data(), end, number);
    if (error != std::errc{} || stop != end) return std::nullopt;
    return number;
}

UniqueKey openKey(RegRoot root, std::wstring_view subKey) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(rootKey(root), toAnsi(subKey).c_str(), 0, kAccess, &key) != ERROR_SUCCESS) return {};
    return UniqueKey(key);
}

std::optional<std::wstring> queryText(const UniqueKey& key, std::wstring_view valueName) {
    std::array<BYTE, kTextBufferBytes> buffer{};
    DWORD size = kTextBufferBytes;
    DWORD type = REG_SZ;
    if (RegQueryValueExA(key.get(), toAnsi(valueName).c_str(), nullptr, &type, buffer.data(), &size) !=
        ERROR_SUCCESS)
        return std::nullopt;
    if (type != REG_SZ) return std::nullopt;
    std::string_view bytes(reinterpret_cast<const char*>(buffer.data()), std::min<DWORD>(size, kTextBufferBytes));
    bytes = bytes.substr(0, bytes.find('\0'));
    return fromAnsi(bytes);
}

std::optional<int32_t> queryNumber(const UniqueKey& key, std::wstring_view valueName) {
    DWORD number = 0;
    DWORD size = sizeof number;
    DWORD type = REG_DWORD;
    if (RegQueryValueExA(key.get(), toAnsi(valueName).c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&number),
                         &size) != ERROR_SUCCESS)
        return std::nullopt;
    // A shorter value would leave part of the number unset.
    if (type != REG_DWORD || size != sizeof number) return std::nullopt;
    return static_cast<int32_t>(number);
}

}  // namespace

bool writeRegValue(RegRoot root, std::wstring_view subKey, std::wstring_view valueName, RegType type,
                   const RegValue& value) {
    // Converted before the key is touched, so that a value that cannot be written changes nothing.
    std::string text;
    DWORD number = 0;
    if (type == RegType::Text) {
        const auto* asNumber = std::get_if<int32_t>(&value);
        text = toAnsi(asNumber ? std::to_wstring(*asNumber) : std::get<std::wstring>(value));
    } else if (type == RegType::Number) {
        const auto* asText = std::get_if<std::wstring>(&value);
        const auto converted = asText ? numberFromText(*asText) : std::optional(std::get<int32_t>(value));
        if (!converted) return false;
        number = static_cast<DWORD>(*converted);
    } else {
        return false;
    }

    HKEY created = nullptr;
    char noClass[] = "";
    SECURITY_ATTRIBUTES security{};
    if (RegCreateKeyExA(rootKey(root), toAnsi(subKey).c_str(), 0, noClass, REG_OPTION_NON_VOLATILE, kAccess,
                        &security, &created, nullptr) != ERROR_SUCCESS)
        return false;
    const UniqueKey key(created);
    const std::string name = toAnsi(valueName);
    LSTATUS status;
    if (type == RegType::Text) {
        // c_str() supplies the terminating zero byte.
        status = RegSetValueExA(key.get(), name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                                static_cast<DWORD>(text.size() + 1));
    } else {
        status = RegSetValueExA(key.get(), name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number),
                                sizeof number);
    }
    return status == ERROR_SUCCESS;
}

RegValue readRegValue(RegRoot root, std::wstring_view subKey, std::wstring_view valueName, RegType type,
                      RegValue defaultValue) {
    if (type != RegType::Text && type != RegType::Number) return defaultValue;
    const UniqueKey key = openKey(root, subKey);
    if (!key) return defaultValue;
    if (type == RegType::Text) {
        if (auto text = queryText(key, valueName)) return std::move(*text);
    } else if (const auto number = queryNumber(key, valueName)) {
        return *number;
    }
    return defaultValue;
}

bool writeRegLong(std::wstring_view name, int32_t value) {
    return writeRegValue(RegRoot::CurrentUser, kSettingsKey, name, RegType::Number, value);
}

bool writeRegString(std::wstring_view name, std::wstring_view text) {
    return writeRegValue(RegRoot::CurrentUser, kSettingsKey, name, RegType::Text, std::wstring(text));
}

int32_t readRegLong(std::wstring_view name, int32_t defaultValue) {
    const RegValue value = readRegValue(RegRoot::CurrentUser, kSettingsKey, name, RegType::Number, defaultValue);
    const auto* number = std::get_if<int32_t>(&value);
    return number ? *number : defaultValue;
}

std::wstring readRegString(std::wstring_view name, std::wstring_view defaultText) {
    RegValue value =
        readRegValue(RegRoot::CurrentUser, kSettingsKey, name, RegType::Text, std::wstring(defaultText));
    auto* text = std::get_if<std::wstring>(&value);
    return text ? std::move(*text) : std::wstring(defaultText);
}

std::optional<std::wstring> readOptionalRegString(std::wstring_view name) {
    const UniqueKey key = openKey(RegRoot::CurrentUser, kSettingsKey);
    if (!key) return std::nullopt;
    return queryText(key, name);
}

}  // namespace tavro::settings
