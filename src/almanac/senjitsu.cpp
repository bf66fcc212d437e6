#include "almanac/senjitsu.h"

#include "almanac/sexagenary.h"

namespace tavro::almanac {

using namespace branch;

namespace {

constexpr int bit(int b) { return 1 << b; }

constexpr int kIchiryumanbai[12] = {
    bit(kOx) | bit(kHorse),       bit(kRooster) | bit(kTiger),  bit(kRat) | bit(kRabbit),
    bit(kRabbit) | bit(kDragon),  bit(kSnake) | bit(kHorse),    bit(kRooster) | bit(kHorse),
    bit(kRat) | bit(kGoat),       bit(kRabbit) | bit(kMonkey),  bit(kRooster) | bit(kHorse),
    bit(kRooster) | bit(kDog),    bit(kPig) | bit(kRat),        bit(kRabbit) | bit(kRat),
};
constexpr int kTenshanichi[4] = {14, 30, 44, 0};  // 戊寅, 甲午, 戊申, 甲子 for each season of three months
constexpr int kSanrinbo[3] = {kPig, kTiger, kHorse};
constexpr int kFujojubiFirst[6] = {3, 2, 1, 4, 5, 6};  // then every 8th day

bool valid(int setsuMonth, int dayBranch) {
    return setsuMonth >= 0 && setsuMonth < 12 && dayBranch >= 0 && dayBranch < 12;
}

}  // namespace

bool isIchiryumanbai(int setsuMonth, int dayBranch) {
    return valid(setsuMonth, dayBranch) && (kIchiryumanbai[setsuMonth] >> dayBranch & 1);
}

bool isTenshanichi(int setsuMonth, int daySexagenary) {
    return valid(setsuMonth, 0) && kTenshanichi[setsuMonth / 3] == daySexagenary;
}

bool isFujojubi(int oldMonth, int oldDay) {
    if (oldMonth < 1 || oldMonth > 12 || oldDay < 1 || oldDay > 30) return false;
    const int first = kFujojubiFirst[(oldMonth - 1) % 6];
    return oldDay >= first && (oldDay - first) % 8 == 0;
}

bool isSanrinbo(int setsuMonth, int dayBranch) {
    return valid(setsuMonth, dayBranch) && kSanrinbo[setsuMonth % 3] == dayBranch;
}

NoteSet senjitsuOn(int setsuMonth, int daySexagenary, int oldMonth, int oldDay) {
    NoteSet notes;
    const int dayBranch = branchOf(daySexagenary);
    const auto mark = [&](bool on, DayNote note) {
        if (on) notes.add(note);
    };
    mark(isIchiryumanbai(setsuMonth, dayBranch), DayNote::Ichiryumanbai);
    mark(isTenshanichi(setsuMonth, daySexagenary), DayNote::Tenshanichi);
    mark(dayBranch == kTiger, DayNote::Toranohi);
    mark(dayBranch == kSnake, DayNote::Minohi);
    mark(daySexagenary == 5, DayNote::Tsuchinotomi);
    mark(daySexagenary == 0, DayNote::Kinoene);
    mark(isFujojubi(oldMonth, oldDay), DayNote::Fujojubi);
    mark(isSanrinbo(setsuMonth, dayBranch), DayNote::Sanrinbo);
    return notes;
}

}  // namespace tavro::almanac
