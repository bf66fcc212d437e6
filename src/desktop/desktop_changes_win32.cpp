#include "desktop/desktop_changes_win32.h"

#include <utility>

#include "base/special_folder_win32.h"
#include "desktop/desktop_calls_win32.h"

namespace tavro::desktop {

namespace {
bool savePicture(const std::wstring& path, const render::Image& picture) {
    if (picture.empty()) return false;
    // Only read: the canvas view has no const form.
    const render::Canvas view{const_cast<render::Pixel*>(picture.pixels.data()), picture.width, picture.height,
                              picture.width};
    return saveBitmapFile(path, view);
}
}  // namespace

std::wstring ownWallPaperPath() {
    return wallpaperPath(base::getSpecialFolder(base::kPicturesFolder), base::getSpecialFolder(base::kDocumentsFolder));
}

DesktopSettings keptOriginals(DesktopSystem& system, const std::optional<DesktopSettings>& earlier,
                              const std::wstring& ownWallPaper) {
    const std::wstring roaming = base::getSpecialFolder(base::kRoamingFolder);
    const std::wstring local = base::getSpecialFolder(base::kLocalFolder);
    return keepPictures(system, originalsAtStart(system.read(), earlier, ownWallPaper), earlier,
                        roaming.empty() ? L"" : roaming + std::wstring(kThemesSubfolder),
                        local.empty() ? L"" : local + std::wstring(kProgramSubfolder));
}

std::unique_ptr<DesktopChanges> DesktopChanges::apply(const render::Image& desktopPicture) {
    std::wstring path = ownWallPaperPath();
    return apply(desktopPicture, std::move(path), makeRegistryRecordStore());
}

std::unique_ptr<DesktopChanges> DesktopChanges::apply(const render::Image& desktopPicture, std::wstring path,
                                                      std::unique_ptr<RecordStore> record) {
    std::unique_ptr<DesktopChanges> changes(new DesktopChanges());
    changes->system_ = makeSystemDesktop();
    changes->record_ = std::move(record);
    changes->ownWallPaper_ = std::move(path);
    DesktopSystem& system = *changes->system_;

    std::optional<DesktopSettings> earlier;
    if (changes->record_) earlier = loadRecord(*changes->record_);
    changes->originals_ = keptOriginals(system, earlier, changes->ownWallPaper_);
    // Recorded before anything changes, so that a run killed from here on can be mended.
    if (changes->record_) saveRecord(*changes->record_, changes->originals_);

    if (savePicture(changes->ownWallPaper_, desktopPicture)) {
        // Drawn for the screen pixel for pixel: centred, not stretched or tiled.
        system.writeStyle(std::wstring(kCentred), std::wstring(kCentred));
        system.writeWallPaper(changes->ownWallPaper_);
        changes->wallPaperChanged_ = true;
    }
    system.writeColour(kDesktopColour);
    return changes;
}

void DesktopChanges::putBackEarlierRun() {
    const std::unique_ptr<RecordStore> record = makeRegistryRecordStore();
    const std::optional<DesktopSettings> earlier = loadRecord(*record);
    if (!earlier) return;
    const std::unique_ptr<DesktopSystem> system = makeSystemDesktop();
    const std::wstring path = ownWallPaperPath();
    restoreDesktop(*system, originalsAtStart(system->read(), earlier, path), RestoreOrder::ColourFirst);
    clearRecord(*record);
}

void DesktopChanges::replacePicture(const render::Image& desktopPicture) {
    if (restored_ || !wallPaperChanged_) return;
    if (savePicture(ownWallPaper_, desktopPicture) && readDeskWallPaper() == ownWallPaper_)
        writeDeskWallPaper(ownWallPaper_);
}

void DesktopChanges::restore(RestoreOrder order) {
    if (restored_) return;
    restored_ = true;
    // Also without a change of this run: a killed run's file is still ours to take back.
    restoreDesktop(*system_, originals_, order);
    if (record_) clearRecord(*record_);
}

DesktopChanges::~DesktopChanges() { restore(); }

}  // namespace tavro::desktop
