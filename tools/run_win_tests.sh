#!/usr/bin/env bash
# Runs the Windows-side tests (tests/win, built by the win64 preset) under Wine in a prefix and on an
# X display of their own, so that they can run beside the end-to-end tests and their shared prefix.
set -uo pipefail
cd "$(dirname "$0")/.."
[ -f build/win64/win_tests.exe ] || { echo "build the win64 preset first" >&2; exit 1; }
export TAVRO_E2E_WINEPREFIX="$PWD/build/wineprefix-win-tests"
. tools/wine_env.sh
prepare_wine_prefix
display="${TAVRO_WIN_TEST_DISPLAY:-:$((92 + ${TAVRO_DISPLAY_BASE:-0}))}"
Xvfb "$display" -screen 0 1920x1080x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'wineserver -k 2>/dev/null; kill "$xvfb" 2>/dev/null' EXIT
for _ in $(seq 100); do DISPLAY="$display" xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
DISPLAY="$display" timeout 900 wine build/win64/win_tests.exe --gtest_color=no
