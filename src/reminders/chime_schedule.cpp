#include "reminders/chime_schedule.h"

namespace tavro::reminders {

ChimeSettings chimeSettingsFrom(std::optional<uint32_t> chime, std::optional<uint32_t> quietFrom,
                                std::optional<uint32_t> quietTo) {
    ChimeSettings s;
    if (chime && (*chime == 60 || *chime == 30 || *chime == 15)) s.everyMinutes = static_cast<int>(*chime);
    if (quietFrom && *quietFrom < 1440) s.quietFrom = static_cast<int>(*quietFrom);
    if (quietTo && *quietTo < 1440) s.quietTo = static_cast<int>(*quietTo);
    return s;
}

bool isQuietMinute(const ChimeSettings& s, int minute) {
    if (s.quietFrom == s.quietTo) return false;
    if (s.quietFrom < s.quietTo) return minute >= s.quietFrom && minute < s.quietTo;
    return minute >= s.quietFrom || minute < s.quietTo;
}

LocalMinute nextChimeAfter(const ChimeSettings& s, LocalMinute after) {
    if (s.everyMinutes != 60 && s.everyMinutes != 30 && s.everyMinutes != 15) return kNever;
    LocalMinute m = (floorDiv(after, s.everyMinutes) + 1) * s.everyMinutes;
    for (int i = 0; i <= 96; ++i, m += s.everyMinutes) {  // a day of quarter hours at most
        if (!isQuietMinute(s, minuteOfDay(m))) return m;
    }
    return kNever;
}

void ChimeClock::setSettings(const ChimeSettings& settings, LocalMinute now) {
    settings_ = settings;
    next_ = nextChimeAfter(settings_, now - 1);
    lastTick_ = now;
}

bool ChimeClock::tick(LocalMinute now, bool userBusy) {
    if (now >= lastTick_ && now < next_) {
        lastTick_ = now;
        return false;
    }
    // At the chime's minute, or after a jump either way: plan from this minute.
    if (now != next_) next_ = nextChimeAfter(settings_, now - 1);
    lastTick_ = now;
    if (now != next_) return false;
    next_ = nextChimeAfter(settings_, now);
    return !userBusy;
}

}  // namespace tavro::reminders
