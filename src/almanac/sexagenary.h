// 干支: the cycle of 60 (甲子 = 0, 乙丑 = 1, … 癸亥 = 59) of the days and of the civil years, and
// its two parts, the 十干 (stem: 甲 = 0 … 癸 = 9) and the 十二支 (branch: 子 = 0 … 亥 = 11).
#pragma once

#include <cstdint>
#include <string_view>

namespace tavro::almanac {

// The day's 干支 (a day count, as datetime::daysFromCivil): 2024-01-01 is 甲子 (0).
int sexagenaryOfDay(int64_t day);
// The civil year's 干支, as wall calendars print it from 1 January: 1984 甲子, 2026 丙午 (42).
int sexagenaryOfYear(int year);

inline constexpr int stemOf(int sexagenary) { return sexagenary % 10; }
inline constexpr int branchOf(int sexagenary) { return sexagenary % 12; }

// The branches by name, for the rules that use them.
namespace branch {
inline constexpr int kRat = 0, kOx = 1, kTiger = 2, kRabbit = 3, kDragon = 4, kSnake = 5, kHorse = 6, kGoat = 7,
                     kMonkey = 8, kRooster = 9, kDog = 10, kPig = 11;
}  // namespace branch

std::wstring_view sexagenaryName(int sexagenary);  // L"甲子" … L"癸亥"; empty outside 0..59
std::wstring_view yearSexagenaryName(int year);    // the header's 「丙午」 for 2026

}  // namespace tavro::almanac
