// The Moon's four principal phases (the Moon's apparent longitude minus the Sun's at 0°, 90°, 180°,
// 270°) from the true-phase series of Meeus (Astronomical Algorithms, 2nd ed., chapter 49, with
// each phase's periodic corrections and the planetary ones), and the Moon's age at noon JST.
#pragma once

#include <cstdint>
#include <string_view>

namespace tavro::almanac {

enum class MoonPhase { New, FirstQuarter, Full, LastQuarter };  // 新月, 上弦, 満月, 下弦

// The TT moment of the phase in lunation k (k = 0: the new moon of 2000-01-06; each phase of a
// lunation follows its new moon).
double moonPhaseTt(int64_t lunation, MoonPhase phase);

// A phase as a calendar prints it: its JST day (a day count, as datetime::daysFromCivil) and its
// JST time, minutes after midnight, rounded to the minute but never past 23:59 of that day.
struct PhaseOnDay {
    MoonPhase phase = MoonPhase::New;
    int64_t day = 0;
    int minute = 0;  // 0..1439
};
PhaseOnDay phaseOnDay(int64_t lunation, MoonPhase phase);

// 月齢 at 12:00 JST of the day: the days since the last new moon at or before that noon (the
// day of a new moon in the afternoon still counts from the one before), not rounded.
double moonAgeAtNoon(int64_t day);

// 月齢 in tenths, rounded half up as almanacs print it: 14.25 days gives 143 (「月齢 14.3」).
int moonAgeTenths(double ageDays);

std::wstring_view moonPhaseName(MoonPhase phase);    // L"新月", L"上弦", L"満月", L"下弦"
std::wstring_view moonPhaseSymbol(MoonPhase phase);  // L"●" 新月, L"◐" 上弦, L"○" 満月, L"◑" 下弦

}  // namespace tavro::almanac
