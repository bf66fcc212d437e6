// openUrl hands the address to the shell: a stand-in handler registered for the address's
// protocol writes what arrived, in which folder and with which show mode.
#include <windows.h>

#include "dialogs/dialog_texts.h"
#include "dialogs/open_url_win32.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "about_test_support.h"

using namespace tavro::dialogs;
using about_test::ScratchKey;

namespace {

std::string ansi(const std::wstring& text) {
    char out[2048] = {};
    WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, out, sizeof out, nullptr, nullptr);
    return out;
}

TEST(ProgramFolder, IsTheFolderOfTheRunningExeWithoutClosingBackslash) {
    const std::wstring folder = programFolder();
    ASSERT_GT(folder.size(), 3u);
    EXPECT_NE(folder.back(), L'\\');
    EXPECT_TRUE(about_test::isFile(folder + L"\\win_tests.exe"));
    EXPECT_EQ(programPath(), folder + L"\\win_tests.exe");
}

// A protocol whose open command is the launch recorder. Written through HKEY_CLASSES_ROOT: Wine
// reads protocols from the machine's classes only, Windows takes the user's classes from there.
class OpenUrlTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!about_test::isFile(about_test::launchRecorderPath()))
            GTEST_SKIP() << "the launch recorder is not built beside this exe (target tavro_testhelper)";
    }
    static std::string recorderCommand() {
        std::string command = "\"";
        command += ansi(about_test::launchRecorderPath());
        command += "\" \"%1\"";
        return command;
    }
    about_test::ScratchFolder records_{L"tavro open url records"};
    const std::wstring recordFile_ = records_.path() + L"\\opened.txt";
    about_test::ScopedEnvironment environment_{L"TAVRO_LAUNCH_RECORD", recordFile_};
};

TEST_F(OpenUrlTest, AddressReachesItsHandlerWholeInTheProgramFolderInANormalWindow) {
    ScratchKey handler("tavro-test-link", HKEY_CLASSES_ROOT);
    ASSERT_TRUE(handler.setText(handler.path(), nullptr, "URL:tavro test handler"));
    ASSERT_TRUE(handler.setText(handler.path(), "URL Protocol", ""));
    ASSERT_TRUE(handler.setText(handler.sub("shell\\open\\command"), nullptr, recorderCommand()));
    const std::wstring url = L"tavro-test-link://www.example.jp/japan/page?a=1&b=2";
    openUrl(url);
    const auto record = about_test::waitForRecord(recordFile_);
    ASSERT_FALSE(record.empty()) << "the handler was not started";
    EXPECT_NE(record.at("command").find(L"\"" + url + L"\""), std::wstring::npos) << record.at("command");
    EXPECT_EQ(record.at("folder"), programFolder());
    EXPECT_EQ(record.at("show"), L"1");  // SW_SHOWNORMAL
}

// The two home pages go out through the http handler as they stand; the handler's command is
// the recorder for the test only.
TEST_F(OpenUrlTest, HomePagesReachTheHttpHandlerAsTheyStand) {
    about_test::ReplacedText handler(HKEY_CLASSES_ROOT, "http\\shell\\open\\command", recorderCommand());
    if (!handler.replaced()) GTEST_SKIP() << "no http handler command to stand in for";
    for (const tavro::UiText page : {kTavroHomePage, kQuillmarSoftHomePage}) {
        DeleteFileW(recordFile_.c_str());
        openUrl(std::wstring(page));
        const auto record = about_test::waitForRecord(recordFile_);
        ASSERT_FALSE(record.empty()) << "the http handler was not started";
        EXPECT_NE(record.at("command").find(L"\"" + std::wstring(page) + L"\""), std::wstring::npos)
            << record.at("command");
    }
}

BOOL CALLBACK countAndCloseVisibleWindow(HWND window, LPARAM counter) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process == GetCurrentProcessId() && IsWindowVisible(window)) {
        ++*reinterpret_cast<int*>(counter);
        PostMessageW(window, WM_CLOSE, 0, 0);
    }
    return TRUE;
}

// Visible top-level windows of this process, such as an error box the shell might put up.
int visibleWindowsOfThisProcess() {
    int count = 0;
    EnumWindows(countAndCloseVisibleWindow, reinterpret_cast<LPARAM>(&count));
    return count;
}

TEST(OpenUrl, AddressWithoutHandlerFailsSilently) {
    for (const std::wstring url : {L"tavro-no-such-protocol://nowhere/", L""}) {
        bool returned = false;
        std::thread caller([&] {
            openUrl(url);
            returned = true;
        });
        int windows = 0;
        about_test::waitUntil([&] {
            windows += visibleWindowsOfThisProcess();
            return returned;
        }, 10000);
        caller.join();
        EXPECT_TRUE(returned);
        EXPECT_EQ(windows, 0) << "a window came up for " << std::string(url.begin(), url.end());
    }
}

}  // namespace
