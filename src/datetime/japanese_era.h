// The eras of the Japanese calendar from 明治 on, as the date parser reads them and the 暦 window
// names them.
#pragma once

#include <array>
#include <string_view>

#include "datetime/date_value.h"

namespace tavro::datetime {

struct JapaneseEra {
    std::wstring_view name;
    wchar_t letter;    // as in H22/2/3
    wchar_t ligature;  // the one-character form of the name (U+32FF, U+337B…)
    CivilDate first;   // its first day in the Gregorian calendar
};

// In order; an era ends the day before the next one begins. 明治 begins on 1868-01-25, the
// Gregorian day of 慶応4年1月1日: the era was proclaimed on 1868-10-23 (慶応4年9月8日) and counted
// from the first day of that year, so 明治元年 began then. (Windows' own table says 1868-01-01.)
inline constexpr std::array<JapaneseEra, 5> kJapaneseEras{{
    {L"明治", L'M', L'\u337E', {1868, 1, 25}},
    {L"大正", L'T', L'\u337D', {1912, 7, 30}},
    {L"昭和", L'S', L'\u337C', {1926, 12, 25}},
    {L"平成", L'H', L'\u337B', {1989, 1, 8}},
    {L"令和", L'R', L'\u32FF', {2019, 5, 1}},
}};

// The index in kJapaneseEras of the era the day lies in; -1 before 明治.
int eraIndexOf(const CivilDate& day);

}  // namespace tavro::datetime
