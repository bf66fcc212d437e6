#include "desktop/desktop_changes_win32.h"

#include <utility>

#include "desktop/desktop_calls_win32.h"
#include "desktop/special_folder_win32.h"

namespace tavro::desktop {

bool setBackGround(HWND window) {
    if (!window) return false;
    RECT onScreen{};
    GetWindowRect(window, &onScreen);
    const HWND programManager = FindWindowW(L"Progman", L"Program Manager");
    SetParent(window, programManager);
    if (!programManager) {
        SetWindowPos(window, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        return false;
    }
    // A child is placed in its parent's client coordinates: the same place on the screen,
    // above the program manager's own children (the icon view covers it on Windows).
    POINT topLeft{onScreen.left, onScreen.top};
    ScreenToClient(programManager, &topLeft);
    SetWindowPos(window, HWND_TOP, topLeft.x, topLeft.y, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
    return true;
}

std::unique_ptr<DesktopChanges> DesktopChanges::apply(const render::Image& desktopPicture) {
    std::wstring path = wallpaperPath(getSpecialFolder(kPicturesFolder), getSpecialFolder(kDocumentsFolder));
    return apply(desktopPicture, std::move(path), makeRegistryRecordStore());
}

std::unique_ptr<DesktopChanges> DesktopChanges::apply(const render::Image& desktopPicture, std::wstring path,
                                                      std::unique_ptr<RecordStore> record) {
    std::unique_ptr<DesktopChanges> changes(new DesktopChanges());
    changes->record_ = std::move(record);
    changes->ownWallPaper_ = std::move(path);

    const DesktopSettings now{readDeskWallPaper(), readDesktopColour()};
    std::optional<DesktopSettings> earlier;
    if (changes->record_) earlier = loadRecord(*changes->record_);
    changes->originals_ = originalsAtStart(now, earlier, changes->ownWallPaper_);
    // Recorded before anything changes, so that a run killed from here on can be mended.
    if (changes->record_) saveRecord(*changes->record_, changes->originals_);

    render::Canvas picture{const_cast<render::Pixel*>(desktopPicture.pixels.data()), desktopPicture.width,
                           desktopPicture.height, desktopPicture.width};
    if (!desktopPicture.empty() && saveBitmapFile(changes->ownWallPaper_, picture))
        changes->setWallPaper(changes->ownWallPaper_);
    changes->setDesktopColour();
    return changes;
}

void DesktopChanges::setWallPaper(const std::wstring& path) {
    writeDeskWallPaper(path);
    wallPaperChanged_ = true;
}

void DesktopChanges::restoreWallPaper() {
    // Also without a change of this run: a killed run's file is still ours to take back.
    if (shouldRestoreWallPaper(readDeskWallPaper(), ownWallPaper_, originals_.wallPaper))
        writeDeskWallPaper(originals_.wallPaper);
}

void DesktopChanges::setDesktopColour() { writeDesktopColour(kDesktopColour); }

void DesktopChanges::restoreDesktopColour() { writeDesktopColour(originals_.colour); }

void DesktopChanges::restore() {
    if (restored_) return;
    restored_ = true;
    restoreDesktopColour();
    restoreWallPaper();
    if (record_) clearRecord(*record_);
}

DesktopChanges::~DesktopChanges() { restore(); }

}  // namespace tavro::desktop
