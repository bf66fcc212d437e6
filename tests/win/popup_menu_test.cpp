// The real popup menu: the Win32 menu built from the table, read back item by item, and the
// menu popped up on this thread while a watcher thread works it with keys.
#include <windows.h>

#include "app/menu_texts.h"
#include "app/popup_menu_win32.h"

#include <gtest/gtest.h>

#include <functional>

#include <string>
#include <thread>
#include <vector>

#include "menu_test_support.h"

using namespace tavro::app;

namespace {

struct ReadItem {
    int depth;
    unsigned id;
    std::wstring caption;
    bool checked;
};

void readMenu(HMENU menu, int depth, std::vector<ReadItem>& out) {
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        wchar_t caption[256] = {};
        MENUITEMINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_ID | MIIM_STATE | MIIM_SUBMENU | MIIM_STRING | MIIM_FTYPE;
        info.dwTypeData = caption;
        info.cch = 255;
        ASSERT_TRUE(GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info));
        out.push_back({depth, info.hSubMenu ? 0u : info.wID, caption, (info.fState & MFS_CHECKED) != 0});
        EXPECT_EQ(info.fType & (MFT_SEPARATOR | MFT_BITMAP | MFT_OWNERDRAW | MFT_RADIOCHECK), 0u) << i;
        if (info.hSubMenu) readMenu(info.hSubMenu, depth + 1, out);
    }
}

std::vector<ReadItem> readPopup(int viewMode) {
    const tavro::base::UniqueMenu menu = buildPopupMenu(viewMode);
    std::vector<ReadItem> items;
    if (menu) readMenu(menu.get(), 0, items);
    return items;
}

TEST(PopupMenu, BuiltMenuHasTheTreeAndCaptionsOfTheTable) {
    const std::vector<ReadItem> items = readPopup(3);
    ASSERT_EQ(items.size(), std::size(kPopupMenuItems));
    for (std::size_t i = 0; i < items.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(items[i].depth, kPopupMenuItems[i].depth);
        EXPECT_EQ(items[i].id, static_cast<unsigned>(kPopupMenuItems[i].id));
        EXPECT_EQ(items[i].caption, std::wstring(kPopupMenuItems[i].caption));
    }
    // The four items of the popup itself; the three submenus hold 3, 3 and 4.
    int top = 0;
    for (const ReadItem& item : items) top += item.depth == 0;
    EXPECT_EQ(top, 4);
}

TEST(PopupMenu, ExactlyTheCurrentViewItemIsChecked) {
    const std::vector<std::pair<int, unsigned>> cases = {
        {1, mnuViewClock}, {2, mnuViewClockCalender}, {3, mnuViewCountdown}, {0, mnuViewCountdown}, {7, mnuViewCountdown}};
    for (const auto& [view, checkedId] : cases) {
        SCOPED_TRACE(view);
        int checked = 0;
        for (const ReadItem& item : readPopup(view)) {
            if (!item.checked) continue;
            ++checked;
            EXPECT_EQ(item.id, checkedId);
        }
        EXPECT_EQ(checked, 1);
    }
}

// Pops the menu up on this thread; the watcher gets its window (null when none came up).
unsigned withMenu(int viewMode, const std::function<void(HWND)>& watch) {
    std::thread watcher([&] {
        HWND menu = menu_test::waitForWindow(L"#32768", nullptr, 5000);
        watch(menu);
        // Whatever the watcher did, the menu must not stay open and hang the suite.
        if (!menu_test::waitUntil([] { return !menu_test::findOwnWindow(L"#32768", nullptr); }, 3000))
            if (HWND open = menu_test::findOwnWindow(L"#32768", nullptr))
                PostMessageW(open, WM_KEYDOWN, VK_ESCAPE, 0);
    });
    const unsigned command = trackPopupMenu(GetModuleHandleW(nullptr), viewMode, POINT{200, 150});
    watcher.join();
    return command;
}

TEST(PopupMenu, OpensAtThePointOnAHiddenOwnerOfThisProcess) {
    RECT at{};
    HWND owner = nullptr;
    std::wstring ownerCaption;
    bool ownerShown = true;
    const unsigned command = withMenu(3, [&](HWND menu) {
        ASSERT_NE(menu, nullptr);
        GetWindowRect(menu, &at);
        owner = FindWindowW(L"TavroClockPopup", nullptr);
        ownerCaption = menu_test::windowText(owner);
        ownerShown = IsWindowVisible(owner) != FALSE;
        PostMessageW(menu, WM_KEYDOWN, VK_ESCAPE, 0);
    });
    EXPECT_EQ(command, 0u);  // dismissed
    EXPECT_EQ(at.left, 200);
    EXPECT_EQ(at.top, 150);
    ASSERT_NE(owner, nullptr);
    EXPECT_EQ(ownerCaption, L"このフォームはポップアップメニュー用です");
    EXPECT_FALSE(ownerShown);
    EXPECT_FALSE(IsWindow(owner));  // made for this opening only
}

TEST(PopupMenu, AccessKeysChooseAnItem) {
    const std::vector<std::pair<std::wstring, unsigned>> cases = {
        {L"vc", mnuViewClock},       {L"vl", mnuViewClockCalender}, {L"vt", mnuViewCountdown},
        {L"st", mnuCountdownSetting}, {L"sp", mnuProxySetting},      {L"hs", mnuTavro},
        {L"hh", mnuQuillmarSoft},     {L"hu", mnuQuillmarSupport},   {L"ha", mnuAbout},
        {L"x", mnuExit}};
    for (const auto& [keys, expected] : cases) {
        SCOPED_TRACE(std::string(keys.begin(), keys.end()));
        const unsigned command = withMenu(1, [&](HWND menu) {
            ASSERT_NE(menu, nullptr);
            for (wchar_t key : keys) {
                HWND front = nullptr;  // the deepest open level takes the key
                for (HWND w = FindWindowExW(nullptr, nullptr, L"#32768", nullptr); w;
                     w = FindWindowExW(nullptr, w, L"#32768", nullptr))
                    if (IsWindowVisible(w)) front = w;
                PostMessageW(front ? front : menu, WM_CHAR, key, 1);
                Sleep(150);
            }
        });
        EXPECT_EQ(command, expected);
    }
}

// The clock's tick is a timer message of the clock window: the menu's own loop must pass it on.
TEST(PopupMenu, TimersOfTheThreadKeepFiringWhileTheMenuIsOpen) {
    menu_test::TimerWindow clock;
    int before = 0;
    int after = 0;
    withMenu(3, [&](HWND menu) {
        ASSERT_NE(menu, nullptr);
        before = clock.ticks();
        Sleep(500);
        after = clock.ticks();
        PostMessageW(menu, WM_KEYDOWN, VK_ESCAPE, 0);
    });
    EXPECT_GE(after - before, 10);
}

}  // namespace
