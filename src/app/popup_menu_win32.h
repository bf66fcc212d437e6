// The popup menu of the clock window, built from the menu table at each opening and hung on a
// hidden window of its own.
#pragma once

#include <windows.h>

#include "app/menu_texts.h"
#include "base/unique_handle_win32.h"

namespace tavro::app {

// The popup with its submenus: the item of the view carries the one view check mark, and the
// setting items theirs.
base::UniqueMenu buildPopupMenu(const MenuChecks& checks);

// Pops the menu up with its top-left corner at the screen point and waits until it closes:
// the chosen item's command, or 0 when it was dismissed. The menu hangs on a hidden top-level
// window of this process, which is in front while the menu is open, so that a click elsewhere
// or Esc closes it even when the clock window is the child of another program's window.
unsigned trackPopupMenu(HINSTANCE instance, const MenuChecks& checks, POINT at);

}  // namespace tavro::app
