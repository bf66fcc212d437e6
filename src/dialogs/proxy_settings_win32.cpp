#include "dialogs/proxy_settings_win32.h"

#include <windows.h>
#include <shellapi.h>

#include "base/special_folder_win32.h"
#include "base/unique_handle_win32.h"
#include "dialogs/open_url_win32.h"

namespace tavro::dialogs {

namespace {
// A protocol the shell can open is a key of that name with a "URL Protocol" value.
bool protocolRegistered(const wchar_t* scheme) {
    base::UniqueKey key;
    if (RegOpenKeyExW(HKEY_CLASSES_ROOT, scheme, 0, KEY_QUERY_VALUE, key.put()) != ERROR_SUCCESS) return false;
    return RegQueryValueExW(key.get(), L"URL Protocol", nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}
}  // namespace

void openProxySettings() {
    if (protocolRegistered(L"ms-settings")) {
        openUrl(L"ms-settings:network-proxy");
        return;
    }
    // The Internet Options' fifth page (index 4) is Connections, with the LAN settings' proxy.
    // By its full path: the shell would look beside the exe first.
    const std::wstring rundll32 = base::systemFile(L"rundll32.exe");
    if (rundll32.empty()) return;
    ShellExecuteW(GetDesktopWindow(), L"open", rundll32.c_str(), L"shell32.dll,Control_RunDLL inetcpl.cpl,,4", nullptr,
                  SW_SHOWNORMAL);
}

}  // namespace tavro::dialogs
