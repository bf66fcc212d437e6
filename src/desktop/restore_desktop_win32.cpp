#include "desktop/restore_desktop_win32.h"

#include <memory>
#include <optional>
#include <string>

#include "base/special_folder_win32.h"
#include "desktop/desktop_calls_win32.h"
#include "desktop/desktop_changes_win32.h"

namespace tavro::desktop {

void restoreDesktopOfKilledRun() {
    const std::unique_ptr<RecordStore> store = makeRegistryRecordStore();
    const std::optional<DesktopSettings> record = loadRecord(*store);
    if (!record) return;
    const std::unique_ptr<DesktopSystem> system = makeSystemDesktop();
    // As start-up reads it: what still shows our file, style or colour goes back to the record.
    const std::wstring own = ownWallPaperPath();
    const std::wstring roaming = base::getSpecialFolder(base::kRoamingFolder);
    const std::wstring local = base::getSpecialFolder(base::kLocalFolder);
    const DesktopSettings originals =
        keepPictures(*system, originalsAtStart(system->read(), record, own), record,
                     roaming.empty() ? L"" : roaming + std::wstring(kThemesSubfolder),
                     local.empty() ? L"" : local + std::wstring(kProgramSubfolder));
    // As exit puts it back.
    restoreDesktop(*system, originals, RestoreOrder::ColourFirst);
    clearRecord(*store);
}

}  // namespace tavro::desktop
