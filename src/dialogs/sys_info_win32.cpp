#include "dialogs/sys_info_win32.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>

#include "base/unique_handle_win32.h"
#include "dialogs/about_texts.h"

namespace tavro::dialogs {

namespace {

using base::UniqueKey;

// Reading needs no more than KEY_READ; asking for write rights as well would fail on
// HKEY_LOCAL_MACHINE for every user who is not an administrator.
constexpr REGSAM kReadAccess = KEY_READ;
constexpr DWORD kBufferBytes = 1024;

// "&h" and the number's hexadecimal digits in capitals without leading zeros; the registry
// hands a REG_DWORD over low byte first.
std::string numberText(const std::string& bytes) {
    uint32_t number = 0;
    const std::size_t count = std::min<std::size_t>(bytes.size(), 4);
    for (std::size_t i = count; i-- > 0;) number = (number << 8) | static_cast<unsigned char>(bytes[i]);
    char digits[9];
    std::snprintf(digits, sizeof digits, "%X", static_cast<unsigned>(number));
    return std::string("&h") + digits;
}

bool isFile(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

bool GetKeyValue(HKEY root, const char* keyPath, const char* valueName, std::string& text) {
    HKEY opened = nullptr;
    if (RegOpenKeyExA(root, keyPath, 0, kReadAccess, &opened) != ERROR_SUCCESS) {
        text.clear();
        return false;
    }
    const UniqueKey key(opened);
    std::string buffer(kBufferBytes, '\0');
    DWORD type = REG_NONE;
    DWORD size = kBufferBytes;
    if (RegQueryValueExA(key.get(), valueName, nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()), &size) !=
        ERROR_SUCCESS) {
        text.clear();
        return false;
    }
    buffer.resize(std::min(size, kBufferBytes));
    if (type == REG_DWORD) {
        text = numberText(buffer);
    } else if (type == REG_SZ) {
        // A text may have been stored with more than its one closing zero; it ends at the first.
        buffer.resize(std::min(buffer.size(), buffer.find('\0')));
        text = buffer;
    }
    return true;
}

std::optional<std::string> sysInfoProgram(const SysInfoKeys& keys) {
    std::string path;
    if (GetKeyValue(keys.root, keys.pathKey, "PATH", path)) return path;
    std::string folder;
    if (GetKeyValue(keys.root, keys.locationKey, "MSINFO", folder)) {
        std::string file = folder + "\\MSINFO32.EXE";
        if (isFile(file)) return file;
    }
    return std::nullopt;
}

bool startProgram(const std::string& path) {
    std::string file = path;
    if (file.size() >= 2 && file.front() == '"' && file.back() == '"') file = file.substr(1, file.size() - 2);
    if (file.empty()) return false;
    // The program name is given on its own, so a path with spaces needs no quoting rules; the
    // command line only repeats it as the program's first argument.
    std::string commandLine = "\"" + file + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION started{};
    if (!CreateProcessA(file.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &started))
        return false;
    const base::UniqueKernelHandle process(started.hProcess);
    const base::UniqueKernelHandle thread(started.hThread);
    AllowSetForegroundWindow(started.dwProcessId);  // the tool comes up in front, with the focus
    return true;
}

void StartSysInfo(HWND owner, const SysInfoKeys& keys) {
    if (const auto program = sysInfoProgram(keys); program && startProgram(*program)) return;
    MessageBoxW(owner, kNoSysInfoMessage.data(), kAppTitle.data(), MB_OK);
}

}  // namespace tavro::dialogs
