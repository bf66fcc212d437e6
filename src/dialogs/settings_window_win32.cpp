#include "dialogs/settings_window_win32.h"

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "dialogs/modal_dialog_win32.h"
#include "dialogs/settings_window_layout.h"
#include "dialogs/sound_file_dialog_win32.h"

namespace tavro::dialogs {

namespace {

using namespace settings_window;

template <typename Values>
int indexOf(const Values& values, int value) {
    const auto at = std::find(values.begin(), values.end(), value);
    return at == values.end() ? 0 : static_cast<int>(at - values.begin());
}

template <typename Values>
int valueAt(const Values& values, LRESULT index) {
    return values[static_cast<std::size_t>(std::clamp<LRESULT>(index, 0, static_cast<LRESULT>(values.size()) - 1))];
}

constexpr std::array<int, 3> kViewModes{1, 2, 3};
constexpr std::array<int, 2> kWeekStarts{0, 1};

// The half hours of the day, and a stored minute that is none of them in its place among them.
std::vector<int> quietChoices(int stored) {
    std::vector<int> minutes;
    for (int m = 0; m < 1440; m += 30) minutes.push_back(m);
    if (stored >= 0 && stored < 1440 && stored % 30 != 0) minutes.insert(std::upper_bound(minutes.begin(), minutes.end(), stored), stored);
    return minutes;
}

std::wstring clockText(int minute) {
    wchar_t text[8];
    swprintf(text, 8, L"%d:%02d", minute / 60, minute % 60);
    return text;
}

class SettingsWindow final : public ModalDialog {
public:
    SettingsWindow(const ClockSettings& opened, settings::RecordStore& store, SettingsHandlers handlers)
        : session_(opened, store, std::move(handlers)), layout_(layoutSettings(kGroups)) {}

private:
    bool onInit() override {
        setClientSize(layout_.client);
        for (const PlacedControl& c : layout_.controls) controls_.push_back(make(c));
        fillChimeChoices();
        showControls();
        SetFocus(item(kViewId));
        return true;
    }

    bool followsDpi() const override { return true; }

    void placeControls() override {
        setClientSize(layout_.client, false);
        for (std::size_t i = 0; i < controls_.size(); ++i) {
            const PixelRect r = pixels(layout_.controls[i].rect);
            SetWindowPos(controls_[i], nullptr, r.left, r.top, r.width, r.height, SWP_NOZORDER | SWP_NOACTIVATE);
        }
    }

    HWND make(const PlacedControl& c) {
        const std::wstring text(c.text);
        switch (c.kind) {
            case ControlKind::Group: return addControl(L"BUTTON", text, BS_GROUPBOX, 0, c.id, c.rect);
            case ControlKind::Label: return addControl(L"STATIC", text, SS_LEFT, 0, c.id, c.rect);
            case ControlKind::Check:
                return addControl(L"BUTTON", text, WS_TABSTOP | BS_AUTOCHECKBOX, 0, c.id, c.rect);
            case ControlKind::Button: return addControl(L"BUTTON", text, WS_TABSTOP | BS_PUSHBUTTON, 0, c.id, c.rect);
            case ControlKind::DefaultButton:
                return addControl(L"BUTTON", text, WS_TABSTOP | BS_DEFPUSHBUTTON, 0, c.id, c.rect);
            case ControlKind::Choice: {
                HWND box = addControl(L"COMBOBOX", text, WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, 0, c.id, c.rect);
                for (UiText choice : c.choices)
                    SendMessageW(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(std::wstring(choice).c_str()));
                return box;
            }
        }
        return nullptr;
    }

    HWND item(int id) const { return GetDlgItem(hwnd(), id); }
    LRESULT selected(int id) const { return SendMessageW(item(id), CB_GETCURSEL, 0, 0); }
    bool checked(int id) const { return SendMessageW(item(id), BM_GETCHECK, 0, 0) == BST_CHECKED; }
    void select(int id, int index) const { SendMessageW(item(id), CB_SETCURSEL, static_cast<WPARAM>(index), 0); }
    void check(int id, bool on) const { SendMessageW(item(id), BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0); }

    void fillChimeChoices() {
        const ClockSettings& s = session_.shown();
        quietFrom_ = quietChoices(s.chimeQuietFrom);
        quietTo_ = quietChoices(s.chimeQuietTo);
        for (auto [id, minutes] : {std::pair{kChimeQuietFromId, &quietFrom_}, {kChimeQuietToId, &quietTo_}}) {
            SendMessageW(item(id), CB_RESETCONTENT, 0, 0);
            for (int m : *minutes) SendMessageW(item(id), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(clockText(m).c_str()));
        }
        fillSoundChoices(s.chimeSound);
    }

    // 「既定の音」, the chosen file, and the item that chooses one.
    void fillSoundChoices(const std::wstring& path) {
        HWND box = item(kChimeSoundId);
        SendMessageW(box, CB_RESETCONTENT, 0, 0);
        SendMessageW(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(std::wstring(kChimeDefaultSound).c_str()));
        if (!path.empty()) SendMessageW(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(path.c_str()));
        SendMessageW(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(std::wstring(kChimeChooseSound).c_str()));
        soundPath_ = path;
    }

    // The last item: the file dialog; cancelled, the sound stays as it was.
    void chooseChimeSound() {
        const LRESULT last = SendMessageW(item(kChimeSoundId), CB_GETCOUNT, 0, 0) - 1;
        if (selected(kChimeSoundId) != last) return;
        if (const auto file = chooseWavFile(hwnd())) fillSoundChoices(file->c_str());
    }

