// The reminders' file on Windows: written only on a change, over a backup of the one before, an
// outside change merged into the next save, a broken file never written over.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "base/special_folder_win32.h"
#include "reminders/reminder_keeper_win32.h"

using namespace tavro::reminders;

namespace {

std::string bytesOf(const std::wstring& path) {
    std::ifstream in(std::filesystem::path(path), std::ios::binary);
    std::ostringstream all;
    all << in.rdbuf();
    return in ? all.str() : std::string();
}
void writeBytes(const std::wstring& path, const std::string& bytes) { std::ofstream(std::filesystem::path(path), std::ios::binary) << bytes; }
bool exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

void removeAll(const std::wstring& folder) {
    WIN32_FIND_DATAW found{};
    const HANDLE search = FindFirstFileW((folder + L"\\reminders.ics*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do DeleteFileW((folder + L"\\" + found.cFileName).c_str());
    while (FindNextFileW(search, &found));
    FindClose(search);
}

TEST(ReminderKeeper, SavesOverABackupMergesOutsideChangesAndLeavesABrokenFile) {
    const std::wstring folder = tavro::base::getSpecialFolder(tavro::base::kRoamingFolder) + L"\\TavroClock";
    const std::wstring path = folder + L"\\reminders.ics";
    removeAll(folder);
    const auto now = tavro::datetime::makeDateTime({2026, 12, 10, 9, 0, 0});
    const LocalMinute ten = minuteFromCivil(2026, 12, 10, 10, 0);
    {
        auto keeper = ReminderKeeper::create(GetModuleHandleW(nullptr), now, holidayTestFromList(nullptr));
        EXPECT_EQ(keeper->filePath(), path);
        EXPECT_FALSE(exists(path)) << "nothing written without a change";
        ASSERT_TRUE(keeper->put(newReminder("a@test", L"会議", ten, false)));
        const std::string first = bytesOf(path);
        EXPECT_NE(first.find("SUMMARY:会議"), std::string::npos);
        EXPECT_FALSE(exists(path + L".bak")) << "no earlier file to keep";
        ASSERT_TRUE(keeper->put(newReminder("b@test", L"昼食", ten + 150, false)));
        EXPECT_EQ(bytesOf(path + L".bak"), first);
        EXPECT_FALSE(exists(path + L".tmp"));
        EXPECT_EQ(keeper->dayLines(tavro::datetime::makeDate(2026, 12, 10)),
                  (std::vector<std::wstring>{L"10:00 会議", L"12:30 昼食"}));

        // Another program adds an event just before the clock saves a change of its own: both stay.
        std::string theirs = bytesOf(path);
        theirs.insert(theirs.rfind("END:VCALENDAR"),
                      "BEGIN:VEVENT\r\nUID:c@test\r\nDTSTAMP:20261201T000000Z\r\nDTSTART:20261211T080000\r\n"
                      "SUMMARY:外から\r\nEND:VEVENT\r\n");
        writeBytes(path, theirs);
        ASSERT_TRUE(keeper->setEnabled("a@test", false));
        const std::string merged = bytesOf(path);
        EXPECT_NE(merged.find("SUMMARY:外から"), std::string::npos);
        EXPECT_NE(merged.find("X-TAVRO-OFF:TRUE"), std::string::npos);
        EXPECT_EQ(keeper->set().reminders.size(), 3u);
        ASSERT_TRUE(keeper->remove("b@test"));
        EXPECT_FALSE(keeper->remove("b@test")) << "no such reminder";
        EXPECT_EQ(keeper->set().reminders.size(), 2u);
    }
    // A file cut off: refused, left byte for byte, until the user starts anew.
    const std::string broken = bytesOf(path).substr(0, 120);
    writeBytes(path, broken);
    {
        auto keeper = ReminderKeeper::create(GetModuleHandleW(nullptr), now, holidayTestFromList(nullptr));
        EXPECT_TRUE(keeper->fileIsBroken());
        EXPECT_TRUE(keeper->set().reminders.empty());
        EXPECT_FALSE(keeper->put(newReminder("d@test", L"新しい", ten, false)));
        EXPECT_EQ(bytesOf(path), broken);
        ASSERT_TRUE(keeper->startAnew());
        EXPECT_FALSE(keeper->fileIsBroken());
        EXPECT_FALSE(exists(path));
        ASSERT_TRUE(keeper->put(newReminder("d@test", L"新しい", ten, false)));
        EXPECT_EQ(keeper->set().reminders.size(), 1u);
    }
    WIN32_FIND_DATAW found{};
    const HANDLE aside = FindFirstFileW((path + L".broken-*").c_str(), &found);
    ASSERT_NE(aside, INVALID_HANDLE_VALUE) << "the broken file was not moved aside";
    FindClose(aside);
    EXPECT_EQ(bytesOf(folder + L"\\" + found.cFileName), broken);
    removeAll(folder);
}

}  // namespace
