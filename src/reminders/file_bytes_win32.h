// Whole files read and written for the reminders: the file and its sounds.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace tavro::reminders {

enum class ReadStatus { Read, Missing, TooLarge, Failed };  // Failed: held by another program, a read error

struct FileRead {
    ReadStatus status = ReadStatus::Failed;
    std::string bytes;
};
FileRead readWholeFile(const std::wstring& path, std::size_t maxBytes);

// What changes when a file is written: its size and last write time. Nothing when it is missing.
struct FileStamp {
    uint64_t size = 0;
    uint64_t written = 0;
    bool operator==(const FileStamp&) const = default;
};
std::optional<FileStamp> fileStamp(const std::wstring& path);

// The bytes written to path + ".tmp", flushed, then renamed over path; the old file copied to
// `backup` first. The folder is made when missing. False, and the file as it was, on any failure.
bool replaceFile(const std::wstring& path, const std::string& bytes, const std::wstring& backup);

}  // namespace tavro::reminders
