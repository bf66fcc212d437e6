// The clock's place among the monitors: the stored place back on screen, and a drag's snapping
// (the place a drop stores is read back in the end-to-end tests). The clock is 440 x 580 at 96 DPI.
#include "desktop/clock_place.h"

#include <gtest/gtest.h>

#include <vector>

using namespace tavro::desktop;

namespace {

// The primary with a 40 px task bar at the bottom; one monitor left of and above it; one right
// of it at 144 DPI.
const MonitorInfo kPrimary{L"\\\\.\\DISPLAY1", {0, 0, 1920, 1080}, {0, 0, 1920, 1040}, 96, true};
const MonitorInfo kLeftAbove{L"\\\\.\\DISPLAY2", {-1280, -1024, 0, 0}, {-1280, -1024, 0, 0}, 96, false};
const MonitorInfo kRight144{L"\\\\.\\DISPLAY3", {1920, 0, 4480, 1440}, {1920, 0, 4480, 1440}, 144, false};
const std::vector<MonitorInfo> kAll{kLeftAbove, kPrimary, kRight144};
const ScreenRect kDefault{1460, 20, 1900, 600};

StoredPlace at(const MonitorInfo& m, Corner corner, int x, int y) {
    return {m.device, m.area, static_cast<int>(corner), x, y};
}
MonitorInfo changed(MonitorInfo m, ScreenRect area, ScreenRect work, int dpi) {
    m.area = area, m.work = work, m.dpi = dpi;
    return m;
}
StoredPlace renamed(StoredPlace p) { return p.device = L"\\\\.\\DISPLAY9", p; }

}  // namespace

TEST(ClockPlace, StoredPlaceComesBackWholeInsideAWorkArea) {
    const StoredPlace leftBottom = at(kLeftAbove, Corner::BottomLeft, 10, 20);
    struct Case { const char* name; std::optional<StoredPlace> stored; std::vector<MonitorInfo> monitors; ScreenRect rect; int dpi; } cases[] = {
        {"nothing stored", std::nullopt, kAll, kDefault, 96},
        {"top right", at(kPrimary, Corner::TopRight, 20, 20), kAll, kDefault, 96},
        {"bottom right, above the task bar", at(kPrimary, Corner::BottomRight, 0, 0), kAll, {1480, 460, 1920, 1040}, 96},
        {"bottom left of a monitor left of and above", leftBottom, kAll, {-1270, -600, -830, -20}, 96},
        {"top left at 144 DPI", at(kRight144, Corner::TopLeft, 10, 10), kAll, {1935, 15, 2595, 885}, 144},
        {"monitor gone: same corner on the primary", leftBottom, {kPrimary}, {10, 440, 450, 1020}, 96},
        {"monitor renamed, found by its rectangle", renamed(leftBottom), kAll, {-1270, -600, -830, -20}, 96},
        {"resolution changed", at(kPrimary, Corner::BottomRight, 0, 0),
         {changed(kPrimary, {0, 0, 1280, 720}, {0, 0, 1280, 680}, 96)}, {840, 100, 1280, 680}, 96},
        {"scaling changed", at(kPrimary, Corner::TopRight, 20, 20),
         {changed(kPrimary, {0, 0, 1920, 1080}, {0, 0, 1920, 1040}, 144)}, {1230, 30, 1890, 900}, 144},
        {"task bar moved to the top", at(kPrimary, Corner::TopRight, 20, 0),
         {changed(kPrimary, {0, 0, 1920, 1080}, {0, 60, 1920, 1080}, 96)}, {1460, 60, 1900, 640}, 96},
        {"the farthest distances: into the work area", at(kPrimary, Corner::BottomLeft, kMostPlaceDistance, kMostPlaceDistance), kAll, {1480, 0, 1920, 580}, 96},
        {"corner out of range", StoredPlace{kPrimary.device, kPrimary.area, 7, 0, 0}, kAll, kDefault, 96},
        {"negative distance", at(kPrimary, Corner::TopLeft, -5, 0), kAll, kDefault, 96},
        {"distance out of range", at(kPrimary, Corner::TopLeft, 0, 1000000), kAll, kDefault, 96},
        {"a DPI no monitor has", StoredPlace{kPrimary.device, kPrimary.area, 0, 0, 0, 0}, kAll, kDefault, 96},
        {"unknown monitor", StoredPlace{L"", {}, 3, 0, 0}, kAll, {1480, 460, 1920, 1040}, 96},
        {"no monitor known", leftBottom, {}, kDefault, 96},
    };
    for (const Case& c : cases) {
        const ClockPlacement p = placeClock(c.stored, c.monitors, 440, 580, kDefault);
        EXPECT_EQ(p.rect, c.rect) << c.name;
        EXPECT_EQ(p.dpi, c.dpi) << c.name;
    }
}

TEST(ClockPlace, ADropAtAnyScalingComesBackToTheVeryPixel) {
    for (const int dpi : {96, 120, 144, 168, 192}) {
        const std::vector<MonitorInfo> monitor{changed(kPrimary, {0, 0, 3840, 2160}, {0, 0, 3840, 2120}, dpi)};
        const int w = scaleTo(440, dpi), h = scaleTo(580, dpi);
        for (int d = 0; d < 40; ++d)
            for (const ScreenRect r : {ScreenRect{d, d + 1, d + w, d + 1 + h}, ScreenRect{3840 - d - w, 2120 - d - h, 3840 - d, 2120 - d}})
                EXPECT_EQ(placeClock(placeOfRect(r, monitor), monitor, 440, 580, kDefault).rect, r) << dpi << " " << d;
    }
    EXPECT_EQ(placeOfRect(kDefault, std::vector{changed(kPrimary, kPrimary.area, kPrimary.work, 0)})->dpi, 96);  // unknown: 96
}

TEST(ClockPlace, DragSnapsToTheWorkAreaOfTheMonitorUnderItsCentre) {
    struct Case { ScreenRect proposed, shown; } cases[] = {
        {{5, 300, 445, 880}, {0, 300, 440, 880}},           // 5 px off the left edge: onto it
        {{11, 300, 451, 880}, {11, 300, 451, 880}},         // 11 px: stays
        {{100, 600, 540, 1180}, {100, 460, 540, 1040}},     // over the task bar: above it
        {{1930, 14, 2370, 594}, {1920, 0, 2360, 580}},      // 144 DPI: within 15 px
        {{-300, -700, 140, -120}, {-440, -700, 0, -120}},   // mostly on the left monitor: whole there
    };
    for (const Case& c : cases) EXPECT_EQ(dragRect(c.proposed, kAll), c.shown) << c.proposed.left;
    const std::vector<MonitorInfo> stacked{changed(kLeftAbove, {0, -1080, 1920, 0}, {0, -1080, 1920, 0}, 96), kPrimary};
    for (int y : {0, 1}) EXPECT_EQ(monitorOf({100, y - 290, 540, y + 290}, stacked), 1) << y;  // centred just below one: the one under it
}
