#include "settings/record_store.h"

#include <windows.h>

#include "base/unique_handle_win32.h"
#include "settings/registry_store.h"

namespace tavro::settings {

namespace {

class RegistryRecordStore final : public RecordStore {
public:
    std::optional<int32_t> readNumber(std::wstring_view name) override {
        // The record never holds this value, so it stands for "missing".
        const int32_t value = readRegLong(name, kMissingNumber);
        if (value == kMissingNumber) return std::nullopt;
        return value;
    }
    // Texts through the wide calls, of any length: the desktop's record holds whole paths of many pictures.
    std::optional<std::wstring> readText(std::wstring_view name) override {
        const std::wstring key(kSettingsKey), value(name);
        DWORD bytes = 0;
        if (RegGetValueW(HKEY_CURRENT_USER, key.c_str(), value.c_str(), RRF_RT_REG_SZ, nullptr, nullptr, &bytes) !=
            ERROR_SUCCESS)
            return std::nullopt;
        // A value rewritten between the two calls may have grown: asked again with its new size.
        for (int attempt = 0; attempt < 3; ++attempt) {
            std::wstring text(bytes / sizeof(wchar_t) + 1, L'\0');
            bytes = static_cast<DWORD>(text.size() * sizeof(wchar_t));
            const LSTATUS status =
                RegGetValueW(HKEY_CURRENT_USER, key.c_str(), value.c_str(), RRF_RT_REG_SZ, nullptr, text.data(), &bytes);
            if (status == ERROR_SUCCESS) return text.substr(0, text.find(L'\0'));
            if (status != ERROR_MORE_DATA) return std::nullopt;
        }
        return std::nullopt;
    }
    bool writeNumber(std::wstring_view name, int32_t value) override { return writeRegLong(name, value); }
    bool writeText(std::wstring_view name, std::wstring_view text) override {
        HKEY raw = nullptr;
        const std::wstring key(kSettingsKey), value(name), data(text);
        if (RegCreateKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &raw, nullptr) !=
            ERROR_SUCCESS)
            return false;
        const base::UniqueKey owned(raw);
        return RegSetValueExW(owned.get(), value.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                              static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
    }
    void remove(std::wstring_view name) override {
        HKEY raw = nullptr;
        const std::wstring key(kSettingsKey);
        if (RegOpenKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, KEY_SET_VALUE, &raw) != ERROR_SUCCESS) return;
        const base::UniqueKey owned(raw);
        RegDeleteValueW(owned.get(), std::wstring(name).c_str());
    }
};

}  // namespace

std::unique_ptr<RecordStore> makeRegistryRecordStore() { return std::make_unique<RegistryRecordStore>(); }

}  // namespace tavro::settings
