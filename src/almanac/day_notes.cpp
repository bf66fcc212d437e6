#include "almanac/day_notes.h"

#include "almanac/day_facts.h"
#include "almanac/senjitsu.h"
#include "almanac/sexagenary.h"
#include "datetime/date_value.h"

namespace tavro::almanac {
namespace {

void append(std::wstring& text, std::wstring_view part) {
    if (part.empty()) return;
    if (!text.empty()) text += L' ';
    text += part;
}

}  // namespace

MonthNotes MonthNotes::forMonth(int year, int month, const MonthAlmanac& almanac) {
    MonthNotes notes;
    const int count = datetime::daysInMonth(year, month);
    const int64_t firstDay = datetime::daysFromCivil(year, month, 1);
    DayFacts facts;
    for (int i = 0; i < count; ++i) {
        const std::optional<DayAlmanac> old = almanac.day(i + 1);
        if (!old) return MonthNotes{};
        const int64_t day = firstDay + i;
        DayNotes& out = notes.days_[static_cast<size_t>(i)];
        out.sexagenary = sexagenaryOfDay(day);
        out.moonAgeTenths = facts.moonAgeTenthsOn(day);
        if (const auto phase = facts.phaseOn(day)) {
            out.phase = phase->phase;
            out.phaseMinute = phase->minute;
        }
        out.notes = zassetsuOn(facts.zassetsuOf(day), day) |
                    senjitsuOn(facts.setsuMonthOf(day), out.sexagenary, old->old.month, old->old.day);
    }
    notes.dayCount_ = count;
    return notes;
}

std::optional<DayNotes> MonthNotes::day(int dayOfMonth) const {
    if (dayOfMonth < 1 || dayOfMonth > dayCount_) return std::nullopt;
    return days_[static_cast<size_t>(dayOfMonth - 1)];
}

std::wstring phaseText(const DayNotes& notes) {
    if (!notes.phase) return {};
    const int minute = notes.phaseMinute;
    std::wstring text{moonPhaseName(*notes.phase)};
    text += L' ' + std::to_wstring(minute / 60) + L':' + (minute % 60 < 10 ? L"0" : L"") + std::to_wstring(minute % 60);
    return text;
}

std::wstring dayNotesText(const DayNotes& notes, NoteGroups shown) {
    std::wstring text;
    if (shown.shows(NoteGroup::Sexagenary)) append(text, sexagenaryName(notes.sexagenary));
    if (shown.shows(NoteGroup::Moon)) {
        const int age = notes.moonAgeTenths;
        append(text, L"月齢 " + std::to_wstring(age / 10) + L'.' + std::to_wstring(age % 10));
        append(text, phaseText(notes));
    }
    for (int i = 0; i < kDayNoteCount; ++i) {
        const auto note = static_cast<DayNote>(i);
        if (notes.notes.has(note) && shown.shows(groupOf(note))) append(text, dayNoteName(note));
    }
    return text;
}

NoteList cellNotes(const DayNotes& notes, NoteGroups shown) {
    NoteList list;
    for (DayNote note : kNotesRarestFirst) {
        if (notes.notes.has(note) && shown.shows(groupOf(note))) list.items[static_cast<size_t>(list.count++)] = note;
    }
    return list;
}

std::wstring_view cellSexagenary(const DayNotes& notes, NoteGroups shown) {
    return shown.shows(NoteGroup::Sexagenary) ? sexagenaryName(notes.sexagenary) : std::wstring_view{};
}

std::wstring_view cellPhaseSymbol(const DayNotes& notes, NoteGroups shown) {
    return notes.phase && shown.shows(NoteGroup::Moon) ? moonPhaseSymbol(*notes.phase) : std::wstring_view{};
}

}  // namespace tavro::almanac
