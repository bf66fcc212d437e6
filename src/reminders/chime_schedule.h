// The hour chime (時報): off, every 60, 30 or 15 minutes at the exact minute, silent in the quiet
// hours and while the user presents or runs a full-screen program.
//   REG_DWORD chime            0, 60, 30 or 15; anything else is off
//   REG_DWORD chimeQuietFrom   minutes after midnight (default 1320 = 22:00)
//   REG_DWORD chimeQuietTo     minutes after midnight (default 420 = 7:00); equal values: no quiet hours
#pragma once

#include <cstdint>
#include <optional>

#include "reminders/local_minute.h"

namespace tavro::reminders {

inline constexpr int kDefaultQuietFrom = 22 * 60;
inline constexpr int kDefaultQuietTo = 7 * 60;

struct ChimeSettings {
    int everyMinutes = 0;  // 0: off
    int quietFrom = kDefaultQuietFrom;
    int quietTo = kDefaultQuietTo;
    bool operator==(const ChimeSettings&) const = default;
};

// The settings from the stored values (nullopt: the value is missing or not a REG_DWORD):
// a chime value other than 60, 30 or 15 is off; a quiet value of 1440 or more gives its default.
ChimeSettings chimeSettingsFrom(std::optional<uint32_t> chime, std::optional<uint32_t> quietFrom,
                                std::optional<uint32_t> quietTo);

// True inside the quiet hours: from quietFrom up to (not including) quietTo, over midnight when
// quietFrom is the later.
bool isQuietMinute(const ChimeSettings& settings, int minuteOfDay);

// The first chime minute after `after`, quiet hours skipped; kNever when off or always quiet.
LocalMinute nextChimeAfter(const ChimeSettings& settings, LocalMinute after);

// Once a second: true in the tick that should play the chime. A comparison, except at the
// chime's minute or after the clock jumped.
class ChimeClock {
public:
    void setSettings(const ChimeSettings& settings, LocalMinute now);
    bool tick(LocalMinute now, bool userBusy);

private:
    ChimeSettings settings_;
    LocalMinute next_ = kNever;
    LocalMinute lastTick_ = 0;
};

}  // namespace tavro::reminders