    // What the controls say now, over what the session shows.
    ClockSettings fromControls() const {
        ClockSettings s = session_.shown();
        s.viewMode = valueAt(kViewModes, selected(kViewId));
        s.look.scalePercent = valueAt(settings::kScaleChoices, selected(kScaleId));
        s.look.opacityPercent = valueAt(settings::kOpacityChoices, selected(kOpacityId));
        s.look.digitColour = valueAt(settings::kDigitColourChoices, selected(kDigitColourId));
        s.look.weekStartsMonday = valueAt(kWeekStarts, selected(kWeekStartId)) == 1;
        s.look.topMost = checked(kTopMostId);
        s.changeWallpaper = checked(kChangeWallpaperId);
        s.trayIcon = checked(kTrayIconId);
        s.logOnStart = checked(kLogOnStartId);
        s.chimeEvery = valueAt(kChimeChoices, selected(kChimeId));
        s.chimeQuietFrom = valueAt(quietFrom_, selected(kChimeQuietFromId));
        s.chimeQuietTo = valueAt(quietTo_, selected(kChimeQuietToId));
        s.chimeSound = selected(kChimeSoundId) == 0 ? std::wstring() : soundPath_;
        return s;
    }

    void showControls() {
        const ClockSettings& s = session_.shown();
        select(kViewId, indexOf(kViewModes, s.viewMode));
        select(kScaleId, indexOf(settings::kScaleChoices, s.look.scalePercent));
        select(kOpacityId, indexOf(settings::kOpacityChoices, s.look.opacityPercent));
        select(kDigitColourId, indexOf(settings::kDigitColourChoices, s.look.digitColour));
        select(kWeekStartId, s.look.weekStartsMonday ? 1 : 0);
        check(kTopMostId, s.look.topMost);
        check(kChangeWallpaperId, s.changeWallpaper);
        check(kTrayIconId, s.trayIcon);
        check(kLogOnStartId, s.logOnStart);
        select(kChimeId, indexOf(kChimeChoices, s.chimeEvery));
        select(kChimeQuietFromId, indexOf(quietFrom_, s.chimeQuietFrom));
        select(kChimeQuietToId, indexOf(quietTo_, s.chimeQuietTo));
        if (s.chimeSound != soundPath_ && !s.chimeSound.empty()) fillSoundChoices(s.chimeSound);
        select(kChimeSoundId, s.chimeSound.empty() ? 0 : 1);
        for (int id : {kChimeQuietFromId, kChimeQuietToId, kChimeSoundId}) {
            if (s.chimeEvery == 0 && GetFocus() == item(id)) SendMessageW(hwnd(), WM_NEXTDLGCTL, 0, FALSE);
            EnableWindow(item(id), s.chimeEvery != 0);
        }
        // A disabled control with the focus would leave the keys nowhere.
        if (!s.placeStored && GetFocus() == item(kResetPlaceId)) SendMessageW(hwnd(), WM_NEXTDLGCTL, 0, FALSE);
        EnableWindow(item(kResetPlaceId), s.placeStored);
        if (!session_.changed() && GetFocus() == item(kApplyId)) SendMessageW(hwnd(), WM_NEXTDLGCTL, 0, FALSE);
        EnableWindow(item(kApplyId), session_.changed());
    }

    // 適用 and OK: false when the start at log-on could not be written (the window stays open, its
    // box as it was).
    bool keep() {
        const KeepResult result = session_.keep();
        showControls();
        if (result == KeepResult::Kept) return true;
        MessageBoxW(hwnd(), std::wstring(kLogOnStartNotWritten).c_str(), std::wstring(kSettingsCaption).c_str(),
                    MB_ICONEXCLAMATION | MB_OK);
        return false;
    }

    bool onCommand(int id, int notification) override {
        switch (id) {
            case kViewId:
            case kScaleId:
            case kOpacityId:
            case kDigitColourId:
            case kWeekStartId:
            case kChimeId:
            case kChimeQuietFromId:
            case kChimeQuietToId:
            case kChimeSoundId:
                if (notification != CBN_SELCHANGE) return false;
                if (id == kChimeSoundId) chooseChimeSound();
                session_.change(fromControls());
                showControls();
                return true;
        }
        if (notification != BN_CLICKED) return false;
        switch (id) {
            case kTopMostId:
            case kChangeWallpaperId:
            case kTrayIconId:
            case kLogOnStartId:
                session_.change(fromControls());
                showControls();
                return true;
            case kResetPlaceId: {
                ClockSettings s = fromControls();
                s.placeStored = false;
                session_.change(s);
                showControls();
                return true;
            }
            case kApplyId: keep(); return true;
            case kOkId:
                if (keep()) endDialog(IDOK);
                return true;
            case kCancelId:
                session_.cancel();
                endDialog(IDCANCEL);
                return true;
        }
        return false;
    }

    SettingsSession session_;
    SettingsLayout layout_;
    std::vector<HWND> controls_;  // as laid out, for placing them again at another DPI
    std::vector<int> quietFrom_, quietTo_;  // the minutes of the quiet hours' items
    std::wstring soundPath_;                // the chime's file among the sound's items
};

}  // namespace

void runSettingsWindow(HWND owner, const ClockSettings& opened, settings::RecordStore& store,
                       SettingsHandlers handlers) {
    SettingsWindow window(opened, store, std::move(handlers));
    window.run(owner, std::wstring(kSettingsCaption));
}

}  // namespace tavro::dialogs
