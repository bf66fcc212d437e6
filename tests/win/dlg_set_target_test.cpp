// The target dialog shown for real: a watcher thread finds it by its caption, types into it
// and presses its buttons, while the test thread sits in the modal loop. The stored target is
// put back after each test.
#include <windows.h>

#include "datetime/date_value.h"
#include "dialogs/dlg_set_target_win32.h"
#include "settings/registry_store.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "menu_test_support.h"

using namespace tavro;
using namespace tavro::dialogs;

namespace {

const wchar_t kCaption[] = L"目標時刻を日付形式で入力してください";
constexpr const char* kKeyPath = "Software\\Quillmar-soft\\tavroClock";

// The raw stored target, or nothing when there is none.
std::optional<std::vector<BYTE>> storedTarget(DWORD* type = nullptr) {
    std::vector<BYTE> bytes(4096);
    DWORD size = static_cast<DWORD>(bytes.size());
    DWORD kind = 0;
    if (RegGetValueA(HKEY_CURRENT_USER, kKeyPath, "targetDate", RRF_RT_ANY | RRF_NOEXPAND, &kind, bytes.data(),
                     &size) != ERROR_SUCCESS)
        return std::nullopt;
    bytes.resize(size);
    if (type) *type = kind;
    return bytes;
}

std::string storedText() {
    const auto bytes = storedTarget();
    if (!bytes) return "(none)";
    return std::string(bytes->begin(), bytes->end()).c_str();
}

void setStoredText(const std::string& text) {
    RegSetKeyValueA(HKEY_CURRENT_USER, kKeyPath, "targetDate", REG_SZ, text.c_str(),
                    static_cast<DWORD>(text.size() + 1));
}

struct Control {
    int left, top, width, height;
    bool operator==(const Control&) const = default;
};

Control controlRect(HWND dialog, int id) {
    RECT r{};
    GetWindowRect(GetDlgItem(dialog, id), &r);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
    return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

HWND focusOf(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info);
    return info.hwndFocus;
}

void typeText(HWND dialog, const wchar_t* text) {
    SendMessageW(GetDlgItem(dialog, txtTargetDate), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
}

// Posted, not sent: a click that brings up the message box would not return until it closes.
void click(HWND dialog, int id) { PostMessageW(GetDlgItem(dialog, id), BM_CLICK, 0, 0); }

void pressKey(HWND focused, WPARAM key) {
    PostMessageW(focused, WM_KEYDOWN, key, 1);
    PostMessageW(focused, WM_KEYUP, key, 0xC0000001);
}

bool closes(HWND dialog) { return menu_test::waitUntil([&] { return !IsWindow(dialog); }, 5000); }

struct Outcome {
    bool result;
    double target;
};

// Shows the dialog on this thread, owned by `owner`, and runs the watcher beside it.
Outcome withDialog(double target, const std::function<void(HWND)>& watch, HWND owner = nullptr) {
    std::thread watcher([&] {
        HWND dialog = menu_test::waitForWindow(L"#32770", kCaption);
        watch(dialog);
        // Whatever the watcher did, the dialog must not stay open and hang the suite.
        if (dialog && !closes(dialog)) {
            if (HWND box = menu_test::findOwnWindow(L"#32770", L"変換不能")) PostMessageW(box, WM_COMMAND, IDOK, 0);
            PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
        }
    });
    const bool result = dlgSetTarget(owner, target);
    watcher.join();
    return {result, target};
}

class SetTargetDialog : public ::testing::Test {
protected:
    void SetUp() override {
        saved_ = storedTarget(&savedType_);
        setStoredText("2001/01/01 00:00:00");
    }
    void TearDown() override {
        if (saved_)
            RegSetKeyValueA(HKEY_CURRENT_USER, kKeyPath, "targetDate", savedType_, saved_->data(),
                            static_cast<DWORD>(saved_->size()));
        else
            RegDeleteKeyValueA(HKEY_CURRENT_USER, kKeyPath, "targetDate");
    }
    std::optional<std::vector<BYTE>> saved_;
    DWORD savedType_ = REG_SZ;
};

constexpr double kEarlier = 40000.25;  // the target in force before the dialog opens

TEST_F(SetTargetDialog, OpensEmptyAndFocusedWithItsCaptionsAndLayout) {
    bool found = false, focusOnText = false, okIsDefault = false;
    std::wstring text, ok, clear, cancel;
    Control client{}, box{}, okRect{}, clearRect{}, cancelRect{};
    std::vector<int> tabOrder;
    LONG_PTR style = 0;
    const Outcome out = withDialog(kEarlier, [&](HWND dialog) {
        if (!dialog) return;
        found = true;
        text = menu_test::windowText(GetDlgItem(dialog, txtTargetDate));
        ok = menu_test::windowText(GetDlgItem(dialog, OKButton));
        clear = menu_test::windowText(GetDlgItem(dialog, ClearButton));
        cancel = menu_test::windowText(GetDlgItem(dialog, CancelButton));
        RECT r{};
        GetClientRect(dialog, &r);
        client = {0, 0, r.right, r.bottom};
        box = controlRect(dialog, txtTargetDate);
        okRect = controlRect(dialog, OKButton);
        clearRect = controlRect(dialog, ClearButton);
        cancelRect = controlRect(dialog, CancelButton);
        menu_test::waitUntil([&] { return focusOf(dialog) == GetDlgItem(dialog, txtTargetDate); }, 3000);
        focusOnText = focusOf(dialog) == GetDlgItem(dialog, txtTargetDate);
        okIsDefault = LOWORD(SendMessageW(dialog, DM_GETDEFID, 0, 0)) == IDOK;
        HWND item = GetDlgItem(dialog, txtTargetDate);
        for (int i = 0; i < 4; ++i) {
            tabOrder.push_back(GetDlgCtrlID(item));
            item = GetNextDlgTabItem(dialog, item, FALSE);
        }
        style = GetWindowLongPtrW(dialog, GWL_STYLE);
        click(dialog, CancelButton);
    });
    ASSERT_TRUE(found);
    EXPECT_EQ(text, L"");
    EXPECT_EQ(ok, L"OK");
    EXPECT_EQ(clear, L"Clear");
    EXPECT_EQ(cancel, L"Cancel");
    EXPECT_TRUE(focusOnText);
    EXPECT_TRUE(okIsDefault);
    // 15 twips to the pixel.
    EXPECT_EQ(client, (Control{0, 0, 288, 74}));
    EXPECT_EQ(box, (Control{8, 8, 273, 18}));
    EXPECT_EQ(okRect, (Control{24, 40, 81, 25}));
    EXPECT_EQ(clearRect, (Control{112, 40, 81, 25}));
    EXPECT_EQ(cancelRect, (Control{200, 40, 81, 25}));
    EXPECT_EQ(tabOrder, (std::vector<int>{txtTargetDate, OKButton, ClearButton, CancelButton}));
    EXPECT_FALSE(style & WS_THICKFRAME);  // a fixed dialog
    EXPECT_FALSE(out.result);
    EXPECT_EQ(out.target, kEarlier);
}

struct Accepted {
    const wchar_t* typed;
    double value;
    const char* stored;
};

TEST_F(SetTargetDialog, OkStoresTheTypedDateAsYearMonthDayAndTime) {
    SYSTEMTIME now;
    GetLocalTime(&now);
    const std::vector<Accepted> cases = {
        {L"2010/2/3", datetime::makeDate(2010, 2, 3), "2010/02/03 00:00:00"},
        {L"2010/12/31 23:59:59", datetime::makeDateTime({2010, 12, 31, 23, 59, 59}), "2010/12/31 23:59:59"},
        {L"  平成22年2月3日 7:05 ", datetime::makeDateTime({2010, 2, 3, 7, 5, 0}), "2010/02/03 07:05:00"},
        {L"12:30", datetime::makeDateTime({1899, 12, 30, 12, 30, 0}), "1899/12/30 12:30:00"},
    };
    for (const Accepted& c : cases) {
        SCOPED_TRACE(std::string(storedText()) + " before " + c.stored);
        bool closed = false;
        const Outcome out = withDialog(kEarlier, [&](HWND dialog) {
            if (!dialog) return;
            typeText(dialog, c.typed);
            click(dialog, OKButton);
            closed = closes(dialog);
        });
        EXPECT_TRUE(closed);
        EXPECT_TRUE(out.result);
        EXPECT_NEAR(out.target, c.value, 1e-9);
        EXPECT_EQ(storedText(), c.stored);
    }
}

TEST_F(SetTargetDialog, EnterMeansOkAndEscMeansCancel) {
    const Outcome entered = withDialog(kEarlier, [&](HWND dialog) {
        if (!dialog) return;
        typeText(dialog, L"2010/2/3");
        pressKey(GetDlgItem(dialog, txtTargetDate), VK_RETURN);
        closes(dialog);
    });
    EXPECT_TRUE(entered.result);
    EXPECT_EQ(entered.target, datetime::makeDate(2010, 2, 3));
    EXPECT_EQ(storedText(), "2010/02/03 00:00:00");

    const Outcome escaped = withDialog(kEarlier, [&](HWND dialog) {
        if (!dialog) return;
        typeText(dialog, L"2011/3/4");
        pressKey(GetDlgItem(dialog, txtTargetDate), VK_ESCAPE);
        closes(dialog);
    });
    EXPECT_FALSE(escaped.result);
    EXPECT_EQ(escaped.target, kEarlier);
    EXPECT_EQ(storedText(), "2010/02/03 00:00:00");
}

TEST_F(SetTargetDialog, TextThatIsNoDateGetsTheMessageAndTheDialogStaysWithIt) {
    for (const wchar_t* typed : {L"abc", L"", L"2010/2/30", L"25:00"}) {
        SCOPED_TRACE(std::wstring(typed).size());
        bool boxShown = false, stillOpen = false, exclamation = false;
        std::wstring message, kept;
        std::vector<int> buttons;
        const Outcome out = withDialog(kEarlier, [&](HWND dialog) {
            if (!dialog) return;
            typeText(dialog, typed);
            click(dialog, OKButton);
            HWND box = menu_test::waitForWindow(L"#32770", L"変換不能", 5000);
            if (!box) return;
            boxShown = true;
            EXPECT_EQ(GetWindow(box, GW_OWNER), dialog);
            for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
                wchar_t className[64] = {};
                GetClassNameW(child, className, 64);
                if (!IsWindowVisible(child)) continue;
                if (std::wstring(className) == L"Button") buttons.push_back(GetDlgCtrlID(child));
                if (std::wstring(className) == L"Static") {
                    const LONG_PTR style = GetWindowLongPtrW(child, GWL_STYLE);
                    if ((style & SS_TYPEMASK) == SS_ICON)
                        exclamation = reinterpret_cast<HICON>(SendMessageW(child, STM_GETICON, 0, 0)) ==
                                      LoadIconW(nullptr, IDI_EXCLAMATION);
                    else if (!menu_test::windowText(child).empty())
                        message = menu_test::windowText(child);
                }
            }
            PostMessageW(box, WM_COMMAND, IDOK, 0);
            menu_test::waitUntil([&] { return !IsWindow(box); }, 5000);
            stillOpen = IsWindow(dialog) && IsWindowVisible(dialog);
            kept = menu_test::windowText(GetDlgItem(dialog, txtTargetDate));
            click(dialog, CancelButton);
        });
        EXPECT_TRUE(boxShown);
        EXPECT_EQ(message, L"日付型に変換できません");
        EXPECT_TRUE(exclamation);
        EXPECT_EQ(buttons, std::vector<int>{IDOK});
        EXPECT_TRUE(stillOpen);
        EXPECT_EQ(kept, typed);
        EXPECT_FALSE(out.result);
        EXPECT_EQ(out.target, kEarlier);
        EXPECT_EQ(storedText(), "2001/01/01 00:00:00");
    }
}

TEST_F(SetTargetDialog, ClearRemovesTheTargetEvenWithTextTyped) {
    const Outcome out = withDialog(kEarlier, [&](HWND dialog) {
        if (!dialog) return;
        typeText(dialog, L"2010/2/3");
        click(dialog, ClearButton);
        closes(dialog);
    });
    EXPECT_TRUE(out.result);
    EXPECT_EQ(out.target, 0.0);
    EXPECT_EQ(storedText(), "1899/12/30 00:00:00");
    DWORD type = 0;
    storedTarget(&type);
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
}

TEST_F(SetTargetDialog, CancelAfterAValidDateChangesNothing) {
    const Outcome out = withDialog(kEarlier, [&](HWND dialog) {
        if (!dialog) return;
        typeText(dialog, L"2010/2/3");
        click(dialog, CancelButton);
        closes(dialog);
    });
    EXPECT_FALSE(out.result);
    EXPECT_EQ(out.target, kEarlier);
    EXPECT_EQ(storedText(), "2001/01/01 00:00:00");
}

TEST_F(SetTargetDialog, TheCloseBoxIsCancel) {
    const Outcome out = withDialog(kEarlier, [&](HWND dialog) {
        if (!dialog) return;
        typeText(dialog, L"2010/2/3");
        PostMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
        closes(dialog);
    });
    EXPECT_FALSE(out.result);
    EXPECT_EQ(out.target, kEarlier);
    EXPECT_EQ(storedText(), "2001/01/01 00:00:00");
}

// The owner of our own process is disabled while the dialog is open and its timer keeps
// firing, as the clock's tick does.
TEST_F(SetTargetDialog, OwnedByTheClockWhichKeepsTicking) {
    menu_test::TimerWindow clock;
    HWND owner = nullptr;
    bool ownerEnabled = true;
    int ticks = 0;
    withDialog(
        kEarlier,
        [&](HWND dialog) {
            if (!dialog) return;
            owner = GetWindow(dialog, GW_OWNER);
            ownerEnabled = IsWindowEnabled(clock.hwnd()) != FALSE;
            const int before = clock.ticks();
            Sleep(500);
            ticks = clock.ticks() - before;
            click(dialog, CancelButton);
            closes(dialog);
        },
        clock.hwnd());
    EXPECT_EQ(owner, clock.hwnd());
    EXPECT_FALSE(ownerEnabled);
    EXPECT_TRUE(IsWindowEnabled(clock.hwnd()));
    EXPECT_GE(ticks, 10);
}

}  // namespace
