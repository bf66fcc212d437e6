// The place rule as each start, display change and drop runs it: a stored place on the second
// of three monitors, and one whose monitor is gone (found by neither name nor rectangle).
#include <benchmark/benchmark.h>

#include <vector>

#include "desktop/clock_place.h"

using namespace tavro::desktop;

namespace {

const std::vector<MonitorInfo> kMonitors{
    {L"\\\\.\\DISPLAY1", {0, 0, 2560, 1440}, {0, 0, 2560, 1392}, 144, true},
    {L"\\\\.\\DISPLAY2", {-1920, -200, 0, 880}, {-1920, -200, 0, 880}, 96, false},
    {L"\\\\.\\DISPLAY3", {2560, 0, 4480, 1080}, {2560, 0, 4480, 1040}, 120, false},
};

void run(benchmark::State& state, const StoredPlace& place) {
    const std::optional<StoredPlace> stored = place;
    for (auto _ : state) {
        ClockPlacement p = placeClock(stored, kMonitors, 440, 580, {2040, 30, 2700, 900});
        benchmark::DoNotOptimize(p);
    }
}

void BM_PlaceOnItsMonitor(benchmark::State& state) {
    run(state, {L"\\\\.\\DISPLAY2", {-1920, -200, 0, 880}, 2, 10, 20});
}
void BM_PlaceMonitorGone(benchmark::State& state) { run(state, {L"\\\\.\\DISPLAY7", {9000, 0, 9100, 100}, 2, 10, 20}); }
void BM_PlaceOfDrop(benchmark::State& state) {
    for (auto _ : state) {
        auto p = placeOfRect({-1900, 280, -1460, 860}, kMonitors);
        benchmark::DoNotOptimize(p);
    }
}

}  // namespace

BENCHMARK(BM_PlaceOnItsMonitor);
BENCHMARK(BM_PlaceMonitorGone);
BENCHMARK(BM_PlaceOfDrop);
