// The about box's version line: major.minor.revision of the four-part version, plain decimal.
#include "dialogs/about_texts.h"

#include <gtest/gtest.h>

#include <string>

TEST(VersionText, MajorMinorAndRevisionInDecimal) {
    using tavro::dialogs::versionText;
    const auto text = [](const auto& s) { return std::u16string(s.begin(), s.end()); };
    EXPECT_EQ(text(versionText(1, 0, 23)), u"Version 1.0.23");
    EXPECT_EQ(text(versionText(0, 0, 0)), u"Version 0.0.0");
    EXPECT_EQ(text(versionText(10, 5, 65535)), u"Version 10.5.65535");
}
