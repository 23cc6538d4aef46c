#!/usr/bin/env bash
# Installs what is missing, builds into build/ and runs every test.
# Arguments go to ctest: ./test.sh -L devices runs one subsystem's tests.
set -Eeuo pipefail
cd "$(dirname "$0")"
source scripts/common.sh
trap 'say "test.sh: \"$BASH_COMMAND\" failed with code $?"' ERR

install_packages
build_all
prepare_test_user
trap stop_services EXIT
trap 'exit 130' INT TERM
start_xvfb
make_prefix
start_wineserver
# A Wine process now and then ends at start without a word (exit 1 in 10 ms, no
# output): such a test runs once more; one that fails twice fails the run.
as_test_user ctest --test-dir "$BUILD_DIR" --output-on-failure --repeat until-pass:2 -j"$(nproc)" "$@"
