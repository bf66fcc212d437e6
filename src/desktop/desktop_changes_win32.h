// The mosaic wallpaper and the desktop colour while the program runs, and both put back at exit
// (the window's place on the desktop: desktop_host_win32.h).
#pragma once

#include <windows.h>

#include <memory>
#include <optional>
#include <string>

#include "desktop/desktop_changes.h"
#include "desktop/recovery_record.h"
#include "desktop/wallpaper_rules.h"
#include "render/canvas.h"

namespace tavro::desktop {

// The wallpaper, its style and the desktop colour in force while the program runs.
class DesktopChanges {
public:
    // First mends what a killed run left; then saves the picture as "mosaic.bmp" in the pictures
    // (else documents) folder, makes it the wallpaper, centred, and sets the desktop colour, each
    // only once the user's settings are recorded in the program's key (takeOverDesktop). A file
    // that cannot be written leaves the wallpaper alone.
    static std::unique_ptr<DesktopChanges> apply(const render::Image& desktopPicture);
    // Without changing anything of its own: what an earlier run that ended without its shutdown
    // left (its record says), put back, and the record removed (mendKilledRun). Nothing without
    // a record.
    static void putBackEarlierRun();
    // The desktop colour and the wallpaper as they were (the wallpaper first at log-off: the
    // colour's broadcast can stall, and the wallpaper is what outlives the session); then the
    // record goes. Only the first call does anything, and only when the start changed the desktop.
    void restore(RestoreOrder order = RestoreOrder::ColourFirst);
    // A picture for a changed screen: saved over the program's file, and shown again while the
    // desktop still shows that file. The user's recorded settings stay as they were recorded.
    void replacePicture(const render::Image& desktopPicture);
    ~DesktopChanges();
    DesktopChanges(const DesktopChanges&) = delete;
    DesktopChanges& operator=(const DesktopChanges&) = delete;

private:
    DesktopChanges() = default;

    std::unique_ptr<DesktopSystem> system_;
    std::unique_ptr<RecordStore> record_;
    DesktopSettings originals_;  // what exit puts back
    std::wstring ownWallPaper_;
    bool changed_ = false;
    bool wallPaperChanged_ = false;
    bool restored_ = false;
};

}  // namespace tavro::desktop
