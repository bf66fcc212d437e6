// The about box's version line and its layout in pixels.
#include "dialogs/about_texts.h"

#include <gtest/gtest.h>

#include <string>

using namespace tavro;
using namespace tavro::dialogs;

namespace {

std::u16string text(const std::basic_string<UiChar>& s) { return {s.begin(), s.end()}; }

TEST(VersionText, MajorMinorAndRevisionOfTheFourPartVersion) {
    // 1.0.0.23: the build part (0) is not shown.
    EXPECT_EQ(text(versionText(1, 0, 23)), u"Version 1.0.23");
}

TEST(VersionText, PartsAreDecimalWithoutLeadingZeros) {
    EXPECT_EQ(text(versionText(0, 0, 0)), u"Version 0.0.0");
    EXPECT_EQ(text(versionText(10, 5, 100)), u"Version 10.5.100");
    EXPECT_EQ(text(versionText(65535, 65535, 65535)), u"Version 65535.65535.65535");
}

// 15 twips to the pixel, to the nearest pixel.
TEST(AboutLayout, ControlsInPixels) {
    EXPECT_EQ(toPixels(about::kClient), (PixelRect{0, 0, 382, 237}));
    EXPECT_EQ(toPixels(about::picIcon), (PixelRect{16, 16, 16, 16}));
    EXPECT_EQ(toPixels(about::lblTitle), (PixelRect{70, 16, 259, 32}));
    EXPECT_EQ(toPixels(about::lblVersion), (PixelRect{70, 52, 259, 15}));
    EXPECT_EQ(toPixels(about::lblDescription), (PixelRect{70, 75, 259, 78}));
    EXPECT_EQ(toPixels(about::lblDisclaimer), (PixelRect{17, 175, 258, 55}));
    EXPECT_EQ(toPixels(about::cmdOK), (PixelRect{283, 175, 92, 23}));
    EXPECT_EQ(toPixels(about::cmdSysInfo), (PixelRect{284, 205, 92, 23}));
}

// 5654 twips is 376.9 pixels: both lines run up to and including column 376.
TEST(AboutLayout, SeparatorBands) {
    EXPECT_EQ(toPixels(about::kGreyLine), (PixelBand{6, 163, 377, 164}));
    EXPECT_EQ(toPixels(about::kWhiteLine), (PixelBand{7, 164, 377, 166}));
}

}  // namespace
