// Where the clock stands: the stored place on the monitors there are now, a drop stored, the
// place put back, and the wallpaper choice that goes with the clock's settings.
#include "app/frm_main_win32.h"
#include "base/display_dpi_win32.h"
#include "desktop/clock_place_win32.h"
#include "settings/registry_store.h"

namespace tavro::app {

void FrmMain::placeWindow() {
    if (!hwnd_) return;
    const std::vector<desktop::MonitorInfo> monitors = desktop::currentMonitors();
    placedOn_ = monitors;
    // The default: the top right of the primary monitor, whose top left is the screen's origin.
    const WindowRect d = clockWindowRect(0, 0, GetSystemMetrics(SM_CXSCREEN), viewMode_,
                                         drawScaleForDpi(base::primaryMonitorDpi()), look_.scalePercent);
    const float scale96 = drawScaleForDpi(96, look_.scalePercent);
    const desktop::ClockPlacement place = desktop::placeClock(
        placeShownDefault_ ? std::nullopt : storedPlace_, monitors, cellsToPixels(scale96, kPanelCells),
        cellsToPixels(scale96, rowsForView(viewMode_)), {d.left, d.top, d.left + d.width, d.top + d.height});
    takeScale(place.dpi);
    WindowRect r{place.rect.left, place.rect.top, place.rect.width(), place.rect.height()};
    // GetParent would give the owner: the clock keeps its popup style under the program manager.
    HWND parent = GetAncestor(hwnd_, GA_PARENT);
    if (parent == GetDesktopWindow()) parent = nullptr;
    if (parent) {
        // A parent's client area may start left of or above the primary monitor.
        POINT origin{0, 0};
        MapWindowPoints(parent, HWND_DESKTOP, &origin, 1);
        r = toParentClient(r, origin.x, origin.y);
    }
    // Under a host the follower keeps its place among the host's children (right above the icon
    // view); on its own it goes below every other window, or in front of them all.
    SetWindowPos(hwnd_, look_.topMost ? HWND_TOPMOST : HWND_BOTTOM, r.left, r.top, r.width, r.height,
                 SWP_NOACTIVATE | (parent ? SWP_NOZORDER : 0));
}

void FrmMain::takeScale(int dpi) {
    const float scale = drawScaleForDpi(dpi, look_.scalePercent);
    if (scale == drawScale_ && dpi == clockDpi_) return;
    drawScale_ = scale;
    clockDpi_ = dpi;
    if (!canvas_ || !hwnd_) return;  // start-up draws the panels once the place is known
    if (!buildPanels()) return;
    if (dayTooltips_) dayTooltips_->place(drawScale_, tooltipDpi());
    InvalidateRect(hwnd_, nullptr, FALSE);
}

void FrmMain::onDropped(const desktop::ScreenRect& where) {
    const auto place = desktop::placeOfRect(where, desktop::currentMonitors());
    if (!place) return;
    storedPlace_ = place;
    desktop::writeStoredPlace(*place);
    placeWindow();  // on a monitor of another scale, the clock takes it
}

void FrmMain::resetPlace() {
    storedPlace_.reset();
    desktop::removeStoredPlace();
    placeWindow();
}

void FrmMain::setChangeWallpaper(bool on, bool store) {
    changeWallpaper_ = on;
    if (store) settings::writeSetting(settings::kChangeWallpaper, on ? 1 : 0);
    if (!on) {
        // As at exit: the colour and, where it still shows the mosaic, the wallpaper; the record goes.
        if (desktop_) desktop_->restore();
        desktop_.reset();
        return;
    }
    if (!desktop_) desktop_ = desktop::DesktopChanges::apply(paintDesktopPicture());
}

}  // namespace tavro::app
