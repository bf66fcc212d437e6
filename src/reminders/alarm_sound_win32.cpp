#include "reminders/alarm_sound_win32.h"

#include <windows.h>
#include <mmsystem.h>

#include "base/dynamic_calls_win32.h"
#include "reminders/file_bytes_win32.h"
#include "reminders/sound_file.h"

namespace tavro::reminders {

namespace {
// Windows 8 and later name a looping alarm; before, the exclamation stands in.
constexpr wchar_t kAlarmAlias[] = L"Notification.Looping.Alarm";
constexpr wchar_t kFallbackAlias[] = L"SystemExclamation";
constexpr wchar_t kDefaultAlias[] = L".Default";

bool playSound(LPCWSTR sound, DWORD flags) {
    const auto play = base::soundCalls().playSoundW;
    return play && play(sound, nullptr, flags | SND_ASYNC | SND_NODEFAULT);
}

}  // namespace

bool AlarmSound::playFile(const std::wstring& path, bool looped) {
    std::string bytes = path.empty() ? std::string() : readWholeFile(path, kMaxSoundFileBytes).bytes;
    if (!looksLikeWave(bytes)) return false;
    stop();
    bytes_ = std::move(bytes);
    looping_ = looped;
    return playSound(reinterpret_cast<LPCWSTR>(bytes_.data()), SND_MEMORY | (looped ? SND_LOOP : 0));
}

void AlarmSound::play(const Sound& sound, bool looped) {
    if (sound.kind == SoundKind::None) return;
    if (sound.kind == SoundKind::File && playFile(sound.path, looped)) return;
    stop();
    looping_ = looped;
    const DWORD flags = SND_ALIAS | (looped ? SND_LOOP : 0);
    if (!playSound(kAlarmAlias, flags)) playSound(kFallbackAlias, flags);
}

void AlarmSound::chime(const std::wstring& file) {
    if (looping_) return;
    if (!file.empty() && playFile(file, false)) return;
    stop();
    playSound(kDefaultAlias, SND_ALIAS);
}

void AlarmSound::stop() {
    if (const auto play = base::soundCalls().playSoundW; play && (looping_ || !bytes_.empty())) play(nullptr, nullptr, 0);
    looping_ = false;
    bytes_.clear();
}

}  // namespace tavro::reminders
