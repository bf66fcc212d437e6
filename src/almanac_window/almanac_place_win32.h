// Where the 暦 window opens: its place and size as it was last closed, kept in the program's
// registry key, unless no monitor would show its title bar; then the default place on the
// monitor the clock is on.
#pragma once

#include <windows.h>

namespace tavro::almanac_window {

RECT almanacOpeningRect(HWND clock);
void storeAlmanacRect(const RECT& r);

}  // namespace tavro::almanac_window
