#!/usr/bin/env bash
# Installs what is missing, builds the four presets and runs every test: native unit tests, the
# same under the sanitizers, the fuzzers, the Windows-side tests under Wine, the downloads built
# again in a clone, the end-to-end tests.
#
# The end-to-end tests mostly wait on Wine, and the rest (the native build and its tests, the
# Windows-side tests, the i686 build, which nothing runs here, the sanitizer build, the fuzzers,
# the clone's build) goes on beside them at the lowest priority, where it takes the idle time and
# not theirs.
# The end-to-end tests run in TAVRO_E2E_WORKERS workers (two unless set), each with displays and a
# Wine prefix of its own, each test once: they wait on what the clock shows, not on the time a
# loaded machine takes.
set -uo pipefail
cd "$(dirname "$0")/.."
started=$SECONDS
tools/install_deps.sh || exit 1
. tools/wine_env.sh
prepare_wine_prefix & prefix_made=$!  # a new prefix mostly waits on Wine itself: beside the build
cmake --preset win64 >/dev/null && cmake --build --preset win64 -j2 || { echo "build failed"; exit 1; }

passed=0; failed=0
record() { if [ "$2" -eq 0 ]; then passed=$((passed + 1)); echo "SUITE PASSED: $1"; else failed=$((failed + 1)); echo "SUITE FAILED: $1"; fi; }
names=(); pids=()
beside() {  # name, command: runs at the lowest priority into build/<name>.log
  local log="build/${1// /_}.log"
  names+=("$1"); shift
  nice -n 19 "$@" >"$log" 2>&1 &
  pids+=($!)
}

# The end-to-end tests install what a user downloads: the installer and the zip in build/dist.
tools/package.sh >/dev/null; record "installer and zip (tools/package.sh)" $?
beside "native build and unit tests" bash -c 'cmake --preset native >/dev/null && cmake --build --preset native -j2 &&
  cd build/native && ctest --output-on-failure -j2'
beside "the downloads again from a clone" /usr/bin/python3 -m pytest -q -p no:cacheprovider tests/package -k 'not load_configuration'
beside "i686 build, load configuration of both exes" bash -c 'cmake --preset win32 >/dev/null &&
  cmake --build --preset win32 -j2 --target tavroclock && /usr/bin/python3 -m pytest -q -p no:cacheprovider tests/package -k load_configuration'
# The sanitizer build is shared with the fuzzers: one of the two builds it at a time.
beside "sanitizer build and unit tests (AddressSanitizer, UndefinedBehaviorSanitizer)" bash -c 'mkdir -p build &&
  flock build/asan.lock sh -c "cmake --preset asan >/dev/null && cmake --build --preset asan -j2" && build/asan/unit_tests --gtest_brief=1'
beside "feed scan fuzzing" tools/run_fuzz.sh
beside "Windows-side tests under Wine" tools/run_win_tests.sh
wait "$prefix_made"
# The whole report in build/e2e.log: the tail shows the summary, the log each failure's assertion.
timeout 2400 /usr/bin/python3 -m pytest -q -p no:cacheprovider -n "${TAVRO_E2E_WORKERS:-2}" --durations=12 tests/e2e 2>&1 |
  tee build/e2e.log | tail -40
record "end-to-end tests under Xvfb and Wine" "${PIPESTATUS[0]}"

for i in "${!pids[@]}"; do
  wait "${pids[$i]}"; status=$?
  tail -5 "build/${names[$i]// /_}.log"
  record "${names[$i]}" "$status"
done

echo "total time: $(( (SECONDS - started) / 60 )) min $(( (SECONDS - started) % 60 )) s"
echo "suites: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
