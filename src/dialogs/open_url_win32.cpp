#include "dialogs/open_url_win32.h"

#include <windows.h>
#include <shellapi.h>

namespace tavro::dialogs {

std::wstring programPath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) return {};
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);  // cut short: try again with room to spare
    }
}

std::wstring programFolder() {
    const std::wstring path = programPath();
    const std::size_t slash = path.find_last_of(L"\\/");
    if (slash == std::wstring::npos) return {};
    // A drive's root keeps its backslash: "C:" alone would mean that drive's current folder.
    return path.substr(0, slash > 0 && path[slash - 1] == L':' ? slash + 1 : slash);
}

void openUrl(const std::wstring& url) {
    const std::wstring folder = programFolder();
    // The empty operation is the handler's default action, as a double click would do.
    ShellExecuteW(GetDesktopWindow(), L"", url.c_str(), L"", folder.empty() ? nullptr : folder.c_str(),
                  SW_SHOWNORMAL);
}

}  // namespace tavro::dialogs
