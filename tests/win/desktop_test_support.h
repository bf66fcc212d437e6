// For the desktop tests: the system's wallpaper and desktop colour put back after each test,
// a record store the test can look into, scratch folders and whole-file reads.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "desktop/desktop_calls_win32.h"
#include "desktop/recovery_record.h"

namespace tavro::desktop::testing {

// Every test here changes system-wide settings; they go back to what they were.
class SystemDesktopTest : public ::testing::Test {
protected:
    void SetUp() override {
        savedWallPaper_ = readDeskWallPaper();
        savedColour_ = readDesktopColour();
    }
    void TearDown() override {
        writeDeskWallPaper(savedWallPaper_);
        writeDesktopColour(savedColour_);
    }

private:
    std::wstring savedWallPaper_;
    render::ColorRef savedColour_ = 0;
};

// A store whose contents outlive the DesktopChanges that owns it, as the registry does.
class SharedStore final : public RecordStore {
public:
    struct Values {
        std::map<std::wstring, int32_t> numbers;
        std::map<std::wstring, std::wstring> texts;
    };
    explicit SharedStore(std::shared_ptr<Values> values) : values_(std::move(values)) {}
    std::optional<int32_t> readNumber(std::wstring_view name) override {
        const auto it = values_->numbers.find(std::wstring(name));
        return it == values_->numbers.end() ? std::nullopt : std::optional<int32_t>(it->second);
    }
    std::optional<std::wstring> readText(std::wstring_view name) override {
        const auto it = values_->texts.find(std::wstring(name));
        return it == values_->texts.end() ? std::nullopt : std::optional<std::wstring>(it->second);
    }
    bool writeNumber(std::wstring_view name, int32_t value) override {
        values_->numbers[std::wstring(name)] = value;
        return true;
    }
    bool writeText(std::wstring_view name, std::wstring_view text) override {
        values_->texts[std::wstring(name)] = std::wstring(text);
        return true;
    }
    void remove(std::wstring_view name) override {
        values_->numbers.erase(std::wstring(name));
        values_->texts.erase(std::wstring(name));
    }

private:
    std::shared_ptr<Values> values_;
};

// A fresh folder under the temporary folder; its name has characters outside code page 932.
inline std::wstring makeScratchFolder(const wchar_t* tag) {
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    std::wstring folder = std::wstring(temp) + L"tavro 한글 é " + tag + L" " + std::to_wstring(GetCurrentProcessId());
    CreateDirectoryW(folder.c_str(), nullptr);
    return folder;
}

inline void removeScratchFolder(const std::wstring& folder) {
    WIN32_FIND_DATAW found{};
    const HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = found.cFileName;
            if (name != L"." && name != L"..") DeleteFileW((folder + L"\\" + name).c_str());
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    RemoveDirectoryW(folder.c_str());
}

inline std::optional<std::vector<uint8_t>> readWholeFile(const std::wstring& path) {
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return std::nullopt;
    std::vector<uint8_t> bytes(GetFileSize(file, nullptr));
    DWORD done = 0;
    const bool ok = bytes.empty() || (ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &done, nullptr) &&
                                      done == bytes.size());
    CloseHandle(file);
    if (!ok) return std::nullopt;
    return bytes;
}

inline bool fileExists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

}  // namespace tavro::desktop::testing
