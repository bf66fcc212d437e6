#include "reminders/reminder_notice_win32.h"

#include <algorithm>
#include <string>

#include "base/dialog_font_win32.h"
#include "base/dialog_keys_win32.h"
#include "base/display_dpi_win32.h"
#include "base/owned_window_win32.h"
#include "base/unique_handle_win32.h"
#include "base/window_class_win32.h"
#include "reminders/notice_stack.h"
#include "reminders/reminder_texts.h"

namespace tavro::reminders {

namespace {
constexpr wchar_t kClass[] = L"TavroClockReminderNotice";
constexpr wchar_t kNoticeTitle[] = L"TavroClock の予定";
constexpr wchar_t kMissedTitle[] = L"TavroClock の過ぎた予定";
constexpr wchar_t kMissedHeading[] = L"時刻を過ぎた予定があります。";
constexpr wchar_t kClose[] = L"閉じる";
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_TOPMOST;
constexpr int kTitleId = 101, kTimeId = 102, kSnoozeId = 103, kListId = 104;
constexpr UINT_PTR kSoundTimer = 1;
constexpr UINT kSoundMilliseconds = 60 * 1000;
constexpr int kMaxMissedLines = 8;  // more scroll

int scaled(int pixels96, int dpi) { return MulDiv(pixels96, dpi, 96); }

RECT workArea() {
    RECT work{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    return work;
}
}  // namespace

class NoticeWindows::Window {
public:
    Window(NoticeWindows& owner, std::vector<DueNotice> items, bool missed)
        : owner_(owner), items_(std::move(items)), missed_(missed) {}
    ~Window() {
        if (hwnd_) DestroyWindow(hwnd_);
    }

    bool create(const std::vector<NoticeRect>& open) {
        dpi_ = base::primaryMonitorDpi();
        CreateWindowExW(kExStyle, kClass, missed_ ? kMissedTitle : kNoticeTitle, kStyle, 0, 0, 0, 0, nullptr, nullptr,
                        owner_.instance_, this);
        if (!hwnd_) return false;
        makeControls();
        const SIZE size = outerSize();
        const RECT work = workArea();
        const NoticeRect r = placeNotice({work.left, work.top, work.right, work.bottom}, size.cx, size.cy,
                                         scaled(8, dpi_), open);
        // Its monitor's DPI may differ from the primary's: laid out again at WM_DPICHANGED.
        SetWindowPos(hwnd_, HWND_TOPMOST, r.left, r.top, size.cx, size.cy, SWP_NOACTIVATE);
        layout();
        base::addDialogKeyWindow(hwnd_);
        ShowWindow(hwnd_, SW_SHOWNOACTIVATE);
        return true;
    }

    HWND hwnd() const { return hwnd_; }
    HWND hwnd_ = nullptr;

    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam) {
        switch (message) {
            case WM_COMMAND:
                if (LOWORD(wParam) == kSnoozeId && !missed_) {
                    const DueNotice notice = items_.front();
                    DestroyWindow(hwnd_);
                    owner_.snooze_(notice);
                    return 0;
                }
                if (LOWORD(wParam) == IDCANCEL || LOWORD(wParam) == IDOK) DestroyWindow(hwnd_);
                return 0;
            case DM_GETDEFID:
                return MAKELRESULT(IDCANCEL, DC_HASDEFID);
            case WM_ACTIVATE:
                // Focus only once the user came to it; back where it was at the next visit.
                if (LOWORD(wParam) == WA_INACTIVE) focus_ = GetFocus();
                else SetFocus(focus_ && IsChild(hwnd_, focus_) ? focus_ : GetDlgItem(hwnd_, IDCANCEL));
                return 0;
            case WM_TIMER:
                if (wParam == kSoundTimer) {
                    KillTimer(hwnd_, kSoundTimer);
                    if (owner_.sounding_ == this) owner_.sound_.stop(), owner_.sounding_ = nullptr;
                }
                return 0;
            case WM_CTLCOLORSTATIC:
                SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
                return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
            case WM_DPICHANGED: {
                dpi_ = HIWORD(wParam);
                const RECT* r = reinterpret_cast<const RECT*>(lParam);
                makeFonts();
                const SIZE size = outerSize();
                SetWindowPos(hwnd_, nullptr, r->left, r->top, size.cx, size.cy, SWP_NOZORDER | SWP_NOACTIVATE);
                layout();
                return 0;
            }
            case WM_DESTROY:
                base::removeDialogKeyWindow(hwnd_);
                owner_.closed(this);
                return 0;
        }
        return DefWindowProcW(hwnd_, message, wParam, lParam);
    }

private:
    HWND control(const wchar_t* cls, const std::wstring& text, DWORD style, int id) {
        return CreateWindowExW(0, cls, text.c_str(), WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0, hwnd_,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), owner_.instance_, nullptr);
    }

    void makeControls() {
        if (missed_) {
            std::wstring lines;
            for (const DueNotice& n : items_) {
                if (!lines.empty()) lines += L"\r\n";
                lines += occurrenceTimeText(n.start, n.wholeDay) + L"　" + n.title;
            }
            control(L"STATIC", kMissedHeading, SS_LEFT | SS_NOPREFIX, kTitleId);
            control(L"EDIT", lines, ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | WS_VSCROLL | WS_TABSTOP | WS_BORDER,
                    kListId);
        } else {
            const DueNotice& n = items_.front();
            control(L"STATIC", n.title, SS_LEFT | SS_NOPREFIX | SS_ENDELLIPSIS, kTitleId);
            control(L"STATIC", occurrenceTimeText(n.start, n.wholeDay), SS_LEFT | SS_NOPREFIX, kTimeId);
            control(L"BUTTON", std::to_wstring(n.snoozeMinutes) + L"分後にもう一度", BS_PUSHBUTTON | WS_TABSTOP,
                    kSnoozeId);
        }
        control(L"BUTTON", kClose, BS_DEFPUSHBUTTON | WS_TABSTOP, IDCANCEL);
        makeFonts();
    }

