// The system's proxy settings, which the downloads follow (WinINet's defaults).
#pragma once

namespace tavro::dialogs {

// Opens Settings' proxy page where the system registers "ms-settings:" (Windows 10 and later),
// else the connections page of the Internet Options. A failure is silent, as with the links.
void openProxySettings();

}  // namespace tavro::dialogs
