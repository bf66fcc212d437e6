// The list window over a book of its own: rows by the next time, a check box that turns one off,
// one window however often it is opened, and a file that could not be read.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "reminders/reminder_list_window_win32.h"
#include "reminders/reminder_texts.h"

namespace tavro::reminders {
namespace {

struct FakeBook final : ReminderBook {
    std::vector<Reminder> all;
    bool broken = false;
    std::vector<std::pair<std::string, bool>> enabled;
    std::shared_ptr<const ReminderSet> sharedSet() const override { return makeReminderSet(all, {}); }
    bool fileIsBroken() const override { return broken; }
    std::wstring filePath() const override { return L"C:\\users\\me\\reminders.ics"; }
    bool put(Reminder) override { return false; }
    bool remove(std::string_view) override { return false; }
    bool setEnabled(std::string_view uid, bool on) override {
        enabled.push_back({std::string(uid), on});
        for (Reminder& r : all)
            if (r.uid == uid) r.off = !on;
        return true;
    }
    bool startAnew() override { return false; }
    std::vector<std::wstring> dayLines(datetime::DateValue) const override { return {}; }
    void onChanged(std::function<void()>) override {}
};

void pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
}

std::wstring cell(HWND list, int row, int column) {
    wchar_t text[256] = {};
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = 256;
    SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    return text;
}

HWND openList() { return FindWindowW(L"#32770", L"予定 - TavroClock"); }

TEST(ReminderListWindow, RowsByTheNextTimeACheckBoxTurnsOneOffOneWindowAndABrokenFile) {
    FakeBook book;
    SYSTEMTIME now;
    GetLocalTime(&now);
    const LocalMinute today = minuteFromCivil(now.wYear, now.wMonth, now.wDay);
    book.all = {newReminder("later", L"健診", today + 20 * kMinutesPerDay + 600, false),
                newReminder("sooner", L"会議", today + 2 * kMinutesPerDay + 600, false),
                newReminder("past", L"済んだ", today - 3 * kMinutesPerDay, false)};
    ReminderListWindow window(book, true);
    window.show();
    window.show();  // the same window again
    pump();
    const HWND box = openList();
    ASSERT_TRUE(box);
    EXPECT_EQ(FindWindowExW(nullptr, box, L"#32770", L"予定 - TavroClock"), nullptr) << "a second window";
    const HWND list = GetDlgItem(box, 501);
    ASSERT_EQ(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0), 3);
    EXPECT_EQ(cell(list, 0, 0), L"会議");
    EXPECT_EQ(cell(list, 0, 1), occurrenceTimeText(today + 2 * kMinutesPerDay + 600, false));
    EXPECT_EQ(cell(list, 0, 2), L"しない");
    EXPECT_EQ(cell(list, 1, 0), L"健診");
    EXPECT_EQ(std::pair(cell(list, 2, 0), cell(list, 2, 1)), std::pair(std::wstring(L"済んだ"), std::wstring(L"なし")));
    EXPECT_TRUE(cell(list, 0, 3).starts_with(L"あと "));
    EXPECT_TRUE(ListView_GetCheckState(list, 0));

    ListView_SetCheckState(list, 0, FALSE);
    pump();
    EXPECT_EQ(book.enabled, (std::vector<std::pair<std::string, bool>>{{"sooner", false}}));
    window.refresh();
    EXPECT_FALSE(ListView_GetCheckState(list, 0)) << "the row stays off after the rows are made anew";

    const HWND notice = GetDlgItem(box, 502);
    EXPECT_FALSE(IsWindowVisible(notice));
    book.broken = true;
    window.refresh();
    wchar_t text[512] = {};
    GetWindowTextW(notice, text, 512);
    EXPECT_TRUE(IsWindowVisible(notice) && IsWindowVisible(GetDlgItem(box, 503)));
    EXPECT_NE(std::wstring(text).find(L"C:\\users\\me\\reminders.ics"), std::wstring::npos) << text;
    for (int id : {504, IDOK, 505}) EXPECT_FALSE(IsWindowEnabled(GetDlgItem(box, id))) << id;

    SendMessageW(box, WM_COMMAND, IDCANCEL, 0);
    pump();
    EXPECT_FALSE(window.isOpen());
    EXPECT_FALSE(openList());
}

}  // namespace
}  // namespace tavro::reminders
