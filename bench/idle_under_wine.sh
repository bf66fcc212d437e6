#!/usr/bin/env bash
# The clock's cost while it sits idle: CPU seconds and wake-ups (context switches) of the
# exe's process over a measured span, and its resident memory, under Wine in Xvfb.
# Usage: idle_under_wine.sh [seconds] [screen, e.g. 3840x2160]
# With TAVRO_BENCH_SHELL=classic, split or 24h2 the test helper's stand-in shell desktop is up
# first, so that the clock checks a real host at every tick (build the helper first).
# With TAVRO_BENCH_ALMANAC=1 the 暦 window is open on the current month while it is measured.
# With TAVRO_BENCH_SETTINGS="scalePercent=200 opacityPercent=50" (REG_DWORD values) the clock runs
# with those; without, with its defaults.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-60}"
screen="${2:-1920x1080}"
. tools/wine_env.sh
prepare_wine_prefix
export DISPLAY="${TAVRO_BENCH_DISPLAY:-:$((95 + ${TAVRO_DISPLAY_BASE:-0}))}"
Xvfb "$DISPLAY" -screen 0 "${screen}x24" -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'wineserver -k 2>/dev/null || true; kill $xvfb 2>/dev/null || true' EXIT
sleep 1
wine reg add 'HKCU\Software\Quillmar-soft\tavroClock' /v feedHost /t REG_SZ /d 127.0.0.1:9 /f >/dev/null 2>&1
for value in scalePercent opacityPercent digitColour weekStartsMonday topMost; do
  wine reg delete 'HKCU\Software\Quillmar-soft\tavroClock' /v "$value" /f >/dev/null 2>&1 || true
done
for setting in ${TAVRO_BENCH_SETTINGS:-}; do
  wine reg add 'HKCU\Software\Quillmar-soft\tavroClock' /v "${setting%%=*}" /t REG_DWORD /d "${setting#*=}" /f >/dev/null 2>&1
done
if [ -n "${TAVRO_BENCH_SHELL:-}" ]; then
  wine build/win64/helpers/tavro_testhelper.exe shell "$TAVRO_BENCH_SHELL" 'C:\\idle-shell.log' >/dev/null 2>&1 &
  sleep 3
fi
# The full path names this worktree's clock among any others on the machine.
exe="$PWD/build/win64/tavroclock.exe"
wine "$exe" &
sleep 8  # start-up done, first fetch over
if [ -n "${TAVRO_BENCH_ALMANAC:-}" ]; then
  # A double click on a day of the calendar; the helper pages ten months on and back.
  wine build/win64/helpers/tavro_testhelper.exe almanac-time 'C:\\almanac-time.txt' 220 211 >/dev/null 2>&1
  sleep 2
fi
pid=$(pgrep -n -f "^$exe")
read_counts() {
  local stat; stat=($(cut -d')' -f2 "/proc/$pid/stat"))
  local ticks=$(( ${stat[11]} + ${stat[12]} ))
  local switches=0
  for t in /proc/$pid/task/*/status; do
    switches=$(( switches + $(awk '/^(voluntary|nonvoluntary)_ctxt_switches/ {s += $2} END {print s}' "$t") ))
  done
  echo "$ticks $switches"
}
read t0 s0 < <(read_counts)
sleep "$seconds"
read t1 s1 < <(read_counts)
hz=$(getconf CLK_TCK)
awk -v dt=$((t1 - t0)) -v ds=$((s1 - s0)) -v hz="$hz" -v span="$seconds" 'BEGIN {
  printf "idle %d s: CPU %.2f s (%.3f %%), wake-ups %.1f per second\n", span, dt / hz, 100 * dt / hz / span, ds / span }'
# A screen-sized buffer kept after start-up would show as a resident size that grows with the screen.
awk -v screen="$screen" '/^(VmRSS|RssAnon)/ {printf "%s screen %s: %s kB\n", $1, screen, $2}' "/proc/$pid/status"
