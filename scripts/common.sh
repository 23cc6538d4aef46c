# Shared by test.sh and run.sh: packages, build, Wine prefix, Xvfb and wineserver.
# Sourced from the repository root.

ZYM_ROOT=$(pwd)
# ZYM_BUILD_DIR lets several builds (each with its own Wine prefix) live side by side.
BUILD_DIR="${ZYM_BUILD_DIR:-$ZYM_ROOT/build}"
case "$BUILD_DIR" in /*) ;; *) BUILD_DIR="$ZYM_ROOT/$BUILD_DIR" ;; esac
WINE_TOOLS=/usr/lib/wine
export PATH="$WINE_TOOLS:$PATH"
export WINEPREFIX="$BUILD_DIR/wine"
export WINEARCH=win64
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEDEBUG="${WINEDEBUG:--all}"

# fonts-wine: Wine's own fonts; without Marlett every caption button and scroll
# arrow draws as a letter. openbox, xdotool, x11-utils (xprop): the journeys'
# window manager and X input.
PACKAGES=(wine64 wine64-tools libwine-dev fonts-wine xvfb xauth cmake ninja-build googletest
          libgtest-dev libgmock-dev libsqlite3-dev libjpeg62-turbo-dev libpng-dev zlib1g-dev
          imagemagick python3-pyftpdlib libtag1-dev python3-mutagen lame python3 openbox xdotool x11-utils)

say() { printf '%s\n' "$*" >&2; }

# Started as root, the tests run as a user of their own that owns only the build
# folder (with its Wine prefix) and the Xvfb: a test that goes wrong cannot reach
# the rest of the machine. Any other user runs them as itself.
TEST_USER=zymtest
TEST_HOME=/var/lib/zymtest

is_root() { [ "$(id -u)" -eq 0 ]; }

# The words that run a command as the test user, with that user's home and none of
# root's session; none when the script does not run as root. A command started as
# "${AS_TEST_USER[@]}" cmd & keeps its own process id ($!).
AS_TEST_USER=()
if is_root; then
    AS_TEST_USER=(setpriv --reuid="$TEST_USER" --regid="$TEST_USER" --init-groups
                  env -u XDG_RUNTIME_DIR -u DBUS_SESSION_BUS_ADDRESS
                  HOME="$TEST_HOME" USER="$TEST_USER" LOGNAME="$TEST_USER")
fi
as_test_user() { "${AS_TEST_USER[@]}" "$@"; }

# Makes the test user on first use and hands it the build folder. A build folder
# (and Wine prefix) that root made before is handed over the same way; Wine uses a
# prefix only for its owner. -P -h: links are changed themselves, never followed
# (the prefix's z: drive links to /).
prepare_test_user() {
    is_root || return 0
    if ! id -u "$TEST_USER" >/dev/null 2>&1; then
        say "Making the user $TEST_USER that runs the tests"
        flock /tmp/.zym-test-user.lock sh -c "id -u $TEST_USER >/dev/null 2>&1 ||
            useradd --system --user-group --create-home --home-dir $TEST_HOME \
                    --shell /usr/sbin/nologin $TEST_USER"
    fi
    if [ -d "$WINEPREFIX" ] && [ "$(stat -c %u "$WINEPREFIX")" -eq 0 ]; then
        wineserver -k 2>/dev/null || true   # root's server, which the prefix's next owner cannot stop
    fi
    chown -R -P -h "$TEST_USER:$TEST_USER" "$BUILD_DIR"
    forget_foreign_server_folder
    open_path_to "$BUILD_DIR"
    open_path_to "$ZYM_ROOT"
    [ -z "${ZYM_TESTDATA:-}" ] || open_path_to "$ZYM_TESTDATA"
}

# Debian's Wine names, in the prefix, the server's folder under /tmp; one made by
# root is closed to the prefix's next owner, who makes its own when it is forgotten.
forget_foreign_server_folder() {
    local name
    name=$(cat "$WINEPREFIX/wineserver" 2>/dev/null) || return 0
    [ "$(stat -c %U "/tmp/$name" 2>/dev/null)" = "$TEST_USER" ] || rm -f "$WINEPREFIX/wineserver"
}

# Lets the test user pass through the folders above path (search only, no listing)
# where it cannot yet, e.g. a clone under /root.
open_path_to() {
    local dir=$1
    while [ "$dir" != / ] && [ -n "$dir" ]; do
        if [ -d "$dir" ] && ! as_test_user test -x "$dir"; then
            say "Letting $TEST_USER pass through $dir"
            chmod o+x "$dir"
        fi
        dir=$(dirname "$dir")
    done
}

install_packages() {
    local missing=() installed
    # One query for all: a package that is not known at all prints nothing.
    installed=$(dpkg-query -W -f='${Package} ${Status}\n' "${PACKAGES[@]}" 2>/dev/null | grep ' install ok installed$' || true)
    local pkg
    for pkg in "${PACKAGES[@]}"; do
        grep -q "^$pkg " <<<"$installed" || missing+=("$pkg")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    say "Installing: ${missing[*]}"
    local sudo=
    [ "$(id -u)" -eq 0 ] || sudo=sudo
    $sudo env DEBIAN_FRONTEND=noninteractive apt-get update -q
    $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
}

configure_build() {
    if [ ! -f "$BUILD_DIR/build.ninja" ]; then
        cmake -S "$ZYM_ROOT" -B "$BUILD_DIR" -G Ninja \
              -DCMAKE_TOOLCHAIN_FILE="$ZYM_ROOT/cmake/WinelibToolchain.cmake"
    fi
}

build_all() {
    configure_build
    cmake --build "$BUILD_DIR"
}

# The program folder only ($BUILD_DIR/bin): the programs and their files, no
# tests. Skipped when no file of the source tree changed since the last time it
# was built here (a file changed, added or removed makes a file or its folder
# newer than the stamp).
PROGRAMS_STAMP="$BUILD_DIR/.programs-built"
build_programs() {
    if [ -f "$PROGRAMS_STAMP" ] && [ -f "$BUILD_DIR/bin/zym.exe" ] &&
       [ -z "$(find "$ZYM_ROOT" \( -path "$BUILD_DIR" -o -path "$ZYM_ROOT/.git" -o -path "$ZYM_ROOT/build" \) -prune \
               -o -newer "$PROGRAMS_STAMP" -print -quit)" ]; then
        return 0
    fi
    local started
    started=$(date +%s.%N)
    configure_build
    cmake --build "$BUILD_DIR" --target zym_program_folder
    # Stamped with the build's start: files saved during it make the next run build again.
    touch -d "@$started" "$PROGRAMS_STAMP"
}

# The prefix is made once per build folder; the marker shows it was finished with
# the settings of this version of the script.
# This Wine reads its own fonts (Marlett draws the caption buttons, Tahoma is the
# dialogs' font) from the prefix's Fonts folder only, not from where fonts-wine
# puts them.
add_wine_fonts() {
    local fonts="$WINEPREFIX/drive_c/windows/Fonts"
    [ -d /usr/share/wine/fonts ] && [ -d "$fonts" ] || return 0
    local font
    for font in /usr/share/wine/fonts/*.ttf; do
        [ -f "$fonts/${font##*/}" ] || as_test_user cp "$font" "$fonts/"
    done
}

