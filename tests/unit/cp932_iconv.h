// Shift_JIS as Windows reads it (code page 932), through glibc's iconv, for the native builds.
#pragma once

#include <iconv.h>

#include <optional>
#include <string>
#include <string_view>

namespace tavro::testing {

inline std::optional<std::wstring> convert(std::string_view bytes, const char* to, const char* from, std::size_t unit) {
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
    std::wstring wide(out.size() / unit, L'\0');
    out.copy(reinterpret_cast<char*>(wide.data()), wide.size() * unit);
    return wide;
}

// Nothing for bytes that are not valid code page 932, as MB_ERR_INVALID_CHARS does on Windows.
inline std::optional<std::wstring> decodeCp932(std::string_view bytes) {
    return convert(bytes, "WCHAR_T", "CP932", sizeof(wchar_t));
}

// UTF-8 text as code page 932 bytes, for building lists in the tests.
inline std::string cp932(std::string_view utf8) {
    iconv_t cd = iconv_open("CP932", "UTF-8");
    std::string in(utf8), out(utf8.size() * 2 + 4, '\0');
    char* inAt = in.data();
    char* outAt = out.data();
    size_t inLeft = in.size(), outLeft = out.size();
    iconv(cd, &inAt, &inLeft, &outAt, &outLeft);
    iconv_close(cd);
    out.resize(out.size() - outLeft);
    return out;
}

}  // namespace tavro::testing
