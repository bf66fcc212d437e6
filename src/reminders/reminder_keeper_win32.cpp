#include "reminders/reminder_keeper_win32.h"

#include <algorithm>
#include <cmath>

#include "base/dynamic_calls_win32.h"
#include "base/special_folder_win32.h"
#include "holidays/holiday_days.h"
#include "reminders/chime_schedule.h"
#include "reminders/file_bytes_win32.h"
#include "reminders/reminder_file.h"
#include "reminders/reminder_merge.h"
#include "reminders/reminder_notice_win32.h"
#include "reminders/reminder_notices.h"
#include "reminders/reminder_texts.h"
#include "settings/record_store.h"
#include "settings/settings_table.h"

namespace tavro::reminders {

namespace {
constexpr wchar_t kBrokenCaption[] = L"TavroClock - 予定のファイル";

// QUERY_USER_NOTIFICATION_STATE: busy, full-screen Direct3D, presentation mode.
bool userBusy() {
    int state = 0;
    const auto query = base::dynamicCalls().shQueryUserNotificationState;
    return query && SUCCEEDED(query(&state)) && (state == 2 || state == 3 || state == 4);
}

std::string ascii(const std::wstring& text) {
    std::string out;
    for (wchar_t c : text)
        if (c > 0 && c < 0x80) out += static_cast<char>(c);
    return out;
}
std::wstring wide(const std::string& text) { return std::wstring(text.begin(), text.end()); }

std::string nowUtcStamp() {
    SYSTEMTIME t{};
    GetSystemTime(&t);
    char text[32];
    snprintf(text, sizeof text, "%04u%02u%02uT%02u%02u%02uZ", t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond);
    return text;
}

TimeContext localTimeContext() {
    TIME_ZONE_INFORMATION zone{};
    const DWORD which = GetTimeZoneInformation(&zone);
    LONG bias = zone.Bias;
    if (which == TIME_ZONE_ID_DAYLIGHT) bias += zone.DaylightBias;
    else if (which == TIME_ZONE_ID_STANDARD) bias += zone.StandardBias;
    TimeContext context;
    if (which != TIME_ZONE_ID_INVALID) context.localOffsetMinutes = -bias;
    return context;
}

// The message box waits in a loop of its own, so it is shown from the message loop, not from
// inside the keeper (the clock ticks on meanwhile).
std::wstring& brokenMessage() {
    static std::wstring text;
    return text;
}
void CALLBACK showBrokenMessage(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    MessageBoxW(nullptr, brokenMessage().c_str(), kBrokenCaption, MB_OK | MB_ICONWARNING);
}
}  // namespace

HolidayTest holidayTestFromList(const holidays::HolidayList* list) {
    const auto all = holidays::listOrComputedHolidays(list, static_cast<datetime::DateValue>(kFirstDay),
                                                      static_cast<datetime::DateValue>(kLastDay));
    std::vector<int64_t> days;
    days.reserve(all.size());
    for (const auto& h : all) days.push_back(static_cast<int64_t>(std::floor(h.date)));
    return holidayTestFromDays(std::move(days));
}

class ReminderKeeper::Impl {
public:
    Impl(HINSTANCE instance, LocalMinute now, HolidayTest holidays)
        : store_(settings::makeRegistryRecordStore()),
          path_(base::getSpecialFolder(base::kRoamingFolder) + L"\\TavroClock\\reminders.ics"),
          holidays_(std::move(holidays)),
          context_(localTimeContext()),
          notices_(ToldOccurrences::parse(ascii(store_->readText(settings::kRemindersTold.name).value_or(L""))),
                   storedLastRun(), now),
          windows_(instance, [this](const DueNotice& n) { snooze(n); }),
          lastMinute_(now) {
        base_ = mine_ = emptyReminderFile();
        known_ = seen_ = fileStamp(path_);
        takeDisk();
        rebuild();
        reloadChime(now);
        storeLastRun(now);
    }

    std::optional<LocalMinute> storedLastRun() {
        const auto text = store_->readText(settings::kRemindersLastRun.name);
        if (!text) return std::nullopt;
        const auto value = parseIcsDateTime(ascii(*text));
        if (!value || !value->hasTime || value->utc) return std::nullopt;
        return value->day * kMinutesPerDay + value->secondOfDay / 60;
    }
    void storeLastRun(LocalMinute now) {
        store_->writeText(settings::kRemindersLastRun.name, wide(formatIcsDateTime(notices_.lastRunToStore(now))));
    }
    void storeTold() { store_->writeText(settings::kRemindersTold.name, wide(notices_.told().text())); }

