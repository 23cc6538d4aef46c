#!/usr/bin/env bash
# Installs what is missing, builds the programs when needed and starts zym.
# Arguments go to zym (a play-list file to open).
#
# zym's Wine prefix and the user's files live under ~/.local/share/zym, never
# in the build folder: the first run points the options' library, play-list,
# cover, device, music, map and log paths into the profile folder there and
# copies the sample library into it. zym shows on $DISPLAY, or on an Xvfb of
# its own when there is none. The first run searches no COM port for interface
# units, so that none needs to answer.
set -Eeuo pipefail
cd "$(dirname "$0")"
source scripts/common.sh
trap 'say "run.sh: \"$BASH_COMMAND\" failed with code $?"' ERR

install_packages
build_programs

PROGRAMS="$BUILD_DIR/bin"
USER_DATA="${XDG_DATA_HOME:-$HOME/.local/share}/zym"
PROFILE="$USER_DATA/profile"
OPTIONS_KEY='HKCU\Software\Halvane\zym\Options'
export WINEPREFIX="$USER_DATA/wine"
# The prefix puts no menu entries or file types (".pla") on the Linux desktop.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
# run.sh runs zym as whoever starts it, never as the tests' user.
AS_TEST_USER=()

windows_path() { printf 'Z:%s' "$1" | tr / '\\'; }

make_user_prefix() {
    [ -f "$WINEPREFIX/.zym-run-prefix-1" ] && return 0
    say "Making zym's Wine prefix in $WINEPREFIX"
    mkdir -p "$USER_DATA"
    wine64 wineboot -i </dev/null >/dev/null 2>&1 || true
    wineserver -w
    touch "$WINEPREFIX/.zym-run-prefix-1"
}

# At every start: the database provider, the device server's proxy library
# and the device server itself, from this program folder.
register_programs() {
    wine64 regsvr32 /s "$(windows_path "$PROGRAMS/zymjet.dll")" </dev/null >/dev/null 2>&1
    wine64 regsvr32 /s "$(windows_path "$PROGRAMS/tavlinps.dll")" </dev/null >/dev/null 2>&1
    wine64 "$(windows_path "$PROGRAMS/tavlinserv.exe")" /regserver </dev/null >/dev/null 2>&1
}

set_option() {
    wine64 reg add "$OPTIONS_KEY" /v "$1" /t REG_SZ /d "$2" /f </dev/null >/dev/null
}

# Once: the user's own folders and a copy of the sample library.
seed_profile() {
    [ -f "$PROFILE/.seeded" ] && return 0
    say "Making the profile folder $PROFILE with a copy of the sample library"
    mkdir -p "$PROFILE/Playlists" "$PROFILE/Album Covers" "$PROFILE/Device Files" "$PROFILE/Music Files"
    cp "$PROGRAMS/sample.mdb" "$PROFILE/sample.mdb"
    cp -r "$PROGRAMS/Album Covers/." "$PROFILE/Album Covers/"
    local folder
    folder=$(windows_path "$PROFILE")
    set_option "DB Path" "$folder\\sample.mdb"
    set_option "New DB Path" "$folder\\sample.mdb"
    set_option "Playlist Directory" "$folder\\Playlists"
    set_option "Image Directory" "$folder\\Album Covers"
    set_option "Device File Directory" "$folder\\Device Files"
    set_option "Music File Directory" "$folder\\Music Files"
    set_option "Map File" "$folder\\map.txt"
    set_option "Log File Name" "$folder\\log.txt"
    # No port is searched for interface units until the user picks them
    # (View/Options/Tavlin): a port that is there but cannot be opened would
    # stop the start-up with a box.
    wine64 reg add "$OPTIONS_KEY" /v "COM Ports to Check" /t REG_DWORD /d 0 /f </dev/null >/dev/null
    say "No COM port is searched for interface units; choose them in View/Options/Tavlin."
    touch "$PROFILE/.seeded"
}

# Before any Wine process: the prefix's desktop takes the display of the first.
if [ -z "${DISPLAY:-}" ]; then
    start_xvfb
    trap 'kill "$XVFB_PID" 2>/dev/null || true' EXIT
    say "No X display: zym runs on the virtual display $DISPLAY, where nothing shows."
    say "Take a picture with: DISPLAY=$DISPLAY import -window root zym.png"
    say "(or run scripts/screens.sh for pictures of the main window, options and about box)."
fi
make_user_prefix
add_wine_fonts
register_programs
seed_profile

status=0
wine64 "$(windows_path "$PROGRAMS/zym.exe")" "$@" </dev/null || status=$?
wineserver -w
exit "$status"
