// mdlShellExecute: opening a web page with the system's handler for its address.
#pragma once

#include <string>

namespace tavro::dialogs {

// The running program's file, empty when the system cannot say.
std::wstring programPath();

// The folder that holds the running program, without a closing backslash
// except at a drive's root (C:\).
std::wstring programFolder();

// Hands the address to the shell's default action, parented to the desktop window and run in
// the program's own folder. A failure is silent.
void openUrl(const std::wstring& url);

}  // namespace tavro::dialogs
