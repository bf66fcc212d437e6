#!/usr/bin/env bash
# Builds the Windows downloads into build/dist/: TavroClock-<version>-setup.exe (per-user NSIS
# installer) and TavroClock-<version>-win64.zip (the exe and a short read-me). The version is the
# one CMakeLists.txt gives the exe's version resource.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install_deps.sh
cmake --preset win64 >/dev/null && cmake --build --preset win64 -j2 --target tavroclock
version="$(sed -n 's/^project(TavroClock VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)"
[ -n "$version" ] || { echo "no version in CMakeLists.txt" >&2; exit 1; }
dist=build/dist
mkdir -p "$dist"
makensis -V2 -DVERSION="$version" -DEXE="$PWD/build/win64/tavroclock.exe" -DICON="$PWD/pictures/tavroclock.ico" \
  -DOUTFILE="$PWD/$dist/TavroClock-$version-setup.exe" tools/installer/tavroclock.nsi
# Notepad reads the read-me as UTF-8 with its byte-order mark and CRLF line ends.
stage="$(mktemp -d)"
trap 'rm -rf "$stage"' EXIT
mkdir "$stage/TavroClock"
cp build/win64/tavroclock.exe "$stage/TavroClock/"
{ printf '\xef\xbb\xbf'; sed 's/$/\r/' tools/installer/readme.txt; } > "$stage/TavroClock/readme.txt"
rm -f "$dist/TavroClock-$version-win64.zip"
(cd "$stage" && zip -q -X -r "$OLDPWD/$dist/TavroClock-$version-win64.zip" TavroClock)
echo "packages: $dist/TavroClock-$version-setup.exe $dist/TavroClock-$version-win64.zip"
