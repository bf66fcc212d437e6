#include "dialogs/frm_about_win32.h"

namespace tavro::dialogs {

void showAbout(HWND) {}

}  // namespace tavro::dialogs
