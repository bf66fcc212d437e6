// The clock's place and size at the usual scalings and the user's sizes on top of them, the
// conversion into a parent's client coordinates, and the painter's damaged rectangles.
#include "app/layout.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <utility>

#include "app/canvas_clock_painter.h"

using namespace tavro;
using namespace tavro::app;

TEST(ClockLayout, PlaceAndSizeFollowTheDpiAndTheParent) {
    struct Case { int dpi, screenWidth; long stored; WindowRect rect; int size = 100; } cases[] = {
        // Any stored view but 1 and 2 is the full countdown panel (each view's height, 144 and 192
        // DPI at 1920 wide: the end-to-end menu and display tests).
        {96, 1920, 7, {1460, 20, 440, 580}},
        {96, 1366, 3, {900, 20, 440, 580}},    {96, 1600, 3, {1140, 20, 440, 580}},  // the grid ends on a whole cell
        {120, 1366, 1, {775, 25, 550, 100}},   {144, 1920, 2, {1230, 30, 660, 630}},
        {192, 3840, 1, {2920, 40, 880, 160}},  {0, 1920, 3, {1460, 20, 440, 580}},  // no dpi: 96
        // Sizes: cells of 40 * dpi / 192 * size / 100 px, the 100 % clock's top right corner kept (± a half pixel).
        {96, 1920, 3, {1570, 20, 330, 435}, 75},    {96, 1920, 3, {1350, 20, 550, 725}, 125},
        {96, 1920, 3, {1240, 20, 660, 870}, 150},   {96, 1920, 1, {1020, 20, 880, 160}, 200},  // 1:1 pictures
        {120, 1366, 1, {638, 25, 688, 125}, 125},   {144, 1920, 2, {900, 30, 990, 945}, 150},
        {192, 3840, 3, {3140, 40, 660, 870}, 75},   {192, 3840, 1, {2040, 40, 1760, 320}, 200},
    };
    for (const Case& c : cases) {
        const float scale = drawScaleForDpi(c.dpi);
        EXPECT_EQ(clockWindowRect(0, 0, c.screenWidth, viewModeFromStored(c.stored), scale, c.size), c.rect)
            << c.dpi << " dpi, " << c.screenWidth << " wide, view " << c.stored << ", " << c.size << " %";
        // The canvas at that size is the window's.
        EXPECT_EQ(cellsToPixels(drawScaleForDpi(c.dpi, c.size), kPanelCells), c.rect.width) << c.dpi << " " << c.size;
    }
    // Into the parent's client coordinates: a parent spanning monitors left and above, one inside the screen.
    for (auto [clientLeft, clientTop, left, top] : {std::tuple{-1280, -1024, 2740, 1044}, {100, 50, 1360, -30}})
        EXPECT_EQ(toParentClient(clockWindowRect(0, 0, 1920, ViewCountdown, 0.5f), clientLeft, clientTop),
                  (WindowRect{left, top, 440, 580})) << clientLeft << "," << clientTop;
    EXPECT_EQ(clockWindowRect(-1920, 0, 1920, ViewCountdown, 0.5f).left, -460) << "a primary monitor not at 0";
}

namespace {
// Every sheet pixel one grey, the canvas another: every pixel a drawing covers changes, the
// OR-copied decimal point too.
constexpr render::Pixel kSheetGrey = 0x808080, kBackground = 0x010203;

render::PixelBounds changedPixels(const render::Image& image) {
    render::PixelBounds b;
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x)
            if (image.at(x, y) != kBackground) b.add({true, x, y, x + 1, y + 1});
    return b;
}
}  // namespace

TEST(ClockPainter, ARedrawnFieldMarksExactlyThePixelsItChanged) {
    const render::Image sheet(640, 640, kSheetGrey);
    struct Case { float scale, x, y; const wchar_t *fieldTemplate, *text; render::PixelBounds bounds; } cases[] = {
        {0.5f, 1, 1, L"0000", L"2009", {true, 20, 34, 99, 66}},
        {0.5f, 18, 26, L"00", L"", {true, 360, 534, 399, 566}},
        {0.5f, 6, 26, L"↓ZZZ0", L"-12", {true, 120, 534, 219, 566}},
        {0.5f, 2.5f, 4.75f, L"Z0", L"7", {true, 50, 109, 89, 141}},
        {0.5f, 3, 3, L"0.00", L"1.5", {true, 60, 74, 119, 106}},  // the point reaches left of its pen
        {0.625f, 1, 1, L"0000", L"2009", {true, 25, 42, 124, 82}},
        {0.75f, 6, 26, L"↓ZZZ0", L"5", {true, 180, 801, 329, 849}},
        {1.0f, 1, 1, L"0000", L"2009", {true, 41, 68, 199, 132}},
    };
    for (const Case& c : cases) {
        render::Image image(cellsToPixels(c.scale, kPanelCells), cellsToPixels(c.scale, kFullPanelRows), kBackground);
        render::Canvas canvas = image.canvas();
        CanvasClockPainter painter(canvas, sheet, c.scale, nullptr);
        painter.draw7seg(c.x, c.y, c.fieldTemplate, c.text, 6);
        const render::PixelBounds marked = painter.takeDirty();
        EXPECT_EQ(marked, changedPixels(image)) << c.scale << " " << c.x << "," << c.y;
        EXPECT_EQ(marked, c.bounds) << c.scale << " " << c.x << "," << c.y;
        EXPECT_FALSE(painter.takeDirty().any) << "taken once";
    }
    // Far away nothing is drawn.
    render::Image image(440, 580, kBackground);
    render::Canvas canvas = image.canvas();
    for (float far : {1e6f, -1e6f})
        EXPECT_FALSE(render::draw7seg(canvas, sheet, 0.5f, far, 1, L"00", L"12", 6).any ||
                     render::draw7seg(canvas, sheet, 0.5f, 1, far, L"00", L"12", 6).any);
    EXPECT_FALSE(changedPixels(image).any);
}
