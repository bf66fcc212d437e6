// The walk of the shell's windows on real ones: a split desktop as a long session leaves it,
// with many hidden WorkerWs made after the icons' one, and so above it.
#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "desktop/desktop_host_win32.h"

TEST(DesktopWalk, HiddenWorkerWsAboveTheIconsHostLeaveItFound) {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    for (const wchar_t* name : {L"WorkerW", L"SHELLDLL_DefView"}) {
        WNDCLASSW c{0, DefWindowProcW, 0, 0, instance, nullptr, nullptr, nullptr, nullptr, name};
        RegisterClassW(&c);
    }
    std::vector<HWND> made;
    const auto make = [&](const wchar_t* name, DWORD style, HWND parent = nullptr) {
        made.push_back(CreateWindowExW(0, name, L"", style, 0, 0, 640, 480, parent, nullptr, instance, nullptr));
        return made.back();
    };
    const HWND icons = make(L"WorkerW", WS_POPUP | WS_VISIBLE);
    const HWND view = make(L"SHELLDLL_DefView", WS_CHILD | WS_VISIBLE, icons);
    for (int i = 0; i < 40; ++i) make(L"WorkerW", WS_POPUP);
    const HWND clock = make(L"STATIC", WS_POPUP);
    int above = 0;
    for (HWND h = nullptr; (h = FindWindowExW(nullptr, h, L"WorkerW", nullptr)) && h != icons;) ++above;
    ASSERT_EQ(above, 40) << "the hidden ones lie above the icons' one";

    const tavro::desktop::Attachment a = tavro::desktop::setBackGround(clock).attachment;
    EXPECT_EQ(a.host, reinterpret_cast<tavro::desktop::WindowId>(icons));
    EXPECT_EQ(a.above, reinterpret_cast<tavro::desktop::WindowId>(view));
    EXPECT_EQ(GetAncestor(clock, GA_PARENT), icons);
    for (auto it = made.rbegin(); it != made.rend(); ++it) DestroyWindow(*it);
}
