// The notes a Japanese almanac prints for a day beside its 六曜: 干支, 月齢 and the Moon's principal
// phase, 雑節 and 選日 (the rules: sexagenary.h, moon_phase.h, zassetsu.h, senjitsu.h), for one
// civil month (JST) at a time, 1900 to 2100, and the texts the tooltip, the 暦 window and Ctrl+C use.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "almanac/day_note.h"
#include "almanac/month_almanac.h"
#include "almanac/moon_phase.h"

namespace tavro::almanac {

struct DayNotes {
    int sexagenary = 0;      // the day's 干支, 0 = 甲子 (sexagenaryName)
    int moonAgeTenths = 0;   // 月齢 at 12:00 JST in tenths: 71 is 「月齢 7.1」
    std::optional<MoonPhase> phase;  // the principal phase that falls on the day (JST)
    int phaseMinute = 0;     // its JST time in minutes after midnight, when there is one
    NoteSet notes;           // the 雑節 and 選日
};

// Computed once for one civil month, from the month's MonthAlmanac (its old-calendar dates give
// 不成就日): the 節月, the year's 雑節 and the month's phases are worked out once, not per day.
class MonthNotes {
public:
    static MonthNotes forMonth(int year, int month, const MonthAlmanac& almanac);
    // nullopt outside 1900..2100, for a day the month lacks, or when the almanac has no such day.
    std::optional<DayNotes> day(int dayOfMonth) const;

private:
    std::array<DayNotes, 31> days_{};
    int dayCount_ = 0;
};

// The day's notes as one line, the groups shown in this order, a space apart (六曜 is not part of
// it: the tooltip tells it already):
//   干支 「甲子」, 月 「月齢 7.1」 and on a phase's day 「上弦 9:05」 (H:MM, JST), 雑節 then 選日 in
//   DayNote order: 「甲子 月齢 19.1 一粒万倍日 天赦日 甲子の日」. Empty when every group is hidden.
std::wstring dayNotesText(const DayNotes& notes, NoteGroups shown = {});

// 「上弦 9:05」 for the day's phase; empty on a day without one.
std::wstring phaseText(const DayNotes& notes);

// A cell's notes, the rarest first (kNotesRarestFirst), of the groups shown.
struct NoteList {
    std::array<DayNote, kDayNoteCount> items{};
    int count = 0;
    const DayNote* begin() const { return items.data(); }
    const DayNote* end() const { return items.data() + count; }
};
NoteList cellNotes(const DayNotes& notes, NoteGroups shown = {});

// A cell's small texts: the 干支 (L"甲子") and the phase symbol (L"●" 新月, L"◐" 上弦, L"○" 満月,
// L"◑" 下弦); each empty when its group is hidden or, for the symbol, on a day without a phase.
std::wstring_view cellSexagenary(const DayNotes& notes, NoteGroups shown = {});
std::wstring_view cellPhaseSymbol(const DayNotes& notes, NoteGroups shown = {});

}  // namespace tavro::almanac
