#include "reminders/reminder_editor_win32.h"

#include <commctrl.h>

#include <random>
#include <string>
#include <vector>

#include "dialogs/modal_dialog_win32.h"
#include "dialogs/sound_file_dialog_win32.h"
#include "reminders/reminder_form.h"
#include "reminders/reminder_texts.h"

namespace tavro::reminders {

namespace {

using dialogs::TwipsRect;

enum : int {
    kTitleId = 400, kDateId, kTimeId, kWholeDayId, kRepeatId, kIntervalId, kIntervalUnitId, kFirstWeekdayId,
    kMonthlyId = kFirstWeekdayId + 7, kEndId, kCountId, kLastDayId, kSkipHolidaysId, kAlarmId, kAlarmTimeId,
    kSoundId, kBrowseId, kSoundPathId, kSnoozeId,
};

constexpr const wchar_t* kRepeatItems[] = {L"しない", L"毎日", L"平日 (月～金)", L"毎週", L"毎月", L"毎年", L"毎年（旧暦）",
                                           L"その他の繰り返し (そのまま)"};
constexpr RepeatKind kRepeatKinds[] = {RepeatKind::Once, RepeatKind::Daily, RepeatKind::Weekdays,
                                       RepeatKind::Weekly, RepeatKind::MonthlyByDay, RepeatKind::Yearly,
                                       RepeatKind::OldCalendarYearly, RepeatKind::Other};
constexpr const wchar_t* kWeekdayNames[] = {L"日", L"月", L"火", L"水", L"木", L"金", L"土"};
constexpr const wchar_t* kEndItems[] = {L"なし", L"回数", L"最後の日"};
constexpr const wchar_t* kSoundItems[] = {L"なし", L"システムのアラーム音", L"WAV ファイル"};

// Pixels at 96 DPI to twips: the layout below is drawn in those.
constexpr TwipsRect at(int x, int y, int w, int h) { return {x * 15, y * 15, w * 15, h * 15}; }

constexpr int kLabelX = 12, kFieldX = 112, kRow = 30, kWidth = 480;

bool isMonthly(RepeatKind k) {
    return k == RepeatKind::MonthlyByDay || k == RepeatKind::MonthlyLastDay || k == RepeatKind::MonthlyNthWeekday;
}

SYSTEMTIME systemTimeOf(int64_t day, int minute) {
    const datetime::CivilDate c = datetime::civilFromDays(day);
    SYSTEMTIME t{};
    t.wYear = static_cast<WORD>(c.year);
    t.wMonth = static_cast<WORD>(c.month);
    t.wDay = static_cast<WORD>(c.day);
    t.wHour = static_cast<WORD>(minute / 60);
    t.wMinute = static_cast<WORD>(minute % 60);
    return t;
}

class ReminderEditor final : public dialogs::ModalDialog {
public:
    ReminderEditor(const Reminder& was, bool weekStartsMonday)
        : was_(was), form_(formOf(was)), mondayFirst_(weekStartsMonday) {
        const RepeatChoice nth = form_.repeat.kind == RepeatKind::MonthlyNthWeekday ? form_.repeat : nthWeekdayChoiceFor(was.start);
        nth_ = nth.nth;
        nthWeekday_ = nth.nthWeekday;
    }

