// The clock window's popup menu and the handlers of its items.
#include "app/frm_main_win32.h"
#include "settings/registry_store.h"

namespace tavro::app {

void FrmMain::onRightClick() {}

void FrmMain::setViewMode(ViewMode mode) {
    viewMode_ = mode;
    placeWindow();
    settings::writeRegLong(L"viewMode", mode);
}

}  // namespace tavro::app
