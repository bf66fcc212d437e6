// The scaling of the displays: the process made per-monitor DPI aware, and the DPI of a monitor
// or a window, with fallbacks for systems older than the calls that tell them.
#pragma once

#include <windows.h>

namespace tavro::render {

// Per-monitor aware (v2 where the system has it), so that one canvas pixel is one screen pixel
// on every monitor; the manifest says the same, this covers a start without it.
void makeProcessDpiAware();

// The effective DPI of the primary monitor, where the clock stands.
int primaryMonitorDpi();

// The effective DPI of a monitor.
int monitorDpi(HMONITOR monitor);

// The DPI of the monitor the window is on, as the window's own awareness sees it: for a child of
// another process's window that is the parent's (monitorDpi gives the monitor's own).
int windowDpi(HWND window);

}  // namespace tavro::render
