// The shell folders the wallpaper file goes to, as the system gives them.
#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include "desktop/special_folder_win32.h"
#include "desktop/wallpaper_rules.h"
#include "desktop_test_support.h"

namespace tavro::desktop {
namespace {

bool isFolder(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

TEST(GetSpecialFolder, PicturesAndDocumentsAreExistingFoldersWithoutATrailingNul) {
    for (const int csidl : {kPicturesFolder, kDocumentsFolder}) {
        const std::wstring folder = getSpecialFolder(csidl);
        ASSERT_FALSE(folder.empty()) << csidl;
        EXPECT_EQ(folder.find(L'\0'), std::wstring::npos);
        EXPECT_NE(folder.back(), L'\\') << csidl;
        EXPECT_TRUE(isFolder(folder)) << csidl;
    }
    EXPECT_NE(getSpecialFolder(kPicturesFolder), getSpecialFolder(kDocumentsFolder));
}

TEST(GetSpecialFolder, AFolderTheSystemCannotGiveIsEmpty) {
    EXPECT_EQ(getSpecialFolder(0x7F), L"");
    EXPECT_EQ(getSpecialFolder(-1), L"");
}

TEST(GetSpecialFolder, SameAsTheShellSaysForTheSameFolder) {
    wchar_t expected[MAX_PATH] = {};
    ASSERT_TRUE(SHGetSpecialFolderPathW(nullptr, expected, CSIDL_MYPICTURES, FALSE));
    EXPECT_EQ(getSpecialFolder(kPicturesFolder), expected);
}

TEST(WallPaperPathOnTheSystem, FallsBackFromAMissingFolderToDocumentsAndThenToTheRoot) {
    const std::wstring documents = getSpecialFolder(kDocumentsFolder);
    EXPECT_EQ(wallpaperPath(getSpecialFolder(kPicturesFolder), documents),
              getSpecialFolder(kPicturesFolder) + L"\\mosaic.bmp");
    EXPECT_EQ(wallpaperPath(getSpecialFolder(0x7F), documents), documents + L"\\mosaic.bmp");
    EXPECT_EQ(wallpaperPath(getSpecialFolder(0x7F), getSpecialFolder(0x7E)), L"\\mosaic.bmp");
    // The root of the current drive, as the system resolves it.
    wchar_t full[MAX_PATH] = {};
    ASSERT_GT(GetFullPathNameW(L"\\mosaic.bmp", MAX_PATH, full, nullptr), 0u);
    EXPECT_EQ(std::wstring(full).substr(1), L":\\mosaic.bmp");
}

}  // namespace
}  // namespace tavro::desktop
