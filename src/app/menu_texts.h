// The popup menu of the clock window: its tree, captions and command ids. The menu form
// builds the Win32 menu from this table; the view rules live here so that they hold without
// a window.
#pragma once

#include <optional>

#include "app/layout.h"
#include "base/ui_text.h"

namespace tavro::app {

// 0 stays free: TrackPopupMenuEx returns it when the menu is dismissed.
enum MenuCommand : unsigned {
    mnuNone = 0,
    mnuViewClock = 101,
    mnuViewClockCalender,
    mnuViewCountdown,
    mnuCountdownSetting,
    mnuProxySetting,
    mnuGoogleCalenderSetting,
    mnuTavro,
    mnuQuillmarSoft,
    mnuQuillmarSupport,
    mnuAbout,
    mnuExit,
    mnuChangeWallpaper,
    mnuTrayIcon,
    mnuResetPlace,
    mnuAlmanacWindow,
    mnuSettingsWindow,
    mnuReminderList,
};

inline constexpr UiText kPopupFormCaption = TAVRO_TEXT("このフォームはポップアップメニュー用です");
inline constexpr UiText kPopupRootCaption = TAVRO_TEXT("Popup");  // mnuPopup, the menu that pops up

// One item of the popup, in display order. A submenu has the id mnuNone and its items follow
// it one level deeper.
struct MenuItemText {
    int depth;  // 0: an item of mnuPopup itself
    MenuCommand id;
    UiText caption;
};

inline constexpr MenuItemText kPopupMenuItems[] = {
    {0, mnuNone, TAVRO_TEXT("表示(&V)")},  // mnuView
    {1, mnuViewClock, TAVRO_TEXT("時計のみ(&C)")},
    {1, mnuViewClockCalender, TAVRO_TEXT("時計とカレンダー(&L)")},
    {1, mnuViewCountdown, TAVRO_TEXT("カウントダウンタイマー(&T)")},
    {0, mnuNone, TAVRO_TEXT("設定(&S)")},  // mnuSetting
    {1, mnuSettingsWindow, TAVRO_TEXT("設定(&O)...")},
    {1, mnuCountdownSetting, TAVRO_TEXT("カウントダウンタイマー(&T)...")},
    {1, mnuProxySetting, TAVRO_TEXT("プロキシ(&P)...")},
    {1, mnuGoogleCalenderSetting, TAVRO_TEXT("Google Calender に接続する")},
    {1, mnuChangeWallpaper, TAVRO_TEXT("壁紙を変更する(&W)")},
    {1, mnuTrayIcon, TAVRO_TEXT("通知領域にアイコンを表示(&N)")},
    {1, mnuResetPlace, TAVRO_TEXT("位置を元に戻す(&R)")},
    {0, mnuNone, TAVRO_TEXT("ヘルプ(&H)")},  // mnuHelp
    {1, mnuTavro, TAVRO_TEXT("Tavro工業株式会社ホームページ(&S)...")},
    {1, mnuQuillmarSoft, TAVRO_TEXT("Quillmar-softホームページ(&H)...")},
    {1, mnuQuillmarSupport, TAVRO_TEXT("Quillmar-soft製品サポートページ(&U)...")},
    {1, mnuAbout, TAVRO_TEXT("バージョン情報(&A)...")},
    {0, mnuAlmanacWindow, TAVRO_TEXT("暦(&K)...")},
    {0, mnuReminderList, TAVRO_TEXT("予定(&Y)...")},
    {0, mnuExit, TAVRO_TEXT("終了(&X)")},
};

// The view a view item switches to; nothing for every other command.
constexpr std::optional<ViewMode> viewModeForCommand(unsigned id) {
    switch (id) {
        case mnuViewClock: return ViewClock;
        case mnuViewClockCalender: return ViewClockCalender;
        case mnuViewCountdown: return ViewCountdown;
        default: return std::nullopt;
    }
}

// What the menu's check marks show, read at each opening.
struct MenuChecks {
    ViewMode viewMode = ViewCountdown;
    bool changeWallpaper = true;
    bool trayIcon = true;
};

// The one view item that carries the check mark.
constexpr MenuCommand checkedViewItem(ViewMode viewMode) {
    switch (viewMode) {
        case ViewClock: return mnuViewClock;
        case ViewClockCalender: return mnuViewClockCalender;
        default: return mnuViewCountdown;
    }
}

}  // namespace tavro::app