    const Reminder& result() const { return result_; }

private:
    HWND add(const wchar_t* cls, const std::wstring& text, DWORD style, DWORD ex, int id, const TwipsRect& r) {
        HWND c = addControl(cls, text, style, ex, id, r);
        placed_.push_back({c, r});
        return c;
    }
    void label(const wchar_t* text, int y, int x = kLabelX, int w = 96) { add(L"STATIC", text, SS_LEFT, 0, -1, at(x, y + 4, w, 18)); }
    HWND combo(int id, int x, int y, int w, std::initializer_list<const wchar_t*> items = {}) {
        HWND c = add(L"COMBOBOX", L"", WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, 0, id, at(x, y, w, 200));
        for (const wchar_t* item : items) SendMessageW(c, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
        return c;
    }
    HWND picker(int id, int x, int y, int w, DWORD style, const wchar_t* format) {
        HWND c = add(DATETIMEPICK_CLASSW, L"", WS_TABSTOP | style, 0, id, at(x, y, w, 23));
        SendMessageW(c, DTM_SETFORMATW, 0, reinterpret_cast<LPARAM>(format));
        return c;
    }
    HWND check(int id, const wchar_t* text, int x, int y, int w) {
        return add(L"BUTTON", text, WS_TABSTOP | BS_AUTOCHECKBOX, 0, id, at(x, y + 2, w, 20));
    }

    bool onInit() override {
        const INITCOMMONCONTROLSEX controls{sizeof controls, ICC_DATE_CLASSES};
        InitCommonControlsEx(&controls);
        int y = 12;
        label(L"タイトル(&T):", y);
        HWND title = add(L"EDIT", form_.title, WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, kTitleId, at(kFieldX, y, 356, 23));
        SendMessageW(title, EM_LIMITTEXT, 200, 0);  // surrogate pairs: the count is checked on OK
        y += kRow;
        label(L"開始(&D):", y);
        picker(kDateId, kFieldX, y, 130, DTS_SHORTDATEFORMAT, L"yyyy'/'MM'/'dd ddd");
        picker(kTimeId, kFieldX + 138, y, 80, DTS_TIMEFORMAT | DTS_UPDOWN, L"HH':'mm");
        check(kWholeDayId, L"終日(&W)", kFieldX + 230, y, 100);
        y += kRow;
        label(L"繰り返し(&R):", y);
        HWND repeat = combo(kRepeatId, kFieldX, y, 170);
        for (int i = 0; i < 7 + (form_.repeat.kind == RepeatKind::Other ? 1 : 0); ++i)
            SendMessageW(repeat, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(kRepeatItems[i]));
        label(L"間隔(&I):", y, kFieldX + 182, 56);
        add(L"EDIT", std::to_wstring(form_.repeat.interval), WS_TABSTOP | ES_NUMBER, WS_EX_CLIENTEDGE, kIntervalId,
            at(kFieldX + 240, y, 40, 23));
        SendMessageW(GetDlgItem(hwnd(), kIntervalId), EM_LIMITTEXT, 3, 0);
        add(L"STATIC", L"", SS_LEFT, 0, kIntervalUnitId, at(kFieldX + 286, y + 4, 70, 18));
        y += kRow;
        label(L"曜日:", y);
        for (int column = 0; column < 7; ++column) {
            const int weekday = (column + (mondayFirst_ ? 1 : 0)) % 7;
            check(kFirstWeekdayId + weekday, kWeekdayNames[weekday], kFieldX + column * 50, y, 46);
        }
        y += kRow;
        label(L"毎月の日(&M):", y);
        combo(kMonthlyId, kFieldX, y, 170);
        y += kRow;
        label(L"終わり(&E):", y);
        combo(kEndId, kFieldX, y, 90, {kEndItems[0], kEndItems[1], kEndItems[2]});
        add(L"EDIT", std::to_wstring(form_.repeat.count > 0 ? form_.repeat.count : 10), WS_TABSTOP | ES_NUMBER,
            WS_EX_CLIENTEDGE, kCountId, at(kFieldX + 98, y, 44, 23));
        SendMessageW(GetDlgItem(hwnd(), kCountId), EM_LIMITTEXT, 3, 0);
        add(L"STATIC", L"回", SS_LEFT, 0, -1, at(kFieldX + 146, y + 4, 20, 18));
        picker(kLastDayId, kFieldX + 170, y, 130, DTS_SHORTDATEFORMAT, L"yyyy'/'MM'/'dd ddd");
        y += kRow;
        check(kSkipHolidaysId, L"祝日は除く(&H)", kFieldX, y, 200);
        y += kRow + 6;
        label(L"通知(&N):", y);
        combo(kAlarmId, kFieldX, y, 170);
        picker(kAlarmTimeId, kFieldX + 178, y, 80, DTS_TIMEFORMAT | DTS_UPDOWN, L"HH':'mm");
        y += kRow;
        label(L"音(&S):", y);
        combo(kSoundId, kFieldX, y, 170, {kSoundItems[0], kSoundItems[1], kSoundItems[2]});
        add(L"BUTTON", L"参照(&B)...", WS_TABSTOP | BS_PUSHBUTTON, 0, kBrowseId, at(kFieldX + 178, y, 90, 24));
        y += kRow;
        add(L"STATIC", L"", SS_LEFT | SS_PATHELLIPSIS | SS_NOPREFIX, 0, kSoundPathId, at(kFieldX, y + 2, 356, 18));
        y += kRow - 6;
        label(L"スヌーズ(&Z):", y);
        combo(kSnoozeId, kFieldX, y, 90, {L"5分", L"10分", L"15分"});
        y += kRow + 12;
        add(L"BUTTON", L"OK", WS_TABSTOP | BS_DEFPUSHBUTTON, 0, IDOK, at(kWidth - 12 - 2 * 88, y, 81, 25));
        add(L"BUTTON", L"キャンセル", WS_TABSTOP | BS_PUSHBUTTON, 0, IDCANCEL, at(kWidth - 12 - 81, y, 81, 25));
        client_ = at(0, 0, kWidth, y + 25 + 12);
        setClientSize(client_);
        showForm();
        SetFocus(title);
        SendMessageW(title, EM_SETSEL, 0, -1);
        return true;
    }

    bool followsDpi() const override { return true; }
    void placeControls() override {
        setClientSize(client_, false);
        for (const auto& [control, r] : placed_) {
            const dialogs::PixelRect p = pixels(r);
            SetWindowPos(control, nullptr, p.left, p.top, p.width, p.height, SWP_NOZORDER | SWP_NOACTIVATE);
        }
    }

    HWND item(int id) const { return GetDlgItem(hwnd(), id); }
    int selection(int id) const { return static_cast<int>(SendMessageW(item(id), CB_GETCURSEL, 0, 0)); }
    void select(int id, int index) const { SendMessageW(item(id), CB_SETCURSEL, static_cast<WPARAM>(index), 0); }
    bool checked(int id) const { return SendMessageW(item(id), BM_GETCHECK, 0, 0) == BST_CHECKED; }
    void setCheck(int id, bool on) const { SendMessageW(item(id), BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0); }
    void enable(int id, bool on) const {
        // A disabled control with the focus would leave the keys nowhere.
        if (!on && GetFocus() == item(id)) SendMessageW(hwnd(), WM_NEXTDLGCTL, 0, FALSE);
        EnableWindow(item(id), on);
    }
    int64_t pickedDay(int id) const {
        SYSTEMTIME t{};
        SendMessageW(item(id), DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&t));
        return datetime::daysFromCivil(t.wYear, t.wMonth, t.wDay);
    }
    int pickedMinute(int id) const {
        SYSTEMTIME t{};
        SendMessageW(item(id), DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&t));
        return t.wHour * 60 + t.wMinute;
    }
    void pick(int id, int64_t day, int minute) const {
        SYSTEMTIME t = systemTimeOf(day, minute);
        SendMessageW(item(id), DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&t));
    }
    std::wstring text(int id) const {
        std::wstring s(static_cast<std::size_t>(GetWindowTextLengthW(item(id))) + 1, L'\0');
        s.resize(static_cast<std::size_t>(GetWindowTextW(item(id), s.data(), static_cast<int>(s.size()))));
        return s;
    }
    int number(int id) const {
        BOOL ok = FALSE;
        const UINT n = GetDlgItemInt(hwnd(), id, &ok, FALSE);
        return ok ? static_cast<int>(n) : 0;
    }

