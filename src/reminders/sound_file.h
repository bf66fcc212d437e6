// A sound file the user chose, checked before it is handed to the system: one that is not a
// RIFF WAVE with a format and a data chunk gives the system's alarm sound instead.
#pragma once

#include <cstddef>
#include <string_view>

namespace tavro::reminders {

// Larger files are not read (a minute of CD-quality sound is about 10 MB).
inline constexpr std::size_t kMaxSoundFileBytes = 64u << 20;

bool looksLikeWave(std::string_view bytes);

}  // namespace tavro::reminders
