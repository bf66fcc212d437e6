// The scaling of the displays: the process made per-monitor DPI aware, the DPI of the system, of a
// monitor and of a window, and the system's metrics and message font at a DPI, with fallbacks for
// systems older than the calls that tell them.
#pragma once

#include <windows.h>

namespace tavro::base {

// Per-monitor aware (v2 where the system has it), so that one canvas pixel is one screen pixel
// on every monitor; the manifest says the same, this covers a start without it.
void makeProcessDpiAware();

// The screen's DPI as the system was started with it; 96 when it cannot tell.
int systemDpi();
// The effective DPI of the monitor (Windows 8.1 and later), else the system's.
int monitorDpi(HMONITOR monitor);
// The primary monitor's, where the clock stands by default.
int primaryMonitorDpi();
// The DPI of the monitor the window is on.
int windowDpi(HWND window);

// GetSystemMetrics at that DPI (Windows 10 1607 and later); before, the system's own.
int systemMetricForDpi(int metric, int dpi);
// The system's message font at that DPI: asked for at the DPI where the system can tell it, else
// scaled from the system DPI; "MS UI Gothic" 9 pt when the system gives none.
LOGFONTW messageFont(int dpi);

}  // namespace tavro::base
