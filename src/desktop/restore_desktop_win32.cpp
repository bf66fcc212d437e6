#include "desktop/restore_desktop_win32.h"

#include <memory>
#include <optional>
#include <string>

#include "desktop/desktop_calls_win32.h"
#include "desktop/desktop_changes_win32.h"

namespace tavro::desktop {

void restoreDesktopOfKilledRun() {
    const std::unique_ptr<RecordStore> store = makeRegistryRecordStore();
    const std::optional<DesktopSettings> record = loadRecord(*store);
    if (!record) return;
    const std::unique_ptr<DesktopSystem> system = makeSystemDesktop();
    // As start-up reads it: what still shows our file, style or colour goes back to the record.
    const DesktopSettings originals = keptOriginals(*system, record, ownWallPaperPath());
    // As exit puts it back.
    restoreDesktop(*system, originals, RestoreOrder::ColourFirst);
    clearRecord(*store);
}

}  // namespace tavro::desktop
