#!/usr/bin/env bash
# Builds the image tests with AddressSanitizer in a folder of their own and
# runs them, mutated-file rounds and corpus included: a bad access in our
# readers, or in the buffers they hand libjpeg and libpng, stops the run
# with a report. DIB memory comes from GlobalAlloc, that is from Wine's heap,
# which the sanitizer does not watch.
# Usage: image/tests/run-under-asan.sh [GoogleTest arguments]
set -euo pipefail
cd "$(dirname "$0")/../.."
export ZYM_BUILD_DIR="${ZYM_BUILD_DIR:-build-asan}"
source scripts/common.sh

# winegcc drops -fsanitize when it links, so the runtime is named as a
# library and CMake's trial link is skipped.
cmake -S "$ZYM_ROOT" -B "$BUILD_DIR" -G Ninja \
      -DCMAKE_TOOLCHAIN_FILE="$ZYM_ROOT/cmake/WinelibToolchain.cmake" \
      -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_COMPILER_WORKS=ON \
      "-DCMAKE_CXX_FLAGS=-fsanitize=address -fno-omit-frame-pointer" \
      -DCMAKE_CXX_STANDARD_LIBRARIES=-lasan >/dev/null
cmake --build "$BUILD_DIR" --target image_tests

trap stop_services EXIT
start_xvfb
make_prefix
start_wineserver
# The Wine loader is not instrumented: the runtime must be preloaded.
LD_PRELOAD="$(gcc -print-file-name=libasan.so)" \
ASAN_OPTIONS=verify_asan_link_order=0:detect_leaks=0 \
ZYM_SOURCE_DIR="$ZYM_ROOT" \
    wine64 "$BUILD_DIR/image/tests/image_tests.exe.so" "$@"
