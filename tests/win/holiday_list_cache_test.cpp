// The holiday list's Windows side: the strict code page 932 decoder the checker is given, and
// the cache file replaced whole.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "base/cp932_win32.h"
#include "holidays/holiday_list_cache_win32.h"

using namespace tavro::holidays;
using tavro::base::decodeCp932;

namespace {

TEST(HolidayListOnWindows, NamesDecodeStrictlyFromCodePage932) {
    EXPECT_EQ(decodeCp932("\x8b\xce\x98\x4a\x8a\xb4\x8e\xd3\x82\xcc\x93\xfa"), L"勤労感謝の日");
    EXPECT_EQ(decodeCp932(""), L"");
    // A lead byte without its trail, and one with a trail byte no character has.
    EXPECT_FALSE(decodeCp932("\x8b"));
    EXPECT_FALSE(decodeCp932("\x82\xff"));
}

TEST(HolidayListOnWindows, TheCacheIsReplacedWholeAndReadBackByteForByte) {
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    const std::wstring folder = std::wstring(temp) + L"tavro_list_cache_test";
    const std::wstring path = folder + L"\\syukujitsu.csv";
    DeleteFileW(path.c_str());
    DeleteFileW((path + L".part").c_str());
    RemoveDirectoryW(folder.c_str());

    EXPECT_FALSE(readCachedList(path)) << "no copy yet";
    const std::string first("a\0\r\n\x82\xa0", 6), second(200 * 1024, '\x93');
    ASSERT_TRUE(writeCachedList(path, first)) << "the folder is made";
    EXPECT_EQ(readCachedList(path), first);
    ASSERT_TRUE(writeCachedList(path, second)) << "over the old copy";
    EXPECT_EQ(readCachedList(path), second);
    EXPECT_EQ(GetFileAttributesW((path + L".part").c_str()), INVALID_FILE_ATTRIBUTES) << "no leftover";
    EXPECT_FALSE(writeCachedList(path, std::string(256 * 1024 + 1, 'x'))) << "larger than any list";
    EXPECT_EQ(readCachedList(path), second) << "and the old copy stays";
    // A copy grown past any list (not ours) is not read.
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    LARGE_INTEGER size{};
    size.QuadPart = 256 * 1024 + 1;
    SetFilePointerEx(file, size, nullptr, FILE_BEGIN);
    SetEndOfFile(file);
    CloseHandle(file);
    EXPECT_FALSE(readCachedList(path));
    DeleteFileW(path.c_str());
    RemoveDirectoryW(folder.c_str());
}

}  // namespace
