#!/usr/bin/env bash
# Builds the Windows downloads into build/dist/ (or TAVRO_DIST): TavroClock-<version>-setup.exe
# (per-user NSIS installer) and TavroClock-<version>-win64.zip (the exe and a short read-me). The
# version is the one CMakeLists.txt gives the exe's version resource.
#
# One commit gives the same bytes from any folder at any time: file times come from the commit
# (SOURCE_DATE_EPOCH), the exe carries no link time or build folder, and the zip's entries have
# fixed dates, modes and order.
#
# Signing: with TAVRO_SIGN_PFX (a PKCS#12 file) and TAVRO_SIGN_PASSWORD_FILE (a file holding its
# password) the exe is signed before it is packed, and so are the installer and the uninstaller it
# writes (tools/sign_exe.sh; TAVRO_SIGN_TIMESTAMP_URL adds a time stamp). Without them nothing is signed.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install_deps.sh
cmake --preset win64 >/dev/null && cmake --build --preset win64 -j2 --target tavroclock
version="$(sed -n 's/^project(TavroClock VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)"
[ -n "$version" ] || { echo "no version in CMakeLists.txt" >&2; exit 1; }
export SOURCE_DATE_EPOCH="${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct 2>/dev/null || date -r CMakeLists.txt +%s)}"
export TZ=UTC  # zip keeps local times

sign=()
if [ -n "${TAVRO_SIGN_PFX:-}" ]; then
  [ -r "$TAVRO_SIGN_PFX" ] && [ -r "${TAVRO_SIGN_PASSWORD_FILE:-}" ] ||
    { echo "TAVRO_SIGN_PFX needs a readable TAVRO_SIGN_PASSWORD_FILE" >&2; exit 1; }
  export TAVRO_SIGN_PFX="$(realpath "$TAVRO_SIGN_PFX")" TAVRO_SIGN_PASSWORD_FILE="$(realpath "$TAVRO_SIGN_PASSWORD_FILE")"
  sign=(-DSIGN="$PWD/tools/sign_exe.sh")
fi

dist="$(mkdir -p "${TAVRO_DIST:-build/dist}" && realpath "${TAVRO_DIST:-build/dist}")"
stage="$(mktemp -d)"
trap 'rm -rf "$stage"' EXIT
mkdir "$stage/TavroClock"
exe="$stage/TavroClock/tavroclock.exe"
cp build/win64/tavroclock.exe "$exe"
[ ${#sign[@]} -eq 0 ] || tools/sign_exe.sh "$exe"
# Notepad reads the read-me as UTF-8 with its byte-order mark and CRLF line ends.
{ printf '\xef\xbb\xbf'; sed 's/$/\r/' tools/installer/readme.txt; } > "$stage/TavroClock/readme.txt"

makensis -V2 -DVERSION="$version" -DEXE="$exe" -DICON="$PWD/pictures/tavroclock.ico" "${sign[@]}" \
  -DOUTFILE="$dist/TavroClock-$version-setup.exe" tools/installer/tavroclock.nsi

chmod 0644 "$stage/TavroClock/"*
touch -h -d "@$SOURCE_DATE_EPOCH" "$stage/TavroClock/"*
zip_file="$dist/TavroClock-$version-win64.zip"
rm -f "$zip_file"
(cd "$stage" && zip -q -X -D "$zip_file" TavroClock/tavroclock.exe TavroClock/readme.txt)
echo "packages: $dist/TavroClock-$version-setup.exe $zip_file"
