#!/usr/bin/env bash
# Installs what is missing, builds the programs when needed and starts zym.
# Arguments go to zym (a play-list file to open).
#
# zym's Wine prefix and the user's files live under ~/.local/share/zym, never
# in the build folder: the first run points the options' library, play-list,
# cover, device, music, map and log paths into the profile folder there and
# copies the sample library into it (scripts/profile.reg). zym shows on
# $DISPLAY, or on an Xvfb of its own when there is none. The first run searches
# no COM port for interface units, so that none needs to answer.
#
# A warm start does no more than it must before zym: one package query, a look
# for source files newer than the last build, and Wine processes only when the
# program folder or the display changed.
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
X11_KEY='HKEY_CURRENT_USER\Software\Wine\X11 Driver'
export WINEPREFIX="$USER_DATA/wine"
# The prefix puts no menu entries or file types (".pla") on the Linux desktop.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
# run.sh runs zym as whoever starts it, never as the tests' user.
AS_TEST_USER=()
shopt -u patsub_replacement 2>/dev/null || true

windows_path() { printf 'Z:%s' "$1" | tr / '\\'; }

# Imports registry lines (REGEDIT4 syntax, without the header) in one process.
import_reg() {
    local file
    file=$(mktemp --suffix=.reg)
    printf 'REGEDIT4\n\n%s\n' "$1" >"$file"
    wine64 regedit /s "$(windows_path "$file")" </dev/null >/dev/null 2>&1
    rm -f "$file"
}

make_user_prefix() {
    [ -f "$WINEPREFIX/.zym-run-prefix-1" ] && return 0
    say "Making zym's Wine prefix in $WINEPREFIX"
    mkdir -p "$USER_DATA"
    wine64 wineboot -i </dev/null >/dev/null 2>&1 || true
    wineserver -w
    add_wine_fonts
    touch "$WINEPREFIX/.zym-run-prefix-1"
}

# The database provider, the device server's proxy library and the device
# server itself, from this program folder: again only when one of them changed.
register_programs() {
    local files=("$PROGRAMS/zymjet.dll" "$PROGRAMS/tavlinps.dll" "$PROGRAMS/tavlinserv.exe")
    local stamp="$WINEPREFIX/.zym-registered" wanted
    wanted="$PROGRAMS $(stat -c '%Y %s' "${files[@]}" | tr '\n' ' ')"
    [ "$(cat "$stamp" 2>/dev/null)" = "$wanted" ] && return 0
    wine64 regsvr32 /s "$(windows_path "${files[0]}")" </dev/null >/dev/null 2>&1
    wine64 regsvr32 /s "$(windows_path "${files[1]}")" </dev/null >/dev/null 2>&1
    wine64 "$(windows_path "${files[2]}")" /regserver </dev/null >/dev/null 2>&1
    printf '%s' "$wanted" >"$stamp"
}

# With a desktop, its window manager places, decorates and activates zym's
# windows (Wine's defaults). On our own Xvfb there is none: Wine then does it
# itself, as in the tests' prefix, or maximising, the first click and keys to
# a new dialog go astray.
set_display_mode() {
    local mode=desktop
    [ -n "${XVFB_PID:-}" ] && mode=virtual
    local marker="$WINEPREFIX/.zym-display-mode"
    [ "$(cat "$marker" 2>/dev/null)" = "$mode" ] && return 0
    if [ "$mode" = virtual ]; then
        import_reg "[$X11_KEY]
\"Managed\"=\"N\"
\"Decorated\"=\"N\""
    else
        import_reg "[$X11_KEY]
\"Managed\"=-
\"Decorated\"=-"
    fi
    printf '%s' "$mode" >"$marker"
}

# Once: the user's own folders, a copy of the sample library and the options
# of scripts/profile.reg.
seed_profile() {
    [ -f "$PROFILE/.seeded" ] && return 0
    say "Making the profile folder $PROFILE with a copy of the sample library"
    mkdir -p "$PROFILE/Playlists" "$PROFILE/Album Covers" "$PROFILE/Device Files" "$PROFILE/Music Files"
    cp "$PROGRAMS/sample.mdb" "$PROFILE/sample.mdb"
    cp -r "$PROGRAMS/Album Covers/." "$PROFILE/Album Covers/"
    copy_sample_music
    local folder lines
    folder=$(windows_path "$PROFILE")
    lines=$(tail -n +2 scripts/profile.reg)
    import_reg "${lines//@PROFILE@/${folder//\\/\\\\}}"
    say "No COM port is searched for interface units; choose them in View/Options/Tavlin."
    touch "$PROFILE/.seeded" "$PROFILE/.seeded-2"
}

# The sample's audio-file albums play from the profile's Music Files: the copy
# of the library names the copies of their files.
copy_sample_music() {
    cp -r "$PROGRAMS/Music Files/." "$PROFILE/Music Files/"
    /usr/bin/python3 shell/app/MakeSampleMedia.py --move "$PROFILE/sample.mdb" "$(windows_path "$PROGRAMS/Music Files")" \
            "$(windows_path "$PROFILE/Music Files")"
}

# A profile seeded by an older run.sh lacks "Library Type" (zym took the sample
# for a library of the older format and offered to convert it at every start),
# and its sample's audio-file albums named the files in the program folder.
mend_profile() {
    [ -f "$PROFILE/.seeded-2" ] && return 0
    [ -f "$PROFILE/sample.mdb" ] && copy_sample_music
    local seeded
    seeded="$(windows_path "$PROFILE")\\sample.mdb"
    if ! wine64 reg query "$OPTIONS_KEY" /v "Library Type" </dev/null >/dev/null 2>&1 &&
       wine64 reg query "$OPTIONS_KEY" /v "DB Path" </dev/null 2>/dev/null | grep -qF "$seeded"; then
        say "Marking the profile's library as of the current format"
        wine64 reg add "$OPTIONS_KEY" /v "Library Type" /t REG_DWORD /d 1 /f </dev/null >/dev/null
    fi
    touch "$PROFILE/.seeded-2"
}

# Before any Wine process: the prefix's desktop takes the display of the first.
if [ -z "${DISPLAY:-}" ]; then
    start_xvfb
    trap 'kill "$XVFB_PID" 2>/dev/null || true' EXIT
    say "No X display: zym runs on the virtual display $DISPLAY, where nothing shows."
    say "Take a picture with: DISPLAY=$DISPLAY import -window root zym.png"
    say "(or run scripts/screens.sh for pictures of the main window, a drag, docking, a tip and a menu)."
fi
make_user_prefix
register_programs
set_display_mode
seed_profile
mend_profile

status=0
wine64 "$(windows_path "$PROGRAMS/zym.exe")" "$@" </dev/null || status=$?
wineserver -w
exit "$status"
