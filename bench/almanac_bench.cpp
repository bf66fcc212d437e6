// Costs of the old calendar: computing one civil month (new moons, terms, month numbers), done
// once per month shown, and one day's tooltip text afterwards, made per hover.
#include <benchmark/benchmark.h>

#include "almanac/month_almanac.h"
#include "calendar/day_texts.h"

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

// The whole text, holiday name included, cell by cell over a month with a leap month and a term.
void BM_DayTooltipText(benchmark::State& state) {
    const tavro::datetime::DateValue december = tavro::datetime::makeDate(2033, 12, 1);
    tavro::holidays::FeedOrComputedHolidays holidays;
    holidays.selectMonth(december);
    tavro::calendar::CalendarDayTexts texts;
    texts.showMonth(december);
    int cell = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(texts.forCell(cell % 7, cell / 7 % 6, holidays));
        ++cell;
    }
}
BENCHMARK(BM_DayTooltipText)->Unit(benchmark::kNanosecond);

}  // namespace
