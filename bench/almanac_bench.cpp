// Costs of the old calendar: computing one civil month (new moons, terms, month numbers), done
// once per month shown, and asking for one day afterwards, done per hover.
#include <benchmark/benchmark.h>

#include "almanac/month_almanac.h"

using namespace tavro::almanac;

namespace {

// Months across the range, December and November included (they reach into the next lunar year).
void BM_MonthAlmanacForMonth(benchmark::State& state) {
    int i = 0;
    for (auto _ : state) {
        const int year = 1900 + (i * 7) % 201;
        const int month = 1 + i % 12;
        benchmark::DoNotOptimize(MonthAlmanac::forMonth(year, month));
        ++i;
    }
}
BENCHMARK(BM_MonthAlmanacForMonth)->Unit(benchmark::kMicrosecond);

void BM_AlmanacDayLookup(benchmark::State& state) {
    const MonthAlmanac almanac = MonthAlmanac::forMonth(2033, 12);
    int d = 0;
    for (auto _ : state) {
        const auto day = almanac.day(1 + d % 31);
        benchmark::DoNotOptimize(rokuyoName(day->rokuyo));
        benchmark::DoNotOptimize(solarTermName(day->solarTerm));
        ++d;
    }
}
BENCHMARK(BM_AlmanacDayLookup)->Unit(benchmark::kNanosecond);

}  // namespace
