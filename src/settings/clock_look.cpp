#include "settings/clock_look.h"

#include <algorithm>

#include "settings/settings_table.h"

namespace tavro::settings {

namespace {

template <std::size_t N>
int choiceOf(RecordStore& store, const NumberSetting& setting, const std::array<int, N>& choices) {
    const std::optional<int32_t> stored = store.readNumber(setting.name);
    return stored && std::find(choices.begin(), choices.end(), *stored) != choices.end() ? *stored : setting.otherwise;
}

bool flagOf(RecordStore& store, const NumberSetting& setting) {
    return choiceOf(store, setting, std::array<int, 2>{0, 1}) == 1;
}

bool storeIfChanged(RecordStore& store, const NumberSetting& setting, int was, int now) {
    return was == now || store.writeNumber(setting.name, now);
}

}  // namespace

ClockLook readClockLook(RecordStore& store) {
    ClockLook look;
    look.scalePercent = choiceOf(store, kScalePercent, kScaleChoices);
    look.opacityPercent = choiceOf(store, kOpacityPercent, kOpacityChoices);
    look.digitColour = choiceOf(store, kDigitColour, kDigitColourChoices);
    look.weekStartsMonday = flagOf(store, kWeekStartsMonday);
    look.topMost = flagOf(store, kTopMost);
    return look;
}

bool storeChangedLook(RecordStore& store, const ClockLook& was, const ClockLook& now) {
    // Each one tried, whatever became of the one before.
    bool all = storeIfChanged(store, kScalePercent, was.scalePercent, now.scalePercent);
    all = storeIfChanged(store, kOpacityPercent, was.opacityPercent, now.opacityPercent) && all;
    all = storeIfChanged(store, kDigitColour, was.digitColour, now.digitColour) && all;
    all = storeIfChanged(store, kWeekStartsMonday, was.weekStartsMonday, now.weekStartsMonday) && all;
    return storeIfChanged(store, kTopMost, was.topMost, now.topMost) && all;
}

int alphaForOpacity(int percent) { return (255 * std::clamp(percent, 0, 100) + 50) / 100; }

}  // namespace tavro::settings
