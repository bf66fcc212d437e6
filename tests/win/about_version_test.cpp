// The built program's version resource and icon, read from its file as Explorer would.
#include <windows.h>

#include "dialogs/frm_about_win32.h"
#include "dialogs/open_url_win32.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "about_test_support.h"

using namespace tavro::dialogs;

namespace {

std::wstring builtProgram() { return programFolder() + L"\\tavroclock.exe"; }

// One text of the version resource's string table, read through version.dll.
std::wstring versionString(const std::wstring& path, const std::wstring& name) {
    HMODULE dll = LoadLibraryW(L"version.dll");
    if (!dll) return L"<no version.dll>";
    using SizeFn = DWORD(WINAPI*)(LPCWSTR, LPDWORD);
    using InfoFn = BOOL(WINAPI*)(LPCWSTR, DWORD, DWORD, LPVOID);
    using QueryFn = BOOL(WINAPI*)(LPCVOID, LPCWSTR, LPVOID*, PUINT);
    auto size = reinterpret_cast<SizeFn>(reinterpret_cast<void (*)()>(GetProcAddress(dll, "GetFileVersionInfoSizeW")));
    auto info = reinterpret_cast<InfoFn>(reinterpret_cast<void (*)()>(GetProcAddress(dll, "GetFileVersionInfoW")));
    auto query = reinterpret_cast<QueryFn>(reinterpret_cast<void (*)()>(GetProcAddress(dll, "VerQueryValueW")));
    std::wstring result = L"<missing>";
    DWORD unused = 0;
    const DWORD bytes = size(path.c_str(), &unused);
    std::vector<BYTE> block(bytes);
    void* found = nullptr;
    UINT length = 0;
    if (bytes && info(path.c_str(), 0, bytes, block.data()) &&
        query(block.data(), (L"\\StringFileInfo\\041104B0\\" + name).c_str(), &found, &length) && found)
        result = static_cast<const wchar_t*>(found);
    FreeLibrary(dll);
    return result;
}

class ProgramFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!about_test::isFile(builtProgram()))
            GTEST_SKIP() << "tavroclock.exe is not built beside this exe (target tavroclock)";
    }
};

TEST_F(ProgramFileTest, FileVersionIsOneZeroZeroTwentyThree) {
    const auto version = fileVersion(builtProgram());
    ASSERT_TRUE(version.has_value());
    EXPECT_EQ(*version, (FileVersion{1, 0, 0, 23}));
}

TEST_F(ProgramFileTest, PropertiesNameTheMakerProductAndVersions) {
    EXPECT_EQ(versionString(builtProgram(), L"CompanyName"), L"Quillmar-soft");
    EXPECT_EQ(versionString(builtProgram(), L"ProductName"), L"TavroClock");
    EXPECT_EQ(versionString(builtProgram(), L"FileVersion"), L"1.0.0.23");
    EXPECT_EQ(versionString(builtProgram(), L"ProductVersion"), L"1.0.0.23");
    EXPECT_EQ(versionString(builtProgram(), L"FileDescription"), L"TavroClock デスクトップ時計");
}

// The icon group as stored: one image each of 16, 32 and 48 pixels, all of 256 colours.
TEST_F(ProgramFileTest, IconHasSixteenThirtyTwoAndFortyEightPixelImagesOf256Colours) {
    HMODULE program = LoadLibraryExW(builtProgram().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(program, nullptr);
    HRSRC group = FindResourceW(program, L"APPICON", MAKEINTRESOURCEW(14));  // RT_GROUP_ICON
    ASSERT_NE(group, nullptr);
    const auto* bytes = static_cast<const uint8_t*>(LockResource(LoadResource(program, group)));
    const DWORD size = SizeofResource(program, group);
    ASSERT_GE(size, 6u);
    const unsigned count = bytes[4] | (bytes[5] << 8);
    ASSERT_EQ(size, 6 + 14 * count);
    std::set<int> sizes;
    for (unsigned i = 0; i < count; ++i) {
        const uint8_t* entry = bytes + 6 + 14 * i;
        const int width = entry[0] ? entry[0] : 256;
        const int height = entry[1] ? entry[1] : 256;
        const int bits = entry[6] | (entry[7] << 8);
        EXPECT_EQ(width, height);
        EXPECT_EQ(bits, 8) << width << " px";
        sizes.insert(width);
    }
    FreeLibrary(program);
    EXPECT_EQ(sizes, (std::set<int>{16, 32, 48}));
}

TEST(FileVersion, FileWithoutVersionResourceHasNone) {
    EXPECT_FALSE(fileVersion(programPath()).has_value());  // the test exe carries none
}

TEST(FileVersion, MissingOrUnnamedFileHasNone) {
    EXPECT_FALSE(fileVersion(programFolder() + L"\\no such program.exe").has_value());
    EXPECT_FALSE(fileVersion(L"").has_value());
}

}  // namespace
