// 選日 of a day, by its 節月 (solar_day.h: 0 = 寅月 … 11 = 丑月), its 干支 (sexagenary.h) and,
// for 不成就日, its old-calendar date:
//   一粒万倍日  day branches 寅月 丑・午, 卯月 酉・寅, 辰月 子・卯, 巳月 卯・辰, 午月 巳・午, 未月 酉・午,
//              申月 子・未, 酉月 卯・申, 戌月 酉・午, 亥月 酉・戌, 子月 亥・子, 丑月 卯・子
//   天赦日     戊寅 in 寅卯辰月, 甲午 in 巳午未月, 戊申 in 申酉戌月, 甲子 in 亥子丑月
//   寅の日, 巳の日, 己巳の日, 甲子の日   by the day's 干支 alone
//   不成就日   by the old month (a leap month as its number): 1・7月 3, 11, 19, 27; 2・8月 2, 10, 18, 26;
//              3・9月 1, 9, 17, 25; 4・10月 4, 12, 20, 28; 5・11月 5, 13, 21, 29; 6・12月 6, 14, 22, 30
//              (a month of 29 days has no 30th, and the 30th is not moved to its last day)
//   三隣亡     亥 days in 寅巳申亥月, 寅 days in 卯午酉子月, 午 days in 辰未戌丑月
#pragma once

#include "almanac/day_note.h"

namespace tavro::almanac {

bool isIchiryumanbai(int setsuMonth, int dayBranch);
bool isTenshanichi(int setsuMonth, int daySexagenary);
bool isFujojubi(int oldMonth, int oldDay);
bool isSanrinbo(int setsuMonth, int dayBranch);

// Every 選日 of the day; oldMonth 0 (no old-calendar date) leaves 不成就日 out.
NoteSet senjitsuOn(int setsuMonth, int daySexagenary, int oldMonth, int oldDay);

}  // namespace tavro::almanac
