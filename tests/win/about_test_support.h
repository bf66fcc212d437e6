// What the about-box, system-information and link tests share: waiting for windows of the
// box under test, scratch registry keys and folders, and the launch recorder's records.
#pragma once

#include <windows.h>

#include <chrono>
#include <functional>
#include <map>
#include <string>
#include <thread>

#include "dialogs/open_url_win32.h"
#include "wait_until.h"

namespace about_test {

using win_test::waitUntil;

// A visible dialog box of this process with the caption, or null when none came up in time.
inline HWND waitForDialog(const std::wstring& caption, HWND exceptOwner = nullptr, int milliseconds = 10000) {
    HWND found = nullptr;
    waitUntil(
        [&] {
            found = nullptr;
            for (HWND w = FindWindowExW(nullptr, nullptr, L"#32770", caption.c_str()); w;
                 w = FindWindowExW(nullptr, w, L"#32770", caption.c_str())) {
                DWORD process = 0;
                GetWindowThreadProcessId(w, &process);
                if (process == GetCurrentProcessId() && IsWindowVisible(w) && w != exceptOwner) {
                    found = w;
                    return true;
                }
            }
            return false;
        },
        milliseconds);
    return found;
}

inline std::wstring windowText(HWND window) {
    wchar_t text[1024] = {};
    GetWindowTextW(window, text, 1024);
    return text;
}

struct Rect {
    int left, top, width, height;
    bool operator==(const Rect&) const = default;
};

// A control's rectangle in its dialog's client coordinates.
inline Rect controlRect(HWND dialog, HWND control) {
    RECT r{};
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
    return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

inline HWND focusOf(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info);
    return info.hwndFocus;
}

// A key pressed while the window has the focus, as the keyboard would post it.
inline void pressKey(HWND focused, WPARAM key) {
    PostMessageW(focused, WM_KEYDOWN, key, 1);
    PostMessageW(focused, WM_KEYUP, key, 0xC0000001);
}

// A key (under HKEY_CURRENT_USER unless told) that exists only for the test: gone before and after.
class ScratchKey {
public:
    explicit ScratchKey(std::string path, HKEY root = HKEY_CURRENT_USER) : root_(root), path_(std::move(path)) {
        remove();
    }
    ~ScratchKey() { remove(); }
    ScratchKey(const ScratchKey&) = delete;
    ScratchKey& operator=(const ScratchKey&) = delete;

    const std::string& path() const { return path_; }
    std::string sub(const std::string& name) const { return path_ + "\\" + name; }

    // Creates the key (and its parents) and sets one value.
    bool set(const std::string& subKey, const char* name, DWORD type, const void* data, DWORD size) const {
        HKEY key = nullptr;
        if (RegCreateKeyExA(root_, subKey.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                            nullptr) != ERROR_SUCCESS)
            return false;
        const bool ok = RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), size) == ERROR_SUCCESS;
        RegCloseKey(key);
        return ok;
    }
    bool setText(const std::string& subKey, const char* name, const std::string& text) const {
        return set(subKey, name, REG_SZ, text.c_str(), static_cast<DWORD>(text.size() + 1));
    }

private:
    void remove() const { RegDeleteTreeA(root_, path_.c_str()); RegDeleteKeyA(root_, path_.c_str()); }
    HKEY root_;
    std::string path_;
};

// A fresh folder under the temporary folder, emptied and removed at the end (one level deep).
class ScratchFolder {
public:
    explicit ScratchFolder(const std::wstring& name) {
        wchar_t temp[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, temp);
        path_ = std::wstring(temp) + name;
        clear();
        CreateDirectoryW(path_.c_str(), nullptr);
    }
    ~ScratchFolder() { clear(); }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::wstring& path() const { return path_; }
    std::string ansiPath() const {
        char ansi[MAX_PATH * 2] = {};
        WideCharToMultiByte(CP_ACP, 0, path_.c_str(), -1, ansi, sizeof ansi, nullptr, nullptr);
        return ansi;
    }

private:
    void clear() const {
        WIN32_FIND_DATAW found{};
        HANDLE search = FindFirstFileW((path_ + L"\\*").c_str(), &found);
        if (search != INVALID_HANDLE_VALUE) {
            do {
                const std::wstring entry = path_ + L"\\" + found.cFileName;
                if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                    if (found.cFileName != std::wstring(L".") && found.cFileName != std::wstring(L".."))
                        RemoveDirectoryW(entry.c_str());
                } else {
                    DeleteFileW(entry.c_str());
                }
            } while (FindNextFileW(search, &found));
            FindClose(search);
        }
        RemoveDirectoryW(path_.c_str());
    }
    std::wstring path_;
};

// Replaces one existing text value for the test and puts the old text back afterwards.
class ReplacedText {
public:
    ReplacedText(HKEY root, std::string keyPath, const std::string& text) : root_(root), keyPath_(std::move(keyPath)) {
        char old[4096] = {};
        DWORD size = sizeof old;
        DWORD type = 0;
        if (RegGetValueA(root_, keyPath_.c_str(), nullptr, RRF_RT_REG_SZ, &type, old, &size) != ERROR_SUCCESS) return;
        old_ = old;
        replaced_ = write(text);
    }
    ~ReplacedText() {
        if (replaced_) write(old_);
    }
    ReplacedText(const ReplacedText&) = delete;
    ReplacedText& operator=(const ReplacedText&) = delete;
    bool replaced() const { return replaced_; }

private:
    bool write(const std::string& text) const {
        return RegSetKeyValueA(root_, keyPath_.c_str(), nullptr, REG_SZ, text.c_str(),
                               static_cast<DWORD>(text.size() + 1)) == ERROR_SUCCESS;
    }
    HKEY root_;
    std::string keyPath_;
    std::string old_;
    bool replaced_ = false;
};

// Sets an environment variable of this process, which the programs it starts inherit.
class ScopedEnvironment {
public:
    ScopedEnvironment(const wchar_t* name, const std::wstring& value) : name_(name) {
        SetEnvironmentVariableW(name, value.c_str());
    }
    ~ScopedEnvironment() { SetEnvironmentVariableW(name_, nullptr); }
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

private:
    const wchar_t* name_;
};

// The stand-in program that writes how it was started (tests/e2e/helpers/tavro_testhelper.cpp, no verb),
// built beside this exe.
inline std::wstring launchRecorderPath() { return tavro::dialogs::programFolder() + L"\\helpers\\tavro_testhelper.exe"; }
inline bool isFile(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

inline std::wstring fromUtf8(const std::string& text) {
    std::wstring out(text.size(), L'\0');
    const int length = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(),
                                           static_cast<int>(out.size()));
    out.resize(static_cast<std::size_t>(length > 0 ? length : 0));
    return out;
}

// The recorder's lines as name -> value; empty when no record arrived in time.
inline std::map<std::string, std::wstring> waitForRecord(const std::wstring& file, int milliseconds = 15000) {
    std::map<std::string, std::wstring> record;
    if (!waitUntil([&] { return isFile(file); }, milliseconds)) return record;
    HANDLE handle = CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return record;
    std::string bytes(65536, '\0');
    DWORD read = 0;
    ReadFile(handle, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
    CloseHandle(handle);
    bytes.resize(read);
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = bytes.find('\n', start);
        if (end == std::string::npos) end = bytes.size();
        const std::string line = bytes.substr(start, end - start);
        const std::size_t equals = line.find('=');
        if (equals != std::string::npos) record[line.substr(0, equals)] = fromUtf8(line.substr(equals + 1));
        start = end + 1;
    }
    return record;
}

}  // namespace about_test
