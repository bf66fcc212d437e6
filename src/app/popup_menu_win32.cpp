#include "app/popup_menu_win32.h"

#include <string>

#include "app/menu_texts.h"
#include "base/window_class_win32.h"

namespace tavro::app {

namespace {

constexpr wchar_t kOwnerClass[] = L"TavroClockPopup";

using base::UniqueWindow;

// frmPopup: never shown, it only carries the menu.
UniqueWindow createMenuOwner(HINSTANCE instance) {
    base::registerWindowClass(instance, {.name = kOwnerClass});
    const std::wstring caption(kPopupFormCaption);
    return UniqueWindow(CreateWindowExW(WS_EX_TOOLWINDOW, kOwnerClass, caption.c_str(), WS_POPUP, 0, 0, 0, 0, nullptr,
                                        nullptr, instance, nullptr));
}

}  // namespace

base::UniqueMenu buildPopupMenu(const MenuChecks& checks) {
    base::UniqueMenu popup(CreatePopupMenu());
    if (!popup) return popup;
    HMENU submenu = nullptr;  // the submenu that depth-1 items go into, owned by popup once appended
    for (const MenuItemText& item : kPopupMenuItems) {
        const std::wstring caption(item.caption);
        if (item.depth == 0 && item.id == mnuNone) {
            submenu = CreatePopupMenu();
            if (!submenu || !AppendMenuW(popup.get(), MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(submenu),
                                         caption.c_str())) {
                if (submenu) DestroyMenu(submenu);
                return {};
            }
        } else {
            HMENU parent = item.depth == 0 ? popup.get() : submenu;
            if (!parent || !AppendMenuW(parent, MF_STRING, item.id, caption.c_str())) return {};
        }
    }
    CheckMenuItem(popup.get(), checkedViewItem(checks.viewMode), MF_BYCOMMAND | MF_CHECKED);
    CheckMenuItem(popup.get(), mnuChangeWallpaper, MF_BYCOMMAND | (checks.changeWallpaper ? MF_CHECKED : MF_UNCHECKED));
    CheckMenuItem(popup.get(), mnuTrayIcon, MF_BYCOMMAND | (checks.trayIcon ? MF_CHECKED : MF_UNCHECKED));
    return popup;
}

unsigned trackPopupMenu(HINSTANCE instance, const MenuChecks& checks, POINT at) {
    const UniqueWindow owner = createMenuOwner(instance);
    const base::UniqueMenu menu = buildPopupMenu(checks);
    if (!owner || !menu) return mnuNone;
    // Without the owner in front the menu would not close on a click elsewhere or on Esc.
    SetForegroundWindow(owner.get());
    const BOOL command = TrackPopupMenuEx(menu.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_LEFTALIGN | TPM_TOPALIGN,
                                          at.x, at.y, owner.get(), nullptr);
    // The usual nudge, so that a menu opened right after this one does not close at once.
    PostMessageW(owner.get(), WM_NULL, 0, 0);
    return command > 0 ? static_cast<unsigned>(command) : mnuNone;
}

}  // namespace tavro::app
