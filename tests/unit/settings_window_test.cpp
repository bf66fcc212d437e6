// The clock's looks as stored, the settings window's rules (shown at once, stored when kept, put
// back on cancel), its layout, and the start-at-log-on value.
#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <vector>

#include "dialogs/settings_session.h"
#include "dialogs/settings_window_layout.h"
#include "settings/log_on_start.h"

using namespace tavro;
using settings::ClockLook;

namespace {

class NumberStore : public settings::RecordStore {
public:
    std::map<std::wstring, int32_t> numbers;
    std::vector<std::wstring> written;

    std::optional<int32_t> readNumber(std::wstring_view name) override {
        const auto it = numbers.find(std::wstring(name));
        return it == numbers.end() ? std::nullopt : std::optional(it->second);
    }
    std::optional<std::wstring> readText(std::wstring_view) override { return std::nullopt; }
    bool writeNumber(std::wstring_view name, int32_t value) override {
        written.emplace_back(name);
        return numbers[std::wstring(name)] = value, true;
    }
    bool writeText(std::wstring_view, std::wstring_view) override { return false; }
    void remove(std::wstring_view name) override { numbers.erase(std::wstring(name)); }
};

TEST(ClockLook, EachStoredValueCountsOnlyAsOneOfItsChoices) {
    const struct { std::map<std::wstring, int32_t> stored; ClockLook want; } cases[] = {
        {{}, {}},
        {{{L"scalePercent", 150}, {L"opacityPercent", 50}, {L"digitColour", 2}, {L"weekStartsMonday", 1}, {L"topMost", 1}},
         {150, 50, 2, true, true}},
        {{{L"scalePercent", 75}, {L"opacityPercent", 90}, {L"digitColour", 5}}, {75, 90, 5, false, false}},
        // Outside the choices: 4 is the passed countdown's red, 8 the error row.
        {{{L"scalePercent", 120}, {L"opacityPercent", 33}, {L"digitColour", 4}, {L"weekStartsMonday", 2}, {L"topMost", -1}}, {}},
        {{{L"scalePercent", 0}, {L"opacityPercent", 0}, {L"digitColour", 8}}, {}},
    };
    for (const auto& c : cases) {
        NumberStore store;
        store.numbers = c.stored;
        EXPECT_EQ(settings::readClockLook(store), c.want) << c.stored.size();
        EXPECT_TRUE(store.written.empty()) << "reading writes nothing";
    }
    for (auto [percent, alpha] : {std::pair{100, 255}, {90, 230}, {70, 179}, {50, 128}})
        EXPECT_EQ(settings::alphaForOpacity(percent), alpha) << percent;
}

struct Recorded {
    std::vector<dialogs::ClockSettings> shown;
    int placesForgotten = 0;
    std::vector<bool> logOnWrites;
    bool logOnWritable = true;
    dialogs::SettingsHandlers handlers() {
        return {.show = [this](const dialogs::ClockSettings& s) { shown.push_back(s); },
                .forgetPlace = [this] { ++placesForgotten; },
                .writeLogOnStart = [this](bool on) { return logOnWrites.push_back(on), logOnWritable; }};
    }
};

TEST(SettingsSession, ShownAtOnceStoredOnlyWhenKeptAndOnlyWhatChanged) {
    NumberStore store;
    store.numbers = {{L"opacityPercent", 33}, {L"viewMode", 7}};  // read as the defaults
    Recorded r;
    dialogs::ClockSettings opened;
    opened.look = settings::readClockLook(store);
    opened.placeStored = true;
    dialogs::SettingsSession session(opened, store, r.handlers());

    dialogs::ClockSettings next = opened;
    next.look.scalePercent = 200;
    next.trayIcon = false;
    session.change(next);
    ASSERT_EQ(r.shown.size(), 1u);
    EXPECT_EQ(r.shown.back(), next);
    EXPECT_TRUE(store.written.empty()) << "shown, not stored";
    EXPECT_EQ(session.keep(), dialogs::KeepResult::Kept);
    EXPECT_EQ(store.written, (std::vector<std::wstring>{L"scalePercent", L"showTrayIcon"}));
    EXPECT_EQ(store.numbers[L"opacityPercent"], 33) << "not changed by the user: left as it is";
    EXPECT_EQ(store.numbers[L"viewMode"], 7);
    EXPECT_TRUE(r.logOnWrites.empty());

    // Cancel puts back what was kept last, the place too; a forgotten place is forgotten when kept.
    next.look.digitColour = 7;
    next.placeStored = false;
    session.change(next);
    session.cancel();
    EXPECT_EQ(r.shown.back().look.digitColour, 6);
    EXPECT_TRUE(r.shown.back().placeStored);
    EXPECT_EQ(r.placesForgotten, 0);
    session.change(next);
    next.placeStored = true;  // only キャンセル brings a place back
    session.change(next);
    EXPECT_FALSE(session.shown().placeStored);
    session.keep();
    EXPECT_EQ(r.placesForgotten, 1);
    EXPECT_EQ(store.numbers[L"digitColour"], 7);
}

TEST(SettingsSession, AStartAtLogOnThatCannotBeWrittenStaysAsItWas) {
    NumberStore store;
    Recorded r;
    r.logOnWritable = false;
    dialogs::ClockSettings opened;
    opened.logOnStart = true;  // a value of another copy's exe reads as on
    dialogs::SettingsSession session(opened, store, r.handlers());
    dialogs::ClockSettings off = opened;
    off.logOnStart = false;
    off.look.topMost = true;
    session.change(off);
    EXPECT_EQ(session.keep(), dialogs::KeepResult::LogOnStartNotWritten);
    EXPECT_EQ(r.logOnWrites, std::vector<bool>{false});
    EXPECT_TRUE(session.shown().logOnStart);
    EXPECT_EQ(store.numbers[L"topMost"], 1) << "the rest is kept";
    // Turned off and on again before keeping: no change, the other exe's value not replaced.
    dialogs::SettingsSession again(opened, store, r.handlers());
    again.change(off);
    again.change(opened);
    again.keep();
    EXPECT_EQ(r.logOnWrites.size(), 1u);
}

// The hour chime's rows go into the 通知 group: one more row there moves everything below it down
// by one row, the window with it; the controls stay in tab order, each label right before its choice.
TEST(SettingsLayout, AGroupTakesMoreRowsAndEveryLabelPrecedesItsChoice) {
    using namespace dialogs::settings_window;
    const SettingsLayout today = layoutSettings(kGroups);
    const SettingsRow notifyWithChime[] = {kNotifyRows[0], {900, RowKind::Check, TAVRO_TEXT("時報(&H)"), {}}};
    const SettingsGroup groups[] = {kGroups[0], kGroups[1], {kGroups[2].caption, notifyWithChime}, kGroups[3]};
    const SettingsLayout more = layoutSettings(groups);
    const int row = more.client.height - today.client.height;
    EXPECT_EQ(row, 405);
    int notifyEnd = 0;
    for (const PlacedControl& c : today.controls)
        if (c.kind == ControlKind::Group && c.text == kGroups[2].caption) notifyEnd = c.rect.top + c.rect.height;
    std::vector<PlacedControl> kept;
    for (const PlacedControl& c : more.controls)
        if (c.id != 900) kept.push_back(c);
    ASSERT_EQ(kept.size(), today.controls.size());
    for (std::size_t i = 0; i < kept.size(); ++i) {
        const PlacedControl &was = today.controls[i], &now = kept[i];
        EXPECT_EQ(now.text, was.text) << i;
        EXPECT_EQ(now.rect.top, was.rect.top + (was.rect.top >= notifyEnd ? row : 0)) << i;
        EXPECT_LE(was.rect.left + was.rect.width, today.client.width) << i;
        if (was.kind != ControlKind::Choice) continue;
        EXPECT_EQ(today.controls[i - 1].kind, ControlKind::Label) << i;
        EXPECT_LT(std::abs(today.controls[i - 1].rect.top - was.rect.top), 405) << i;
        EXPECT_FALSE(was.choices.empty()) << i;
    }
    EXPECT_EQ(today.controls.back().id, kApplyId);
}

TEST(LogOnStart, TheInstallersValueAndTheStartupAppsMark) {
    EXPECT_EQ(settings::runCommandFor(L"C:\\Users\\山田\\AppData\\Local\\Programs\\TavroClock\\tavroclock.exe"),
              L"\"C:\\Users\\山田\\AppData\\Local\\Programs\\TavroClock\\tavroclock.exe\"");
    using Bytes = std::vector<unsigned char>;
    const struct { std::optional<std::wstring> run; std::optional<Bytes> mark; bool on; } cases[] = {
        {std::nullopt, std::nullopt, false},
        {L"\"C:\\other\\tavroclock.exe\"", std::nullopt, true},  // another copy's exe: on
        {L"  ", std::nullopt, false},
        {L"\"C:\\x.exe\"", Bytes{2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, true},
        {L"\"C:\\x.exe\"", Bytes{3, 0, 0, 0, 0xd4, 0x0d, 0x43, 0x8d, 0xc8, 0x3b, 0xd9, 0x01}, false},  // turned off there
        {L"\"C:\\x.exe\"", Bytes{}, true},
    };
    for (const auto& c : cases) EXPECT_EQ(settings::startsAtLogOn(c.run, c.mark), c.on);
}

}  // namespace
