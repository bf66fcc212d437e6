// The about box shown for real: a watcher thread finds it by its caption, reads what it shows
// and where, and presses its keys, while the test thread sits in the modal loop.
#include <windows.h>

#include "dialogs/about_texts.h"
#include "dialogs/frm_about_win32.h"
#include "dialogs/open_url_win32.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "about_test_support.h"

using namespace tavro::dialogs;
using about_test::Rect;

namespace {

const std::wstring kCaption = L"TavroClockのバージョン情報";

// The program's own file, built beside this exe.
std::wstring builtProgram() { return programFolder() + L"\\tavroclock.exe"; }

// The built program loaded for its resources only.
class ProgramResources {
public:
    ProgramResources()
        : module_(LoadLibraryExW(builtProgram().c_str(), nullptr,
                                 LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE)) {}
    ~ProgramResources() {
        if (module_) FreeLibrary(module_);
    }
    ProgramResources(const ProgramResources&) = delete;
    ProgramResources& operator=(const ProgramResources&) = delete;
    HMODULE get() const { return module_; }

private:
    HMODULE module_;
};

// Shows the box on this thread and runs the watcher beside it; the watcher gets the box, or
// null when none came up. Returns whether the box had closed by the time showAbout returned.
void withAboutBox(const AboutSource& source, const std::function<void(HWND)>& watch) {
    std::thread watcher([&] {
        HWND box = about_test::waitForDialog(kCaption);
        watch(box);
        // Whatever the watcher did, the box must not stay open and hang the suite.
        if (box && IsWindow(box)) {
            about_test::waitUntil([&] { return !IsWindow(box); }, 3000);
            if (IsWindow(box)) PostMessageW(box, WM_COMMAND, IDOK, 0);
        }
    });
    showAbout(nullptr, source);
    watcher.join();
}

class AboutBoxTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!about_test::isFile(builtProgram()))
            GTEST_SKIP() << "tavroclock.exe is not built beside this exe (target tavroclock)";
        ASSERT_NE(resources_.get(), nullptr);
    }
    about_test::ScratchKey key_{"Software\\tavroClock about box test"};
    const std::string pathKey_ = key_.sub("MSINFO");
    const std::string locationKey_ = key_.sub("Shared Tools Location");
    ProgramResources resources_;
    AboutSource source() const {
        return {builtProgram(), resources_.get(), SysInfoKeys{HKEY_CURRENT_USER, pathKey_.c_str(), locationKey_.c_str()}};
    }
};

struct Shown {
    bool found = false;
    std::wstring title, version, description, disclaimer, ok, sysInfo;
    Rect client{}, icon{}, titleRect{}, versionRect{}, descriptionRect{}, disclaimerRect{}, okRect{}, sysInfoRect{};
    int iconWidth = 0, iconHeight = 0;
    bool focusOnOk = false, okIsDefault = false, closedByKey = false;
};

Shown readBox(HWND box) {
    Shown s;
    if (!box) return s;
    s.found = true;
    auto item = [&](int id) { return GetDlgItem(box, id); };
    s.title = about_test::windowText(item(lblTitle));
    s.version = about_test::windowText(item(lblVersion));
    s.description = about_test::windowText(item(lblDescription));
    s.disclaimer = about_test::windowText(item(lblDisclaimer));
    s.ok = about_test::windowText(item(cmdOK));
    s.sysInfo = about_test::windowText(item(cmdSysInfo));
    RECT client{};
    GetClientRect(box, &client);
    s.client = {0, 0, client.right, client.bottom};
    s.icon = about_test::controlRect(box, item(picIcon));
    s.titleRect = about_test::controlRect(box, item(lblTitle));
    s.versionRect = about_test::controlRect(box, item(lblVersion));
    s.descriptionRect = about_test::controlRect(box, item(lblDescription));
    s.disclaimerRect = about_test::controlRect(box, item(lblDisclaimer));
    s.okRect = about_test::controlRect(box, item(cmdOK));
    s.sysInfoRect = about_test::controlRect(box, item(cmdSysInfo));
    if (auto icon = reinterpret_cast<HICON>(SendMessageW(item(picIcon), STM_GETIMAGE, IMAGE_ICON, 0))) {
        ICONINFO info{};
        if (GetIconInfo(icon, &info)) {
            BITMAP mask{};
            GetObjectW(info.hbmMask, sizeof mask, &mask);
            s.iconWidth = mask.bmWidth;
            s.iconHeight = info.hbmColor ? mask.bmHeight : mask.bmHeight / 2;
            if (info.hbmColor) DeleteObject(info.hbmColor);
            DeleteObject(info.hbmMask);
        }
    }
    about_test::waitUntil([&] { return about_test::focusOf(box) == item(cmdOK); }, 3000);
    s.focusOnOk = about_test::focusOf(box) == item(cmdOK);
    s.okIsDefault = LOWORD(SendMessageW(box, DM_GETDEFID, 0, 0)) == IDOK;
    return s;
}

