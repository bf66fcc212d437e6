// How the user wants the clock: its size over its monitor's scale, its opacity, the colour of its
// digits, the week's first day, and whether it stands in front of other windows. A stored value
// counts only as one of its choices; missing, of another type or outside them, it is the default.
#pragma once

#include <array>

#include "settings/record_store.h"

namespace tavro::settings {

inline constexpr std::array<int, 5> kScaleChoices{75, 100, 125, 150, 200};
inline constexpr std::array<int, 6> kOpacityChoices{100, 90, 80, 70, 60, 50};
// Rows of the glyph sheet in the order they are offered: 橙, 緑, 水色, 青, 白, 桃. Row 4, red, is
// the passed countdown's.
inline constexpr std::array<int, 6> kDigitColourChoices{6, 2, 3, 1, 7, 5};

struct ClockLook {
    int scalePercent = 100;
    int opacityPercent = 100;
    int digitColour = 6;
    bool weekStartsMonday = false;
    bool topMost = false;
    bool operator==(const ClockLook&) const = default;
};

ClockLook readClockLook(RecordStore& store);
// Writes the values of `now` that differ from `was`, and nothing else; true when each write took.
bool storeChangedLook(RecordStore& store, const ClockLook& was, const ClockLook& now);

// The layered window's alpha for an opacity in percent, rounded: 255 at 100, 128 at 50.
int alphaForOpacity(int percent);

}  // namespace tavro::settings
