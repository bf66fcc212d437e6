// The clock's looks as stored, the settings window's rules (shown at once, stored when kept, put
// back on cancel), its layout, and the start-at-log-on value.
#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <tuple>
#include <vector>

#include "dialogs/settings_session.h"
#include "dialogs/settings_window_layout.h"
#include "settings/log_on_start.h"

using namespace tavro;

namespace {

// Numbers only: what the window stores.
struct NumberStore : settings::RecordStore {
    std::map<std::wstring, int32_t> numbers;
    std::map<std::wstring, std::wstring> texts;
    std::optional<int32_t> readNumber(std::wstring_view name) override {
        const auto it = numbers.find(std::wstring(name));
        return it == numbers.end() ? std::nullopt : std::optional(it->second);
    }
    bool writeNumber(std::wstring_view name, int32_t value) override { return numbers[std::wstring(name)] = value, true; }
    std::optional<std::wstring> readText(std::wstring_view) override { return std::nullopt; }
    bool writeText(std::wstring_view name, std::wstring_view text) override { return texts[std::wstring(name)] = text, true; }
    void remove(std::wstring_view name) override { numbers.erase(std::wstring(name)); }
};

TEST(ClockLook, EachStoredValueCountsOnlyAsOneOfItsChoices) {
    const struct { std::map<std::wstring, int32_t> stored; settings::ClockLook want; } cases[] = {
        {{}, {}},
        {{{L"scalePercent", 150}, {L"opacityPercent", 50}, {L"digitColour", 2}, {L"weekStartsMonday", 1}, {L"topMost", 1}},
         {150, 50, 2, true, true}},
        {{{L"scalePercent", 75}, {L"opacityPercent", 90}, {L"digitColour", 5}}, {75, 90, 5, false, false}},
        // Outside the choices (4 is the passed countdown's red): the defaults.
        {{{L"scalePercent", 120}, {L"opacityPercent", 33}, {L"digitColour", 4}, {L"weekStartsMonday", 2}, {L"topMost", -1}}, {}},
        {{{L"scalePercent", 0}, {L"opacityPercent", 0}, {L"digitColour", 8}}, {}},  // 8: the error row
    };
    for (const auto& c : cases) {
        NumberStore store;
        store.numbers = c.stored;
        EXPECT_EQ(settings::readClockLook(store), c.want) << c.stored.size();
        EXPECT_EQ(store.numbers, c.stored) << "reading writes nothing";
    }
    for (auto [percent, alpha] : {std::pair{100, 255}, {90, 230}, {70, 179}, {50, 128}})
        EXPECT_EQ(settings::alphaForOpacity(percent), alpha) << percent;
}

struct Recorded {
    std::vector<dialogs::ClockSettings> shown;
    std::vector<bool> logOnWrites;
    int placesForgotten = 0, logOnWritable = true, chimesKept = 0;
    dialogs::SettingsHandlers handlers() {
        return {.show = [this](const dialogs::ClockSettings& s) { shown.push_back(s); },
                .forgetPlace = [this] { ++placesForgotten; },
                .writeLogOnStart = [this](bool on) { return logOnWrites.push_back(on), logOnWritable; },
                .chimeKept = [this] { ++chimesKept; }};
    }
};

TEST(SettingsSession, ShownAtOnceStoredOnlyWhenKeptAndOnlyWhatChanged) {
    NumberStore store;
    store.numbers = {{L"opacityPercent", 33}, {L"viewMode", 7}};  // read as the defaults
    Recorded r;
    dialogs::ClockSettings opened{.look = settings::readClockLook(store), .placeStored = true};
    dialogs::SettingsSession session(opened, store, r.handlers());
    dialogs::ClockSettings next = opened;
    next.look.scalePercent = 200;
    next.trayIcon = false;
    session.change(next);
    EXPECT_EQ(r.shown, std::vector{next});
    EXPECT_EQ(store.numbers.size(), 2u) << "shown, not stored";
    EXPECT_EQ(session.keep(), dialogs::KeepResult::Kept);
    EXPECT_EQ(store.numbers, (std::map<std::wstring, int32_t>{{L"opacityPercent", 33}, {L"viewMode", 7},
                                                              {L"scalePercent", 200}, {L"showTrayIcon", 0}}));
    // Cancel puts back what was kept last, the place too; a place is forgotten only when kept, and
    // once forgotten only cancel brings it back.
    next.look.digitColour = 7;
    next.placeStored = false;
    session.change(next);
    session.cancel();
    EXPECT_EQ(r.shown.back().look.digitColour, 6);
    EXPECT_TRUE(r.shown.back().placeStored);
    session.change(next);
    next.placeStored = true;
    session.change(next);
    EXPECT_FALSE(session.shown().placeStored);
    EXPECT_EQ(r.placesForgotten, 0);
    session.keep();
    EXPECT_EQ(std::pair(r.placesForgotten, r.logOnWrites.size()), std::pair(1, std::size_t{0}));
    // The chime's four values under their names, and the clock told once they are kept.
    EXPECT_EQ(r.chimesKept, 0);
    next.chimeEvery = 15;
    next.chimeQuietTo = 390;
    next.chimeSound = L"C:\\chime.wav";
    session.change(next);
    session.keep();
    EXPECT_EQ(std::tuple(store.numbers[L"chime"], store.numbers.count(L"chimeQuietFrom"), store.numbers[L"chimeQuietTo"],
                         store.texts[L"chimeSound"], r.chimesKept),
              std::tuple(15, std::size_t{0}, 390, std::wstring(L"C:\\chime.wav"), 1));
}

TEST(SettingsSession, AStartAtLogOnThatCannotBeWrittenStaysAsItWas) {
    NumberStore store;
    Recorded r;
    r.logOnWritable = false;
    const dialogs::ClockSettings opened{.logOnStart = true};  // another copy's exe reads as on
    dialogs::ClockSettings off = opened;
    off.logOnStart = false;
    off.look.topMost = true;
    dialogs::SettingsSession session(opened, store, r.handlers());
    session.change(off);
    EXPECT_EQ(session.keep(), dialogs::KeepResult::LogOnStartNotWritten);
    EXPECT_TRUE(session.shown().logOnStart);
    EXPECT_EQ(store.numbers[L"topMost"], 1) << "the rest is kept";
    // Off and on again before keeping is no change: the other exe's value is not replaced.
    dialogs::SettingsSession again(opened, store, r.handlers());
    again.change(off);
    again.change(opened);
    again.keep();
    EXPECT_EQ(r.logOnWrites, std::vector<bool>{false});
}

// One more row in the 通知 group moves everything below it down by one row, the window with it; the controls stay in tab order, each label right before its choice.
TEST(SettingsLayout, AGroupTakesMoreRowsAndEveryLabelPrecedesItsChoice) {
    using namespace dialogs::settings_window;
    const SettingsLayout today = layoutSettings(kGroups);
    std::vector<SettingsRow> notifyWithChime(std::begin(kNotifyRows), std::end(kNotifyRows));
    notifyWithChime.push_back({900, RowKind::Check, TAVRO_TEXT("時報を鳴らす前に知らせる(&E)"), {}});
    const SettingsGroup groups[] = {kGroups[0], kGroups[1], {kGroups[2].caption, notifyWithChime}, kGroups[3]};
    const SettingsLayout more = layoutSettings(groups);
    const int row = more.client.height - today.client.height;
    EXPECT_EQ(row, 405);
    int notifyEnd = 0, i = 0;
    for (const PlacedControl& c : today.controls)
        if (c.kind == ControlKind::Group && c.text == kGroups[2].caption) notifyEnd = c.rect.top + c.rect.height;
    for (const PlacedControl& now : more.controls) {
        if (now.id == 900) continue;
        const PlacedControl& was = today.controls[static_cast<std::size_t>(i++)];
        EXPECT_EQ(std::pair(now.text, now.rect.top), std::pair(was.text, was.rect.top + (was.rect.top >= notifyEnd ? row : 0)));
        // A choice on its label's row, right after it.
        EXPECT_TRUE(was.kind != ControlKind::Choice || (today.controls[i - 2].kind == ControlKind::Label && std::abs(today.controls[i - 2].rect.top - was.rect.top) < row));
    }
}

TEST(LogOnStart, TheInstallersValueAndTheStartupAppsMark) {
    EXPECT_EQ(settings::runCommandFor(L"C:\\Users\\山田\\tavroclock.exe"), L"\"C:\\Users\\山田\\tavroclock.exe\"");
    using Bytes = std::vector<unsigned char>;
    const struct { std::optional<std::wstring> run; std::optional<Bytes> mark; bool on; } cases[] = {
        {std::nullopt, std::nullopt, false}, {L"  ", std::nullopt, false},
        {L"\"C:\\other\\tavroclock.exe\"", std::nullopt, true},  // another copy's exe: on
        {L"x.exe", Bytes{2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, true}, {L"x.exe", Bytes{}, true},
        {L"x.exe", Bytes{3, 0, 0, 0, 0xd4, 0x0d, 0x43, 0x8d, 0xc8, 0x3b, 0xd9, 0x01}, false},  // turned off there
    };
    for (const auto& c : cases) EXPECT_EQ(settings::startsAtLogOn(c.run, c.mark), c.on);
}

}  // namespace