// Presses the key on the focused control and waits for the box to go away.
bool closesOnKey(HWND box, WPARAM key) {
    about_test::pressKey(about_test::focusOf(box), key);
    return about_test::waitUntil([&] { return !IsWindow(box); }, 5000);
}

TEST_F(AboutBoxTest, ShowsTitleVersionAndButtonsAndClosesOnEsc) {
    Shown s;
    withAboutBox(source(), [&](HWND box) {
        s = readBox(box);
        if (box) s.closedByKey = closesOnKey(box, VK_ESCAPE);
    });
    ASSERT_TRUE(s.found) << "no window captioned TavroClockのバージョン情報";
    EXPECT_EQ(s.title, L"TavroClock");
    EXPECT_EQ(s.version, L"Version 1.0.23");
    EXPECT_EQ(s.description, L"");
    EXPECT_EQ(s.disclaimer, L"");
    EXPECT_EQ(s.ok, L"OK");
    EXPECT_EQ(s.sysInfo, L"ｼｽﾃﾑ情報(&S)...");
    EXPECT_TRUE(s.focusOnOk);
    EXPECT_TRUE(s.okIsDefault);
    EXPECT_TRUE(s.closedByKey) << "Esc did not close the box";
}

// 15 twips to the pixel: 5730 x 3555 twips of client area, the controls at their twips / 15.
TEST_F(AboutBoxTest, ControlsSitAtTheirTwipsPositionsInPixels) {
    Shown s;
    withAboutBox(source(), [&](HWND box) {
        s = readBox(box);
        if (box) PostMessageW(box, WM_COMMAND, IDOK, 0);
    });
    ASSERT_TRUE(s.found);
    EXPECT_EQ(s.client, (Rect{0, 0, 382, 237}));
    EXPECT_EQ(s.icon, (Rect{16, 16, 16, 16}));
    EXPECT_EQ(s.titleRect, (Rect{70, 16, 259, 32}));
    EXPECT_EQ(s.versionRect, (Rect{70, 52, 259, 15}));
    EXPECT_EQ(s.descriptionRect, (Rect{70, 75, 259, 78}));
    EXPECT_EQ(s.disclaimerRect, (Rect{17, 175, 258, 55}));
    EXPECT_EQ(s.okRect, (Rect{283, 175, 92, 23}));
    EXPECT_EQ(s.sysInfoRect, (Rect{284, 205, 92, 23}));
}

TEST_F(AboutBoxTest, IconIsTheProgramIconAtSixteenPixels) {
    Shown s;
    withAboutBox(source(), [&](HWND box) {
        s = readBox(box);
        if (box) PostMessageW(box, WM_COMMAND, IDOK, 0);
    });
    ASSERT_TRUE(s.found);
    EXPECT_EQ(s.iconWidth, 16);
    EXPECT_EQ(s.iconHeight, 16);
}

TEST_F(AboutBoxTest, EnterOnOkClosesTheBox) {
    bool found = false, closed = false;
    withAboutBox(source(), [&](HWND box) {
        found = box != nullptr;
        if (!box) return;
        about_test::waitUntil([&] { return about_test::focusOf(box) == GetDlgItem(box, cmdOK); }, 3000);
        closed = closesOnKey(box, VK_RETURN);
    });
    ASSERT_TRUE(found);
    EXPECT_TRUE(closed) << "Enter did not close the box";
}

TEST_F(AboutBoxTest, EscClosesTheBoxWhileTheOtherButtonHasTheFocus) {
    bool found = false, closed = false;
    withAboutBox(source(), [&](HWND box) {
        found = box != nullptr;
        if (!box) return;
        PostMessageW(box, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(box, cmdSysInfo)), TRUE);
        about_test::waitUntil([&] { return about_test::focusOf(box) == GetDlgItem(box, cmdSysInfo); }, 3000);
        closed = closesOnKey(box, VK_ESCAPE);
    });
    ASSERT_TRUE(found);
    EXPECT_TRUE(closed);
}

TEST_F(AboutBoxTest, OtherKeysLeaveTheBoxOpen) {
    bool found = false, stillOpen = false;
    withAboutBox(source(), [&](HWND box) {
        found = box != nullptr;
        if (!box) return;
        about_test::pressKey(about_test::focusOf(box), 'X');
        about_test::pressKey(about_test::focusOf(box), VK_F1);
        Sleep(300);
        stillOpen = IsWindow(box) && IsWindowVisible(box);
        PostMessageW(box, WM_COMMAND, IDOK, 0);
    });
    ASSERT_TRUE(found);
    EXPECT_TRUE(stillOpen);
}

