#include "desktop/desktop_changes.h"

#include <algorithm>

namespace tavro::desktop {

void mendKilledRun(DesktopSystem& system, RecordStore& store, const DesktopPaths& paths) {
    const std::optional<DesktopSettings> record = loadRecord(store);
    if (!record) return;
    const DesktopSettings originals = originalsAtStart(system.read(), record, paths.ownWallPaper);
    // The copies of pictures the user has replaced since; restoreDesktop takes care of the rest.
    for (const KeptPicture& k : record->kept)
        if (std::none_of(originals.kept.begin(), originals.kept.end(), [&](const KeptPicture& o) { return o.copy == k.copy; }))
            system.removeFile(k.copy);
    restoreDesktop(system, originals, RestoreOrder::ColourFirst);
    clearRecord(store);
}

DesktopTakeover takeOverDesktop(DesktopSystem& system, RecordStore& store, const DesktopPaths& paths,
                                const std::function<bool()>& savePicture) {
    mendKilledRun(system, store, paths);
    DesktopTakeover takeover;
    DesktopSettings now = system.read();
    now.kept.clear();
    now.ownWallPaper = paths.ownWallPaper;
    takeover.originals = keepPictures(system, std::move(now), paths.themesFolder, paths.programFolder);
    if (!saveRecord(store, takeover.originals)) {
        for (const KeptPicture& k : takeover.originals.kept) system.removeFile(k.copy);
        return takeover;
    }
    takeover.changed = true;
    if (everyPictureKept(takeover.originals, paths.themesFolder) && savePicture()) {
        // Drawn for the screen pixel for pixel: centred, not stretched or tiled.
        system.writeStyle(std::wstring(kCentred), std::wstring(kCentred));
        system.writeWallPaper(paths.ownWallPaper);
        takeover.wallPaperChanged = true;
    }
    system.writeColour(kDesktopColour);
    return takeover;
}

}  // namespace tavro::desktop
