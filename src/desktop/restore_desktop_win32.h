// `tavroclock.exe /restore-desktop`: what start-up does with the record a killed run left (the
// user's wallpaper, its style and the desktop colour put back, the record removed), done alone,
// with no window. The uninstaller runs it before it removes the program and its settings.
#pragma once

namespace tavro::desktop {

// Nothing happens when there is no record: the last run ended as it should.
void restoreDesktopOfKilledRun();

}  // namespace tavro::desktop
