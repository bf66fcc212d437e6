// The reminders' and the chime's sounds through PlaySound, one at a time as the system plays them:
// the system's alarm sound, the user's WAV file (read here, so that a missing or broken one gives
// the alarm sound), the default sound. No sound device, no winmm: silence, nothing else.
#pragma once

#include <string>

#include "reminders/reminder.h"

namespace tavro::reminders {

class AlarmSound {
public:
    ~AlarmSound() { stop(); }
    // looped: until stop (the notice's minute is its owner's to count).
    void play(const Sound& sound, bool looped);
    // The chime: the file, else the system's default sound; never over a looping alarm.
    void chime(const std::wstring& file);
    void stop();
    bool looping() const { return looping_; }

private:
    bool playFile(const std::wstring& path, bool looped);

    std::string bytes_;  // the file played from memory, kept while it plays
    bool looping_ = false;
};

}  // namespace tavro::reminders
