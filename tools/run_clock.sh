#!/usr/bin/env bash
# Installs what is missing, builds, and starts the clock under Wine. Without a display it runs
# the clock in Xvfb for a few seconds and writes build/screenshot.png.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install_deps.sh
cmake --preset win64 >/dev/null && cmake --build --preset win64 -j2 --target tavroclock
. tools/wine_env.sh
prepare_wine_prefix
if [ -n "${DISPLAY:-}" ]; then
  exec wine build/win64/tavroclock.exe
fi
display=":97"
Xvfb "$display" -screen 0 1920x1080x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null || true' EXIT
sleep 1
export DISPLAY="$display"
wine build/win64/tavroclock.exe &
sleep "${TAVRO_RUN_SECONDS:-6}"
import -window root build/screenshot.png
wineserver -k || true
echo "screenshot: build/screenshot.png"
