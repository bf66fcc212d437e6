// frmAbout, the about box.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "dialogs/sys_info_win32.h"

namespace tavro::dialogs {

// Control ids of the about box.
enum AboutControl : int {
    picIcon = 1101,
    lblTitle = 1102,
    lblVersion = 1103,
    lblDescription = 1104,
    lblDisclaimer = 1105,
    cmdOK = IDOK,  // the default button: Enter; Esc and the close box come as IDCANCEL
    cmdSysInfo = 1106,
};

// Shows the about box modally; returns when the user closes it.
void showAbout(HWND owner);

// Where the box takes what it shows and starts: by default the running program's file and
// module and the system's keys of the system-information tool.
struct AboutSource {
    std::wstring programPath;  // its version resource gives the version line
    HMODULE iconModule;        // holds the APPICON icon
    SysInfoKeys sysInfoKeys;
};
void showAbout(HWND owner, const AboutSource& source);

// The four parts of a file's fixed file version; nothing when the file has no version resource.
struct FileVersion {
    unsigned major, minor, build, revision;
    bool operator==(const FileVersion&) const = default;
};
std::optional<FileVersion> fileVersion(const std::wstring& path);

}  // namespace tavro::dialogs
