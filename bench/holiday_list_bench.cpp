// The Cabinet Office's holiday list: checking and parsing the whole file (the clock does it at
// start for the cached copy and for each download), and the heap the checked list keeps.
#include <benchmark/benchmark.h>

#include <malloc.h>

#include <memory>
#include <string>

#include "../tools/native/holiday_list_native.h"
#include "holidays/holiday_days.h"
#include "holidays/holiday_list.h"

using namespace tavro;

namespace {
const std::string& listBytes() { return native::officialListBytes(); }
}  // namespace

static void CheckAndParseTheWholeList(benchmark::State& s) {
    for (auto _ : s) {
        auto list = holidays::checkHolidayList(listBytes(), 2027, native::decodeCp932);
        if (!list) s.SkipWithError("the list was rejected");
        benchmark::DoNotOptimize(list);
    }
    s.SetBytesProcessed(static_cast<int64_t>(s.iterations() * listBytes().size()));
}
BENCHMARK(CheckAndParseTheWholeList)->Unit(benchmark::kMicrosecond);

// A hostile list that keeps every other rule: 1955 through 2027, a row every second day, each
// with a name of its own (13,332 names in 228 KB). The check is timed whether it takes the
// list or refuses it; "days_kept" is 0 when it refuses it.
static void CheckAListOfThousandsOfNames(benchmark::State& s) {
    static const std::string bytes = [] {
        std::string list(listBytes().substr(0, listBytes().find("\r\n") + 2));  // the header
        int n = 0;
        for (int64_t day = datetime::daysFromCivil(1955, 1, 1); day <= datetime::daysFromCivil(2027, 12, 31); day += 2) {
            const datetime::CivilDate d = datetime::civilFromDays(day);
            list += std::to_string(d.year) + "/" + std::to_string(d.month) + "/" + std::to_string(d.day) + ",n" +
                    std::to_string(++n) + "\r\n";
        }
        return list;
    }();
    std::size_t kept = 0;
    for (auto _ : s) {
        auto list = holidays::checkHolidayList(bytes, 2027, native::decodeCp932);
        kept = list ? list->size() : 0;
        benchmark::DoNotOptimize(list);
    }
    s.counters["days_kept"] = static_cast<double>(kept);
    s.counters["list_file_bytes"] = static_cast<double>(bytes.size());
}
BENCHMARK(CheckAListOfThousandsOfNames)->Unit(benchmark::kMillisecond);

// What stays on the heap while the clock holds the list as the calendar's source: the
// allocator's bytes in use (mallinfo2) with the list and without, the file's bytes freed. Each
// iteration is one more download taken, so a leak per download would show as growth.
static void HeapKeptByTheList(benchmark::State& s) {
    holidays::FeedOrComputedHolidays sources;
    sources.selectMonth(datetime::makeDate(2026, 12, 1));
    // Neither the file nor iconv's first-use tables (Windows decodes in the system) are what the clock keeps.
    holidays::checkHolidayList(listBytes(), 2027, native::decodeCp932);
    const std::size_t before = mallinfo2().uordblks;
    std::size_t afterFirst = 0, afterLast = 0;
    for (auto _ : s) {
        {
            std::string bytes = listBytes();  // as the download hands it over, then freed
            auto list = holidays::checkHolidayList(bytes, 2027, native::decodeCp932);
            sources.takeList(std::make_shared<const holidays::HolidayList>(std::move(*list)));
        }
        afterLast = mallinfo2().uordblks - before;
        if (afterFirst == 0) afterFirst = afterLast;
    }
    s.counters["kept_bytes_first"] = static_cast<double>(afterFirst);
    s.counters["kept_bytes_last"] = static_cast<double>(afterLast);
    s.counters["list_file_bytes"] = static_cast<double>(listBytes().size());
}
BENCHMARK(HeapKeptByTheList)->Unit(benchmark::kMicrosecond)->Iterations(100);
