// The rules of the settings window, without the window: a change shows on the clock at once and
// is stored only when kept (「OK」, 「適用」); 「キャンセル」 and Esc put back what was kept last. Only
// the values the user changed are written, so a stored value the clock took for its default
// (another type, outside the choices) stays as it is until the user changes that setting.
#pragma once

#include <functional>

#include "settings/clock_look.h"
#include "settings/record_store.h"

namespace tavro::dialogs {

struct ClockSettings {
    settings::ClockLook look{};
    int viewMode = 3;  // the stored numbers: 1 clock only, 2 clock and calendar, 3 everything
    bool changeWallpaper = true;
    bool trayIcon = true;
    bool placeStored = false;  // a dragged place; false: the default place (位置を元に戻す)
    bool logOnStart = false;
    bool operator==(const ClockSettings&) const = default;
};

struct SettingsHandlers {
    std::function<void(const ClockSettings&)> show;  // on the clock at once, nothing stored
    std::function<void()> forgetPlace;               // the stored place removed
    std::function<bool(bool on)> writeLogOnStart;    // false: it could not be written
};

enum class KeepResult { Kept, LogOnStartNotWritten };

class SettingsSession {
public:
    SettingsSession(const ClockSettings& opened, settings::RecordStore& store, SettingsHandlers handlers)
        : kept_(opened), shown_(opened), store_(store), handlers_(std::move(handlers)) {}

    const ClockSettings& shown() const { return shown_; }
    bool changed() const { return shown_ != kept_; }
    // A control changed: the clock shows it. A place once forgotten comes back only by キャンセル.
    void change(ClockSettings next);
    // Stores what changed since the last keep. A start at log-on that could not be written is
    // shown as it was kept, and said so.
    KeepResult keep();
    void cancel();

private:
    ClockSettings kept_, shown_;
    settings::RecordStore& store_;
    SettingsHandlers handlers_;
};

}  // namespace tavro::dialogs
