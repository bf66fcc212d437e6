// frmAbout, the about box.
#pragma once

#include <windows.h>

namespace tavro::dialogs {

// Shows the about box modally; returns when the user closes it.
void showAbout(HWND owner);

}  // namespace tavro::dialogs
