// The clock window's popup menu and the handlers of its items.
#include <string>

#include "app/frm_main_win32.h"
#include "app/local_time_win32.h"
#include "app/menu_texts.h"
#include "app/popup_menu_win32.h"
#include "dialogs/dialog_texts.h"
#include "dialogs/dlg_set_target_win32.h"
#include "dialogs/frm_about_win32.h"
#include "dialogs/open_url_win32.h"
#include "dialogs/proxy_settings_win32.h"
#include "settings/registry_store.h"

namespace tavro::app {

void FrmMain::onRightClick() {
    // Where the button went up, not where the pointer is by the time the message is handled.
    const DWORD position = GetMessagePos();
    openMenuAt(POINT{static_cast<short>(LOWORD(position)), static_cast<short>(HIWORD(position))});
}

void FrmMain::openMenuAt(POINT at) {
    // No day tooltip over the menu while it is open.
    if (dayTooltips_) dayTooltips_->activate(false);
    const unsigned command = trackPopupMenu(instance_, menuChecks(), at);
    if (!hwnd_) return;  // the window went away while the menu was open
    if (dayTooltips_) dayTooltips_->activate(true);
    runMenuCommand(command);
}

// A chosen menu item, from whichever place opened the menu.
void FrmMain::runMenuCommand(unsigned command) {
    if (const std::optional<ViewMode> view = viewModeForCommand(command)) {
        setViewMode(*view);
        return;
    }
    switch (command) {
        case mnuCountdownSetting:
            if (dialogs::dlgSetTarget(hwnd_, program_.targetDateValue)) {
                showNewTarget();
                if (notifier_) notifier_->targetSet(program_.targetDateValue, localNow());
            }
            break;
        case mnuProxySetting: dialogs::openProxySettings(); break;
        case mnuTrayIcon:
            if (notifier_) notifier_->setIconShown(!notifier_->iconShown());
            break;
        case mnuTavro: dialogs::openUrl(std::wstring(dialogs::kTavroHomePage)); break;
        case mnuQuillmarSoft: dialogs::openUrl(std::wstring(dialogs::kQuillmarSoftHomePage)); break;
        case mnuAbout: dialogs::showAbout(hwnd_); break;
        case mnuChangeWallpaper: setChangeWallpaper(!changeWallpaper_); break;
        case mnuResetPlace: resetPlace(); break;
        case mnuAlmanacWindow: openAlmanacWindow(std::nullopt); break;
        case mnuSettingsWindow: openSettingsWindow(); break;
        case mnuReminderList: openReminderList(); break;
        // WM_CLOSE unloads the window (desktop put back) and destroys it; its WM_DESTROY ends the loop.
        case mnuExit: PostMessageW(hwnd_, WM_CLOSE, 0, 0); break;
        default: break;  // the items without an action, and a dismissed menu
    }
}

MenuChecks FrmMain::menuChecks() const {
    MenuChecks checks;
    checks.viewMode = viewMode_;
    checks.changeWallpaper = changeWallpaper_;
    checks.trayIcon = notifier_ && notifier_->iconShown();
    return checks;
}

// Only the height changes; the panels that come into view were drawn all along. The check
// mark follows viewMode_ at the next opening.
void FrmMain::setViewMode(ViewMode mode) {
    viewMode_ = mode;
    placeWindow();
    settings::writeSetting(settings::kViewMode, mode);
}

}  // namespace tavro::app
