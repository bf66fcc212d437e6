#include "reminders/reminder_list_window_win32.h"

#include <commctrl.h>

#include <string>
#include <vector>

#include "dialogs/modal_dialog_win32.h"
#include "reminders/reminder_editor_win32.h"
#include "reminders/reminder_texts.h"

namespace tavro::reminders {

namespace {

using dialogs::TwipsRect;

enum : int { kListLabelId = 500, kListId, kBrokenId, kStartAnewId, kAddId, kDeleteId, kRefillId };
constexpr int kEditId = IDOK;       // Enter in the list edits
constexpr int kCloseId = IDCANCEL;  // and Esc closes
constexpr wchar_t kCaption[] = L"予定 - TavroClock";
constexpr UINT_PTR kMinuteTimer = 1;

constexpr TwipsRect at(int x, int y, int w, int h) { return {x * 15, y * 15, w * 15, h * 15}; }

struct Column {
    const wchar_t* name;
    int width;  // pixels at 96 DPI
};
constexpr Column kColumns[] = {{L"タイトル", 190}, {L"次の予定", 124}, {L"繰り返し", 160}, {L"残り", 100}};
// The list and its label, under the broken file's notice while there is one.
constexpr TwipsRect kLabelRect = at(12, 12, 200, 18), kListRect = at(12, 32, 600, 296);
constexpr int kNoticeBand = 50 * 15;

LocalMinute localNow() {
    SYSTEMTIME t;
    GetLocalTime(&t);
    return minuteFromCivil(t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute);
}

void showProblem(HWND owner, const wchar_t* text) { MessageBoxW(owner, text, kCaption, MB_ICONEXCLAMATION | MB_OK); }

// Saves an edited reminder, telling the user when it could not be.
bool editAndSave(HWND owner, ReminderBook& book, const Reminder& was, bool isNew, bool mondayFirst) {
    const std::optional<Reminder> edited = editReminder(owner, was, isNew, mondayFirst);
    if (!edited) return false;
    if (book.put(*edited)) return true;
    showProblem(owner, L"予定を保存できませんでした。");
    return false;
}

}  // namespace

class ReminderListWindow::Box final : public dialogs::ModalDialog {
public:
    Box(ReminderBook& book, bool mondayFirst) : mondayFirst_(mondayFirst), book_(book) {}
    ~Box() override {
        if (hwnd()) DestroyWindow(hwnd());
    }
    using dialogs::ModalDialog::hwnd;
    bool mondayFirst_;

    void fill() {
        if (!hwnd()) return;
        const bool broken = book_.fileIsBroken();
        const std::wstring brokenText =
            broken ? L"予定のファイル「" + book_.filePath() + L"」を読めません。ファイルはそのままにしてあります。" : L"";
        SetWindowTextW(item(kBrokenId), brokenText.c_str());
        ShowWindow(item(kBrokenId), broken ? SW_SHOWNA : SW_HIDE);
        ShowWindow(item(kStartAnewId), broken ? SW_SHOWNA : SW_HIDE);
        if (broken != noticeShown_) {
            noticeShown_ = broken;
            const int down = broken ? kNoticeBand : 0;
            placed_[kLabelAt].second = {kLabelRect.left, kLabelRect.top + down, kLabelRect.width, kLabelRect.height};
            placed_[kListAt].second = {kListRect.left, kListRect.top + down, kListRect.width, kListRect.height - down};
            placeControls();
        }
        const std::string selected = selectedUid();
        set_ = book_.sharedSet();
        const LocalMinute now = localNow();
        rows_ = set_ ? listOrder(*set_, now) : std::vector<NextStart>{};
        HWND list = item(kListId);
        filling_ = true;
        SendMessageW(list, WM_SETREDRAW, FALSE, 0);
        SendMessageW(list, LVM_DELETEALLITEMS, 0, 0);
        int select = rows_.empty() ? -1 : 0;
        for (std::size_t i = 0; i < rows_.size(); ++i) {
            const Reminder& r = set_->reminders[rows_[i].reminder];
            const LocalMinute next = rows_[i].start;
            const std::wstring texts[] = {r.title, next == kNever ? L"なし" : occurrenceTimeText(next, r.wholeDay), repeatText(r),
                                          next == kNever ? L"" : timeLeftText(now, next)};
            LVITEMW row{};
            row.mask = LVIF_TEXT | LVIF_PARAM;
            row.iItem = static_cast<int>(i);
            row.pszText = const_cast<wchar_t*>(texts[0].c_str());
            row.lParam = static_cast<LPARAM>(i);
            const int at = static_cast<int>(SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&row)));
            for (int c = 1; c < 4; ++c) {
                LVITEMW sub{};
                sub.iSubItem = c;
                sub.pszText = const_cast<wchar_t*>(texts[c].c_str());
                SendMessageW(list, LVM_SETITEMTEXTW, static_cast<WPARAM>(at), reinterpret_cast<LPARAM>(&sub));
            }
            ListView_SetCheckState(list, at, !r.off);
            if (r.uid == selected) select = at;
        }
        if (select >= 0) {
            ListView_SetItemState(list, select, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
            ListView_EnsureVisible(list, select, FALSE);
        }
        SendMessageW(list, WM_SETREDRAW, TRUE, 0);
        filling_ = false;
        enableButtons();
    }

