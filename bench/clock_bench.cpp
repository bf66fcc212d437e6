// Costs of the clock's drawing: a tick inside the same second, a tick that redraws every field,
// the month calendar without the feed, and the start-up mosaic on two screen sizes.
#include <benchmark/benchmark.h>

#include <map>
#include <string>

#include "app/canvas_clock_painter.h"
#include "app/clock_tick.h"
#include "app/layout.h"
#include "app/month_calendar.h"
#include "holidays/holiday_days.h"
#include "render/bmp.h"
#include "render/frames.h"

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
    render::Image image{app::kPanelWidth, app::kFullPanelRows * app::kCellPixels};
    render::Canvas canvas = image.canvas();
    app::CanvasClockPainter painter{canvas, picture("seven_segment.bmp"), nullptr};
    app::ClockState state;
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

static void FullRedraw(benchmark::State& s) {
    Panel p;
    for (auto _ : s) {
        p.state = {};
        app::startClock(p.state, kNow + 1, kNow, p.painter);
    }
}
BENCHMARK(FullRedraw);

static void MonthCalendarWithComputedHolidays(benchmark::State& s) {
    Panel p;
    holidays::FeedOrComputedHolidays days;  // no feed answer yet: the computed holidays
    const datetime::DateValue may = datetime::makeDateTime({2019, 5, 1, 12, 0, 0});
    for (auto _ : s) app::drawCalender(p.painter, may, days);
}
BENCHMARK(MonthCalendarWithComputedHolidays);

static void PaddingMosaic(benchmark::State& s) {
    render::Image screen(static_cast<int>(s.range(0)), static_cast<int>(s.range(1)));
    render::Canvas c = screen.canvas();
    for (auto _ : s) render::paddingMosaic(c, picture("mosaic_tile.bmp"), app::drawScale);
}
BENCHMARK(PaddingMosaic)->Args({1920, 1080})->Args({3840, 2160})->Unit(benchmark::kMillisecond);
