// The mosaic wallpaper and the desktop colour while the program runs, and both put back at exit
// (the window's place on the desktop: desktop_host_win32.h).
#pragma once

#include <windows.h>

#include <memory>
#include <optional>
#include <string>

#include "desktop/recovery_record.h"
#include "desktop/wallpaper_rules.h"
#include "render/canvas.h"

namespace tavro::desktop {

// The program's wallpaper file: "mosaic.bmp" in the pictures folder, else in the documents folder.
std::wstring ownWallPaperPath();

// What start-up takes for the user's desktop: as it is, with the earlier run's record where it
// still shows the program's file, style or colour, and a copy of each picture the system rewrites.
DesktopSettings keptOriginals(DesktopSystem& system, const std::optional<DesktopSettings>& earlier,
                              const std::wstring& ownWallPaper);

// The wallpaper, its style and the desktop colour in force while the program runs.
class DesktopChanges {
public:
    // Saves the picture as "mosaic.bmp" in the pictures (else documents) folder, makes it the
    // wallpaper, centred, and sets the desktop colour; the user's settings are recorded in the
    // program's key first, with a copy of a picture that the system rewrites. A file that cannot
    // be written leaves the wallpaper alone.
    static std::unique_ptr<DesktopChanges> apply(const render::Image& desktopPicture);
    // The same with a given file path and record store.
    static std::unique_ptr<DesktopChanges> apply(const render::Image& desktopPicture, std::wstring path,
                                                 std::unique_ptr<RecordStore> record);
    // Without changing anything of its own: what an earlier run that ended without its shutdown
    // left (its record says), put back, and the record removed. Nothing without a record.
    static void putBackEarlierRun();
    // The desktop colour and the wallpaper as they were (the wallpaper first at log-off: the
    // colour's broadcast can stall, and the wallpaper is what outlives the session); then the
    // record goes. Only the first call does anything.
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
    bool wallPaperChanged_ = false;
    bool restored_ = false;
};

}  // namespace tavro::desktop
