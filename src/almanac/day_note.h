// The 雑節 and 選日 a day can carry, their names, and the groups a user can show or hide.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace tavro::almanac {

// In the order a day's text lists them: the 雑節, then the 選日.
enum class DayNote {
    Setsubun,         // 節分
    HiganIri,         // 彼岸入り
    HiganAke,         // 彼岸明け
    Shanichi,         // 社日
    Hachijuhachiya,   // 八十八夜
    Nihyakutoka,      // 二百十日
    Nihyakuhatsuka,   // 二百二十日
    Nyubai,           // 入梅
    Hangesho,         // 半夏生
    DoyoIri,          // 土用入り
    DoyoUshi,         // 土用の丑
    Ichiryumanbai,    // 一粒万倍日
    Tenshanichi,      // 天赦日
    Toranohi,         // 寅の日
    Minohi,           // 巳の日
    Tsuchinotomi,     // 己巳の日
    Kinoene,          // 甲子の日
    Fujojubi,         // 不成就日
    Sanrinbo,         // 三隣亡
};
inline constexpr int kDayNoteCount = 19;

// A set of notes, a bit each.
struct NoteSet {
    uint32_t bits = 0;
    bool has(DayNote note) const { return (bits >> static_cast<int>(note)) & 1u; }
    void add(DayNote note) { bits |= 1u << static_cast<int>(note); }
    NoteSet operator|(NoteSet other) const { return {bits | other.bits}; }
    bool operator==(const NoteSet&) const = default;
};

std::wstring_view dayNoteName(DayNote note);  // L"節分" … L"三隣亡"

// What a user can show or hide, each on by default. 六曜 is told by MonthAlmanac; its choice
// travels here with the others.
enum class NoteGroup { Rokuyo, Sexagenary, Moon, Zassetsu, Senjitsu };  // 六曜, 干支, 月, 雑節, 選日
inline constexpr int kNoteGroupCount = 5;

std::wstring_view noteGroupName(NoteGroup group);  // L"六曜", L"干支", L"月", L"雑節", L"選日"
NoteGroup groupOf(DayNote note);                   // NoteGroup::Zassetsu or NoteGroup::Senjitsu

struct NoteGroups {
    uint32_t hidden = 0;  // a bit per NoteGroup; 0: everything shown
    bool shows(NoteGroup group) const { return !((hidden >> static_cast<int>(group)) & 1u); }
    void show(NoteGroup group, bool on) {
        const uint32_t bit = 1u << static_cast<int>(group);
        hidden = on ? hidden & ~bit : hidden | bit;
    }
};

// The notes from the rarest: the yearly 雑節 (節分 … 二百二十日), 土用入り, 天赦日, 甲子の日,
// 己巳の日, 土用の丑, then the lucky days people look for first, 一粒万倍日 before 寅の日 and 巳の日,
// and last the days to avoid, 三隣亡 and 不成就日.
extern const std::array<DayNote, kDayNoteCount> kNotesRarestFirst;

}  // namespace tavro::almanac
