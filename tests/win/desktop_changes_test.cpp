// The mosaic wallpaper and the desktop colour on the real system calls: set while the program
// runs, put back at exit, and mended after a run that ended without its shutdown.
#include <windows.h>

#include <gtest/gtest.h>

#include "desktop/desktop_changes_win32.h"
#include "desktop_test_support.h"
#include "render/bmp.h"
#include "settings/registry_store.h"

namespace tavro::desktop {
namespace {

using testing::SharedStore;

constexpr render::ColorRef kUserColour = 0x203040;

class DesktopChangesTest : public testing::SystemDesktopTest {
protected:
    void SetUp() override {
        SystemDesktopTest::SetUp();
        folder_ = testing::makeScratchFolder(L"changes");
        userWallPaper_ = folder_ + L"\\user's own.bmp";
        ownPath_ = folder_ + L"\\mosaic.bmp";
        ASSERT_TRUE(writeDesktopColour(kUserColour));
        ASSERT_TRUE(writeDeskWallPaper(userWallPaper_));
        ASSERT_EQ(readDeskWallPaper(), userWallPaper_);
    }
    void TearDown() override {
        testing::removeScratchFolder(folder_);
        SystemDesktopTest::TearDown();
    }
    std::unique_ptr<DesktopChanges> applyHere(const std::wstring& path) {
        return DesktopChanges::apply(picture_, path, std::make_unique<SharedStore>(store_));
    }
    std::unique_ptr<DesktopChanges> applyHere() { return applyHere(ownPath_); }

    static render::Image makePicture() {
        render::Image image(61, 23);
        for (int y = 0; y < image.height; ++y)
            for (int x = 0; x < image.width; ++x) image.at(x, y) = render::rgb(x * 4, y * 11, (x ^ y) * 3);
        return image;
    }

