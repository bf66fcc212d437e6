// The order in which the program takes over the desktop and gives it back, on every system: the
// user's desktop recorded before anything changes, and a run that ended without its shutdown
// mended the same way wherever that happens (start-up with either wallpaper choice, the choice
// turned on, `/restore-desktop`, which the uninstaller runs).
#pragma once

#include <functional>
#include <string>

#include "desktop/recovery_record.h"
#include "desktop/wallpaper_rules.h"

namespace tavro::desktop {

struct DesktopPaths {
    std::wstring ownWallPaper;   // the program's picture file
    std::wstring themesFolder;   // where the system rewrites its pictures; "" when unknown
    std::wstring programFolder;  // where the copies of those pictures go
};

// What the record of a killed run says, put back as that run's exit would have (the user's later
// choices stay), the copies it kept removed unless one is still the wallpaper, the record removed.
// Nothing without a whole, well-formed record.
void mendKilledRun(DesktopSystem& system, RecordStore& store, const DesktopPaths& paths);

struct DesktopTakeover {
    DesktopSettings originals;      // what exit puts back
    bool changed = false;           // the colour changed: exit puts the desktop back
    bool wallPaperChanged = false;  // the program's picture is the wallpaper
};

// A killed run mended first; then the user's desktop recorded, with a copy of each picture the
// system rewrites. Only once the record reads back whole: the colour, and the wallpaper with its
// style when no picture it covers would be lost and savePicture wrote the program's file. A record
// that cannot be saved changes nothing (the clock shows its own mosaic, as with the choice off).
DesktopTakeover takeOverDesktop(DesktopSystem& system, RecordStore& store, const DesktopPaths& paths,
                                const std::function<bool()>& savePicture);

}  // namespace tavro::desktop
