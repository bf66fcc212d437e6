// The one settings window, 「設定 - TavroClock」: the clock's choices in groups, each change shown on
// the clock as it is made; 「OK」 keeps them, 「キャンセル」 and Esc put back what was not kept,
// 「適用」 keeps them and stays open. Modal: one at a time, and the clock takes no other command
// meanwhile.
#pragma once

#include <windows.h>

#include "dialogs/settings_session.h"

namespace tavro::dialogs {

void runSettingsWindow(HWND owner, const ClockSettings& opened, settings::RecordStore& store,
                       SettingsHandlers handlers);

}  // namespace tavro::dialogs
