// The system calls behind the wallpaper and the desktop colour, paths in UTF-16 throughout.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "desktop/recovery_record.h"
#include "render/canvas.h"

namespace tavro::desktop {

// The wallpaper path in force, "" when there is none.
std::wstring readDeskWallPaper();
// Stored in the user's profile and announced to every window; "" removes the wallpaper.
bool writeDeskWallPaper(const std::wstring& path);

render::ColorRef readDesktopColour();
bool writeDesktopColour(render::ColorRef colour);

// A 24-bit BMP replacing any file there. False, and no file left half written, on failure.
bool saveBitmapFile(const std::wstring& path, const render::Canvas& canvas);

// The program's key of the current user.
std::unique_ptr<RecordStore> makeRegistryRecordStore();

}  // namespace tavro::desktop
