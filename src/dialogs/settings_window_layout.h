// The settings window's texts and controls: groups of rows, each a labelled choice, a check box
// or a button, laid out in twips from the rows alone, so that a group takes more rows by a line
// in its table. The controls come out in tab order: each label right before its control, so that
// its access key and a screen reader find the control.
#pragma once

#include <array>
#include <span>
#include <vector>

#include "dialogs/dialog_texts.h"

namespace tavro::dialogs {

inline constexpr UiText kSettingsCaption = TAVRO_TEXT("設定 - TavroClock");
inline constexpr UiText kSettingsCancelCaption = TAVRO_TEXT("キャンセル");
inline constexpr UiText kSettingsApplyCaption = TAVRO_TEXT("適用(&A)");
inline constexpr UiText kLogOnStartNotWritten =
    TAVRO_TEXT("ログオン時に起動の設定を書き込めませんでした。設定は前のままです。");

namespace settings_window {

// OK and キャンセル are IDOK (1) and IDCANCEL (2), so that Enter and Esc reach them.
enum ControlId : int {
    kOkId = 1,
    kCancelId = 2,
    kViewId = 300,
    kScaleId,
    kOpacityId,
    kDigitColourId,
    kWeekStartId,
    kTopMostId,
    kChangeWallpaperId,
    kResetPlaceId,
    kTrayIconId,
    kLogOnStartId,
    kApplyId,
    kChimeId,
    kChimeQuietFromId,
    kChimeQuietToId,
    kChimeSoundId,
};

enum class RowKind { Choice, Check, Button };

struct SettingsRow {
    int id;
    RowKind kind;
    UiText label;
    std::span<const UiText> choices;  // a choice's items, in the order of its table of values
};

struct SettingsGroup {
    UiText caption;
    std::span<const SettingsRow> rows;
};

// The items in the order of settings::kScaleChoices, kOpacityChoices and kDigitColourChoices; the
// views in their stored order 1, 2, 3; the week Sunday then Monday.
inline constexpr UiText kViewItems[] = {TAVRO_TEXT("時計のみ"), TAVRO_TEXT("時計とカレンダー"),
                                        TAVRO_TEXT("カウントダウンタイマー")};
inline constexpr UiText kScaleItems[] = {TAVRO_TEXT("75%"), TAVRO_TEXT("100%"), TAVRO_TEXT("125%"),
                                         TAVRO_TEXT("150%"), TAVRO_TEXT("200%")};
inline constexpr UiText kOpacityItems[] = {TAVRO_TEXT("100%"), TAVRO_TEXT("90%"), TAVRO_TEXT("80%"),
                                           TAVRO_TEXT("70%"),  TAVRO_TEXT("60%"), TAVRO_TEXT("50%")};
inline constexpr UiText kDigitColourItems[] = {TAVRO_TEXT("橙"), TAVRO_TEXT("緑"), TAVRO_TEXT("水色"),
                                               TAVRO_TEXT("青"), TAVRO_TEXT("白"), TAVRO_TEXT("桃")};
inline constexpr UiText kWeekStartItems[] = {TAVRO_TEXT("日曜"), TAVRO_TEXT("月曜")};
// The chime in the order of kChimeChoices; its quiet hours' items are the half hours, and its
// sound's the default and the chosen file, made by the window.
inline constexpr std::array<int, 4> kChimeChoices{0, 60, 30, 15};
inline constexpr UiText kChimeItems[] = {TAVRO_TEXT("鳴らさない"), TAVRO_TEXT("1時間ごと"), TAVRO_TEXT("30分ごと"),
                                         TAVRO_TEXT("15分ごと")};
inline constexpr UiText kChimeDefaultSound = TAVRO_TEXT("既定の音");
inline constexpr UiText kChimeChooseSound = TAVRO_TEXT("WAV ファイルを選ぶ...");

inline constexpr SettingsRow kViewRows[] = {
    {kViewId, RowKind::Choice, TAVRO_TEXT("表示内容(&V):"), kViewItems},
    {kScaleId, RowKind::Choice, TAVRO_TEXT("大きさ(&Z):"), kScaleItems},
    {kOpacityId, RowKind::Choice, TAVRO_TEXT("不透明度(&O):"), kOpacityItems},
    {kDigitColourId, RowKind::Choice, TAVRO_TEXT("数字の色(&C):"), kDigitColourItems},
    {kWeekStartId, RowKind::Choice, TAVRO_TEXT("週の始まり(&B):"), kWeekStartItems},
    {kTopMostId, RowKind::Check, TAVRO_TEXT("常に手前に表示(&T)"), {}},
};
inline constexpr SettingsRow kDesktopRows[] = {
    {kChangeWallpaperId, RowKind::Check, TAVRO_TEXT("壁紙を変更する(&W)"), {}},
    {kResetPlaceId, RowKind::Button, TAVRO_TEXT("位置を元に戻す(&R)"), {}},
};
// The notification area's icon, and the rows of the hour chime (時報) after it.
inline constexpr SettingsRow kNotifyRows[] = {
    {kTrayIconId, RowKind::Check, TAVRO_TEXT("通知領域にアイコンを表示(&N)"), {}},
    {kChimeId, RowKind::Choice, TAVRO_TEXT("時報(&H):"), kChimeItems},
    {kChimeQuietFromId, RowKind::Choice, TAVRO_TEXT("消音の開始(&Q):"), {}},
    {kChimeQuietToId, RowKind::Choice, TAVRO_TEXT("消音の終了(&U):"), {}},
    {kChimeSoundId, RowKind::Choice, TAVRO_TEXT("時報の音(&S):"), {}},
};
inline constexpr SettingsRow kStartRows[] = {
    {kLogOnStartId, RowKind::Check, TAVRO_TEXT("ログオン時に起動(&L)"), {}},
};
inline constexpr SettingsGroup kGroups[] = {
    {TAVRO_TEXT("表示"), kViewRows},
    {TAVRO_TEXT("デスクトップ"), kDesktopRows},
    {TAVRO_TEXT("通知"), kNotifyRows},
    {TAVRO_TEXT("起動"), kStartRows},
};

enum class ControlKind { Group, Label, Choice, Check, Button, DefaultButton };

struct PlacedControl {
    int id;  // -1 for group boxes and labels
    ControlKind kind;
    UiText text;
    TwipsRect rect;  // a choice's height is its open list's
    std::span<const UiText> choices;
};

struct SettingsLayout {
    std::vector<PlacedControl> controls;  // in tab order, the three buttons last
    TwipsRect client;
};

SettingsLayout layoutSettings(std::span<const SettingsGroup> groups);

}  // namespace settings_window
}  // namespace tavro::dialogs
