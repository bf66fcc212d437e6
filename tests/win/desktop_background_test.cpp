// setBackGround with windows the test makes itself: what the real window calls do.
#include <windows.h>

#include <gtest/gtest.h>

#include "desktop/desktop_changes_win32.h"

namespace tavro::desktop {
namespace {

// Hidden: under Wine a shown window re-parented without a message loop costs seconds.
HWND makeWindow(const wchar_t* className, const wchar_t* title, int x) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = className;
    RegisterClassW(&wc);  // already there from an earlier test is fine
    return CreateWindowExW(0, className, title, WS_POPUP, x, 200, 140, 80, nullptr, nullptr, wc.hInstance, nullptr);
}

TEST(SetBackGround, AProgramManagerOfAnotherTitleIsNotTakenAndTheClockGoesBelowOtherWindows) {
    EXPECT_FALSE(setBackGround(nullptr));
    const HWND other = makeWindow(L"Progman", L"Something else", 0);
    const HWND clock = makeWindow(L"TavroClockTestWindow", L"TavroClock", 300);
    EXPECT_FALSE(setBackGround(clock));
    EXPECT_EQ(GetAncestor(clock, GA_PARENT), GetDesktopWindow());
    RECT r{};
    GetWindowRect(clock, &r);
    EXPECT_EQ(r.left, 300);
    for (HWND w = GetWindow(clock, GW_HWNDNEXT); w; w = GetWindow(w, GW_HWNDNEXT)) EXPECT_NE(w, other);

    // Then a program manager comes; when it is renamed, as by another shell, the clock goes back.
    const HWND progman = makeWindow(L"Progman", L"Program Manager", 100);
    ASSERT_TRUE(setBackGround(clock));
    EXPECT_EQ(GetAncestor(clock, GA_PARENT), progman);
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongW(clock, GWL_STYLE)) & (WS_POPUP | WS_CHILD), DWORD{WS_POPUP});
    SetWindowTextW(progman, L"gone");
    EXPECT_FALSE(setBackGround(clock));
    EXPECT_EQ(GetAncestor(clock, GA_PARENT), GetDesktopWindow());
    for (HWND w : {clock, progman, other}) DestroyWindow(w);
}

}  // namespace
}  // namespace tavro::desktop
