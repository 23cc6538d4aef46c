#!/usr/bin/env bash
# Pictures of zym: the main window, the nine pages of the options sheet and
# the about box, as PNGs in build/screens/. Runs on an Xvfb, a Wine prefix
# (build/screens/wine) and a copy of the sample library of its own, after a
# build (./test.sh or ./run.sh makes one).
set -Eeuo pipefail
cd "$(dirname "$0")/.."
source scripts/common.sh
trap 'say "screens.sh: \"$BASH_COMMAND\" failed with code $?"' ERR

SCREENS="$BUILD_DIR/screens"
PROGRAMS="$BUILD_DIR/bin"
HELPER=$(find "$BUILD_DIR/shell/app" -name zymscreens.exe.so 2>/dev/null | head -1)
if [ ! -f "$PROGRAMS/zym.exe" ] || [ -z "$HELPER" ]; then
    say "screens.sh: build the program folder and zymscreens first (./test.sh)"
    exit 1
fi
export WINEPREFIX="$SCREENS/wine"
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
OPTIONS_KEY='HKCU\Software\Halvane\zym\Options'
# Everything here runs as whoever starts the script.
AS_TEST_USER=()

windows_path() { printf 'Z:%s' "$1" | tr / '\\'; }

mkdir -p "$SCREENS"
start_xvfb
trap 'wineserver -k 2>/dev/null || true; kill "$XVFB_PID" 2>/dev/null || true' EXIT
if [ ! -f "$WINEPREFIX/.zym-screens-prefix-1" ]; then
    say "Making the pictures' Wine prefix in $WINEPREFIX"
    wine64 wineboot -i </dev/null >/dev/null 2>&1 || true
    wineserver -w
    # Captions and borders drawn by Wine, as the programs' own.
    wine64 reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /t REG_SZ /d N /f </dev/null >/dev/null
    wine64 reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f </dev/null >/dev/null
    touch "$WINEPREFIX/.zym-screens-prefix-1"
fi
add_wine_fonts
wine64 regsvr32 /s "$(windows_path "$PROGRAMS/zymjet.dll")" </dev/null >/dev/null 2>&1
cp "$PROGRAMS/sample.mdb" "$SCREENS/sample.mdb"
wine64 reg delete 'HKCU\Software\Halvane\zym' /f </dev/null >/dev/null 2>&1 || true
wine64 reg add "$OPTIONS_KEY" /v "New DB Path" /t REG_SZ /d "$(windows_path "$SCREENS/sample.mdb")" /f </dev/null >/dev/null
wine64 reg add "$OPTIONS_KEY" /v "COM Ports to Check" /t REG_DWORD /d 0 /f </dev/null >/dev/null
wine64 reg add 'HKCU\Software\Halvane\zym\Tip' /v StartUp /t REG_DWORD /d 1 /f </dev/null >/dev/null

wine64 "$HELPER" "$(windows_path "$PROGRAMS/zym.exe")" "$(windows_path "$SCREENS")" </dev/null
for bmp in "$SCREENS"/*.bmp; do
    convert "$bmp" "${bmp%.bmp}.png"
    rm -f "$bmp"
done
say "Pictures in $SCREENS"
