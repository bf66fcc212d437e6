// The popup menu table and the target dialog's texts and layout.
#include "app/menu_texts.h"
#include "dialogs/dialog_texts.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

using namespace tavro;
using namespace tavro::app;
using namespace tavro::dialogs;

namespace {

std::u16string text(UiText s) { return {s.begin(), s.end()}; }

struct ExpectedItem {
    int depth;
    unsigned id;
    std::u16string caption;
};

// The menu tree in display order; submenus carry no command.
const std::vector<ExpectedItem> kTree = {
    {0, 0, u"表示(&V)"},
    {1, mnuViewClock, u"時計のみ(&C)"},
    {1, mnuViewClockCalender, u"時計とカレンダー(&L)"},
    {1, mnuViewCountdown, u"カウントダウンタイマー(&T)"},
    {0, 0, u"設定(&S)"},
    {1, mnuCountdownSetting, u"カウントダウンタイマー(&T)..."},
    {1, mnuProxySetting, u"プロキシ(&P)..."},
    {1, mnuGoogleCalenderSetting, u"Google Calender に接続する"},
    {0, 0, u"ヘルプ(&H)"},
    {1, mnuTavro, u"Tavro工業株式会社ホームページ(&S)..."},
    {1, mnuQuillmarSoft, u"Quillmar-softホームページ(&H)..."},
    {1, mnuQuillmarSupport, u"Quillmar-soft製品サポートページ(&U)..."},
    {1, mnuAbout, u"バージョン情報(&A)..."},
    {0, mnuExit, u"終了(&X)"},
};

TEST(PopupMenuTable, TreeCaptionsAndDepthsInDisplayOrder) {
    ASSERT_EQ(std::size(kPopupMenuItems), kTree.size());
    for (std::size_t i = 0; i < kTree.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(kPopupMenuItems[i].depth, kTree[i].depth);
        EXPECT_EQ(static_cast<unsigned>(kPopupMenuItems[i].id), kTree[i].id);
        EXPECT_EQ(text(kPopupMenuItems[i].caption), kTree[i].caption);
    }
}

TEST(PopupMenuTable, CommandsAreDistinctAndNeverTheDismissValue) {
    std::set<unsigned> seen;
    for (const MenuItemText& item : kPopupMenuItems) {
        if (item.id == mnuNone) continue;
        EXPECT_TRUE(seen.insert(item.id).second) << item.id;
    }
    EXPECT_EQ(seen.size(), 11u);
    EXPECT_EQ(seen.count(0), 0u);
}

// A submenu heads a run of deeper items, and nothing else is followed by one.
TEST(PopupMenuTable, DeeperItemsFollowTheirSubmenu) {
    bool inSubmenu = false;
    for (std::size_t i = 0; i < std::size(kPopupMenuItems); ++i) {
        const MenuItemText& item = kPopupMenuItems[i];
        EXPECT_TRUE(item.depth == 0 || (item.depth == 1 && inSubmenu)) << i;
        if (item.depth == 0) inSubmenu = item.id == mnuNone;
    }
}

TEST(PopupMenuTexts, FormCaptions) {
    EXPECT_EQ(text(kPopupFormCaption), u"このフォームはポップアップメニュー用です");
    EXPECT_EQ(text(kPopupRootCaption), u"Popup");
}

TEST(ViewItems, EachViewItemSwitchesToItsViewAndNothingElseDoes) {
    for (const MenuItemText& item : kPopupMenuItems) {
        const int expected = item.id == mnuViewClock           ? 1
                             : item.id == mnuViewClockCalender ? 2
                             : item.id == mnuViewCountdown     ? 3
                                                               : 0;
        EXPECT_EQ(viewModeForCommand(item.id), expected) << item.id;
    }
    EXPECT_EQ(viewModeForCommand(mnuNone), 0);
    EXPECT_EQ(viewModeForCommand(9999), 0);
}

TEST(ViewItems, TheCheckedItemIsTheCurrentViewAndOtherValuesAreTheCountdown) {
    EXPECT_EQ(checkedViewItem(1), mnuViewClock);
    EXPECT_EQ(checkedViewItem(2), mnuViewClockCalender);
    EXPECT_EQ(checkedViewItem(3), mnuViewCountdown);
    for (int stored : {0, -1, 4, 7, 1 << 30}) EXPECT_EQ(checkedViewItem(stored), mnuViewCountdown) << stored;
    // Switching to a view and then opening the menu checks that view's item.
    for (unsigned id : {mnuViewClock, mnuViewClockCalender, mnuViewCountdown})
        EXPECT_EQ(checkedViewItem(viewModeForCommand(id)), id);
}

TEST(SetTargetTexts, CaptionsAndMessages) {
    const std::vector<std::pair<UiText, std::u16string>> texts = {
        {kSetTargetCaption, u"目標時刻を日付形式で入力してください"},
        {kOkCaption, u"OK"},
        {kClearCaption, u"Clear"},
        {kCancelCaption, u"Cancel"},
        {kNotADateMessage, u"日付型に変換できません"},
        {kNotADateTitle, u"変換不能"},
    };
    for (const auto& [actual, expected] : texts) EXPECT_EQ(text(actual), expected);
}

TEST(HelpPages, WebAddressesAndTheMakersJapanesePage) {
    for (UiText page : {kTavroHomePage, kQuillmarSoftHomePage}) EXPECT_EQ(text(page).rfind(u"http://", 0), 0u);
    const std::u16string maker = text(kQuillmarSoftHomePage);
    EXPECT_EQ(maker.substr(maker.find(u'/', 7)), u"/japan/");
}

// 15 twips to the pixel.
TEST(SetTargetLayout, ControlsInPixels) {
    EXPECT_EQ(toPixels(set_target::kClient), (PixelRect{0, 0, 288, 74}));
    EXPECT_EQ(toPixels(set_target::txtTargetDate), (PixelRect{8, 8, 273, 18}));
    EXPECT_EQ(toPixels(set_target::OKButton), (PixelRect{24, 40, 81, 25}));
    EXPECT_EQ(toPixels(set_target::ClearButton), (PixelRect{112, 40, 81, 25}));
    EXPECT_EQ(toPixels(set_target::CancelButton), (PixelRect{200, 40, 81, 25}));
}

TEST(TwipsToPixels, RoundsToTheNearestPixel) {
    EXPECT_EQ(twipsToPixels(0), 0);
    EXPECT_EQ(twipsToPixels(7), 0);
    EXPECT_EQ(twipsToPixels(8), 1);
    EXPECT_EQ(twipsToPixels(15), 1);
    EXPECT_EQ(twipsToPixels(22), 1);
    EXPECT_EQ(twipsToPixels(23), 2);
    EXPECT_EQ(twipsToPixels(5654), 377);
}

}  // namespace
