#include "desktop/desktop_changes_win32.h"

namespace tavro::desktop {

bool setBackGround(HWND) { return false; }

std::unique_ptr<DesktopChanges> DesktopChanges::apply(const render::Image&) { return nullptr; }

void DesktopChanges::restore() {}

DesktopChanges::~DesktopChanges() { restore(); }

}  // namespace tavro::desktop
