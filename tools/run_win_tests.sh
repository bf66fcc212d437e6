#!/usr/bin/env bash
# Builds and runs the Windows-side tests (tests/win) under Wine in a build tree, a Wine prefix and
# an X display of their own: they can run while the end-to-end tests use build/win64 (the
# installer's test builds there) and the shared prefix.
set -uo pipefail
cd "$(dirname "$0")/.."
tree=build/win64-tests
cmake --preset win64 -B "$tree" >/dev/null && cmake --build "$tree" -j2 --target win_tests || exit 1
export TAVRO_E2E_WINEPREFIX="$PWD/build/wineprefix-win-tests"
. tools/wine_env.sh
prepare_wine_prefix
display="${TAVRO_WIN_TEST_DISPLAY:-:92}"
Xvfb "$display" -screen 0 1920x1080x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'wineserver -k 2>/dev/null; kill "$xvfb" 2>/dev/null' EXIT
for _ in $(seq 100); do DISPLAY="$display" xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
DISPLAY="$display" timeout 900 wine "$tree/win_tests.exe" --gtest_color=no
