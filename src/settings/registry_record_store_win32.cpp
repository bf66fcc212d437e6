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
    std::optional<std::wstring> readText(std::wstring_view name) override { return readOptionalRegString(name); }
    bool writeNumber(std::wstring_view name, int32_t value) override { return writeRegLong(name, value); }
    bool writeText(std::wstring_view name, std::wstring_view text) override { return writeRegString(name, text); }
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