    // The fields of the form into the controls, once at opening.
    void showForm() {
        SYSTEMTIME range[2] = {systemTimeOf(kFirstDay, 0), systemTimeOf(kLastDay, 0)};
        for (int id : {kDateId, kLastDayId}) SendMessageW(item(id), DTM_SETRANGE, GDTR_MIN | GDTR_MAX, reinterpret_cast<LPARAM>(range));
        pick(kDateId, form_.day, 0);
        pick(kTimeId, form_.day, form_.minuteOfDay);
        setCheck(kWholeDayId, form_.wholeDay);
        const RepeatKind kind = form_.repeat.kind;
        int repeatIndex = 0;
        for (int i = 0; i < 8; ++i)
            if (kRepeatKinds[i] == kind || (isMonthly(kind) && i == 4)) repeatIndex = i;
        select(kRepeatId, repeatIndex);
        const unsigned mask = kind == RepeatKind::Weekly ? form_.repeat.weekdayMask : 1u << ((form_.day + 6) % 7);
        for (int d = 0; d < 7; ++d) setCheck(kFirstWeekdayId + d, mask >> d & 1);
        fillMonthly();
        select(kMonthlyId, kind == RepeatKind::MonthlyLastDay ? 1 : kind == RepeatKind::MonthlyNthWeekday ? 2 : 0);
        select(kEndId, static_cast<int>(form_.repeat.end));
        pick(kLastDayId, form_.repeat.end == RepeatEnd::OnDate ? form_.repeat.lastDay : form_.day + 30, 0);
        setCheck(kSkipHolidaysId, form_.repeat.skipHolidays);
        fillAlarms();
        pick(kAlarmTimeId, form_.day, form_.wholeDayAlarm);
        select(kSoundId, static_cast<int>(form_.sound.kind));
        soundPath_ = form_.sound.path;
        SetWindowTextW(item(kSoundPathId), soundPath_.c_str());
        select(kSnoozeId, form_.snoozeMinutes == 15 ? 2 : form_.snoozeMinutes == 10 ? 1 : 0);
        enableByChoice();
    }

