// GetKeyValue on the real registry, where the system-information tool is looked for, and
// starting it, with keys of the test's own under HKEY_CURRENT_USER.
#include <windows.h>

#include "dialogs/about_texts.h"
#include "dialogs/sys_info_win32.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <thread>

#include "about_test_support.h"

using namespace tavro::dialogs;
using about_test::ScratchFolder;
using about_test::ScratchKey;

namespace {

constexpr const char* kTestKey = "Software\\tavroClock sys info test";

class GetKeyValueTest : public ::testing::Test {
protected:
    ScratchKey key_{kTestKey};

    void setNumber(const char* name, uint32_t number) { ASSERT_TRUE(key_.set(kTestKey, name, REG_DWORD, &number, 4)); }
    void setBytes(const char* name, DWORD type, const std::string& bytes) {
        ASSERT_TRUE(key_.set(kTestKey, name, type, bytes.data(), static_cast<DWORD>(bytes.size())));
    }
    bool read(const char* name, std::string& text) { return GetKeyValue(HKEY_CURRENT_USER, kTestKey, name, text); }
};

TEST_F(GetKeyValueTest, TextValueIsReadWithoutItsClosingZero) {
    ASSERT_TRUE(key_.setText(kTestKey, "PATH", "C:\\Program Files\\Tools\\MSINFO32.EXE"));
    std::string text = "old";
    EXPECT_TRUE(read("PATH", text));
    EXPECT_EQ(text, "C:\\Program Files\\Tools\\MSINFO32.EXE");
}

TEST_F(GetKeyValueTest, EmptyTextIsReadAsEmpty) {
    setBytes("empty", REG_SZ, std::string(1, '\0'));
    std::string text = "old";
    EXPECT_TRUE(read("empty", text));
    EXPECT_EQ(text, "");
}

TEST_F(GetKeyValueTest, TextStoredWithoutClosingZeroKeepsItsLastCharacter) {
    setBytes("bare", REG_SZ, "abc");
    std::string text;
    EXPECT_TRUE(read("bare", text));
    EXPECT_EQ(text, "abc");
}

TEST_F(GetKeyValueTest, TextStoredWithSeveralZerosEndsAtTheFirst) {
    setBytes("padded", REG_SZ, std::string("abc\0\0\0", 6));
    std::string text;
    EXPECT_TRUE(read("padded", text));
    EXPECT_EQ(text, "abc");
}

TEST_F(GetKeyValueTest, NumberIsAmpersandHAndItsHexadecimalDigits) {
    setNumber("small", 31);
    setNumber("zero", 0);
    setNumber("wide", 0xDEADBEEF);
    setNumber("round", 0x10000);
    std::string text;
    EXPECT_TRUE(read("small", text));
    EXPECT_EQ(text, "&h1F");
    EXPECT_TRUE(read("zero", text));
    EXPECT_EQ(text, "&h0");
    EXPECT_TRUE(read("wide", text));
    EXPECT_EQ(text, "&hDEADBEEF");
    EXPECT_TRUE(read("round", text));
    EXPECT_EQ(text, "&h10000");
}

// Byte by byte without leading zeros, 0x0105 would come out as "&h015", another number.
TEST_F(GetKeyValueTest, NumberWithSmallInnerBytesKeepsTheirZeros) {
    setNumber("inner", 0x0105);
    setNumber("gaps", 0x0A000B0C);
    std::string text;
    EXPECT_TRUE(read("inner", text));
    EXPECT_EQ(text, "&h105");
    EXPECT_TRUE(read("gaps", text));
    EXPECT_EQ(text, "&hA000B0C");
}

TEST_F(GetKeyValueTest, MissingKeyIsFalseWithEmptyText) {
    std::string text = "old";
    EXPECT_FALSE(GetKeyValue(HKEY_CURRENT_USER, "Software\\tavroClock sys info test\\no such key", "PATH", text));
    EXPECT_EQ(text, "");
}

TEST_F(GetKeyValueTest, MissingValueIsFalseWithEmptyText) {
    ASSERT_TRUE(key_.setText(kTestKey, "other", "x"));
    std::string text = "old";
    EXPECT_FALSE(read("PATH", text));
    EXPECT_EQ(text, "");
}

TEST_F(GetKeyValueTest, TextFillingTheWholeBufferIsRead) {
    const std::string longest(1023, 'x');  // and its closing zero: 1024 bytes
    ASSERT_TRUE(key_.setText(kTestKey, "longest", longest));
    std::string text;
    EXPECT_TRUE(read("longest", text));
    EXPECT_EQ(text, longest);
}

TEST_F(GetKeyValueTest, ValueLongerThanTheBufferIsFalseWithEmptyText) {
    ASSERT_TRUE(key_.setText(kTestKey, "long", std::string(1024, 'x')));
    setBytes("blob", REG_BINARY, std::string(5000, '\x7f'));
    std::string text = "old";
    EXPECT_FALSE(read("long", text));
    EXPECT_EQ(text, "");
    text = "old";
    EXPECT_FALSE(read("blob", text));
    EXPECT_EQ(text, "");
}

TEST_F(GetKeyValueTest, OtherTypesAreReadButLeaveTheTextAsItWas) {
    setBytes("binary", REG_BINARY, "\x01\x02\x03");
    setBytes("expand", REG_EXPAND_SZ, std::string("%SystemRoot%\\x.exe\0", 20));
    const uint64_t wide = 0x1122334455667788ULL;
    ASSERT_TRUE(key_.set(kTestKey, "qword", REG_QWORD, &wide, 8));
    for (const char* name : {"binary", "expand", "qword"}) {
        std::string text = "as it was";
        EXPECT_TRUE(read(name, text)) << name;
        EXPECT_EQ(text, "as it was") << name;
    }
}

// sysInfoProgram and StartSysInfo, with both keys under a scratch key.
class SysInfoTest : public ::testing::Test {
protected:
    ScratchKey key_{"Software\\tavroClock sys info test"};
    const std::string pathKey_ = key_.sub("MSINFO");
    const std::string locationKey_ = key_.sub("Shared Tools Location");
    const SysInfoKeys keys_{HKEY_CURRENT_USER, pathKey_.c_str(), locationKey_.c_str()};
};

TEST_F(SysInfoTest, NothingRegisteredMeansNoProgram) { EXPECT_FALSE(sysInfoProgram(keys_).has_value()); }

TEST_F(SysInfoTest, RegisteredPathIsTakenAsItStandsEvenWhenNoFileIsThere) {
    ASSERT_TRUE(key_.setText(pathKey_, "PATH", "C:\\nowhere\\msinfo32.exe"));
    EXPECT_EQ(sysInfoProgram(keys_), "C:\\nowhere\\msinfo32.exe");
}

TEST_F(SysInfoTest, RegisteredPathWinsOverTheFolder) {
    ScratchFolder folder(L"tavro sysinfo folder");
    HANDLE file = CreateFileW((folder.path() + L"\\MSINFO32.EXE").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0,
                              nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    CloseHandle(file);
    ASSERT_TRUE(key_.setText(pathKey_, "PATH", "C:\\first\\choice.exe"));
    ASSERT_TRUE(key_.setText(locationKey_, "MSINFO", folder.ansiPath()));
    EXPECT_EQ(sysInfoProgram(keys_), "C:\\first\\choice.exe");
}

TEST_F(SysInfoTest, FolderWithTheToolGivesItsPath) {
    ScratchFolder folder(L"tavro sysinfo folder");
    const std::wstring tool = folder.path() + L"\\MSINFO32.EXE";
    HANDLE file = CreateFileW(tool.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    CloseHandle(file);
    ASSERT_TRUE(key_.setText(locationKey_, "MSINFO", folder.ansiPath()));
    EXPECT_EQ(sysInfoProgram(keys_), folder.ansiPath() + "\\MSINFO32.EXE");
}

TEST_F(SysInfoTest, FolderWithoutTheToolGivesNothing) {
    ScratchFolder folder(L"tavro sysinfo folder");
    ASSERT_TRUE(key_.setText(locationKey_, "MSINFO", folder.ansiPath()));
    EXPECT_FALSE(sysInfoProgram(keys_).has_value());
}

TEST_F(SysInfoTest, FolderNamedLikeTheToolIsNotTheTool) {
    ScratchFolder folder(L"tavro sysinfo folder");
    ASSERT_TRUE(CreateDirectoryW((folder.path() + L"\\MSINFO32.EXE").c_str(), nullptr));
    ASSERT_TRUE(key_.setText(locationKey_, "MSINFO", folder.ansiPath()));
    EXPECT_FALSE(sysInfoProgram(keys_).has_value());
}

TEST_F(SysInfoTest, ProgramThatIsNotThereDoesNotStart) {
    EXPECT_FALSE(startProgram("C:\\nowhere\\msinfo32.exe"));
    EXPECT_FALSE(startProgram(""));
}

// The message box that StartSysInfo shows when it has nothing to start: its text, title, one
// OK button and no icon. Returns false when no box came up.
bool closeNoSysInfoMessage(HWND owner, std::wstring& text, bool& onlyOk, bool& noIcon, HWND& boxOwner) {
    HWND box = about_test::waitForDialog(std::wstring(kAppTitle), owner);
    if (!box) return false;
    text = about_test::windowText(GetDlgItem(box, 0xFFFF));
    onlyOk = GetDlgItem(box, IDOK) && !GetDlgItem(box, IDCANCEL) && !GetDlgItem(box, IDYES) && !GetDlgItem(box, IDNO);
    // The icon control of a message box is id 0x14 on Windows and 0x440 under Wine; with no icon
    // it is absent, hidden or empty.
    noIcon = true;
    for (int id : {0x14, 0x440}) {
        HWND icon = GetDlgItem(box, id);
        if (icon && IsWindowVisible(icon) && SendMessageW(icon, STM_GETICON, 0, 0)) noIcon = false;
    }
    boxOwner = GetWindow(box, GW_OWNER);
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    return about_test::waitUntil([&] { return !IsWindow(box); });
}

TEST_F(SysInfoTest, NothingToStartShowsTheMessageWithTheApplicationTitle) {
    std::wstring text;
    bool onlyOk = false, noIcon = false, closed = false;
    HWND boxOwner = nullptr;
    std::thread watcher([&] { closed = closeNoSysInfoMessage(nullptr, text, onlyOk, noIcon, boxOwner); });
    StartSysInfo(nullptr, keys_);
    watcher.join();
    ASSERT_TRUE(closed);
    EXPECT_EQ(text, L"現時点ではシステム情報を使用できません");
    EXPECT_TRUE(onlyOk);
    EXPECT_TRUE(noIcon);
}

TEST_F(SysInfoTest, RegisteredProgramThatCannotStartShowsTheMessage) {
    ASSERT_TRUE(key_.setText(pathKey_, "PATH", "C:\\nowhere\\msinfo32.exe"));
    std::wstring text;
    bool onlyOk = false, noIcon = false, closed = false;
    HWND boxOwner = nullptr;
    std::thread watcher([&] { closed = closeNoSysInfoMessage(nullptr, text, onlyOk, noIcon, boxOwner); });
    StartSysInfo(nullptr, keys_);
    watcher.join();
    ASSERT_TRUE(closed);
    EXPECT_EQ(text, L"現時点ではシステム情報を使用できません");
}

class SysInfoStartTest : public SysInfoTest {
protected:
    void SetUp() override {
        if (!about_test::isFile(about_test::launchRecorderPath()))
            GTEST_SKIP() << "the launch recorder is not built beside this exe (target tavro_testhelper)";
    }
    ScratchFolder records_{L"tavro sysinfo records"};
    const std::wstring recordFile_ = records_.path() + L"\\started.txt";
    about_test::ScopedEnvironment environment_{L"TAVRO_LAUNCH_RECORD", recordFile_};
};

// StartSysInfo must not show its message here: a box would be left open and the test would hang
// on it, so a watcher closes any that comes and says so.
void startWithoutMessage(const SysInfoKeys& keys, bool& messageShown) {
    bool done = false;
    std::thread watcher([&] {
        HWND box = nullptr;
        about_test::waitUntil([&] { return done || (box = about_test::waitForDialog(std::wstring(kAppTitle), nullptr, 0)); }, 5000);
        if (box) {
            messageShown = true;
            PostMessageW(box, WM_COMMAND, IDOK, 0);
        }
    });
    StartSysInfo(nullptr, keys);
    done = true;
    watcher.join();
}

TEST_F(SysInfoStartTest, RegisteredPathStartsInANormalWindow) {
    char ansi[MAX_PATH * 2] = {};
    WideCharToMultiByte(CP_ACP, 0, about_test::launchRecorderPath().c_str(), -1, ansi, sizeof ansi, nullptr, nullptr);
    ASSERT_TRUE(key_.setText(pathKey_, "PATH", ansi));
    bool messageShown = false;
    startWithoutMessage(keys_, messageShown);
    EXPECT_FALSE(messageShown);
    const auto record = about_test::waitForRecord(recordFile_);
    ASSERT_FALSE(record.empty()) << "the registered program did not start";
    EXPECT_TRUE(std::stoul(record.at("flags")) & STARTF_USESHOWWINDOW);
    EXPECT_EQ(record.at("show"), L"1");  // SW_SHOWNORMAL
}

TEST_F(SysInfoStartTest, ToolInARegisteredFolderWithSpacesStarts) {
    ScratchFolder folder(L"tavro sysinfo folder with spaces");
    ASSERT_TRUE(CopyFileW(about_test::launchRecorderPath().c_str(), (folder.path() + L"\\MSINFO32.EXE").c_str(), FALSE));
    ASSERT_TRUE(key_.setText(locationKey_, "MSINFO", folder.ansiPath()));
    bool messageShown = false;
    startWithoutMessage(keys_, messageShown);
    EXPECT_FALSE(messageShown);
    const auto record = about_test::waitForRecord(recordFile_);
    ASSERT_FALSE(record.empty()) << "MSINFO32.EXE in the registered folder did not start";
    EXPECT_NE(record.at("command").find(L"MSINFO32.EXE"), std::wstring::npos);
    EXPECT_EQ(record.at("show"), L"1");
    // Let the stand-in end before its folder is removed.
    about_test::waitUntil([&] { return DeleteFileW((folder.path() + L"\\MSINFO32.EXE").c_str()) != 0; }, 5000);
}

}  // namespace
