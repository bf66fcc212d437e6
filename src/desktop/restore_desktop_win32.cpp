#include "desktop/restore_desktop_win32.h"

#include "desktop/desktop_changes_win32.h"

namespace tavro::desktop {

// The same mending as a start-up's, so that every way gives the same desktop.
void restoreDesktopOfKilledRun() { DesktopChanges::putBackEarlierRun(); }

}  // namespace tavro::desktop
