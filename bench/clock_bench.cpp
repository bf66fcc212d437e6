// Costs of the clock's drawing: a tick inside the same second, a tick that redraws every field,
// the month calendar without the feed, a full redraw of the panels, and the start-up (desktop
// picture, panels, first tick), at 96 DPI on 1920 x 1080 and at 200 % on 3840 x 2160.
#include <benchmark/benchmark.h>

#include <map>
#include <string>

#include "app/canvas_clock_painter.h"
#include "app/clock_tick.h"
#include "app/layout.h"
#include "app/static_panels.h"
#include "calendar/month_calendar.h"
#include "holidays/holiday_days.h"
#include "render/bmp.h"
#include "render/frames.h"
#include "render/text.h"

using namespace tavro;

namespace {
const render::Image& picture(const char* name) {
    static std::map<std::string, render::Image> cache;
    auto it = cache.find(name);
    if (it == cache.end()) {
        const std::string path = std::string(TAVRO_SOURCE_DIR) + "/pictures/" + name;
        it = cache.emplace(name, render::readBmpFile(path.c_str()).value_or(render::Image(640, 640))).first;
    }
    return it->second;
}

struct Panel {
    explicit Panel(float scale = 0.5f) : drawScale(scale) {}
    float drawScale;
    render::Image image{app::cellsToPixels(drawScale, app::kPanelCells), app::cellsToPixels(drawScale, app::kFullPanelRows)};
    render::Canvas canvas = image.canvas();
    app::CanvasClockPainter painter{canvas, picture("seven_segment.bmp"), drawScale, nullptr};
    app::ClockState state;
};

// Labels as solid blocks: the halo's pixel work is what costs, not the font.
struct BlockGlyphs : render::GlyphRasterizer {
    void drawGlyph(render::Canvas& c, int x, int y, wchar_t ch, int h, render::ColorRef colour) override {
        if (ch == L'\u3000') return;
        for (int j = 0; j < h; ++j)
            for (int i = 0; i < h / 2; ++i) c.setPixel(x + i, y + j, colour);
    }
};

const datetime::DateValue kNow = datetime::makeDateTime({2009, 2, 1, 12, 0, 0});
}  // namespace

static void TickWithinTheSameSecond(benchmark::State& s) {
    Panel p;
    app::startClock(p.state, kNow + 1, kNow, p.painter);
    for (auto _ : s) app::tim10ms_Timer(p.state, kNow, kNow + 1, p.painter);
}
BENCHMARK(TickWithinTheSameSecond);

static void TickOfANewSecond(benchmark::State& s) {
    Panel p;
    app::startClock(p.state, kNow + 1, kNow, p.painter);
    double t = kNow;
    for (auto _ : s) app::tim10ms_Timer(p.state, t += 1.0 / 86400, kNow + 1, p.painter);
}
BENCHMARK(TickOfANewSecond);

// Every field drawn anew, as after a change of the display; the argument is the DPI.
static void FullRedraw(benchmark::State& s) {
    Panel p(app::drawScaleForDpi(static_cast<int>(s.range(0))));
    for (auto _ : s) {
        p.state = {};
        app::startClock(p.state, kNow + 1, kNow, p.painter);
    }
}
BENCHMARK(FullRedraw)->Arg(96)->Arg(192)->Unit(benchmark::kMicrosecond);

// Start-up's drawing: the desktop picture with the logo, the panels' static parts, the first
// tick. Arguments: screen width, height, DPI.
static void StartUp(benchmark::State& s) {
    const int width = static_cast<int>(s.range(0)), height = static_cast<int>(s.range(1));
    const float scale = app::drawScaleForDpi(static_cast<int>(s.range(2)));
    BlockGlyphs glyphs;
    for (auto _ : s) {
        render::Image screen(width, height);
        render::Canvas sc = screen.canvas();
        render::paddingMosaic(sc, picture("mosaic_tile.bmp"), scale);
        render::composeLogo(sc, picture("logo.bmp"), width, height);
        Panel p(scale);
        for (int y = 0; y < p.canvas.height; ++y)
            for (int x = 0; x < p.canvas.width; ++x) p.canvas.at(x, y) = screen.at(x, y);
        app::drawStaticPanels(p.canvas, picture("frame.bmp"), glyphs, scale);
        app::startClock(p.state, kNow + 1, kNow, p.painter);
        benchmark::DoNotOptimize(p.image.pixels.data());
    }
}
BENCHMARK(StartUp)->Args({1920, 1080, 96})->Args({3840, 2160, 192})->Unit(benchmark::kMillisecond);

static void MonthCalendarWithComputedHolidays(benchmark::State& s) {
    Panel p;
    holidays::FeedOrComputedHolidays days;  // no feed answer yet: the computed holidays
    const datetime::DateValue may = datetime::makeDateTime({2019, 5, 1, 12, 0, 0});
    for (auto _ : s) calendar::drawCalender(p.painter, may, days);
}
BENCHMARK(MonthCalendarWithComputedHolidays);

static void PaddingMosaic(benchmark::State& s) {
    render::Image screen(static_cast<int>(s.range(0)), static_cast<int>(s.range(1)));
    render::Canvas c = screen.canvas();
    const float scale = app::drawScaleForDpi(static_cast<int>(s.range(2)));
    for (auto _ : s) render::paddingMosaic(c, picture("mosaic_tile.bmp"), scale);
}
BENCHMARK(PaddingMosaic)->Args({1920, 1080, 96})->Args({3840, 2160, 96})->Args({3840, 2160, 192})->Unit(benchmark::kMillisecond);
