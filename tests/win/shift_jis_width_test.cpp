// The Shift-JIS byte counts against the system's own conversion. (What GDI draws with our font:
// the end-to-end panel test reads the captions off the screen.)
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "render/sjis.h"

using namespace tavro::render;

namespace {
// shiftJisWidth must agree with WideCharToMultiByte(932), best fit and "?" included.
int systemWidth(const wchar_t* units, int count) {
    char bytes[256];
    return WideCharToMultiByte(932, 0, units, count, bytes, sizeof bytes, nullptr, nullptr);
}

TEST(ShiftJisWidthOnWindows, EveryCodeUnitAndASurrogatePairAgreeWithTheSystem) {
    int differ = 0;
    std::string examples;
    for (unsigned u = 0; u <= 0xFFFF; ++u) {
        const auto ch = static_cast<wchar_t>(u);
        const int expected = systemWidth(&ch, 1);
        if (shiftJisWidth(ch) != expected && ++differ <= 20) {
            char note[32];
            std::snprintf(note, sizeof note, " U+%04X:%d", u, expected);
            examples += note;
        }
    }
    EXPECT_EQ(differ, 0) << examples;
    const std::wstring pair = L"\xD83D\xDE00";
    EXPECT_EQ(shiftJisLength(pair), systemWidth(pair.data(), 2));
}

}  // namespace
