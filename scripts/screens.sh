#!/usr/bin/env bash
# Pictures of zym as a new user sees it, as PNGs in build/screens/: the main
# window (with the tip of the day and without), the nine pages of the options
# sheet, the about box, an album dragged into the play list, the Library
# window floated and docked again, a tool-bar tip and a menu at the pointer.
# The drags, hovers and clicks go through the X server as a person's do
# (scripts/screens.py, a journey of tests/support/journey.py): on an Xvfb with
# a window manager, in a copy of the journeys' Wine prefix and a copy of the
# sample profile. Needs a build (./test.sh or ./run.sh makes one).
#
# As root after ./test.sh the build folder belongs to the tests' user: the
# pictures are then taken as that user, whose prefix it is.
set -Eeuo pipefail
cd "$(dirname "$0")/.."
source scripts/common.sh
trap 'say "screens.sh: \"$BASH_COMMAND\" failed with code $?"' ERR

SCREENS="$BUILD_DIR/screens"
if [ ! -f "$BUILD_DIR/bin/zym.exe" ] || [ ! -f "$BUILD_DIR/tests/support/journeyprobe.exe.so" ] ||
   [ ! -f "$BUILD_DIR/tests/screens/zymscreens.exe.so" ]; then
    say "screens.sh: build the program folder and the tests first (./test.sh)"
    exit 1
fi
owner=()
if ! is_root || [ "$(stat -c %U "$BUILD_DIR")" != "$TEST_USER" ]; then
    AS_TEST_USER=()
else
    owner=(as the user "$TEST_USER")
    open_path_to "$BUILD_DIR"
    open_path_to "$ZYM_ROOT"
fi
say "Taking the pictures ${owner[*]}"
as_test_user env PYTHONPATH="$ZYM_ROOT/tests/support" PYTHONDONTWRITEBYTECODE=1 \
    /usr/bin/python3 scripts/screens.py --build "$BUILD_DIR" --mode wm --out "$SCREENS"
say "Pictures in $SCREENS"
