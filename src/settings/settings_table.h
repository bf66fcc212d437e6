// Every value the program keeps under HKCU\Software\Quillmar-soft\tavroClock: its name, its
// registry type (by the kind of entry) and what a missing value, or one of another type, reads as.
#pragma once

#include <cstdint>
#include <string_view>

namespace tavro::settings {

struct NumberSetting {  // REG_DWORD
    std::wstring_view name;
    int32_t otherwise;
};
struct TextSetting {  // REG_SZ, in the ANSI code page
    std::wstring_view name;
    std::wstring_view otherwise;
};

// What a number without a default reads as when it is missing: never one the program stores.
inline constexpr int32_t kMissingNumber = INT32_MIN;

// The views: 1 clock only, 2 clock and calendar, anything else everything (app/layout.h).
inline constexpr NumberSetting kViewMode{L"viewMode", 3};
// The countdown target, "yyyy/mm/dd hh:mm:ss"; this one means none.
inline constexpr TextSetting kTargetDate{L"targetDate", L"1899/12/30 00:00:00"};
// 0: the desktop is left as it is; anything else: the mosaic wallpaper and the desktop colour.
inline constexpr NumberSetting kChangeWallpaper{L"changeWallpaper", 1};
// 0 hides the notification-area icon; anything else shows it.
inline constexpr NumberSetting kShowTrayIcon{L"showTrayIcon", 1};
// The target whose notice was shown, "yyyy/mm/dd hh:mm:ss"; anything else counts as none.
inline constexpr TextSetting kToldTarget{L"toldTarget", L""};

// Where the clock was dropped (desktop/clock_place.h judges the values): the work area's corner
// nearest to it, 0 to 3; its distance from that corner at 96 DPI, out of range when missing; that
// monitor's name and rectangle. No corner: no place stored.
inline constexpr NumberSetting kPlaceCorner{L"placeCorner", kMissingNumber};
inline constexpr NumberSetting kPlaceX{L"placeX", -1};
inline constexpr NumberSetting kPlaceY{L"placeY", -1};
// The DPI the distances are in; missing in a place of the release before, which kept 96.
inline constexpr NumberSetting kPlaceDpi{L"placeDpi", 96};
inline constexpr TextSetting kPlaceMonitor{L"placeMonitor", L""};
inline constexpr NumberSetting kPlaceMonitorEdges[] = {{L"placeMonitorLeft", 0}, {L"placeMonitorTop", 0},
                                                       {L"placeMonitorRight", 0}, {L"placeMonitorBottom", 0}};

// The 暦 window's place and size in screen pixels as it was closed; a missing one, the default place.
inline constexpr NumberSetting kAlmanacLeft{L"almanacLeft", kMissingNumber};
inline constexpr NumberSetting kAlmanacTop{L"almanacTop", kMissingNumber};
inline constexpr NumberSetting kAlmanacWidth{L"almanacWidth", kMissingNumber};
inline constexpr NumberSetting kAlmanacHeight{L"almanacHeight", kMissingNumber};
// What the 暦 window and the desktop calendar's day tooltips tell of a day, a value per group in
// the order 六曜, 干支, 月 (月齢 and phases), 雑節, 選日: 0 hides the group; anything else, a
// missing value or one of another type shows it.
inline constexpr NumberSetting kAlmanacShows[] = {{L"almanacShowRokuyo", 1}, {L"almanacShowSexagenary", 1},
                                                  {L"almanacShowMoon", 1}, {L"almanacShowZassetsu", 1},
                                                  {L"almanacShowSenjitsu", 1}};

// Never written by the program: tests and organisations point the downloads elsewhere with them.
// Missing, empty or unusable: the feed's own host and calendar (holidays/happy_feed.h).
inline constexpr TextSetting kFeedHost{L"feedHost", L""};
inline constexpr TextSetting kFeedCalendarId{L"feedCalendarId", L""};
// Missing, of another type or not http(s): the Cabinet Office's list; empty turns the download off.
inline constexpr TextSetting kHolidayListUrl{L"holidayListUrl",
                                             L"https://www8.cao.go.jp/chosei/shukujitsu/syukujitsu.csv"};

// The desktop as the program found it, kept while it runs (desktop/recovery_record.h): one text,
// written with the wide registry calls so that no length a real desktop reaches is refused.
inline constexpr TextSetting kOriginalDesktop{L"originalDesktop", L""};
// The shape an earlier release kept, still read: the number of parts, the parts
// "originalWallPaper1", "originalWallPaper2", ..., and the colour.
inline constexpr NumberSetting kOriginalWallPaperParts{L"originalWallPaperParts", kMissingNumber};
inline constexpr TextSetting kOriginalWallPaperPart{L"originalWallPaper", L""};  // its number follows
inline constexpr NumberSetting kOriginalDesktopColour{L"originalDesktopColour", kMissingNumber};
// The picture file the program wrote, for the uninstaller, which removes it with the settings.
inline constexpr TextSetting kWallpaperFile{L"wallpaperFile", L""};

// How the clock looks and lies (settings/clock_look.h judges the values): a value of another type
// or outside its choices counts as the default.
inline constexpr NumberSetting kScalePercent{L"scalePercent", 100};
inline constexpr NumberSetting kOpacityPercent{L"opacityPercent", 100};
inline constexpr NumberSetting kDigitColour{L"digitColour", 6};  // a row of the glyph sheet
inline constexpr NumberSetting kWeekStartsMonday{L"weekStartsMonday", 0};
inline constexpr NumberSetting kTopMost{L"topMost", 0};

// The hour chime (reminders/chime_schedule.h judges the numbers): every 60, 30 or 15 minutes, 0
// or anything else off; the quiet hours in minutes after midnight; the chime's WAV file, read and
// written with the wide calls (settings/record_store.h), empty for the system's default sound.
inline constexpr NumberSetting kChime{L"chime", 0};
inline constexpr NumberSetting kChimeQuietFrom{L"chimeQuietFrom", 1320};
inline constexpr NumberSetting kChimeQuietTo{L"chimeQuietTo", 420};
inline constexpr TextSetting kChimeSound{L"chimeSound", L""};
// The reminders' told occurrences (reminders/told_occurrences.h's text) and the minute the clock
// last ran ("20261210T100000"), both through the wide calls.
inline constexpr TextSetting kRemindersTold{L"remindersTold", L""};
inline constexpr TextSetting kRemindersLastRun{L"remindersLastRun", L""};

}  // namespace tavro::settings
