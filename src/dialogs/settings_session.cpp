#include "dialogs/settings_session.h"

#include "settings/settings_table.h"

namespace tavro::dialogs {

namespace {
void storeIfChanged(settings::RecordStore& store, const settings::NumberSetting& setting, int was, int now) {
    if (was != now) store.writeNumber(setting.name, now);
}
}  // namespace

void SettingsSession::change(ClockSettings next) {
    next.placeStored = next.placeStored && shown_.placeStored;
    if (next == shown_) return;
    shown_ = next;
    if (handlers_.show) handlers_.show(shown_);
}

KeepResult SettingsSession::keep() {
    KeepResult result = KeepResult::Kept;
    if (shown_.logOnStart != kept_.logOnStart &&
        !(handlers_.writeLogOnStart && handlers_.writeLogOnStart(shown_.logOnStart))) {
        shown_.logOnStart = kept_.logOnStart;
        result = KeepResult::LogOnStartNotWritten;
    }
    settings::storeChangedLook(store_, kept_.look, shown_.look);
    storeIfChanged(store_, settings::kViewMode, kept_.viewMode, shown_.viewMode);
    storeIfChanged(store_, settings::kChangeWallpaper, kept_.changeWallpaper, shown_.changeWallpaper);
    storeIfChanged(store_, settings::kShowTrayIcon, kept_.trayIcon, shown_.trayIcon);
    if (kept_.placeStored && !shown_.placeStored && handlers_.forgetPlace) handlers_.forgetPlace();
    storeIfChanged(store_, settings::kChime, kept_.chimeEvery, shown_.chimeEvery);
    storeIfChanged(store_, settings::kChimeQuietFrom, kept_.chimeQuietFrom, shown_.chimeQuietFrom);
    storeIfChanged(store_, settings::kChimeQuietTo, kept_.chimeQuietTo, shown_.chimeQuietTo);
    if (shown_.chimeSound != kept_.chimeSound) store_.writeText(settings::kChimeSound.name, shown_.chimeSound);
    const bool chimeChanged = shown_.chimeEvery != kept_.chimeEvery || shown_.chimeQuietFrom != kept_.chimeQuietFrom ||
                              shown_.chimeQuietTo != kept_.chimeQuietTo || shown_.chimeSound != kept_.chimeSound;
    kept_ = shown_;
    if (chimeChanged && handlers_.chimeKept) handlers_.chimeKept();
    return result;
}

void SettingsSession::cancel() {
    if (shown_ == kept_) return;
    shown_ = kept_;
    if (handlers_.show) handlers_.show(shown_);
}

}  // namespace tavro::dialogs
