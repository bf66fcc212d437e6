#!/usr/bin/env bash
# Installs from Debian's archive whatever the build and the tests need and is not there yet.
set -euo pipefail
sudo=""; [ "$(id -u)" -ne 0 ] && sudo="sudo"
packages=(cmake ninja-build g++ clang libclang-rt-14-dev libgtest-dev libgmock-dev libbenchmark-dev
          mingw-w64 wine wine64 xvfb openssl ca-certificates imagemagick x11-utils xdotool fonts-ipafont-gothic
          faketime tzdata python3-pytest python3-pytest-xdist python3-pil python3-numpy python3-ephem python3-dateutil python3-icalendar locales nsis zip osslsigncode
          xserver-xephyr xcompmgr inotify-tools)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "installing: ${missing[*]}"
  $sudo apt-get update -q
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
# The Japanese locale the program is run in: Wine takes its code pages from it (932, and UTF-8
# for file names that the ANSI code page cannot spell).
if ! locale -a 2>/dev/null | grep -qi '^ja_JP\.utf-\?8$'; then
  $sudo sed -i 's/^# *\(ja_JP.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  $sudo locale-gen >/dev/null
fi
