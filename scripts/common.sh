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

PACKAGES=(wine64 wine64-tools libwine-dev xvfb xauth cmake ninja-build googletest
          libgtest-dev libgmock-dev libsqlite3-dev libjpeg62-turbo-dev libpng-dev zlib1g-dev
          imagemagick python3-pyftpdlib)

say() { printf '%s\n' "$*" >&2; }

install_packages() {
    local missing=()
    local pkg
    for pkg in "${PACKAGES[@]}"; do
        dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed' ||
            missing+=("$pkg")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    say "Installing: ${missing[*]}"
    local sudo=
    [ "$(id -u)" -eq 0 ] || sudo=sudo
    $sudo env DEBIAN_FRONTEND=noninteractive apt-get update -q
    $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
}

build_all() {
    if [ ! -f "$BUILD_DIR/build.ninja" ]; then
        cmake -S "$ZYM_ROOT" -B "$BUILD_DIR" -G Ninja \
              -DCMAKE_TOOLCHAIN_FILE="$ZYM_ROOT/cmake/WinelibToolchain.cmake"
    fi
    cmake --build "$BUILD_DIR"
}

# The prefix is made once per build folder; the marker shows it was finished with
# the settings of this version of the script.
PREFIX_MARKER=.zym-prefix-2
make_prefix() {
    [ -f "$WINEPREFIX/$PREFIX_MARKER" ] && return 0
    say "Making the Wine prefix in $WINEPREFIX"
    rm -rf "$WINEPREFIX"
    wine64 wineboot -i >/dev/null 2>&1 || true
    wineserver -w
    # Wine draws the windows' captions and borders itself, and does not wait for a
    # window manager (Xvfb has none) each time a window hides: that wait is 2 s.
    wine64 reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /t REG_SZ /d N /f >/dev/null
    wine64 reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null
    wineserver -w
    touch "$WINEPREFIX/$PREFIX_MARKER"
}

XVFB_PID=
start_xvfb() {
    local fdfile
    fdfile=$(mktemp)
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fdfile" 2>/dev/null &
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
    wineserver -k 2>/dev/null || true
    wineserver -p </dev/null >>"$BUILD_DIR/wineserver.log" 2>&1
    wine64 wineboot </dev/null >/dev/null 2>&1 || true
}

stop_services() {
    wineserver -k 2>/dev/null || true
    if [ -n "$XVFB_PID" ]; then
        kill "$XVFB_PID" 2>/dev/null || true
        wait "$XVFB_PID" 2>/dev/null || true
    fi
}
