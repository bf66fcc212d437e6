#include <gtest/gtest.h>

#include "desktop/wallpaper_rules.h"

namespace tavro::desktop {
namespace {

TEST(WallPaperPath, PicturesFolderFirstThenDocumentsThenTheDriveRoot) {
    EXPECT_EQ(wallpaperPath(L"C:\\Users\\a\\Pictures", L"C:\\Users\\a\\Documents"),
              L"C:\\Users\\a\\Pictures\\mosaic.bmp");
    EXPECT_EQ(wallpaperPath(L"", L"C:\\Users\\a\\Documents"), L"C:\\Users\\a\\Documents\\mosaic.bmp");
    EXPECT_EQ(wallpaperPath(L"", L""), L"\\mosaic.bmp");
}

TEST(WallPaperPath, TheFolderIsTakenUnchangedEvenWithATrailingBackslash) {
    EXPECT_EQ(wallpaperPath(L"D:\\", L""), L"D:\\\\mosaic.bmp");
    EXPECT_EQ(wallpaperPath(L"C:\\ユーザー\\写真", L""), L"C:\\ユーザー\\写真\\mosaic.bmp");
}

TEST(TextBeforeNul, CutsAtTheFirstNulOrTakesTheWholeBuffer) {
    const wchar_t buffer[] = {L'a', L'b', L'\0', L'c', L'\0'};
    EXPECT_EQ(textBeforeNul(buffer, 5), L"ab");
    const wchar_t full[] = {L'x', L'y', L'z'};
    EXPECT_EQ(textBeforeNul(full, 3), L"xyz");
    const wchar_t untouched[4] = {};
    EXPECT_EQ(textBeforeNul(untouched, 4), L"");
    EXPECT_EQ(textBeforeNul(nullptr, 4), L"");
}

constexpr std::wstring_view kOwn = L"C:\\Users\\a\\Pictures\\mosaic.bmp";

TEST(OriginalsAtStart, WithoutARecordWhatIsInForceIsTheUsers) {
    const DesktopSettings now{L"C:\\sea.jpg", 0x102030};
    EXPECT_EQ(originalsAtStart(now, std::nullopt, kOwn), now);
    // A file of ours in force with nothing recorded: nothing better is known.
    const DesktopSettings ours{std::wstring(kOwn), kDesktopColour};
    EXPECT_EQ(originalsAtStart(ours, std::nullopt, kOwn), ours);
}

TEST(OriginalsAtStart, AfterAKillTheRecordReplacesOurFileAndOurColour) {
    const DesktopSettings record{L"C:\\sea.jpg", 0x102030};
    const DesktopSettings leftByTheKilledRun{std::wstring(kOwn), kDesktopColour};
    EXPECT_EQ(originalsAtStart(leftByTheKilledRun, record, kOwn), record);
    // The user had no wallpaper at all.
    const DesktopSettings none{L"", 0x102030};
    EXPECT_EQ(originalsAtStart(leftByTheKilledRun, none, kOwn), none);
}

TEST(OriginalsAtStart, TheUsersLaterChoiceWinsOverTheRecordItemByItem) {
    const DesktopSettings record{L"C:\\sea.jpg", 0x102030};
    const DesktopSettings newWallPaper{L"C:\\hills.jpg", kDesktopColour};
    EXPECT_EQ(originalsAtStart(newWallPaper, record, kOwn), (DesktopSettings{L"C:\\hills.jpg", 0x102030}));
    const DesktopSettings newColour{std::wstring(kOwn), 0x00FF00};
    EXPECT_EQ(originalsAtStart(newColour, record, kOwn), (DesktopSettings{L"C:\\sea.jpg", 0x00FF00}));
    const DesktopSettings removedWallPaper{L"", 0x00FF00};
    EXPECT_EQ(originalsAtStart(removedWallPaper, record, kOwn), removedWallPaper);
}

TEST(OriginalsAtStart, OurFileUnderAnotherSpellingIsNotOurs) {
    const DesktopSettings record{L"C:\\sea.jpg", 0x102030};
    const DesktopSettings upper{L"C:\\USERS\\a\\Pictures\\mosaic.bmp", 0x102030};
    EXPECT_EQ(originalsAtStart(upper, record, kOwn).wallPaper, upper.wallPaper);
}

TEST(ShouldRestoreWallPaper, OnlyWhileTheDesktopShowsExactlyOurFile) {
    EXPECT_TRUE(shouldRestoreWallPaper(kOwn, kOwn, L"C:\\sea.jpg"));
    EXPECT_TRUE(shouldRestoreWallPaper(kOwn, kOwn, L""));
    EXPECT_FALSE(shouldRestoreWallPaper(L"C:\\hills.jpg", kOwn, L"C:\\sea.jpg"));
    EXPECT_FALSE(shouldRestoreWallPaper(L"c:\\users\\a\\pictures\\mosaic.bmp", kOwn, L"C:\\sea.jpg"));
    EXPECT_FALSE(shouldRestoreWallPaper(L"", kOwn, L"C:\\sea.jpg"));
}

TEST(ShouldRestoreWallPaper, NeverBackToOurOwnFile) {
    EXPECT_FALSE(shouldRestoreWallPaper(kOwn, kOwn, kOwn));
}

}  // namespace
}  // namespace tavro::desktop
