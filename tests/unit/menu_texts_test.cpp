// Which view each menu command switches to, which view item the menu checks, twips to pixels and
// the about box's version line.
#include "app/menu_texts.h"
#include "dialogs/about_texts.h"
#include "dialogs/dialog_texts.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

using namespace tavro::app;
using namespace tavro::dialogs;

TEST(ViewItems, EachViewItemSwitchesToItsViewWhichChecksIt) {
    const std::pair<int, unsigned> rows[] = {{1, mnuViewClock}, {2, mnuViewClockCalender}, {3, mnuViewCountdown}};
    for (const auto& [view, item] : rows) {
        EXPECT_EQ(viewModeForCommand(item), view);
        EXPECT_EQ(checkedViewItem(view), item);
    }
    // Any other stored view is the countdown view, as at start-up; other commands switch nothing.
    for (int stored : {0, -1, 4, 7, 1 << 30}) EXPECT_EQ(checkedViewItem(stored), mnuViewCountdown) << stored;
    for (unsigned other : {0u, unsigned(mnuCountdownSetting), unsigned(mnuAbout), unsigned(mnuExit), 9999u})
        EXPECT_EQ(viewModeForCommand(other), 0) << other;
}

TEST(TwipsToPixels, FifteenToThePixelRoundedToTheNearest) {
    const std::pair<int, int> rows[] = {{0, 0}, {7, 0}, {8, 1}, {15, 1}, {22, 1}, {23, 2}, {5654, 377}};
    for (const auto& [twips, pixels] : rows) EXPECT_EQ(twipsToPixels(twips), pixels) << twips;
}

TEST(VersionText, MajorMinorAndRevisionInDecimal) {
    const auto text = [](const auto& s) { return std::u16string(s.begin(), s.end()); };
    EXPECT_EQ(text(versionText(1, 0, 23)), u"Version 1.0.23");
    EXPECT_EQ(text(versionText(10, 5, 65535)), u"Version 10.5.65535");
}
