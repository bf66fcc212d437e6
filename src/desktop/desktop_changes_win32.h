// The clock on the desktop: the window under the program manager's window, the mosaic
// wallpaper and the desktop colour while the program runs, and both put back at exit.
#pragma once

#include <windows.h>

#include <memory>

#include "render/canvas.h"

namespace tavro::desktop {

// Makes the window a child of the program manager's window, so that it lies on the desktop
// below every ordinary window. False when there is no such window; the window stays as it is.
bool setBackGround(HWND window);

// The wallpaper and desktop colour in force while the program runs.
class DesktopChanges {
public:
    // Saves the picture as "mosaic.bmp", makes it the wallpaper and sets the desktop colour.
    static std::unique_ptr<DesktopChanges> apply(const render::Image& desktopPicture);
    // The desktop colour, then the wallpaper, as they were; only the first call does anything.
    void restore();
    ~DesktopChanges();
    DesktopChanges(const DesktopChanges&) = delete;
    DesktopChanges& operator=(const DesktopChanges&) = delete;

private:
    DesktopChanges() = default;
};

}  // namespace tavro::desktop
