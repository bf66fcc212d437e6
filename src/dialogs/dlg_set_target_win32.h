// dlgSetTarget, the countdown target dialog.
#pragma once

#include <windows.h>

#include "dialogs/dialog_texts.h"

namespace tavro::dialogs {

// Control ids of the target dialog.
enum SetTargetControl : int {
    txtTargetDate = 1001,
    OKButton = IDOK,  // the default button: Enter
    ClearButton = 1002,
    CancelButton = IDCANCEL,  // also Esc and the close box
};

// Shows the dialog modally. OK with a readable date and/or time sets targetDateValue and stores
// it as "targetDate"; Clear sets 0 and stores the no-target text; Cancel changes nothing.
// Unreadable text gets the conversion message and the dialog stays open. True when the target
// was set or cleared.
bool dlgSetTarget(HWND owner, double& targetDateValue);

}  // namespace tavro::dialogs
