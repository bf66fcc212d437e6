#include "almanac/day_note.h"

namespace tavro::almanac {

const std::array<DayNote, kDayNoteCount> kNotesRarestFirst = {
    DayNote::Setsubun,      DayNote::HiganIri,    DayNote::HiganAke,      DayNote::Shanichi,
    DayNote::Hachijuhachiya, DayNote::Nyubai,     DayNote::Hangesho,      DayNote::Nihyakutoka,
    DayNote::Nihyakuhatsuka, DayNote::DoyoIri,    DayNote::Tenshanichi,   DayNote::Kinoene,
    DayNote::Tsuchinotomi,  DayNote::DoyoUshi,    DayNote::Ichiryumanbai, DayNote::Toranohi,
    DayNote::Minohi,        DayNote::Sanrinbo,    DayNote::Fujojubi,
};

std::wstring_view dayNoteName(DayNote note) {
    static constexpr std::wstring_view kNames[kDayNoteCount] = {
        L"節分",   L"彼岸入り",   L"彼岸明け", L"社日",   L"八十八夜", L"二百十日", L"二百二十日",
        L"入梅",   L"半夏生",     L"土用入り", L"土用の丑", L"一粒万倍日", L"天赦日", L"寅の日",
        L"巳の日", L"己巳の日",   L"甲子の日", L"不成就日", L"三隣亡",
    };
    const auto i = static_cast<size_t>(note);
    return i < kDayNoteCount ? kNames[i] : std::wstring_view{};
}

std::wstring_view noteGroupName(NoteGroup group) {
    static constexpr std::wstring_view kNames[kNoteGroupCount] = {L"六曜", L"干支", L"月", L"雑節", L"選日"};
    const auto i = static_cast<size_t>(group);
    return i < kNoteGroupCount ? kNames[i] : std::wstring_view{};
}

NoteGroup groupOf(DayNote note) {
    const bool zassetsu = static_cast<int>(note) < static_cast<int>(DayNote::Ichiryumanbai);
    return zassetsu ? NoteGroup::Zassetsu : NoteGroup::Senjitsu;
}

}  // namespace tavro::almanac
