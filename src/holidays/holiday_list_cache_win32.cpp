#include "holidays/holiday_list_cache_win32.h"

#include <windows.h>

#include "base/special_folder_win32.h"
#include "base/unique_handle_win32.h"
#include "holidays/holiday_list.h"

namespace tavro::holidays {

namespace {

// An owner that is empty when the file could not be opened.
base::UniqueFile openFile(const std::wstring& path, DWORD access, DWORD share, DWORD disposition, DWORD flags) {
    return base::UniqueFile(CreateFileW(path.c_str(), access, share, nullptr, disposition, flags, nullptr));
}

bool writeWhole(const std::wstring& path, std::string_view bytes) {
    const auto file = openFile(path, GENERIC_WRITE, 0, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_WRITE_THROUGH);
    if (!file) return false;
    DWORD written = 0;
    if (!WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr)) return false;
    return written == bytes.size() && FlushFileBuffers(file.get());
}

}  // namespace

std::wstring holidayListCachePath() {
    const std::wstring local = base::getSpecialFolder(base::kLocalFolder);
    return local.empty() ? std::wstring() : local + L"\\TavroClock\\syukujitsu.csv";
}

std::optional<std::string> readCachedList(const std::wstring& path) {
    if (path.empty()) return std::nullopt;
    const auto file = openFile(path, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL);
    LARGE_INTEGER size{};
    if (!file || !GetFileSizeEx(file.get(), &size) || size.QuadPart > static_cast<LONGLONG>(kMaxListBytes))
        return std::nullopt;
    std::string bytes(static_cast<std::size_t>(size.QuadPart), '\0');
    DWORD read = 0;
    if (!ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) || read != bytes.size())
        return std::nullopt;
    return bytes;
}

bool writeCachedList(const std::wstring& path, std::string_view bytes) {
    const std::size_t slash = path.rfind(L'\\');
    if (path.empty() || slash == std::wstring::npos || bytes.size() > kMaxListBytes) return false;
    CreateDirectoryW(path.substr(0, slash).c_str(), nullptr);  // there already, most times
    const std::wstring part = path + L".part";
    if (writeWhole(part, bytes) &&
        MoveFileExW(part.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return true;
    DeleteFileW(part.c_str());
    return false;
}

}  // namespace tavro::holidays
