// The program's command line, as the system splits it into arguments (quotes taken off).
#pragma once

#include <span>
#include <string>

namespace tavro::app {

// "/restore-desktop" among the arguments after the program's path: in any letter case, with "-"
// for "/", spaces around it aside. Any other argument means nothing.
bool asksToRestoreDesktop(std::span<const std::wstring> arguments);

}  // namespace tavro::app
