#include "desktop/restore_desktop_win32.h"

#include <memory>
#include <optional>
#include <string>

#include "desktop/desktop_calls_win32.h"
#include "base/special_folder_win32.h"

namespace tavro::app {

void restoreDesktopOfKilledRun() {
    using namespace tavro::desktop;
    const std::unique_ptr<RecordStore> store = makeRegistryRecordStore();
    const std::optional<DesktopSettings> record = loadRecord(*store);
    if (!record) return;
    const std::unique_ptr<DesktopSystem> system = makeSystemDesktop();
    // As start-up reads it: what still shows our file, style or colour goes back to the record.
    const std::wstring own = wallpaperPath(getSpecialFolder(kPicturesFolder), getSpecialFolder(kDocumentsFolder));
    const std::wstring roaming = getSpecialFolder(kRoamingFolder);
    const std::wstring local = getSpecialFolder(kLocalFolder);
    const DesktopSettings originals =
        keepPictures(*system, originalsAtStart(system->read(), record, own), record,
                     roaming.empty() ? L"" : roaming + std::wstring(kThemesSubfolder),
                     local.empty() ? L"" : local + std::wstring(kProgramSubfolder));
    // As exit puts it back.
    restoreDesktop(*system, originals, RestoreOrder::ColourFirst);
    clearRecord(*store);
}

}  // namespace tavro::app
