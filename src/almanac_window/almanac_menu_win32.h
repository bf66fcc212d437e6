// The 暦 window's context menu, built from its rows at each opening. A row is a submenu (the day
// kinds 「次の…」 and 「前の…」 look for, the groups of notes shown), a command or a line: one more
// row is one more item, its command told by its row.
#pragma once

#include <windows.h>

#include <optional>
#include <string_view>

#include "almanac/day_note.h"

namespace tavro::almanac_window {

enum class MenuRow { FindNext, FindPrevious, Shown, Copy, Line, AddReminder };

struct MenuItemRow {
    MenuRow row;
    std::wstring_view text;
};

inline constexpr MenuItemRow kAlmanacMenu[] = {
    {MenuRow::AddReminder, L"この日に予定を追加..."},
    {MenuRow::Line, L""},
    {MenuRow::FindNext, L"次の…"},
    {MenuRow::FindPrevious, L"前の…"},
    {MenuRow::Line, L""},
    {MenuRow::Shown, L"表示"},
    {MenuRow::Line, L""},
    {MenuRow::Copy, L"コピー\tCtrl+C"},
};

// What was chosen: the row, and in a submenu the day kind's or note group's number.
struct MenuChoice {
    MenuRow row;
    int index = 0;
};

// Pops the menu up at the screen point and waits: the choice, or nothing when it was dismissed.
// With only, that row's submenu alone (F3 before any kind was chosen).
std::optional<MenuChoice> trackAlmanacMenu(HWND owner, POINT at, almanac::NoteGroups shown,
                                           std::optional<MenuRow> only = std::nullopt);

}  // namespace tavro::almanac_window
