// mdlResistory: the program's settings as values of one registry key of the current user.
// Texts are stored in the ANSI code page with their zero byte; numbers as REG_DWORD.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "settings/settings_table.h"

namespace tavro::settings {

enum class RegRoot { CurrentUser, LocalMachine };

// The registry's own type numbers. Other numbers are refused by both operations.
enum class RegType : uint32_t { Text = 1, Number = 4 };

using RegValue = std::variant<std::wstring, int32_t>;

inline constexpr std::wstring_view kSettingsKey = L"Software\\Quillmar-soft\\tavroClock";

// Creates the key path as needed. The value is converted to the kind the type asks for: a
// number becomes its decimal text; a text must be a whole decimal 32-bit number, else nothing
// is written. True when the value was set.
bool writeRegValue(RegRoot root, std::wstring_view subKey, std::wstring_view valueName, RegType type,
                   const RegValue& value);

// The stored value, or defaultValue unchanged when the key or value is missing, the value is
// of another registry type, a REG_DWORD is not 4 bytes, or a text needs more than 256 bytes
// with its zero byte. A text is cut at its first zero byte. Never creates anything.
RegValue readRegValue(RegRoot root, std::wstring_view subKey, std::wstring_view valueName, RegType type,
                      RegValue defaultValue);

// The program's key of the current user.
bool writeRegLong(std::wstring_view name, int32_t value);
bool writeRegString(std::wstring_view name, std::wstring_view text);
int32_t readRegLong(std::wstring_view name, int32_t defaultValue);
std::wstring readRegString(std::wstring_view name, std::wstring_view defaultText);

// For values the program only reads, such as feedHost and feedCalendarId: nothing when
// readRegString would give its default. A stored empty text is an empty text.
std::optional<std::wstring> readOptionalRegString(std::wstring_view name);

// The values of the table (settings_table.h): a missing one, or one of another type, reads as
// the table's `otherwise`.
inline int32_t readSetting(const NumberSetting& s) { return readRegLong(s.name, s.otherwise); }
inline std::wstring readSetting(const TextSetting& s) { return readRegString(s.name, s.otherwise); }
inline std::optional<std::wstring> readOptionalSetting(const TextSetting& s) { return readOptionalRegString(s.name); }
inline bool writeSetting(const NumberSetting& s, int32_t value) { return writeRegLong(s.name, value); }
inline bool writeSetting(const TextSetting& s, std::wstring_view text) { return writeRegString(s.name, text); }

}  // namespace tavro::settings
