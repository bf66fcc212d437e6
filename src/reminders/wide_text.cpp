#include "reminders/wide_text.h"

#include <cstdint>

namespace tavro::reminders {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

// The code point at bytes[i], advancing i; kReplacement (one byte consumed) for a malformed one.
char32_t decodeOne(std::string_view bytes, std::size_t& i, bool& ok) {
    const auto b0 = static_cast<unsigned char>(bytes[i]);
    ok = true;
    if (b0 < 0x80) {
        ++i;
        return b0;
    }
    int length = 0;
    char32_t cp = 0, minimum = 0;
    if ((b0 & 0xE0) == 0xC0) length = 2, cp = b0 & 0x1F, minimum = 0x80;
    else if ((b0 & 0xF0) == 0xE0) length = 3, cp = b0 & 0x0F, minimum = 0x800;
    else if ((b0 & 0xF8) == 0xF0) length = 4, cp = b0 & 0x07, minimum = 0x10000;
    if (length == 0 || i + length > bytes.size()) {
        ok = false;
        ++i;
        return kReplacement;
    }
    for (int k = 1; k < length; ++k) {
        const auto b = static_cast<unsigned char>(bytes[i + k]);
        if ((b & 0xC0) != 0x80) {
            ok = false;
            ++i;
            return kReplacement;
        }
        cp = (cp << 6) | (b & 0x3F);
    }
    if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
        ok = false;
        ++i;
        return kReplacement;
    }
    i += length;
    return cp;
}

void appendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

template <typename Char>
std::basic_string<Char> fromUtf8(std::string_view bytes) {
    std::basic_string<Char> out;
    out.reserve(bytes.size());
    for (std::size_t i = 0; i < bytes.size();) {
        bool ok = true;
        const char32_t cp = decodeOne(bytes, i, ok);
        if constexpr (sizeof(Char) == 2) {
            if (cp >= 0x10000) {
                out += static_cast<Char>(0xD800 + ((cp - 0x10000) >> 10));
                out += static_cast<Char>(0xDC00 + ((cp - 0x10000) & 0x3FF));
                continue;
            }
        }
        out += static_cast<Char>(cp);
    }
    return out;
}

template <typename Char>
std::string toUtf8(std::basic_string_view<Char> text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t cp = static_cast<char32_t>(text[i]);
        if constexpr (sizeof(Char) == 2) {
            cp &= 0xFFFF;
            if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < text.size()) {
                const char32_t low = static_cast<char32_t>(text[i + 1]) & 0xFFFF;
                if (low >= 0xDC00 && low <= 0xDFFF) {
                    appendUtf8(out, 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00));
                    ++i;
                    continue;
                }
            }
        }
        if ((cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF) cp = kReplacement;
        appendUtf8(out, cp);
    }
    return out;
}

}  // namespace

bool isValidUtf8(std::string_view bytes) {
    for (std::size_t i = 0; i < bytes.size();) {
        if (static_cast<unsigned char>(bytes[i]) < 0x80) {
            ++i;
            continue;
        }
        bool ok = true;
        decodeOne(bytes, i, ok);
        if (!ok) return false;
    }
    return true;
}

std::wstring wideFromUtf8(std::string_view bytes) { return fromUtf8<wchar_t>(bytes); }
std::string utf8FromWide(std::wstring_view text) { return toUtf8<wchar_t>(text); }
std::u16string utf16FromUtf8(std::string_view bytes) { return fromUtf8<char16_t>(bytes); }
std::string utf8FromUtf16(std::u16string_view text) { return toUtf8<char16_t>(text); }

std::size_t characterCount(std::wstring_view text) {
    std::size_t count = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto unit = static_cast<uint32_t>(text[i]);
        if constexpr (sizeof(wchar_t) == 2) {
            if (unit >= 0xDC00 && unit <= 0xDFFF && i > 0) {
                const auto before = static_cast<uint32_t>(text[i - 1]);
                if (before >= 0xD800 && before <= 0xDBFF) continue;
            }
        }
        ++count;
    }
    return count;
}

}  // namespace tavro::reminders
