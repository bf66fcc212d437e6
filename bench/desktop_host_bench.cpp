// The host rule as every tick and every shell event runs it: decide, then see whether the clock
// already hangs that way, on a 24H2 desktop with its utility windows and on a split one.
#include <benchmark/benchmark.h>

#include "desktop/desktop_host.h"

using namespace tavro::desktop;

namespace {

ShellWindow window(WindowId id, WindowId parent, ShellClass kind, int right = 1920, int bottom = 1080) {
    return {id, parent, kind, kind == ShellClass::Progman, true, false, 0, 0, right, bottom};
}

ShellSnapshot desktop24H2() {
    ShellSnapshot s;
    for (WindowId id = 10; id < 16; ++id) s.windows.push_back(window(id, 0, ShellClass::WorkerW, 136, 39));
    ShellWindow progman = window(1, 0, ShellClass::Progman);
    progman.noRedirectionBitmap = true;
    s.windows.push_back(progman);
    s.windows.push_back(window(99, 1, ShellClass::Other));
    s.windows.push_back(window(2, 1, ShellClass::DefView));
    s.windows.push_back(window(3, 1, ShellClass::WorkerW));
    s.clock = {99, 1, true, false, false, true, true};
    return s;
}

ShellSnapshot desktopSplit() {
    ShellSnapshot s;
    s.windows = {window(5, 0, ShellClass::WorkerW), window(6, 0, ShellClass::WorkerW), window(1, 0, ShellClass::Progman),
                 window(99, 5, ShellClass::Other), window(2, 5, ShellClass::DefView)};
    s.clock = {99, 5, true, false, true, false, false};
    return s;
}

void run(benchmark::State& state, const ShellSnapshot& s) {
    for (auto _ : state) {
        const Attachment a = decideHost(s);
        benchmark::DoNotOptimize(a);
        bool holds = attachmentHolds(s, a);
        benchmark::DoNotOptimize(holds);
    }
}

void BM_HostRule24H2(benchmark::State& state) { run(state, desktop24H2()); }
void BM_HostRuleSplit(benchmark::State& state) { run(state, desktopSplit()); }

}  // namespace

BENCHMARK(BM_HostRule24H2);
BENCHMARK(BM_HostRuleSplit);
