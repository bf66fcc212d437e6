#include "desktop/desktop_changes_win32.h"

#include <utility>

#include "base/special_folder_win32.h"
#include "desktop/desktop_calls_win32.h"

namespace tavro::desktop {

namespace {
constexpr std::wstring_view kOwnPictureName = settings::kWallpaperFile.name;

bool savePicture(const std::wstring& path, const render::Image& picture) {
    if (picture.empty()) return false;
    // Only read: the canvas view has no const form.
    const render::Canvas view{const_cast<render::Pixel*>(picture.pixels.data()), picture.width, picture.height,
                              picture.width};
    return saveBitmapFile(path, view);
}

DesktopPaths systemPaths() {
    using namespace base;
    const std::wstring roaming = getSpecialFolder(kRoamingFolder);
    const std::wstring local = getSpecialFolder(kLocalFolder);
    return {wallpaperPath(getSpecialFolder(kPicturesFolder), getSpecialFolder(kDocumentsFolder)),
            roaming.empty() ? L"" : roaming + std::wstring(kThemesSubfolder),
            local.empty() ? L"" : local + std::wstring(kProgramSubfolder)};
}
}  // namespace

std::unique_ptr<DesktopChanges> DesktopChanges::apply(const render::Image& desktopPicture) {
    std::unique_ptr<DesktopChanges> changes(new DesktopChanges());
    changes->system_ = makeSystemDesktop();
    changes->record_ = makeRegistryRecordStore();
    const DesktopPaths paths = systemPaths();
    changes->ownWallPaper_ = paths.ownWallPaper;
    RecordStore& store = *changes->record_;
    const DesktopTakeover takeover = takeOverDesktop(*changes->system_, store, paths, [&] {
        return savePicture(paths.ownWallPaper, desktopPicture) && (store.writeText(kOwnPictureName, paths.ownWallPaper), true);
    });
    changes->originals_ = takeover.originals;
    changes->changed_ = takeover.changed;
    changes->wallPaperChanged_ = takeover.wallPaperChanged;
    return changes;
}

void DesktopChanges::putBackEarlierRun() {
    const std::unique_ptr<RecordStore> record = makeRegistryRecordStore();
    const std::unique_ptr<DesktopSystem> system = makeSystemDesktop();
    mendKilledRun(*system, *record, systemPaths());
}

void DesktopChanges::replacePicture(const render::Image& desktopPicture) {
    if (restored_ || !wallPaperChanged_) return;
    if (savePicture(ownWallPaper_, desktopPicture) && readDeskWallPaper() == ownWallPaper_)
        writeDeskWallPaper(ownWallPaper_);
}

void DesktopChanges::restore(RestoreOrder order) {
    if (restored_ || !changed_) return;
    restored_ = true;
    restoreDesktop(*system_, originals_, order);
    clearRecord(*record_);
}

DesktopChanges::~DesktopChanges() { restore(); }

}  // namespace tavro::desktop
