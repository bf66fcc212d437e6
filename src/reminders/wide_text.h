// UTF-8 (the file's text) to and from the UI's wide text: UTF-16 where wchar_t has 16 bits
// (Windows), one code point per wchar_t elsewhere.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tavro::reminders {

// True when the bytes are well-formed UTF-8: no overlong forms, no surrogates, nothing past U+10FFFF.
bool isValidUtf8(std::string_view bytes);

// The wide text of UTF-8 bytes; a malformed sequence gives U+FFFD.
std::wstring wideFromUtf8(std::string_view bytes);

// The UTF-8 of wide text; an unpaired surrogate gives U+FFFD.
std::string utf8FromWide(std::wstring_view text);

// The number of characters (code points) of wide text, a surrogate pair counting once.
std::size_t characterCount(std::wstring_view text);

// The same conversions for 16-bit text on any platform (how Windows builds see wchar_t).
std::u16string utf16FromUtf8(std::string_view bytes);
std::string utf8FromUtf16(std::u16string_view text);

}  // namespace tavro::reminders
