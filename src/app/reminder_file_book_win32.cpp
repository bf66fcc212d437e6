#include "app/reminder_file_book_win32.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>

#include "base/special_folder_win32.h"
#include "holidays/national_holidays.h"
#include "reminders/reminder_texts.h"

namespace tavro::app {

namespace {

using namespace reminders;

const HolidayTest& nationalHolidayTest() {
    static const HolidayTest test = [] {
        std::vector<int64_t> days;
        for (const auto& h : holidays::nationalHolidays(datetime::makeDate(1948, 1, 1), datetime::makeDate(2100, 12, 31)))
            days.push_back(static_cast<int64_t>(h.date));
        return holidayTestFromDays(std::move(days));
    }();
    return test;
}

std::string utcStamp() {
    SYSTEMTIME t;
    GetSystemTime(&t);
    char buf[32];
    std::snprintf(buf, sizeof buf, "%04u%02u%02uT%02u%02u%02uZ", t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond);
    return buf;
}

bool writeAll(const std::wstring& path, const std::string& bytes) {
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const bool ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) && written == bytes.size() &&
                    FlushFileBuffers(file);
    CloseHandle(file);
    return ok;
}

}  // namespace

ReminderFileBook::ReminderFileBook() {
    const std::wstring roaming = base::getSpecialFolder(base::kRoamingFolder);
    path_ = roaming.empty() ? L"" : roaming + L"\\TavroClock\\reminders.ics";
    file_ = emptyReminderFile();
    const HANDLE file = path_.empty() ? INVALID_HANDLE_VALUE
                                      : CreateFileW(path_.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                                    OPEN_EXISTING, 0, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        LARGE_INTEGER size{};
        std::string bytes;
        if (GetFileSizeEx(file, &size) && size.QuadPart < 64 * 1024 * 1024) {
            bytes.resize(static_cast<std::size_t>(size.QuadPart));
            DWORD read = 0;
            if (!ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr)) read = 0;
            bytes.resize(read);
        }
        CloseHandle(file);
        ReminderFileRead got = readReminderFile(bytes);
        if (got.error == IcsError::None) file_ = std::move(got.file);
        else broken_ = true;
    }
    set_ = makeReminderSet(file_.reminders, nationalHolidayTest());
}

bool ReminderFileBook::save(ReminderFile next) {
    if (broken_ || path_.empty()) return false;
    CreateDirectoryW(path_.substr(0, path_.rfind(L'\\')).c_str(), nullptr);
    const std::wstring temporary = path_ + L".tmp";
    if (!writeAll(temporary, writeReminderFile(next, utcStamp()))) return false;
    CopyFileW(path_.c_str(), (path_ + L".bak").c_str(), FALSE);
    if (!MoveFileExW(temporary.c_str(), path_.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return false;
    file_ = std::move(next);
    set_ = makeReminderSet(file_.reminders, nationalHolidayTest());
    if (changed_) changed_();
    return true;
}

bool ReminderFileBook::put(Reminder reminder) {
    ReminderFile next = file_;
    auto& all = next.reminders;
    const auto same = std::find_if(all.begin(), all.end(), [&](const Reminder& r) { return r.uid == reminder.uid; });
    if (same != all.end()) *same = std::move(reminder);
    else all.push_back(std::move(reminder));
    return save(std::move(next));
}

bool ReminderFileBook::remove(std::string_view uid) {
    ReminderFile next = file_;
    std::erase_if(next.reminders, [&](const Reminder& r) { return r.uid == uid; });
    return save(std::move(next));
}

bool ReminderFileBook::setEnabled(std::string_view uid, bool on) {
    ReminderFile next = file_;
    for (Reminder& r : next.reminders)
        if (r.uid == uid) r.off = !on;
    return save(std::move(next));
}

bool ReminderFileBook::startAnew() {
    if (!broken_) return true;
    if (!MoveFileExW(path_.c_str(), (path_ + L".broken").c_str(), MOVEFILE_REPLACE_EXISTING)) return false;
    broken_ = false;
    file_ = emptyReminderFile();
    set_ = makeReminderSet({}, nationalHolidayTest());
    if (changed_) changed_();
    return true;
}

std::vector<std::wstring> ReminderFileBook::dayLines(datetime::DateValue value) const {
    const auto day = static_cast<int64_t>(value);
    std::vector<std::wstring> lines;
    for (const DayEntry& e : dayEntries(*set_, day, day + 1)) {
        const Reminder& r = set_->reminders[e.reminder];
        lines.push_back(dayEntryText(e.minuteOfDay, e.wholeDay, r.title));
    }
    return lines;
}

}  // namespace tavro::app
