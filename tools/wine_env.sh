# Sourced by the scripts: one Wine prefix for the build, with the window font replaced.
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
export WINEPREFIX="${TAVRO_E2E_WINEPREFIX:-$root/build/wineprefix}"
export WINEDEBUG=-all
# The Japanese systems the program is made for: ANSI code page 932, Japan time.
export LC_ALL=ja_JP.UTF-8
export TZ=Asia/Tokyo
export WINEDLLOVERRIDES="mscoree,mshtml="
prepare_wine_prefix() {
  if [ ! -f "$WINEPREFIX/.tavro-ready" ]; then
    mkdir -p "$WINEPREFIX"
    wineboot -i >/dev/null 2>&1 || true
    # Without it the window font draws digits and kana as empty boxes.
    wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v 'ＭＳ ゴシック' /t REG_SZ /d 'IPAGothic' /f >/dev/null 2>&1
    wineserver -w
    # Wine links the user's Desktop, Documents, Pictures... to $HOME, which every prefix on the
    # machine then shares, with the clock's mosaic.bmp in it: one test's uninstall removed the
    # picture another prefix's test was reading. Each prefix gets folders of its own.
    for link in "$WINEPREFIX"/drive_c/users/*/*; do
      if [ -L "$link" ]; then rm "$link" && mkdir "$link"; fi
    done
    touch "$WINEPREFIX/.tavro-ready"
  fi
}
