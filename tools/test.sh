#!/usr/bin/env bash
# Installs what is missing, builds all three presets and runs every test:
# native unit tests, the fuzzer, the Windows-side tests under Wine, the end-to-end tests.
set -uo pipefail
cd "$(dirname "$0")/.."
started=$SECONDS
tools/install_deps.sh || exit 1
tools/build_all.sh || { echo "build failed"; exit 1; }

passed=0; failed=0
record() { if [ "$2" -eq 0 ]; then passed=$((passed + 1)); echo "SUITE PASSED: $1"; else failed=$((failed + 1)); echo "SUITE FAILED: $1"; fi; }

(cd build/native && ctest --output-on-failure -j2 2>&1 | tail -25); record "native unit tests" "${PIPESTATUS[0]}"

if [ -x tools/run_fuzz.sh ]; then tools/run_fuzz.sh; record "feed scan fuzzing" $?; fi

. tools/wine_env.sh
prepare_wine_prefix
if [ -f build/win64/win_tests.exe ]; then
  # The dialog, menu and desktop tests make real windows: they need a display.
  win_display="${TAVRO_WIN_TEST_DISPLAY:-:92}"
  Xvfb "$win_display" -screen 0 1920x1080x24 -nolisten tcp >/dev/null 2>&1 &
  win_xvfb=$!
  for _ in $(seq 100); do DISPLAY="$win_display" xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
  DISPLAY="$win_display" timeout 900 wine build/win64/win_tests.exe --gtest_color=no 2>&1 | tail -40
  record "Windows-side tests under Wine" "${PIPESTATUS[0]}"
  wineserver -k 2>/dev/null || true
  kill "$win_xvfb" 2>/dev/null || true
fi
wineserver -k 2>/dev/null || true

# The end-to-end tests install what a user downloads: the installer and the zip in build/dist.
tools/package.sh >/dev/null; record "installer and zip (tools/package.sh)" $?

timeout 2400 /usr/bin/python3 -m pytest -q -p no:cacheprovider tests/e2e 2>&1 | tail -40
record "end-to-end tests under Xvfb and Wine" "${PIPESTATUS[0]}"

echo "total time: $(( (SECONDS - started) / 60 )) min $(( (SECONDS - started) % 60 )) s"
echo "suites: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
