#include "dialogs/sound_file_dialog_win32.h"

#include <algorithm>

#include "base/dynamic_calls_win32.h"

namespace tavro::dialogs {

std::optional<std::wstring> chooseWavFile(HWND owner, std::wstring_view current, const wchar_t* title) {
    const auto open = base::dynamicCalls().getOpenFileNameW;
    if (!open) return std::nullopt;
    std::wstring file(MAX_PATH * 4, L'\0');
    if (current.size() < file.size()) std::copy(current.begin(), current.end(), file.begin());
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = L"WAV ファイル (*.wav)\0*.wav\0すべてのファイル (*.*)\0*.*\0";
    ofn.lpstrFile = file.data();
    ofn.nMaxFile = static_cast<DWORD>(file.size());
    ofn.lpstrTitle = title;
    ofn.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    if (!open(&ofn)) return std::nullopt;
    return std::wstring(file.c_str());
}

}  // namespace tavro::dialogs
