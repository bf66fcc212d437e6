// The optional calls' DLLs come from System32 only, whatever lies beside the exe.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "base/dynamic_calls_win32.h"

// A file planted beside the exe as dwmapi.dll, which this process has not loaded (under Wine
// shcore.dll and version.dll come in with the shell's DLLs at start, so a plant of theirs would
// show nothing): a bare LoadLibraryW tries the plant, and fails on it as it is no DLL at all;
// loadSystemLibrary takes the system's own.
TEST(DynamicCalls, AFileBesideTheExeIsNeverLoadedForASystemDll) {
    wchar_t exe[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, exe, MAX_PATH);
    const std::wstring plant = std::wstring(exe).substr(0, std::wstring(exe).rfind(L'\\')) + L"\\dwmapi.dll";
    ASSERT_FALSE(GetModuleHandleW(L"dwmapi.dll"));
    const HANDLE file = CreateFileW(plant.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    ASSERT_TRUE(WriteFile(file, "planted", 7, &written, nullptr));
    CloseHandle(file);
    EXPECT_FALSE(LoadLibraryW(L"dwmapi.dll"));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_BAD_EXE_FORMAT)) << "the plant was not tried";
    EXPECT_TRUE(tavro::base::loadSystemLibrary(L"dwmapi.dll"));
    DeleteFileW(plant.c_str());
}
