// Costs of the notes of the days: a month of them on top of the month model (computed once per
// month shown), and 「次の…」 searches, through the whole of 1900 to 2100 at worst.
#include <benchmark/benchmark.h>

#include <vector>

#include "almanac/day_notes.h"
#include "almanac/note_search.h"
#include "datetime/date_value.h"

using namespace tavro::almanac;

namespace {

struct Month {
    int year, month;
    MonthAlmanac almanac;
};

// Months across the range, every calendar month among them; their month models made beforehand.
const std::vector<Month>& sampleMonths() {
    static const std::vector<Month> months = [] {
        std::vector<Month> out;
        for (int i = 0; i < 240; ++i) {
            const int year = 1900 + (i * 7) % 201, month = 1 + i % 12;
            out.push_back({year, month, MonthAlmanac::forMonth(year, month)});
        }
        return out;
    }();
    return months;
}

void BM_MonthNotesOnTopOfTheMonthModel(benchmark::State& state) {
    const auto& months = sampleMonths();
    size_t i = 0;
    for (auto _ : state) {
        const Month& m = months[i++ % months.size()];
        benchmark::DoNotOptimize(MonthNotes::forMonth(m.year, m.month, m.almanac));
    }
}
BENCHMARK(BM_MonthNotesOnTopOfTheMonthModel)->Unit(benchmark::kMicrosecond);

// One search that walks the whole range: a holiday test that never answers yes.
void BM_SearchFindingNothingFrom1900To2100(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            findDay(DayKind::Holiday, firstSearchDay() - 1, SearchDirection::Next, [](int64_t) { return false; }));
    }
}
BENCHMARK(BM_SearchFindingNothingFrom1900To2100)->Unit(benchmark::kMillisecond);

// Every day of the kind from 1900 to 2100, one search after the other: what a search across the
// whole range would cost for a kind that is astronomy, not arithmetic.
void BM_EveryDayOfAKindFrom1900To2100(benchmark::State& state) {
    const auto kind = static_cast<DayKind>(state.range(0));
    int64_t found = 0;
    for (auto _ : state) {
        DaySearch search;
        found = 0;
        for (auto day = search.find(kind, firstSearchDay() - 1, SearchDirection::Next); day;
             day = search.find(kind, *day, SearchDirection::Next))
            ++found;
    }
    state.counters["days"] = static_cast<double>(found);
}
BENCHMARK(BM_EveryDayOfAKindFrom1900To2100)->DenseRange(0, kDayKindCount - 2)->Unit(benchmark::kMillisecond);

// A single 「次の…」 from scattered days, nothing kept from the last one.
void BM_FindNextFromAnywhere(benchmark::State& state) {
    const auto kind = static_cast<DayKind>(state.range(0));
    int i = 0;
    for (auto _ : state) {
        const int64_t from = firstSearchDay() + (static_cast<int64_t>(i++) * 7919) % 73000;
        benchmark::DoNotOptimize(findDay(kind, from, SearchDirection::Next));
    }
}
BENCHMARK(BM_FindNextFromAnywhere)->DenseRange(0, kDayKindCount - 2)->Unit(benchmark::kMicrosecond);

}  // namespace
