// The 暦 window's month model: built anew at every page, so its cost is a page's whole work
// before the controls take the texts (the aim is 200 µs).
#include <benchmark/benchmark.h>

#include "almanac_window/almanac_month.h"

namespace {

// Months across the range, each with its holidays from the act's rules and its old calendar.
void BM_AlmanacMonth(benchmark::State& state) {
    tavro::holidays::FeedOrComputedHolidays holidays;
    const tavro::datetime::DateValue today = tavro::datetime::makeDate(2027, 3, 15);
    int i = 0;
    for (auto _ : state) {
        const int year = 1900 + (i * 7) % 201;
        const int month = 1 + i % 12;
        benchmark::DoNotOptimize(tavro::almanac_window::buildAlmanacMonth(year, month, today, holidays));
        ++i;
    }
}
BENCHMARK(BM_AlmanacMonth)->Unit(benchmark::kMicrosecond);

}  // namespace
