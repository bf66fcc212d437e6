// mdlSpecialFolder: the user's shell folders.
#pragma once

#include <string>

namespace tavro::base {

inline constexpr int kPicturesFolder = 39;   // CSIDL_MYPICTURES
inline constexpr int kDocumentsFolder = 5;   // CSIDL_PERSONAL
inline constexpr int kRoamingFolder = 26;    // CSIDL_APPDATA
inline constexpr int kLocalFolder = 28;      // CSIDL_LOCAL_APPDATA

// The folder's path as the shell gives it (not created when missing), or "".
std::wstring getSpecialFolder(int csidl);

}  // namespace tavro::base