// The etched separator: one grey row at y = 2445 / 15 from x = 90 / 15 up to 5654 / 15, two white
// rows below it from x = 105 / 15, asked of the box's own painting into a bitmap.
TEST_F(AboutBoxTest, SeparatorIsAGreyLineAboveAWhiteOne) {
    constexpr COLORREF kBackground = RGB(1, 2, 3);
    constexpr int kWidth = 382, kHeight = 237;
    std::vector<COLORREF> pixels;
    bool found = false;
    withAboutBox(source(), [&](HWND box) {
        found = box != nullptr;
        if (!box) return;
        HDC screen = GetDC(nullptr);
        HDC dc = CreateCompatibleDC(screen);
        HBITMAP bitmap = CreateCompatibleBitmap(screen, kWidth, kHeight);
        ReleaseDC(nullptr, screen);
        HGDIOBJ old = SelectObject(dc, bitmap);
        HBRUSH fill = CreateSolidBrush(kBackground);
        const RECT all{0, 0, kWidth, kHeight};
        FillRect(dc, &all, fill);
        DeleteObject(fill);
        SendMessageW(box, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
        for (int y = 160; y < 170; ++y)
            for (int x = 0; x < kWidth; ++x) pixels.push_back(GetPixel(dc, x, y));
        SelectObject(dc, old);
        DeleteObject(bitmap);
        DeleteDC(dc);
        PostMessageW(box, WM_COMMAND, IDOK, 0);
    });
    ASSERT_TRUE(found);
    auto at = [&](int x, int y) { return pixels[static_cast<std::size_t>((y - 160) * kWidth + x)]; };
    for (int x : {6, 7, 200, 376}) EXPECT_EQ(at(x, 163), RGB(128, 128, 128)) << "x " << x;
    for (int x : {5, 377}) EXPECT_EQ(at(x, 163), kBackground) << "x " << x;
    for (int y : {164, 165}) {
        for (int x : {7, 200, 376}) EXPECT_EQ(at(x, y), RGB(255, 255, 255)) << x << "," << y;
        for (int x : {6, 377}) EXPECT_EQ(at(x, y), kBackground) << x << "," << y;
    }
    for (int x : {7, 200}) {
        EXPECT_EQ(at(x, 162), kBackground);
        EXPECT_EQ(at(x, 166), kBackground);
    }
}

TEST_F(AboutBoxTest, SysInfoButtonWithNothingRegisteredShowsTheMessageOverTheBox) {
    bool found = false, stillOpen = false;
    HWND messageOwner = nullptr, aboutBox = nullptr;
    std::wstring text, title;
    withAboutBox(source(), [&](HWND box) {
        found = box != nullptr;
        aboutBox = box;
        if (!box) return;
        PostMessageW(GetDlgItem(box, cmdSysInfo), BM_CLICK, 0, 0);
        HWND message = about_test::waitForDialog(L"TavroClock", box);
        if (message) {
            text = about_test::windowText(GetDlgItem(message, 0xFFFF));
            title = about_test::windowText(message);
            messageOwner = GetWindow(message, GW_OWNER);
            PostMessageW(message, WM_COMMAND, IDOK, 0);
            about_test::waitUntil([&] { return !IsWindow(message); }, 5000);
        }
        Sleep(200);
        stillOpen = IsWindow(box) && IsWindowVisible(box);
        PostMessageW(box, WM_COMMAND, IDOK, 0);
    });
    ASSERT_TRUE(found);
    EXPECT_EQ(text, L"現時点ではシステム情報を使用できません");
    EXPECT_EQ(title, L"TavroClock");
    EXPECT_EQ(messageOwner, aboutBox);
    EXPECT_TRUE(stillOpen) << "the about box closed with the message";
}

// The menu opens the box over the clock window: it hangs on that window, which takes no
// clicks until the box is closed.
TEST_F(AboutBoxTest, OwnerWindowIsDisabledWhileTheBoxIsOpen) {
    HWND owner = CreateWindowExW(0, L"STATIC", L"about box owner", WS_POPUP | WS_VISIBLE, 0, 0, 100, 100, nullptr,
                                 nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(owner, nullptr);
    bool found = false, ownerEnabledWhileOpen = true;
    HWND boxOwner = nullptr;
    std::thread watcher([&] {
        HWND box = about_test::waitForDialog(kCaption);
        found = box != nullptr;
        if (!box) return;
        boxOwner = GetWindow(box, GW_OWNER);
        ownerEnabledWhileOpen = IsWindowEnabled(owner);
        PostMessageW(box, WM_COMMAND, IDOK, 0);
    });
    showAbout(owner, source());
    watcher.join();
    const bool enabledAfter = IsWindowEnabled(owner);
    DestroyWindow(owner);
    ASSERT_TRUE(found);
    EXPECT_EQ(boxOwner, owner);
    EXPECT_FALSE(ownerEnabledWhileOpen);
    EXPECT_TRUE(enabledAfter);
}

// The test exe carries neither icon nor version: the box still comes up, with no version line.
TEST(AboutBoxOfThisExe, ComesUpWithoutVersionOrIcon) {
    Shown s;
    std::thread watcher([&] {
        HWND box = about_test::waitForDialog(kCaption);
        s = readBox(box);
        if (box) PostMessageW(box, WM_COMMAND, IDOK, 0);
    });
    showAbout(nullptr);
    watcher.join();
    ASSERT_TRUE(s.found);
    EXPECT_EQ(s.title, L"TavroClock");
    EXPECT_EQ(s.version, L"");
    EXPECT_EQ(s.iconWidth, 0);
}

}  // namespace
