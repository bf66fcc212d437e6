#pragma once

#include <windows.h>

#include "datetime/date_value.h"

namespace tavro::app {

// The present local time truncated to whole seconds.
datetime::DateValue localNow();
// Milliseconds until just after the next whole second of the local clock.
UINT millisecondsToNextSecond();

}  // namespace tavro::app
