#include "base/special_folder_win32.h"

#include <windows.h>
#include <shlobj.h>

#include <vector>

#include "desktop/wallpaper_rules.h"

namespace tavro::desktop {

std::wstring getSpecialFolder(int csidl) {
    // The buffer is read whatever the call says: one it did not write gives "".
    std::vector<wchar_t> buffer(kPathBufferChars, L'\0');
    SHGetSpecialFolderPathW(nullptr, buffer.data(), csidl, FALSE);
    buffer.back() = L'\0';
    return textBeforeNul(buffer.data(), buffer.size());
}

}  // namespace tavro::desktop
