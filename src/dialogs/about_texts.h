// Texts and control layout of the about box.
#pragma once

#include <string>

#include "dialogs/dialog_texts.h"

namespace tavro::dialogs {

// frmAbout
inline constexpr UiText kAboutCaptionSuffix = TAVRO_TEXT("のバージョン情報");
inline constexpr UiText kSysInfoCaption = TAVRO_TEXT("ｼｽﾃﾑ情報(&S)...");
inline constexpr UiText kNoSysInfoMessage = TAVRO_TEXT("現時点ではシステム情報を使用できません");

namespace about {
inline constexpr TwipsRect kClient{0, 0, 5730, 3555};
inline constexpr TwipsRect picIcon{240, 240, 240, 240};
inline constexpr TwipsRect lblTitle{1050, 240, 3885, 480};
inline constexpr TwipsRect lblVersion{1050, 780, 3885, 225};
inline constexpr TwipsRect lblDescription{1050, 1125, 3885, 1170};
inline constexpr TwipsRect lblDisclaimer{255, 2625, 3870, 825};
inline constexpr TwipsRect cmdOK{4245, 2625, 1380, 345};
inline constexpr TwipsRect cmdSysInfo{4260, 3075, 1380, 345};
inline constexpr TwipsLine kGreyLine{90, 5654, 2445, 1};
inline constexpr TwipsLine kWhiteLine{105, 5654, 2460, 2};
inline constexpr unsigned kGreyLineColour = 0x808080;   // 0x00BBGGRR, as GDI takes it
inline constexpr unsigned kWhiteLineColour = 0xFFFFFF;
}  // namespace about

// "Version " + major.minor.revision, each in decimal without leading zeros; the third part of
// the four-part file version is not shown (1.0.0.23 gives "Version 1.0.23").
inline std::basic_string<UiChar> versionText(unsigned major, unsigned minor, unsigned revision) {
    std::basic_string<UiChar> text(TAVRO_TEXT("Version "));
    const unsigned parts[] = {major, minor, revision};
    for (int i = 0; i < 3; ++i) {
        if (i > 0) text += UiChar('.');
        const std::string digits = std::to_string(parts[i]);
        text.append(digits.begin(), digits.end());
    }
    return text;
}

}  // namespace tavro::dialogs
