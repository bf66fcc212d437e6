// setBackGround with a program-manager window that the test makes itself.
#include <windows.h>

#include <gtest/gtest.h>

#include "desktop/desktop_changes_win32.h"

namespace tavro::desktop {
namespace {

// Hidden: under Wine a shown window re-parented without a message loop costs seconds.
HWND makeWindow(const wchar_t* className, const wchar_t* title, RECT r) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = className;
    RegisterClassW(&wc);  // already there from an earlier test is fine
    return CreateWindowExW(0, className, title, WS_POPUP, r.left, r.top, r.right - r.left,
                           r.bottom - r.top, nullptr, nullptr, wc.hInstance, nullptr);
}

RECT screenRect(HWND w) {
    RECT r{};
    GetWindowRect(w, &r);
    return r;
}

bool sameRect(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

class SetBackGroundTest : public ::testing::Test {
protected:
    void TearDown() override {
        if (clock_ && IsWindow(clock_)) DestroyWindow(clock_);
        if (progman_ && IsWindow(progman_)) DestroyWindow(progman_);
    }
    HWND clock_ = nullptr;
    HWND progman_ = nullptr;
};

TEST_F(SetBackGroundTest, TheClockBecomesAChildOfTheProgramManagerInTheSamePlace) {
    progman_ = makeWindow(L"Progman", L"Program Manager", {100, 50, 900, 650});
    ASSERT_TRUE(progman_);
    clock_ = makeWindow(L"TavroClockTestWindow", L"TavroClock", {300, 200, 440, 280});
    const RECT before = screenRect(clock_);
    EXPECT_TRUE(setBackGround(clock_));
    EXPECT_EQ(GetAncestor(clock_, GA_PARENT), progman_);
    EXPECT_TRUE(sameRect(screenRect(clock_), before));
    // Only the parent changes.
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongW(clock_, GWL_STYLE)) & (WS_POPUP | WS_CHILD), DWORD{WS_POPUP});
}

TEST_F(SetBackGroundTest, AWindowOfTheClassWithAnotherTitleIsNotTheProgramManager) {
    progman_ = makeWindow(L"Progman", L"Something else", {0, 0, 200, 200});
    clock_ = makeWindow(L"TavroClockTestWindow", L"TavroClock", {10, 10, 50, 50});
    EXPECT_FALSE(setBackGround(clock_));
    EXPECT_EQ(GetAncestor(clock_, GA_PARENT), GetDesktopWindow());
}

TEST_F(SetBackGroundTest, WithoutAProgramManagerTheClockStaysOnTheDesktopBelowOtherWindows) {
    clock_ = makeWindow(L"TavroClockTestWindow", L"TavroClock", {300, 200, 440, 280});
    const HWND other = makeWindow(L"TavroClockTestOther", L"other", {0, 0, 100, 100});
    const RECT before = screenRect(clock_);
    EXPECT_FALSE(setBackGround(clock_));
    EXPECT_EQ(GetAncestor(clock_, GA_PARENT), GetDesktopWindow());
    EXPECT_TRUE(sameRect(screenRect(clock_), before));
    // Nothing of ours lies below it.
    for (HWND w = GetWindow(clock_, GW_HWNDNEXT); w; w = GetWindow(w, GW_HWNDNEXT))
        EXPECT_NE(w, other);
    DestroyWindow(other);
}

TEST_F(SetBackGroundTest, AChildOfAProgramManagerThatWentAwayGoesBackToTheDesktop) {
    progman_ = makeWindow(L"Progman", L"Program Manager", {0, 0, 800, 600});
    clock_ = makeWindow(L"TavroClockTestWindow", L"TavroClock", {300, 200, 440, 280});
    ASSERT_TRUE(setBackGround(clock_));
    // The program manager is renamed, as if another shell had replaced it.
    SetWindowTextW(progman_, L"gone");
    EXPECT_FALSE(setBackGround(clock_));
    EXPECT_EQ(GetAncestor(clock_, GA_PARENT), GetDesktopWindow());
}

TEST(SetBackGround, NoWindowIsRefused) { EXPECT_FALSE(setBackGround(nullptr)); }

}  // namespace
}  // namespace tavro::desktop
