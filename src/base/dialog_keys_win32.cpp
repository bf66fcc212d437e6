#include "base/dialog_keys_win32.h"

#include <algorithm>
#include <vector>

namespace tavro::base {

namespace {
std::vector<HWND>& windows() {
    static std::vector<HWND> list;
    return list;
}
}  // namespace

void addDialogKeyWindow(HWND window) { windows().push_back(window); }

void removeDialogKeyWindow(HWND window) { std::erase(windows(), window); }

bool takeDialogKey(MSG& message) {
    if (windows().empty() || message.message < WM_KEYFIRST || message.message > WM_KEYLAST) return false;
    for (HWND window : windows())
        if ((message.hwnd == window || IsChild(window, message.hwnd)) && IsDialogMessageW(window, &message)) return true;
    return false;
}

}  // namespace tavro::base