    // 「10日」 「末日」 「第2木曜日」 of the start's day.
    void fillMonthly() {
        const int keep = std::max(0, selection(kMonthlyId));
        SendMessageW(item(kMonthlyId), CB_RESETCONTENT, 0, 0);
        const int64_t day = pickedDay(kDateId);
        const datetime::CivilDate c = datetime::civilFromDays(day);
        const std::wstring nth = nth_ < 0 ? L"最終" : L"第" + std::to_wstring(nth_);
        for (const std::wstring& item : {std::to_wstring(c.day) + L"日", std::wstring(L"末日"), nth + kWeekdayNames[nthWeekday_] + L"曜日"})
            SendMessageW(this->item(kMonthlyId), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
        select(kMonthlyId, keep);
    }

    // A timed reminder is told a lead before it; a whole day at a time of that day.
    void fillAlarms() {
        HWND box = item(kAlarmId);
        SendMessageW(box, CB_RESETCONTENT, 0, 0);
        alarmItems_.clear();
        const bool wholeDay = checked(kWholeDayId);
        if (wholeDay) alarmItems_.push_back(0);
        else for (int lead : kAlarmLeads) alarmItems_.push_back(lead);
        for (int lead : alarmItems_) {
            const std::wstring t = wholeDay ? L"当日の指定の時刻" : leadText(lead);
            SendMessageW(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(t.c_str()));
        }
        if (form_.keptOffset && wholeDay == form_.wholeDay) {
            SendMessageW(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"ファイルのとおり"));
            alarmItems_.push_back(kKeptAlarm);
        }
        SendMessageW(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"通知しない"));
        alarmItems_.push_back(kNoAlarm);
        int index = 0;
        const int want = !form_.told ? kNoAlarm : form_.keptOffset && wholeDay == form_.wholeDay ? kKeptAlarm : wholeDay ? 0 : form_.lead;
        for (std::size_t i = 0; i < alarmItems_.size(); ++i)
            if (alarmItems_[i] == want) index = static_cast<int>(i);
        select(kAlarmId, index);
    }

    int chosenAlarm() const {
        const int i = selection(kAlarmId);
        return i >= 0 && i < static_cast<int>(alarmItems_.size()) ? alarmItems_[static_cast<std::size_t>(i)] : kNoAlarm;
    }

    RepeatKind chosenKind() const {
        const int i = selection(kRepeatId);
        const RepeatKind kind = kRepeatKinds[i >= 0 && i < 8 ? i : 0];
        if (kind != RepeatKind::MonthlyByDay) return kind;
        const int m = selection(kMonthlyId);
        return m == 1 ? RepeatKind::MonthlyLastDay : m == 2 ? RepeatKind::MonthlyNthWeekday : RepeatKind::MonthlyByDay;
    }

    void enableByChoice() {
        const RepeatKind kind = chosenKind();
        const bool repeats = kind != RepeatKind::Once && kind != RepeatKind::Other;
        const bool hasInterval = repeats && kind != RepeatKind::Weekdays;
        enable(kTimeId, !checked(kWholeDayId));
        enable(kIntervalId, hasInterval);
        const wchar_t* unit = kind == RepeatKind::Daily                                  ? L"日ごと"
                              : kind == RepeatKind::Weekly                               ? L"週ごと"
                              : isMonthly(kind)                                          ? L"か月ごと"
                              : kind == RepeatKind::Yearly || kind == RepeatKind::OldCalendarYearly ? L"年ごと"
                                                                                         : L"";
        SetWindowTextW(item(kIntervalUnitId), unit);
        for (int d = 0; d < 7; ++d) enable(kFirstWeekdayId + d, kind == RepeatKind::Weekly);
        enable(kMonthlyId, isMonthly(kind));
        enable(kEndId, repeats);
        const int end = selection(kEndId);
        enable(kCountId, repeats && end == 1);
        enable(kLastDayId, repeats && end == 2);
        enable(kSkipHolidaysId, kind != RepeatKind::Other);
        const bool told = chosenAlarm() != kNoAlarm;
        enable(kAlarmTimeId, told && checked(kWholeDayId) && chosenAlarm() != kKeptAlarm);
        enable(kSoundId, told);
        enable(kBrowseId, told && selection(kSoundId) == 2);
        enable(kSnoozeId, told);
    }

    ReminderForm formFromControls() const {
        ReminderForm f = form_;
        f.title = text(kTitleId);
        f.day = pickedDay(kDateId);
        f.wholeDay = checked(kWholeDayId);
        f.minuteOfDay = pickedMinute(kTimeId);
        RepeatChoice& r = f.repeat;
        const RepeatKind was = r.kind;
        r.kind = chosenKind();
        r.interval = r.kind == RepeatKind::Other ? r.interval : number(kIntervalId);
        r.weekdayMask = 0;
        for (int d = 0; d < 7; ++d)
            if (checked(kFirstWeekdayId + d)) r.weekdayMask |= 1u << d;
        r.nth = nth_;
        r.nthWeekday = nthWeekday_;
        if (r.kind != RepeatKind::Other || was != RepeatKind::Other) {
            r.end = static_cast<RepeatEnd>(std::max(0, selection(kEndId)));
            r.count = r.end == RepeatEnd::AfterCount ? number(kCountId) : 0;
            r.lastDay = r.end == RepeatEnd::OnDate ? pickedDay(kLastDayId) : 0;
        }
        r.skipHolidays = checked(kSkipHolidaysId);
        const int alarm = chosenAlarm();
        f.told = alarm != kNoAlarm;
        if (alarm != kKeptAlarm) f.keptOffset.reset();
        if (f.told && alarm != kKeptAlarm) {
            if (f.wholeDay) f.wholeDayAlarm = pickedMinute(kAlarmTimeId);
            else f.lead = alarm;
        }
        f.sound.kind = static_cast<SoundKind>(std::max(0, selection(kSoundId)));
        f.sound.path = soundPath_;
        const int snooze = selection(kSnoozeId);
        f.snoozeMinutes = kSnoozeChoices[snooze >= 0 && snooze < 3 ? snooze : 0];
        return f;
    }

    void browseSound() {
        const auto file = dialogs::chooseWavFile(hwnd(), soundPath_, L"音のファイル");
        if (!file) return;
        soundPath_ = *file;
        SetWindowTextW(item(kSoundPathId), soundPath_.c_str());
        select(kSoundId, 2);
        enableByChoice();
    }

    void save() {
        const ReminderForm f = formFromControls();
        if (const std::wstring problem = formProblem(f); !problem.empty()) {
            MessageBoxW(hwnd(), problem.c_str(), L"TavroClock", MB_ICONEXCLAMATION | MB_OK);
            return;  // stays open as it was typed
        }
        result_ = reminderFromForm(was_, f);
        endDialog(IDOK);
    }

    bool onNotify(const NMHDR& header, LRESULT&) override {
        if (header.code == DTN_DROPDOWN) {  // the pickers' month in the order of the clock's week
            const auto calendar = reinterpret_cast<HWND>(SendMessageW(header.hwndFrom, DTM_GETMONTHCAL, 0, 0));
            SendMessageW(calendar, MCM_SETFIRSTDAYOFWEEK, 0, mondayFirst_ ? 0 : 6);
            return false;
        }
        if (header.code != DTN_DATETIMECHANGE || header.idFrom != kDateId) return false;
        const RepeatChoice nth = nthWeekdayChoiceFor(pickedDay(kDateId) * kMinutesPerDay);
        nth_ = nth.nth;
        nthWeekday_ = nth.nthWeekday;
        fillMonthly();
        return false;
    }

    bool onCommand(int id, int notification) override {
        switch (id) {
            case kRepeatId:
            case kMonthlyId:
            case kEndId:
            case kAlarmId:
            case kSoundId:
                if (notification != CBN_SELCHANGE) return false;
                enableByChoice();
                // A WAV file with none chosen yet: the file dialog at once.
                if (id == kSoundId && selection(kSoundId) == 2 && soundPath_.empty()) browseSound();
                return true;
            case kWholeDayId:
                if (notification != BN_CLICKED) return false;
                fillAlarms();
                enableByChoice();
                return true;
            case kBrowseId:
                if (notification == BN_CLICKED) browseSound();
                return true;
            case IDOK: save(); return true;
            case IDCANCEL: endDialog(IDCANCEL); return true;
        }
        return false;
    }

    static constexpr int kNoAlarm = -1, kKeptAlarm = -2;
    Reminder was_, result_;
    ReminderForm form_;
    bool mondayFirst_;
    int nth_ = 1, nthWeekday_ = 0;
    std::wstring soundPath_;
    std::vector<int> alarmItems_;
    std::vector<std::pair<HWND, TwipsRect>> placed_;
    TwipsRect client_{};
};

}  // namespace

std::optional<Reminder> editReminder(HWND owner, const Reminder& was, bool isNew, bool weekStartsMonday) {
    ReminderEditor editor(was, weekStartsMonday);
    if (editor.run(owner, isNew ? L"予定の追加 - TavroClock" : L"予定の編集 - TavroClock") != IDOK) return std::nullopt;
    return editor.result();
}

Reminder reminderForNewDay(int64_t day) {
    SYSTEMTIME now;
    GetLocalTime(&now);
    const int64_t today = datetime::daysFromCivil(now.wYear, now.wMonth, now.wDay);
    const int minute = day == today && now.wHour < 23 ? (now.wHour + 1) * 60 : 9 * 60;
    std::random_device random;
    const auto part = [&] { return (static_cast<uint64_t>(random()) << 32) ^ random(); };
    const uint64_t high = part(), low = part();
    return newReminder(uidFromRandom(high, low), L"", day * kMinutesPerDay + minute, false);
}

}  // namespace tavro::reminders
