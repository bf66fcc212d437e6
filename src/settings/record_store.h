// Values of the program's key read and written one by one, where missing is an answer of its own
// (the desktop's record, the clock's place); the program's key on Windows, a map in the tests.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace tavro::settings {

class RecordStore {
public:
    virtual ~RecordStore() = default;
    virtual std::optional<int32_t> readNumber(std::wstring_view name) = 0;
    virtual std::optional<std::wstring> readText(std::wstring_view name) = 0;
    virtual bool writeNumber(std::wstring_view name, int32_t value) = 0;
    virtual bool writeText(std::wstring_view name, std::wstring_view text) = 0;
    virtual void remove(std::wstring_view name) = 0;
};

// The program's key of the current user.
std::unique_ptr<RecordStore> makeRegistryRecordStore();

}  // namespace tavro::settings
