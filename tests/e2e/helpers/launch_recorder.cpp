// A stand-in for programs the clock starts (the system-information tool, a web browser): it
// writes how it was started to the file named by TAVRO_LAUNCH_RECORD and ends. The record is
// UTF-8, one "name=value" line each: command (the whole command line), folder (the current
// folder), flags and show (STARTUPINFO dwFlags and wShowWindow in decimal). It is written
// under another name and then renamed, so that a reader never sees half of it.
#include <windows.h>

#include <string>

namespace {

std::string utf8(const std::wstring& text) {
    if (text.empty()) return {};
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                         nullptr, nullptr);
    std::string out(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size, nullptr, nullptr);
    return out;
}

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
    const std::wstring partFile = recordFile + L".part";
    HANDLE file = CreateFileW(partFile.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 1;
    DWORD written = 0;
    const BOOL ok = WriteFile(file, record.data(), static_cast<DWORD>(record.size()), &written, nullptr);
    CloseHandle(file);
    if (!ok || written != record.size()) return 1;
    return MoveFileExW(partFile.c_str(), recordFile.c_str(), MOVEFILE_REPLACE_EXISTING) ? 0 : 1;
}