    void selectUid(const std::string& uid) { pendingSelect_ = uid; }

private:
    HWND add(const wchar_t* cls, const wchar_t* text, DWORD style, DWORD ex, int id, const TwipsRect& r) {
        HWND c = addControl(cls, text, style, ex, id, r);
        placed_.push_back({c, r});
        return c;
    }
    HWND item(int id) const { return GetDlgItem(hwnd(), id); }

    bool onInit() override {
        const INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES | ICC_DATE_CLASSES};
        InitCommonControlsEx(&controls);
        if (HICON icon = LoadIconW(GetModuleHandleW(nullptr), L"APPICON")) {
            SendMessageW(hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
            SendMessageW(hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
        }
        add(L"STATIC", L"", SS_LEFT | SS_NOPREFIX, 0, kBrokenId, at(12, 10, 470, 32));
        add(L"BUTTON", L"新しく始める(&N)...", WS_TABSTOP | BS_PUSHBUTTON, 0, kStartAnewId, at(492, 12, 120, 25));
        add(L"STATIC", L"予定(&L):", SS_LEFT, 0, kListLabelId, kLabelRect);
        HWND list = add(WC_LISTVIEWW, L"予定", WS_TABSTOP | WS_BORDER | LVS_REPORT | LVS_SHOWSELALWAYS | LVS_SINGLESEL, 0,
                        kListId, kListRect);
        ListView_SetExtendedListViewStyle(list, LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER);
        for (int c = 0; c < 4; ++c) {
            LVCOLUMNW column{};
            column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
            column.pszText = const_cast<wchar_t*>(kColumns[c].name);
            column.cx = pixelWidth(kColumns[c].width);
            column.iSubItem = c;
            SendMessageW(list, LVM_INSERTCOLUMNW, static_cast<WPARAM>(c), reinterpret_cast<LPARAM>(&column));
        }
        const int y = 340;
        add(L"BUTTON", L"追加(&A)...", WS_TABSTOP | BS_PUSHBUTTON, 0, kAddId, at(12, y, 90, 25));
        add(L"BUTTON", L"編集(&E)...", WS_TABSTOP | BS_PUSHBUTTON, 0, kEditId, at(108, y, 90, 25));
        add(L"BUTTON", L"削除(&D)", WS_TABSTOP | BS_PUSHBUTTON, 0, kDeleteId, at(204, y, 90, 25));
        add(L"BUTTON", L"閉じる", WS_TABSTOP | BS_PUSHBUTTON, 0, kCloseId, at(522, y, 90, 25));
        client_ = at(0, 0, 624, y + 25 + 12);
        setClientSize(client_);
        fill();
        SetFocus(list);
        SetTimer(hwnd(), kMinuteTimer, 20 * 1000, nullptr);  // the time left, kept current
        return true;
    }

    int pixelWidth(int at96) const { return pixels(TwipsRect{0, 0, at96 * 15, 0}).width; }

    bool followsDpi() const override { return true; }
    void placeControls() override {
        setClientSize(client_, false);
        for (const auto& [control, r] : placed_) {
            const dialogs::PixelRect p = pixels(r);
            SetWindowPos(control, nullptr, p.left, p.top, p.width, p.height, SWP_NOZORDER | SWP_NOACTIVATE);
        }
        for (int c = 0; c < 4; ++c) ListView_SetColumnWidth(item(kListId), c, pixelWidth(kColumns[c].width));
    }

    int selectedRow() const { return ListView_GetNextItem(item(kListId), -1, LVNI_SELECTED); }
    const Reminder* selectedReminder() const {
        const int row = selectedRow();
        if (!set_ || row < 0 || row >= static_cast<int>(rows_.size())) return nullptr;
        return &set_->reminders[rows_[static_cast<std::size_t>(row)].reminder];
    }
    std::string selectedUid() const {
        if (!pendingSelect_.empty()) return std::exchange(pendingSelect_, {});
        const Reminder* r = selectedReminder();
        return r ? r->uid : std::string();
    }

    void enableButtons() {
        const bool broken = book_.fileIsBroken();
        const bool one = selectedReminder() != nullptr && !broken;
        for (auto [id, on] : {std::pair<int, bool>{kAddId, !broken}, {kEditId, one}, {kDeleteId, one}}) {
            if (!on && GetFocus() == item(id)) SendMessageW(hwnd(), WM_NEXTDLGCTL, 0, FALSE);
            EnableWindow(item(id), on);
        }
    }

    void addNew() {
        Reminder r = reminderForNewDay(dayOf(localNow()));
        if (editAndSave(hwnd(), book_, r, true, mondayFirst_)) {
            pendingSelect_ = r.uid;
            fill();
        }
    }

    void editSelected() {
        const Reminder* r = selectedReminder();
        if (!r || book_.fileIsBroken()) return;
        const Reminder was = *r;  // the set may be replaced while the dialog is open
        if (editAndSave(hwnd(), book_, was, false, mondayFirst_)) {
            pendingSelect_ = was.uid;
            fill();
        }
    }

    void deleteSelected() {
        const Reminder* r = selectedReminder();
        if (!r || book_.fileIsBroken()) return;
        const Reminder was = *r;
        const std::wstring question = L"「" + was.title + L"」を削除しますか?";
        if (MessageBoxW(hwnd(), question.c_str(), kCaption, MB_ICONQUESTION | MB_YESNO | MB_DEFBUTTON2) != IDYES) return;
        if (!book_.remove(was.uid)) showProblem(hwnd(), L"予定を削除できませんでした。");
        fill();
    }

    void startAnew() {
        const std::wstring question = L"読めないファイルを「.broken」を付けた名前で残し、予定なしで新しく始めますか?";
        if (MessageBoxW(hwnd(), question.c_str(), kCaption, MB_ICONQUESTION | MB_YESNO | MB_DEFBUTTON2) != IDYES) return;
        if (!book_.startAnew()) showProblem(hwnd(), L"ファイルを移せませんでした。予定のファイルはそのままです。");
        fill();
        if (!book_.fileIsBroken()) SetFocus(item(kListId));
    }

    bool onNotify(const NMHDR& header, LRESULT& answer) override {
        if (header.idFrom != kListId) return false;
        switch (header.code) {
            case NM_DBLCLK:
                editSelected();
                return true;
            case LVN_KEYDOWN:
                if (reinterpret_cast<const NMLVKEYDOWN&>(header).wVKey == VK_DELETE) deleteSelected();
                answer = 0;
                return true;
            case LVN_ITEMCHANGED: {
                const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
                if (filling_ || change.iItem < 0) return false;
                if ((change.uChanged & LVIF_STATE) && ((change.uNewState ^ change.uOldState) & LVIS_STATEIMAGEMASK) &&
                    (change.uOldState & LVIS_STATEIMAGEMASK)) {
                    const std::size_t row = static_cast<std::size_t>(change.iItem);
                    const bool on = ((change.uNewState & LVIS_STATEIMAGEMASK) >> 12) == 2;
                    if (set_ && row < rows_.size()) {
                        const Reminder& r = set_->reminders[rows_[row].reminder];
                        if (r.off == on && !book_.setEnabled(r.uid, on)) {
                            showProblem(hwnd(), L"予定を保存できませんでした。");
                            PostMessageW(hwnd(), WM_COMMAND, MAKEWPARAM(kRefillId, BN_CLICKED), 0);  // the box back as stored
                        }
                    }
                }
                enableButtons();
                return false;
            }
        }
        return false;
    }

    bool onMessage(UINT message, WPARAM wParam, LPARAM) override {
        if (message == WM_TIMER && wParam == kMinuteTimer) {
            tick();
            return true;
        }
        return false;
    }

    // The time left moves on: in place while the rows keep their order, so that a screen reader's
    // place in the list stays; rows made anew when a next time passed.
    void tick() {
        if (!set_ || set_ != book_.sharedSet()) return fill();
        const LocalMinute now = localNow();
        const std::vector<NextStart> rows = listOrder(*set_, now);
        if (rows != rows_) return fill();
        HWND list = item(kListId);
        for (std::size_t i = 0; i < rows_.size(); ++i) {
            const std::wstring left = rows_[i].start == kNever ? L"" : timeLeftText(now, rows_[i].start);
            wchar_t shown[64] = {};
            LVITEMW sub{};
            sub.iSubItem = 3;
            sub.pszText = shown;
            sub.cchTextMax = 64;
            SendMessageW(list, LVM_GETITEMTEXTW, i, reinterpret_cast<LPARAM>(&sub));
            if (left == shown) continue;
            sub.pszText = const_cast<wchar_t*>(left.c_str());
            SendMessageW(list, LVM_SETITEMTEXTW, i, reinterpret_cast<LPARAM>(&sub));
        }
    }

    bool onCommand(int id, int notification) override {
        if (notification != BN_CLICKED) return false;
        switch (id) {
            case kAddId: addNew(); return true;
            case kEditId: editSelected(); return true;
            case kDeleteId: deleteSelected(); return true;
            case kStartAnewId: startAnew(); return true;
            case kRefillId: fill(); return true;
            case kCloseId: endDialog(IDCANCEL); return true;
        }
        return false;
    }

    ReminderBook& book_;
    std::shared_ptr<const ReminderSet> set_;
    std::vector<NextStart> rows_;
    mutable std::string pendingSelect_;
    bool filling_ = false;
    bool noticeShown_ = false;
    static constexpr std::size_t kLabelAt = 2, kListAt = 3;  // in placed_, after the notice and its button
    std::vector<std::pair<HWND, TwipsRect>> placed_;
    TwipsRect client_{};
};

ReminderListWindow::ReminderListWindow(ReminderBook& book, bool weekStartsMonday)
    : box_(std::make_unique<Box>(book, weekStartsMonday)) {}

ReminderListWindow::~ReminderListWindow() = default;

void ReminderListWindow::show() {
    if (HWND open = box_->hwnd()) {
        if (IsIconic(open)) ShowWindow(open, SW_RESTORE);
        SetForegroundWindow(open);
        return;
    }
    if (box_->open(kCaption)) SetForegroundWindow(box_->hwnd());
}

bool ReminderListWindow::isOpen() const { return box_->hwnd() != nullptr; }

void ReminderListWindow::refresh() { box_->fill(); }

void ReminderListWindow::setWeekStart(bool weekStartsMonday) { box_->mondayFirst_ = weekStartsMonday; }

bool addReminderOnDay(HWND owner, ReminderBook& book, int64_t day, bool weekStartsMonday) {
    if (book.fileIsBroken()) {
        showProblem(owner, L"予定のファイルを読めないので、予定を追加できません。「予定」の一覧から新しく始められます。");
        return false;
    }
    return editAndSave(owner, book, reminderForNewDay(day), true, weekStartsMonday);
}

}  // namespace tavro::reminders