    std::wstring folder_, userWallPaper_, ownPath_;
    render::Image picture_ = makePicture();
    std::shared_ptr<SharedStore::Values> store_ = std::make_shared<SharedStore::Values>();
};

TEST_F(DesktopChangesTest, WhileRunningTheFileIsTheWallpaperAndTheColourTheMosaicGrey) {
    auto changes = applyHere();
    EXPECT_EQ(readDeskWallPaper(), ownPath_);
    EXPECT_EQ(readDesktopColour(), 0x4E4A46);
    EXPECT_EQ(GetSysColor(COLOR_BACKGROUND), RGB(70, 74, 78));
    EXPECT_TRUE(changes->wallPaperChanged());
}

TEST_F(DesktopChangesTest, TheSavedFileDecodesToThePicture) {
    auto changes = applyHere();
    const auto bytes = testing::readWholeFile(ownPath_);
    ASSERT_TRUE(bytes);
    const auto decoded = render::readBmp(bytes->data(), bytes->size());
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->width, picture_.width);
    EXPECT_EQ(decoded->height, picture_.height);
    EXPECT_EQ(decoded->pixels, picture_.pixels);
}

TEST_F(DesktopChangesTest, AnEarlierFileIsReplaced) {
    const HANDLE old = CreateFileW(ownPath_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(old, INVALID_HANDLE_VALUE);
    std::vector<char> junk(1 << 20, 'x');
    DWORD done = 0;
    WriteFile(old, junk.data(), static_cast<DWORD>(junk.size()), &done, nullptr);
    CloseHandle(old);
    auto changes = applyHere();
    const auto bytes = testing::readWholeFile(ownPath_);
    ASSERT_TRUE(bytes);
    EXPECT_EQ(*bytes, render::encodeBmp24(picture_.canvas()));
}

TEST_F(DesktopChangesTest, ExitPutsBackTheWallpaperAndTheColourAndLeavesTheFile) {
    auto changes = applyHere();
    changes->restore();
    EXPECT_EQ(readDeskWallPaper(), userWallPaper_);
    EXPECT_EQ(readDesktopColour(), kUserColour);
    EXPECT_TRUE(testing::fileExists(ownPath_));
}

TEST_F(DesktopChangesTest, WithNoWallpaperBeforeExitLeavesNone) {
    ASSERT_TRUE(writeDeskWallPaper(L""));
    ASSERT_EQ(readDeskWallPaper(), L"");
    auto changes = applyHere();
    EXPECT_EQ(readDeskWallPaper(), ownPath_);
    changes->restore();
    EXPECT_EQ(readDeskWallPaper(), L"");
}

TEST_F(DesktopChangesTest, AWallpaperTheUserPickedMeanwhileStaysAndTheColourIsStillRestored) {
    auto changes = applyHere();
    const std::wstring picked = folder_ + L"\\picked while running.bmp";
    ASSERT_TRUE(writeDeskWallPaper(picked));
    changes->restore();
    EXPECT_EQ(readDeskWallPaper(), picked);
    EXPECT_EQ(readDesktopColour(), kUserColour);
}

TEST_F(DesktopChangesTest, OurFileUnderAnotherLetterCaseIsNotRestored) {
    auto changes = applyHere();
    std::wstring other = ownPath_;
    other.replace(other.size() - 10, 10, L"MOSAIC.BMP");
    ASSERT_TRUE(writeDeskWallPaper(other));
    changes->restore();
    EXPECT_EQ(readDeskWallPaper(), other);
}

TEST_F(DesktopChangesTest, DestructionRestoresOnceAndALaterRestoreChangesNothing) {
    auto changes = applyHere();
    changes->restore();
    ASSERT_TRUE(writeDesktopColour(0x00FF00));
    changes->restore();
    changes.reset();
    EXPECT_EQ(readDesktopColour(), 0x00FF00);

    auto again = applyHere();
    again.reset();
    EXPECT_EQ(readDesktopColour(), 0x00FF00);
    EXPECT_EQ(readDeskWallPaper(), userWallPaper_);
}

TEST_F(DesktopChangesTest, AFileThatCannotBeWrittenLeavesTheWallpaperAloneButTheColourChanges) {
    const std::wstring nowhere = folder_ + L"\\no such folder\\mosaic.bmp";
    auto changes = applyHere(nowhere);
    EXPECT_FALSE(changes->wallPaperChanged());
    EXPECT_EQ(readDeskWallPaper(), userWallPaper_);
    EXPECT_EQ(readDesktopColour(), 0x4E4A46);
    changes->restore();
    EXPECT_EQ(readDeskWallPaper(), userWallPaper_);
    EXPECT_EQ(readDesktopColour(), kUserColour);
    EXPECT_FALSE(testing::fileExists(nowhere));
}

TEST_F(DesktopChangesTest, TheRecordHoldsTheUsersSettingsWhileRunningAndGoesAtExit) {
    auto changes = applyHere();
    SharedStore view(store_);
    EXPECT_EQ(loadRecord(view), (DesktopSettings{userWallPaper_, kUserColour}));
    changes->restore();
    EXPECT_FALSE(loadRecord(view));
    EXPECT_TRUE(store_->numbers.empty() && store_->texts.empty());
}

// A kill: the changes object is never destroyed, so nothing is put back.
void endWithoutShutdown(std::unique_ptr<DesktopChanges> changes) { (void)changes.release(); }

TEST_F(DesktopChangesTest, AfterAKillTheNextRunsExitPutsBackTheUsersOriginals) {
    endWithoutShutdown(applyHere());
    ASSERT_EQ(readDeskWallPaper(), ownPath_);
    ASSERT_EQ(readDesktopColour(), 0x4E4A46);
    auto next = applyHere();
    EXPECT_EQ(readDeskWallPaper(), ownPath_);
    next->restore();
    EXPECT_EQ(readDeskWallPaper(), userWallPaper_);
    EXPECT_EQ(readDesktopColour(), kUserColour);
}

TEST_F(DesktopChangesTest, AfterAKillTheUsersNewChoiceWinsOverTheRecord) {
    endWithoutShutdown(applyHere());
    const std::wstring picked = folder_ + L"\\picked after the kill.bmp";
    ASSERT_TRUE(writeDeskWallPaper(picked));
    auto next = applyHere();
    next->restore();
    EXPECT_EQ(readDeskWallPaper(), picked);
    // The colour was still ours, so the recorded one comes back.
    EXPECT_EQ(readDesktopColour(), kUserColour);
}

TEST_F(DesktopChangesTest, AfterTwoKillsTheOriginalsAreStillKnown) {
    endWithoutShutdown(applyHere());
    endWithoutShutdown(applyHere());
    auto third = applyHere();
    third->restore();
    EXPECT_EQ(readDeskWallPaper(), userWallPaper_);
    EXPECT_EQ(readDesktopColour(), kUserColour);
}

TEST_F(DesktopChangesTest, AfterAKillANextRunThatCannotWriteItsFileStillMends) {
    endWithoutShutdown(applyHere());
    // The file of the killed run is still the wallpaper; this run's copy cannot be written.
    const HANDLE locked = CreateFileW(ownPath_.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(locked, INVALID_HANDLE_VALUE);
    auto next = applyHere();
    CloseHandle(locked);
    EXPECT_FALSE(next->wallPaperChanged());
    next->restore();
    EXPECT_EQ(readDeskWallPaper(), userWallPaper_);
    EXPECT_EQ(readDesktopColour(), kUserColour);
}

TEST_F(DesktopChangesTest, AFolderNameOutsideTheAnsiCodePageSurvivesTheRoundTrip) {
    ASSERT_NE(ownPath_.find(L'한'), std::wstring::npos);
    auto changes = applyHere();
    EXPECT_EQ(readDeskWallPaper(), ownPath_);
    changes->restore();
    EXPECT_EQ(readDeskWallPaper(), userWallPaper_);
}

// The record in the program's own key, as the program keeps it.
class RegistryRecordTest : public ::testing::Test {
protected:
    void TearDown() override { clearRecord(*store_); }
    std::unique_ptr<RecordStore> store_ = makeRegistryRecordStore();
};

TEST_F(RegistryRecordTest, ALongPathOutsideTheAnsiCodePageComesBackWhole) {
    std::wstring path = L"C:\\users\\한글";
    while (path.size() < 400) path += L"\\写真 é";
    ASSERT_TRUE(saveRecord(*store_, {path, 0x123456}));
    EXPECT_EQ(loadRecord(*store_), (DesktopSettings{path, 0x123456}));
    clearRecord(*store_);
    EXPECT_FALSE(loadRecord(*store_));
}

TEST_F(RegistryRecordTest, ClearingLeavesTheOtherSettings) {
    const int32_t viewMode = settings::readRegLong(L"viewMode", -7);
    ASSERT_TRUE(saveRecord(*store_, {L"C:\\a.bmp", 1}));
    clearRecord(*store_);
    EXPECT_EQ(settings::readRegLong(L"viewMode", -7), viewMode);
    EXPECT_FALSE(store_->readNumber(kRecordColourName));
    EXPECT_FALSE(store_->readText(std::wstring(kRecordPartName) + L"1"));
}

}  // namespace
}  // namespace tavro::desktop
