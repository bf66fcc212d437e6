// What the native builds (unit tests, fuzzers, benchmarks) use for the holiday list in place of
// Windows: Shift_JIS as code page 932 reads it, through glibc's iconv instead of
// MultiByteToWideChar; and the Cabinet Office's list kept under tests/data.
#pragma once

#include <iconv.h>

#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>

namespace tavro::native {

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

#ifdef TAVRO_SOURCE_DIR
// The bytes of the official list (1955 to 2027) as downloaded.
inline const std::string& officialListBytes() {
    static const std::string bytes = [] {
        std::ifstream in(std::string(TAVRO_SOURCE_DIR) + "/tests/data/syukujitsu.csv", std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }();
    return bytes;
}
#endif

}  // namespace tavro::native
