// The shell folders and the wallpaper path as the system gives them back.
#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include "desktop/desktop_calls_win32.h"
#include "desktop/special_folder_win32.h"

namespace tavro::desktop {
namespace {

TEST(GetSpecialFolder, TheShellsPathWithoutATrailingNulOrEmptyForAnUnknownFolder) {
    wchar_t expected[MAX_PATH] = {};
    ASSERT_TRUE(SHGetSpecialFolderPathW(nullptr, expected, CSIDL_MYPICTURES, FALSE));
    EXPECT_EQ(getSpecialFolder(kPicturesFolder), expected);
    EXPECT_EQ(getSpecialFolder(0x7F), L"");
    EXPECT_EQ(getSpecialFolder(-1), L"");
}

TEST(DeskWallPaper, APathOutsideTheAnsiCodePageComesBackUnchanged) {
    const std::wstring saved = readDeskWallPaper();
    const std::wstring path = getSpecialFolder(kPicturesFolder) + L"\\한글 é 写真.bmp";
    ASSERT_TRUE(writeDeskWallPaper(path));
    EXPECT_EQ(readDeskWallPaper(), path);
    writeDeskWallPaper(saved);
}

}  // namespace
}  // namespace tavro::desktop
