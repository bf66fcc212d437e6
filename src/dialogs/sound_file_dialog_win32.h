// The system's open dialog for a WAV file, as the chime's and the reminders' sounds choose one.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

namespace tavro::dialogs {

// The file chosen, or nothing when cancelled (or comdlg32 is missing). `current` opens the dialog
// on it; `title` captions it (the system's own caption without).
std::optional<std::wstring> chooseWavFile(HWND owner, std::wstring_view current = {}, const wchar_t* title = nullptr);

}  // namespace tavro::dialogs
