#!/usr/bin/env bash
# The 暦 window under Wine in Xvfb: the time from a double click on a day of the clock's calendar
# to the painted window, and from PageDown to the painted new month (median and worst of 20), as
# the test helper measures them from another process. The aims are 100 ms and 16 ms.
# Usage: almanac_window_under_wine.sh [runs]   (build the win64 preset with its helpers first;
# TAVRO_BENCH_EXE names another exe to measure, a saved build of main for the figures before)
set -euo pipefail
cd "$(dirname "$0")/.."
runs="${1:-3}"
. tools/wine_env.sh
prepare_wine_prefix
export DISPLAY="${TAVRO_BENCH_DISPLAY:-:$((95 + ${TAVRO_DISPLAY_BASE:-0}))}"
Xvfb "$DISPLAY" -screen 0 1920x1080x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
out=$(mktemp -d)
trap 'wineserver -k 2>/dev/null || true; kill $xvfb 2>/dev/null || true; rm -rf "$out"' EXIT
sleep 1
wine reg add 'HKCU\Software\Quillmar-soft\tavroClock' /v feedHost /t REG_SZ /d 127.0.0.1:9 /f >/dev/null 2>&1
wine reg add 'HKCU\Software\Quillmar-soft\tavroClock' /v holidayListUrl /t REG_SZ /d http://127.0.0.1:9/ /f >/dev/null 2>&1
helper="build/win64/helpers/tavro_testhelper.exe"
exe="$(realpath "${TAVRO_BENCH_EXE:-build/win64/tavroclock.exe}")"
for run in $(seq "$runs"); do
  wine "$exe" &
  sleep 8  # start-up done
  # A day of the calendar's third row at 96 DPI, in the clock's client coordinates.
  wine "$helper" almanac-time "Z:${out//\//\\}\\times.txt" 220 211 >/dev/null 2>&1 || echo "run $run: the helper failed"
  [ -f "$out/times.txt" ] && echo "run $run: $(tr '\n' ' ' < "$out/times.txt")"
  rm -f "$out/times.txt"
  wine "$helper" close >/dev/null 2>&1 || true
  wineserver -w
done
