// The shell's desktop windows read for the host rule, and the clock hung the way it says.
// Nothing here sends a message to the shell: its window procedure may hang.
#pragma once

#include <windows.h>

#include <vector>

#include "desktop/desktop_host.h"

namespace tavro::desktop {

// The shown top-level "Progman" windows, then the shown "WorkerW" ones (each class in z-order),
// their direct children in z-order, and the clock's own parent and styles.
ShellSnapshot takeShellSnapshot(HWND clock);

// Whether the clock still lies right above the icon view, under the same host and sibling,
// and is shown (so is its host), or stands in front as a top-level window: a few calls, for the ticks, where a walk of the shell's windows
// costs a Wine session more than the rest of the tick. Its styles need no look: a change of them
// reaches the clock as WM_STYLECHANGED.
bool attachmentStands(HWND clock, const Attachment& attachment);

// Parent, WS_CHILD or WS_POPUP, layered alpha and place among the host's children, or in front
// of every window. A window of this thread may be given another process's parent only as a popup:
// SetParent comes first, the style swap after it.
void applyAttachment(HWND clock, const Attachment& attachment);

// The rule for the clock, applied when the clock does not hang that way already; true when it
// was moved.
struct BackGround {
    Attachment attachment;
    bool moved = false;
    std::vector<WindowId> shellWindows;  // every window of the snapshot, for telling the shell's events apart
};
BackGround setBackGround(HWND clock, const HostChoices& choices = {});

}  // namespace tavro::desktop
