// A stand-in for programs the clock starts (the system-information tool, a web browser): it
// writes how it was started to the file named by TAVRO_LAUNCH_RECORD and ends. The record is
// UTF-8, one "name=value" line each: command (the whole command line), folder (the current
// folder), flags and show (STARTUPINFO dwFlags and wShowWindow in decimal). It is written
// under another name and then renamed, so that a reader never sees half of it.
#include <windows.h>

#include <string>

#include "report_file.h"

namespace {

using report_file::utf8;

std::wstring environmentValue(const wchar_t* name) {
    std::wstring value(1024, L'\0');
    const DWORD length = GetEnvironmentVariableW(name, value.data(), static_cast<DWORD>(value.size()));
    if (length == 0 || length >= value.size()) return {};
    value.resize(length);
    return value;
}

std::wstring currentFolder() {
    std::wstring folder(1024, L'\0');
    const DWORD length = GetCurrentDirectoryW(static_cast<DWORD>(folder.size()), folder.data());
    folder.resize(length < folder.size() ? length : 0);
    return folder;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    const std::wstring recordFile = environmentValue(L"TAVRO_LAUNCH_RECORD");
    if (recordFile.empty()) return 2;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    GetStartupInfoW(&startup);
    const std::string record = "command=" + utf8(GetCommandLineW()) + "\nfolder=" + utf8(currentFolder()) +
                               "\nflags=" + std::to_string(startup.dwFlags) +
                               "\nshow=" + std::to_string(startup.wShowWindow) + "\n";
    return report_file::writeWhole(recordFile, record) ? 0 : 1;
}
