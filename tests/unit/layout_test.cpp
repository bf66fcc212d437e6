#include "app/layout.h"

#include <gtest/gtest.h>

using namespace tavro::app;

TEST(ClockLayout, TheWindowSitsOnTheMosaicGridAtTheTopRight) {
    const WindowRect wide = clockWindowRect(1920, ViewCountdown);
    EXPECT_EQ(wide.left, 1460);
    EXPECT_EQ(wide.left + wide.width - 1, 1899);
    EXPECT_EQ(wide.top, 20);
    const WindowRect laptop = clockWindowRect(1366, ViewCountdown);
    EXPECT_EQ(laptop.left, 900);
    EXPECT_EQ(laptop.left + laptop.width - 1, 1339);
    EXPECT_EQ(1366 - (laptop.left + laptop.width), 26);
}

TEST(ClockLayout, ViewsDifferOnlyInHeight) {
    struct Case {
        long stored;
        int height;
    } cases[] = {{1, 80}, {2, 420}, {3, 580}, {0, 580}, {7, 580}, {-1, 580}};
    for (const Case& c : cases) {
        const WindowRect r = clockWindowRect(1920, viewModeFromStored(c.stored));
        EXPECT_EQ(r.height, c.height) << c.stored;
        EXPECT_EQ(r.width, 440);
        EXPECT_EQ(r.left, 1460);
    }
}