    // The file from disk as it is now; a broken one is said so once each time it breaks.
    void takeDisk() {
        const FileRead read = readWholeFile(path_, kMaxFileBytes);
        retry_ = read.status == ReadStatus::Failed;  // held by another program: read again next second
        if (retry_) return;
        if (read.status == ReadStatus::Missing) {
            base_ = mine_ = emptyReminderFile();
            broken_ = false;
            return;
        }
        ReminderFileRead parsed;
        if (read.status == ReadStatus::Read) parsed = readReminderFile(read.bytes, context_);
        if (read.status == ReadStatus::TooLarge || parsed.error != IcsError::None) {
            // The reminders held so far stay: they were the file's until it broke.
            if (!broken_) sayBroken();
            broken_ = true;
            return;
        }
        broken_ = false;
        base_ = mine_ = std::move(parsed.file);
    }

    void sayBroken() {
        brokenMessage() = L"予定のファイルを読めません。\n\n" + path_ +
                          L"\n\nファイルはそのままにしてあり、予定なしで動きます。「予定」の一覧から新しく始めることができます。";
        SetTimer(nullptr, 0, 0, showBrokenMessage);
    }

    void rebuild() {
        set_ = makeReminderSet(mine_.reminders, holidays_);
        notices_.setReminders(set_);
        for (const auto& listener : listeners_) listener();
    }

    // Each second: a stamp that changed and then held still for a second is read (not one being written).
    void checkFile() {
        const auto stamp = fileStamp(path_);
        if (stamp == known_ && !retry_) {
            seen_ = stamp;
            return;
        }
        if (stamp != seen_) {
            seen_ = stamp;
            return;
        }
        known_ = stamp;
        takeDisk();
        if (!retry_) rebuild();
    }

    // A change of the user's: merged with what another program wrote meanwhile, then written.
    bool save(ReminderFile changed) {
        if (broken_) return false;
        ReminderFile target = std::move(changed);
        const auto stamp = fileStamp(path_);
        if (stamp != known_) {
            const FileRead read = readWholeFile(path_, kMaxFileBytes);
            if (read.status == ReadStatus::Read) {
                ReminderFileRead theirs = readReminderFile(read.bytes, context_);
                if (theirs.error != IcsError::None) return false;  // never written over
                target = mergeReminderFiles(base_, target, theirs.file).file;
            } else if (read.status != ReadStatus::Missing) {
                return false;
            }
        }
        const std::string bytes = writeReminderFile(target, nowUtcStamp());
        if (!replaceFile(path_, bytes, path_ + L".bak")) return false;
        known_ = seen_ = fileStamp(path_);
        ReminderFileRead back = readReminderFile(bytes, context_);
        base_ = mine_ = back.error == IcsError::None ? std::move(back.file) : std::move(target);
        rebuild();
        return true;
    }

    std::optional<std::size_t> find(std::string_view uid) const {
        for (std::size_t i = 0; i < mine_.reminders.size(); ++i)
            if (mine_.reminders[i].uid == uid && !mine_.reminders[i].recurrenceId) return i;
        return std::nullopt;
    }

    bool put(Reminder r) {
        ReminderFile changed = mine_;
        if (const auto at = find(r.uid)) {
            r.source = changed.reminders[*at].source;  // the rest of its event kept
            changed.reminders[*at] = std::move(r);
        } else {
            changed.reminders.push_back(std::move(r));
        }
        return save(std::move(changed));
    }

    bool remove(std::string_view uid) {
        ReminderFile changed = mine_;
        const auto before = changed.reminders.size();
        // Its replaced occurrences (same UID, a RECURRENCE-ID) go with it.
        std::erase_if(changed.reminders, [&](const Reminder& r) { return r.uid == uid; });
        return changed.reminders.size() != before && save(std::move(changed));
    }

    bool setEnabled(std::string_view uid, bool on) {
        const auto at = find(uid);
        if (!at) return false;
        if (mine_.reminders[*at].off == !on) return true;
        ReminderFile changed = mine_;
        changed.reminders[*at].off = !on;
        return save(std::move(changed));
    }

    bool startAnew() {
        if (!broken_) return false;
        SYSTEMTIME t{};
        GetLocalTime(&t);
        wchar_t suffix[40];
        swprintf(suffix, 40, L".broken-%04u%02u%02uT%02u%02u%02u", t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond);
        if (!MoveFileExW(path_.c_str(), (path_ + suffix).c_str(), 0) && GetLastError() != ERROR_FILE_NOT_FOUND) return false;
        broken_ = false;
        base_ = emptyReminderFile();
        known_ = seen_ = fileStamp(path_);
        // What was held before it broke is written again; after a start with a broken file, nothing.
        if (!mine_.reminders.empty()) return save(mine_);
        mine_ = base_;
        rebuild();
        return true;
    }

    void reloadChime(LocalMinute now) {
        auto number = [&](const settings::NumberSetting& s) -> std::optional<uint32_t> {
            const auto v = store_->readNumber(s.name);
            if (!v) return std::nullopt;
            return static_cast<uint32_t>(*v);
        };
        chime_.setSettings(chimeSettingsFrom(number(settings::kChime), number(settings::kChimeQuietFrom),
                                             number(settings::kChimeQuietTo)),
                           now);
        chimeOn_ = chimeSettingsFrom(number(settings::kChime), std::nullopt, std::nullopt).everyMinutes != 0;
        chimeSound_ = store_->readText(settings::kChimeSound.name).value_or(L"");
    }

