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

// The path of a file of System32 (a program the clock starts, a DLL), or "" when the folder is
// unknown: never a bare name that a search could find elsewhere first.
std::wstring systemFile(const wchar_t* name);

}  // namespace tavro::base
