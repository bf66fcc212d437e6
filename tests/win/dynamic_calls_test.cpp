// The optional calls' DLLs come from System32 only, whatever lies beside the exe.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "base/dynamic_calls_win32.h"

namespace {

std::wstring exeFolder() {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path);
    return folder.substr(0, folder.rfind(L'\\'));
}

bool exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// A DLL of a system DLL's name planted beside the exe: a bare LoadLibraryW takes it (so the plant
// is live), loadSystemLibrary the system's own. dwmapi.dll, as this process has not loaded it:
// under Wine, shcore.dll and version.dll come in with the shell's DLLs at start, so a plant of
// theirs could show nothing here.
TEST(DynamicCalls, ADllPlantedBesideTheExeIsNeverLoaded) {
    const wchar_t* name = L"dwmapi.dll";
    const std::wstring plant = exeFolder() + L"\\" + name, marker = plant + L".loaded";
    ASSERT_FALSE(GetModuleHandleW(name));
    ASSERT_TRUE(CopyFileW((exeFolder() + L"\\tavro_planted.dll").c_str(), plant.c_str(), FALSE));
    DeleteFileW(marker.c_str());
    EXPECT_FALSE(LoadLibraryW(name));  // it records its loading and refuses to stay
    EXPECT_TRUE(exists(marker));
    DeleteFileW(marker.c_str());

    const HMODULE system = tavro::base::loadSystemLibrary(name);
    wchar_t loaded[MAX_PATH] = {};
    GetModuleFileNameW(system, loaded, MAX_PATH);
    EXPECT_TRUE(system);
    EXPECT_FALSE(exists(marker)) << "loaded from " << loaded;
    DeleteFileW(plant.c_str());
}

}  // namespace