PREFIX_MARKER=.zym-prefix-3
make_prefix() {
    [ -f "$WINEPREFIX/$PREFIX_MARKER" ] && { add_wine_fonts; return 0; }
    say "Making the Wine prefix in $WINEPREFIX"
    rm -rf "$WINEPREFIX"
    as_test_user wine64 wineboot -i >/dev/null 2>&1 || true
    as_test_user wineserver -w
    # Wine draws the windows' captions and borders itself, and does not wait for a
    # window manager (Xvfb has none) each time a window hides: that wait is 2 s.
    as_test_user wine64 reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /t REG_SZ /d N /f >/dev/null
    as_test_user wine64 reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null
    # A crashing test program ends at once instead of waiting on Wine's crash dialog.
    as_test_user wine64 reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null
    as_test_user wineserver -w
    add_wine_fonts
    as_test_user touch "$WINEPREFIX/$PREFIX_MARKER"
}

XVFB_PID=
start_xvfb() {
    local fdfile
    fdfile=$(mktemp)
    "${AS_TEST_USER[@]}" Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fdfile" 2>/dev/null &
    XVFB_PID=$!
    local i
    for i in $(seq 100); do
        [ -s "$fdfile" ] && break
        sleep 0.1
    done
    if [ ! -s "$fdfile" ]; then
        rm -f "$fdfile"
        say "Xvfb did not start"
        return 1
    fi
    export DISPLAY=":$(head -n1 "$fdfile")"
    rm -f "$fdfile"
}

# One server for the whole run. The session's own processes (services, desktop)
# start here with their output away from the tests: a test whose output pipe they
# inherited would never seem to end.
start_wineserver() {
    as_test_user wineserver -k 2>/dev/null || true
    as_test_user wineserver -p </dev/null >>"$BUILD_DIR/wineserver.log" 2>&1
    as_test_user wine64 wineboot </dev/null >/dev/null 2>&1 || true
    # The desktop process ends once no program uses the desktop, and the next
    # test's window would start it again with that test's pipes: a program of
    # ours holds it until wineserver -k.
    "${AS_TEST_USER[@]}" wine64 "$BUILD_DIR/tests/support/desktophold.exe.so" </dev/null >/dev/null 2>&1 &
}

stop_services() {
    as_test_user wineserver -k 2>/dev/null || true
    if [ -n "$XVFB_PID" ]; then
        kill "$XVFB_PID" 2>/dev/null || true
        wait "$XVFB_PID" 2>/dev/null || true
    fi
}
