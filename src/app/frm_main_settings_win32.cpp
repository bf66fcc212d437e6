// The clock's side of the settings window: what it opens with, each change shown at once, and the
// looks the rest of the clock asks for.
#include "app/frm_main_win32.h"
#include "app/local_time_win32.h"

#include <versionhelpers.h>

#include "desktop/clock_place_win32.h"
#include "dialogs/open_url_win32.h"
#include "dialogs/settings_window_win32.h"
#include "reminders/chime_schedule.h"
#include "settings/settings_table.h"
#include "settings/log_on_start.h"

namespace tavro::app {

desktop::HostChoices FrmMain::hostChoices() const {
    // Windows 7 has no layered child windows: there a child stays opaque.
    static const bool layeredChildren = IsWindows8OrGreater();
    return {settings::alphaForOpacity(look_.opacityPercent), look_.topMost, layeredChildren};
}

calendar::WeekStart FrmMain::weekStart() const {
    return look_.weekStartsMonday ? calendar::WeekStart::Monday : calendar::WeekStart::Sunday;
}

void FrmMain::openSettingsWindow() {
    dialogs::ClockSettings opened;
    opened.look = look_;
    opened.viewMode = viewMode_;
    opened.changeWallpaper = changeWallpaper_;
    opened.trayIcon = notifier_ && notifier_->iconShown();
    opened.placeStored = storedPlace_.has_value();
    opened.logOnStart = settings::readLogOnStart();
    const std::unique_ptr<settings::RecordStore> store = settings::makeRegistryRecordStore();
    const auto number = [&](const settings::NumberSetting& s) -> std::optional<uint32_t> {
        const std::optional<int32_t> n = store->readNumber(s.name);
        return n ? std::optional<uint32_t>(static_cast<uint32_t>(*n)) : std::nullopt;
    };
    const reminders::ChimeSettings chime =
        reminders::chimeSettingsFrom(number(settings::kChime), number(settings::kChimeQuietFrom), number(settings::kChimeQuietTo));
    opened.chimeEvery = chime.everyMinutes;
    opened.chimeQuietFrom = chime.quietFrom;
    opened.chimeQuietTo = chime.quietTo;
    opened.chimeSound = store->readText(settings::kChimeSound.name).value_or(L"");
    dialogs::runSettingsWindow(hwnd_, opened, *store, {
        .show = [this](const dialogs::ClockSettings& s) { showSettings(s); },
        .forgetPlace =
            [this] {
                placeShownDefault_ = false;
                storedPlace_.reset();
                desktop::removeStoredPlace();
            },
        .writeLogOnStart = [](bool on) { return settings::writeLogOnStart(on, dialogs::programPath()); },
        .chimeKept = [this] { if (reminders_) reminders_->reloadChime(localNow()); },
    });
}

// Each part only where it changed: a new size or colour draws the panels once, one repaint.
void FrmMain::showSettings(const dialogs::ClockSettings& s) {
    if (unloaded_ || !hwnd_) return;
    const settings::ClockLook was = look_;
    look_ = s.look;
    if (s.changeWallpaper != changeWallpaper_) setChangeWallpaper(s.changeWallpaper, false);
    if (notifier_ && s.trayIcon != notifier_->iconShown()) notifier_->setIconShown(s.trayIcon, false);
    viewMode_ = viewModeFromStored(s.viewMode);
    placeShownDefault_ = storedPlace_ && !s.placeStored;
    const int built = panelsBuilt_;
    placeWindow();  // a new size: the panels at the new scale
    if (built == panelsBuilt_ && (was.digitColour != look_.digitColour || was.weekStartsMonday != look_.weekStartsMonday) &&
        buildPanels())
        InvalidateRect(hwnd_, nullptr, FALSE);
    if (was.weekStartsMonday != look_.weekStartsMonday && almanac_ && almanac_->isOpen())
        almanac_->setWeekStart(weekStart());
    if (was.opacityPercent != look_.opacityPercent || was.topMost != look_.topMost) follower_->setChoices(hostChoices());
}

}  // namespace tavro::app
