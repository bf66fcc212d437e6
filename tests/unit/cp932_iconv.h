// Shift_JIS as Windows reads it (code page 932), through glibc's iconv, for the native builds.
#pragma once

#include <iconv.h>

#include <optional>
#include <string>
#include <string_view>

namespace tavro::testing {

// The bytes converted whole, nothing when iconv refuses any of them.
inline std::optional<std::string> convert(std::string_view bytes, const char* to, const char* from) {
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
    std::string in(bytes), out(bytes.size() * 4 + 4, '\0');
    char* inAt = in.data();
    char* outAt = out.data();
    size_t inLeft = in.size(), outLeft = out.size();
    const bool ok = iconv(cd, &inAt, &inLeft, &outAt, &outLeft) != static_cast<size_t>(-1) && inLeft == 0;
    iconv_close(cd);
    if (!ok) return std::nullopt;
    out.resize(out.size() - outLeft);
    return out;
}

// Nothing for bytes that are not valid code page 932, as MB_ERR_INVALID_CHARS does on Windows.
inline std::optional<std::wstring> decodeCp932(std::string_view bytes) {
    const auto wide = convert(bytes, "WCHAR_T", "CP932");
    if (!wide) return std::nullopt;
    std::wstring out(wide->size() / sizeof(wchar_t), L'\0');
    wide->copy(reinterpret_cast<char*>(out.data()), out.size() * sizeof(wchar_t));
    return out;
}

// UTF-8 text as code page 932 bytes, for building lists in the tests.
inline std::string cp932(std::string_view utf8) { return convert(utf8, "CP932", "UTF-8").value_or(""); }

}  // namespace tavro::testing
