// The about box's system-information button: where the Windows system-information tool is
// registered, and starting it.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace tavro::dialogs {

// Reads one value in the ANSI code page. A text (REG_SZ) is the stored bytes up to their
// first zero; a number (REG_DWORD) is "&h" and its hexadecimal digits, "&h1F" for 31; any
// other type leaves text as it was and still counts as read. False, with text empty, when the
// key cannot be opened for reading or the value is missing or longer than 1024 bytes.
bool GetKeyValue(HKEY root, const char* keyPath, const char* valueName, std::string& text);

// Where to look for the tool; the tests point it at keys of their own.
struct SysInfoKeys {
    HKEY root;
    const char* pathKey;      // its value PATH is the program itself
    const char* locationKey;  // its value MSINFO is the folder that holds MSINFO32.EXE
};
inline const SysInfoKeys kSysInfoKeys{HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO",
                                          "SOFTWARE\\Microsoft\\Shared Tools Location"};

// The program to start: the registered PATH as it stands, else MSINFO32.EXE in the registered
// folder when that file exists; nothing otherwise.
std::optional<std::string> sysInfoProgram(const SysInfoKeys& keys = kSysInfoKeys);

// Starts the program in a normal window that may take the focus. False when it cannot start.
bool startProgram(const std::string& path);

// Starts the tool, or tells the user it is not available, in a message box owned by owner.
void StartSysInfo(HWND owner = nullptr, const SysInfoKeys& keys = kSysInfoKeys);

}  // namespace tavro::dialogs