    void makeFonts() {
        font_ = base::dialogFont(dpi_);
        LOGFONTW big = base::messageFont(dpi_);
        big.lfHeight = -scaled(16, dpi_);
        big.lfWeight = FW_BOLD;
        base::kDialogFontName.copy(big.lfFaceName, LF_FACESIZE - 1);
        big.lfFaceName[std::min<std::size_t>(base::kDialogFontName.size(), LF_FACESIZE - 1)] = L'\0';
        titleFont_ = base::UniqueFont(CreateFontIndirectW(&big));
        for (HWND child = GetWindow(hwnd_, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
            const bool title = GetDlgCtrlID(child) == kTitleId && !missed_;
            SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>((title ? titleFont_ : font_).get()), TRUE);
        }
    }

    int listLines() const { return std::min<int>(static_cast<int>(items_.size()), kMaxMissedLines); }

    // The client area at 96 DPI, scaled.
    SIZE clientSize() const {
        if (missed_) return {scaled(400, dpi_), scaled(12 + 20 + 6 + listLines() * 16 + 8 + 12 + 26 + 12, dpi_)};
        return {scaled(340, dpi_), scaled(12 + 26 + 4 + 18 + 14 + 26 + 12, dpi_)};
    }

    SIZE outerSize() const {
        const SIZE c = clientSize();
        RECT r{0, 0, c.cx, c.cy};
        AdjustWindowRectEx(&r, kStyle, FALSE, kExStyle);
        return {r.right - r.left, r.bottom - r.top};
    }

    void place(int id, int x, int y, int w, int h) {
        MoveWindow(GetDlgItem(hwnd_, id), scaled(x, dpi_), scaled(y, dpi_), scaled(w, dpi_), scaled(h, dpi_), TRUE);
    }

    void layout() {
        const int width = missed_ ? 400 : 340;
        if (missed_) {
            const int listHeight = listLines() * 16 + 8;
            place(kTitleId, 12, 12, width - 24, 20);
            place(kListId, 12, 38, width - 24, listHeight);
            place(IDCANCEL, width - 12 - 88, 38 + listHeight + 12, 88, 26);
        } else {
            place(kTitleId, 12, 12, width - 24, 26);
            place(kTimeId, 12, 42, width - 24, 18);
            place(IDCANCEL, width - 12 - 88, 74, 88, 26);
            place(kSnoozeId, width - 12 - 88 - 8 - 140, 74, 140, 26);
        }
    }

    NoticeWindows& owner_;
    std::vector<DueNotice> items_;
    bool missed_;
    int dpi_ = 96;
    HWND focus_ = nullptr;
    base::UniqueFont font_, titleFont_;

    friend class NoticeWindows;
};

NoticeWindows::NoticeWindows(HINSTANCE instance, std::function<void(const DueNotice&)> snooze)
    : instance_(instance), snooze_(std::move(snooze)) {
    base::registerWindowClass(instance, {
        .name = kClass,
        .procedure = base::ownedWindowProc<Window, &Window::hwnd_, &Window::handle>,
        .cursor = base::arrowCursor(),
        .icon = LoadIconW(instance, L"APPICON"),
        .background = GetSysColorBrush(COLOR_WINDOW),
    });
}

NoticeWindows::~NoticeWindows() {
    sounding_ = nullptr;
    sound_.stop();
    std::vector<std::unique_ptr<Window>> closing;
    closing.swap(windows_);  // each one's WM_DESTROY finds none left to take out
}

void NoticeWindows::open(std::unique_ptr<Window> window) {
    // Windows the user closed are let go here, outside their own messages.
    std::erase_if(windows_, [](const std::unique_ptr<Window>& w) { return !w->hwnd(); });
    std::vector<NoticeRect> taken;
    for (const auto& w : windows_) {
        RECT r{};
        GetWindowRect(w->hwnd(), &r);
        taken.push_back({r.left, r.top, r.right, r.bottom});
    }
    if (!window->create(taken)) return;
    windows_.push_back(std::move(window));
}

void NoticeWindows::show(const DueNotice& notice) {
    auto window = std::make_unique<Window>(*this, std::vector<DueNotice>{notice}, false);
    Window* raw = window.get();
    open(std::move(window));
    if (!raw->hwnd() || notice.sound.kind == SoundKind::None) return;
    // The newest notice sounds; an earlier one's sound gives way to it.
    if (sounding_) KillTimer(sounding_->hwnd(), kSoundTimer);
    sound_.play(notice.sound, true);
    sounding_ = raw;
    SetTimer(raw->hwnd(), kSoundTimer, kSoundMilliseconds, nullptr);
}

void NoticeWindows::showMissed(const std::vector<DueNotice>& missed) {
    if (missed.empty()) return;
    std::vector<DueNotice> sorted = missed;
    std::sort(sorted.begin(), sorted.end(), [](const DueNotice& a, const DueNotice& b) { return a.start < b.start; });
    open(std::make_unique<Window>(*this, std::move(sorted), true));
}

void NoticeWindows::closed(Window* window) {
    if (sounding_ != window) return;
    sounding_ = nullptr;
    sound_.stop();
}

}  // namespace tavro::reminders
