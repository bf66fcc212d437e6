#include "base/special_folder_win32.h"

#include <windows.h>
#include <shlobj.h>

#include <vector>

namespace tavro::base {

std::wstring getSpecialFolder(int csidl) {
    // The buffer is read whatever the call says: one it did not write gives "".
    std::vector<wchar_t> buffer(1024, L'\0');  // more than the MAX_PATH the call may write
    SHGetSpecialFolderPathW(nullptr, buffer.data(), csidl, FALSE);
    buffer.back() = L'\0';
    return buffer.data();
}

std::wstring systemFile(const wchar_t* name) {
    wchar_t folder[MAX_PATH] = {};
    const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return {};
    return std::wstring(folder, length) + L"\\" + name;
}

}  // namespace tavro::base
