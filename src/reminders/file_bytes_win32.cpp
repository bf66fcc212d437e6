#include "reminders/file_bytes_win32.h"

#include <windows.h>

#include "base/unique_handle_win32.h"

namespace tavro::reminders {

namespace {
base::UniqueKernelHandle owned(HANDLE h) { return base::UniqueKernelHandle(h == INVALID_HANDLE_VALUE ? nullptr : h); }
}  // namespace

FileRead readWholeFile(const std::wstring& path, std::size_t maxBytes) {
    // Others may go on writing or replacing it meanwhile (a sync tool, an editor).
    const auto file = owned(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                        nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        const DWORD error = GetLastError();
        return {error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? ReadStatus::Missing : ReadStatus::Failed, {}};
    }
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.get(), &size) || size.QuadPart < 0) return {};
    if (static_cast<unsigned long long>(size.QuadPart) > maxBytes) return {ReadStatus::TooLarge, {}};
    FileRead result{ReadStatus::Read, std::string(static_cast<std::size_t>(size.QuadPart), '\0')};
    DWORD read = 0;
    if (!result.bytes.empty() &&
        (!ReadFile(file.get(), result.bytes.data(), static_cast<DWORD>(result.bytes.size()), &read, nullptr) ||
         read != result.bytes.size()))
        return {};
    return result;
}

std::optional<FileStamp> fileStamp(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return std::nullopt;
    return FileStamp{(uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow,
                     (uint64_t{data.ftLastWriteTime.dwHighDateTime} << 32) | data.ftLastWriteTime.dwLowDateTime};
}

bool replaceFile(const std::wstring& path, const std::string& bytes, const std::wstring& backup) {
    const std::size_t slash = path.find_last_of(L'\\');
    if (slash != std::wstring::npos) CreateDirectoryW(path.substr(0, slash).c_str(), nullptr);
    const std::wstring temporary = path + L".tmp";
    {
        const auto file = owned(CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                            FILE_ATTRIBUTE_NORMAL, nullptr));
        DWORD written = 0;
        if (!file || !WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
            written != bytes.size() || !FlushFileBuffers(file.get())) {
            DeleteFileW(temporary.c_str());
            return false;
        }
    }
    if (GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES && !CopyFileW(path.c_str(), backup.c_str(), FALSE)) {
        DeleteFileW(temporary.c_str());
        return false;
    }
    if (!MoveFileExW(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        DeleteFileW(temporary.c_str());
        return false;
    }
    return true;
}

}  // namespace tavro::reminders