    void tick(LocalMinute now) {
        checkFile();
        if (now != lastMinute_) {
            lastMinute_ = now;
            // The chime can only fall at a new minute; the system is asked only when it is on.
            if (chime_.tick(now, chimeOn_ && userBusy())) windows_.chime(chimeSound_);
            storeLastRun(now);
        }
        // Ticked every second (it keeps the moment up to which all was told); the system is asked
        // only when something is due.
        const TickResult due = notices_.tick(now, notices_.isDue(now) && userBusy());
        if (due.empty()) return;
        storeTold();  // before anything shows: a crash or a log-off now tells none twice
        storeLastRun(now);
        for (const DueNotice& n : due.notices) windows_.show(n);
        windows_.showMissed(due.missed);
    }

    void snooze(const DueNotice& notice) {
        notices_.snooze(notice, lastMinute_);
        storeTold();
    }

    settings::RecordStore& store() { return *store_; }

    std::unique_ptr<settings::RecordStore> store_;
    std::wstring path_;
    HolidayTest holidays_;
    TimeContext context_;
    ReminderNotices notices_;
    NoticeWindows windows_;
    ChimeClock chime_;
    bool chimeOn_ = false;
    std::wstring chimeSound_;
    ReminderFile base_, mine_;
    bool broken_ = false;
    std::optional<FileStamp> known_, seen_;
    bool retry_ = false;
    std::shared_ptr<const ReminderSet> set_;
    std::vector<std::function<void()>> listeners_;
    LocalMinute lastMinute_;
};

std::unique_ptr<ReminderKeeper> ReminderKeeper::create(HINSTANCE instance, datetime::DateValue now, HolidayTest holidays) {
    return std::unique_ptr<ReminderKeeper>(
        new ReminderKeeper(std::make_unique<Impl>(instance, minuteFromDateValue(now), std::move(holidays))));
}

ReminderKeeper::ReminderKeeper(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
ReminderKeeper::~ReminderKeeper() = default;

const ReminderSet& ReminderKeeper::set() const { return *impl_->set_; }
std::shared_ptr<const ReminderSet> ReminderKeeper::sharedSet() const { return impl_->set_; }
bool ReminderKeeper::fileIsBroken() const { return impl_->broken_; }
std::wstring ReminderKeeper::filePath() const { return impl_->path_; }

bool ReminderKeeper::put(Reminder reminder) { return impl_->put(std::move(reminder)); }
bool ReminderKeeper::remove(std::string_view uid) { return impl_->remove(uid); }
bool ReminderKeeper::setEnabled(std::string_view uid, bool on) { return impl_->setEnabled(uid, on); }
bool ReminderKeeper::startAnew() { return impl_->startAnew(); }

std::vector<std::wstring> ReminderKeeper::dayLines(datetime::DateValue day) const {
    const auto first = static_cast<int64_t>(std::floor(day));
    std::vector<std::wstring> lines;
    const ReminderSet& set = *impl_->set_;
    for (const DayEntry& e : dayEntries(set, first, first + 1))
        lines.push_back(dayEntryText(e.minuteOfDay, e.wholeDay, set.reminders[e.reminder].title));
    return lines;
}

std::vector<datetime::DateValue> ReminderKeeper::daysWithReminders(datetime::DateValue firstDay,
                                                                   datetime::DateValue endDay) const {
    std::vector<datetime::DateValue> days;
    for (const DayEntry& e : dayEntries(*impl_->set_, static_cast<int64_t>(std::floor(firstDay)),
                                        static_cast<int64_t>(std::floor(endDay))))
        if (days.empty() || days.back() != static_cast<datetime::DateValue>(e.day))
            days.push_back(static_cast<datetime::DateValue>(e.day));
    return days;
}

std::wstring ReminderKeeper::nextTipLine(datetime::DateValue now) const {
    const ReminderSet& set = *impl_->set_;
    const auto next = nextReminder(set, minuteFromDateValue(now));
    if (!next || next->start >= kNever) return {};
    const Reminder& r = set.reminders[next->reminder];
    return nextReminderTipText(next->start, r.wholeDay, r.title);
}

void ReminderKeeper::onChanged(std::function<void()> listener) { impl_->listeners_.push_back(std::move(listener)); }
void ReminderKeeper::reloadChime(datetime::DateValue now) { impl_->reloadChime(minuteFromDateValue(now)); }
void ReminderKeeper::tick(datetime::DateValue now) { impl_->tick(minuteFromDateValue(now)); }
void ReminderKeeper::clockMoved(datetime::DateValue now) { impl_->tick(minuteFromDateValue(now)); }

void ReminderKeeper::holidaysChanged(HolidayTest holidays) {
    impl_->holidays_ = std::move(holidays);
    impl_->rebuild();
}

void ReminderKeeper::stop(datetime::DateValue now) { impl_->storeLastRun(minuteFromDateValue(now)); }

}  // namespace tavro::reminders
