// The system calls behind the wallpaper, its style and the desktop colour, paths in UTF-16 throughout.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "desktop/recovery_record.h"
#include "desktop/wallpaper_rules.h"
#include "render/canvas.h"

namespace tavro::desktop {

// The wallpaper path in force, "" when there is none.
std::wstring readDeskWallPaper();
// Stored in the user's profile and announced to every window; "" removes the wallpaper.
bool writeDeskWallPaper(const std::wstring& path);

render::ColorRef readDesktopColour();
bool writeDesktopColour(render::ColorRef colour);

// A 24-bit BMP replacing any file there that differs (one with the same bytes is left untouched).
// False, and no file left half written, on failure.
bool saveBitmapFile(const std::wstring& path, const render::Canvas& canvas);

// The desktop through user32, the registry, the files and, where it can be created (Windows 8
// and later), the system's wallpaper object.
std::unique_ptr<DesktopSystem> makeSystemDesktop();

}  // namespace tavro::desktop
