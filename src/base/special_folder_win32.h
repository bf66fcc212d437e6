// mdlSpecialFolder: the user's shell folders.
#pragma once

#include <string>

namespace tavro::desktop {

// The folder's path as the shell gives it (not created when missing), or "".
std::wstring getSpecialFolder(int csidl);

}  // namespace tavro::desktop
