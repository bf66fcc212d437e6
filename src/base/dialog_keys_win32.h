// Modeless windows of the program whose controls take Tab, Enter and Esc as a dialog's do: the
// message loop hands each key to IsDialogMessage of the window it is for.
#pragma once

#include <windows.h>

namespace tavro::base {

void addDialogKeyWindow(HWND window);
void removeDialogKeyWindow(HWND window);
// True when the message was a key for one of those windows and was taken.
bool takeDialogKey(MSG& message);

}  // namespace tavro::base
