// The monitors as the system tells them, and the clock's stored place in the program's key.
#pragma once

#include <windows.h>

#include <optional>
#include <vector>

#include "desktop/clock_place.h"

namespace tavro::desktop {

// Every monitor with its device name, work area and effective DPI.
std::vector<MonitorInfo> currentMonitors();

// Nothing when no place is stored; a value of the wrong type or size reads as missing, and the
// place rule judges the rest.
std::optional<StoredPlace> readStoredPlace();
void writeStoredPlace(const StoredPlace& place);
void removeStoredPlace();

}  // namespace tavro::desktop
