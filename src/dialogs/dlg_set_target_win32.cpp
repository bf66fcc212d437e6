#include "dialogs/dlg_set_target_win32.h"

#include <string>

#include "datetime/date_format.h"
#include "datetime/date_parser.h"
#include "dialogs/modal_dialog_win32.h"
#include "settings/registry_store.h"

namespace tavro::dialogs {

namespace {

// The stored text is digits and separators only, so it widens character by character.
void storeTargetText(const std::string& text) {
    settings::writeSetting(settings::kTargetDate, std::wstring(text.begin(), text.end()));
}

class SetTargetDialog final : public ModalDialog {
public:
    explicit SetTargetDialog(double& targetDateValue) : target_(targetDateValue) {}

private:
    bool onInit() override {
        using namespace set_target;
        setClientSize(kClient);
        // Created in tab order.
        HWND text = addControl(L"EDIT", L"", WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, dialogs::txtTargetDate,
                               set_target::txtTargetDate);
        addControl(L"BUTTON", std::wstring(kOkCaption), WS_TABSTOP | BS_DEFPUSHBUTTON, 0, dialogs::OKButton,
                   set_target::OKButton);
        addControl(L"BUTTON", std::wstring(kClearCaption), WS_TABSTOP | BS_PUSHBUTTON, 0, dialogs::ClearButton,
                   set_target::ClearButton);
        addControl(L"BUTTON", std::wstring(kCancelCaption), WS_TABSTOP | BS_PUSHBUTTON, 0, dialogs::CancelButton,
                   set_target::CancelButton);
        SetFocus(text);
        return true;
    }

    bool onCommand(int id, int notification) override {
        if (notification != BN_CLICKED) return false;
        switch (id) {
            case dialogs::OKButton: OKButton_Click(); return true;
            case dialogs::ClearButton: ClearButton_Click(); return true;
            case dialogs::CancelButton: endDialog(0); return true;
        }
        return false;
    }

    void OKButton_Click() {
        HWND text = GetDlgItem(hwnd(), dialogs::txtTargetDate);
        std::wstring typed(static_cast<std::size_t>(GetWindowTextLengthW(text)) + 1, L'\0');
        typed.resize(static_cast<std::size_t>(GetWindowTextW(text, typed.data(), static_cast<int>(typed.size()))));
        SYSTEMTIME now;
        GetLocalTime(&now);
        const auto value = datetime::parseDateText(typed, now.wYear);
        if (!value) {
            MessageBoxW(hwnd(), kNotADateMessage.data(), kNotADateTitle.data(), MB_ICONEXCLAMATION | MB_OK);
            return;  // stays open with the text as typed
        }
        target_ = *value;
        storeTargetText(datetime::formatDateTime(*value));
        endDialog(1);
    }

    void ClearButton_Click() {
        target_ = 0;
        storeTargetText(datetime::kNoTargetText);
        endDialog(1);
    }

    double& target_;
};

}  // namespace

bool dlgSetTarget(HWND owner, double& targetDateValue) {
    SetTargetDialog dialog(targetDateValue);
    return dialog.run(owner, std::wstring(kSetTargetCaption)) == 1;
}

}  // namespace tavro::dialogs
