#include "almanac_window/almanac_menu_win32.h"

#include <string>

#include "almanac/note_search.h"
#include "base/unique_handle_win32.h"

namespace tavro::almanac_window {

namespace {

// A command is its row's number times the step, plus the index within the row's submenu.
constexpr UINT kRowStep = 100;

constexpr UINT commandOf(MenuRow row, int index) { return (static_cast<UINT>(row) + 1) * kRowStep + static_cast<UINT>(index); }

bool append(HMENU menu, UINT flags, UINT_PTR id, std::wstring_view text) {
    const std::wstring caption(text);
    return AppendMenuW(menu, flags, id, caption.c_str());
}

// The submenu's items; nothing for a row without one.
base::UniqueMenu submenuOf(MenuRow row, almanac::NoteGroups shown) {
    if (row != MenuRow::FindNext && row != MenuRow::FindPrevious && row != MenuRow::Shown) return {};
    base::UniqueMenu menu(CreatePopupMenu());
    if (!menu) return menu;
    const int count = row == MenuRow::Shown ? almanac::kNoteGroupCount : almanac::kDayKindCount;
    for (int i = 0; i < count; ++i) {
        const bool group = row == MenuRow::Shown;
        const std::wstring_view text = group ? almanac::noteGroupName(static_cast<almanac::NoteGroup>(i))
                                             : almanac::dayKindName(static_cast<almanac::DayKind>(i));
        const UINT check = group && shown.shows(static_cast<almanac::NoteGroup>(i)) ? MF_CHECKED : MF_UNCHECKED;
        if (!append(menu.get(), MF_STRING | check, commandOf(row, i), text)) return {};
    }
    return menu;
}

base::UniqueMenu buildMenu(almanac::NoteGroups shown) {
    base::UniqueMenu menu(CreatePopupMenu());
    if (!menu) return menu;
    for (const MenuItemRow& item : kAlmanacMenu) {
        bool made = true;
        if (item.row == MenuRow::Line) {
            made = AppendMenuW(menu.get(), MF_SEPARATOR, 0, nullptr);
        } else if (base::UniqueMenu sub = submenuOf(item.row, shown)) {
            // The menu owns the submenu once it took it.
            made = append(menu.get(), MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(sub.get()), item.text);
            if (made) sub.release();
        } else {
            made = append(menu.get(), MF_STRING, commandOf(item.row, 0), item.text);
        }
        if (!made) return {};
    }
    return menu;
}

}  // namespace

std::optional<MenuChoice> trackAlmanacMenu(HWND owner, POINT at, almanac::NoteGroups shown, std::optional<MenuRow> only) {
    const base::UniqueMenu menu = only ? submenuOf(*only, shown) : buildMenu(shown);
    if (!menu) return std::nullopt;
    const BOOL command = TrackPopupMenuEx(menu.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_LEFTALIGN | TPM_TOPALIGN,
                                          at.x, at.y, owner, nullptr);
    if (command < static_cast<BOOL>(kRowStep)) return std::nullopt;
    return MenuChoice{static_cast<MenuRow>(command / kRowStep - 1), static_cast<int>(command % kRowStep)};
}

}  // namespace tavro::almanac_window
