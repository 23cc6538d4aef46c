#!/usr/bin/env bash
# Fuzzes the readers of outside input with libFuzzer under AddressSanitizer and
# UndefinedBehaviorSanitizer, inside Wine. The targets are built by clang
# through wineg++ (a g++ that runs clang, first on PATH) in a build folder of
# their own, never the project's; each then runs for the given seconds from a
# copy of its corpus. New inputs stay in the work folder; crashes, reports and
# hangs land in its findings/ folder: add the ones worth keeping to
# fuzz/corpus/NAME so that the regression test runs them.
# Usage: fuzz/run-fuzzers.sh [seconds per target] [target...]
#   targets: CommandText EventMap PageScans DeviceFile PlayList Search TimerWords TipFile CrashLink
#            ChangerStatus
# Needs clang (apt-get install clang) and a Wine prefix (WINEPREFIX; under X
# where a target shows a window, which none does).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
[ $# -gt 0 ] && shift
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(CommandText EventMap PageScans DeviceFile PlayList Search TimerWords TipFile CrashLink
    ChangerStatus)
work=${FUZZ_DIR:-/tmp/zym-fuzz}
build=$work/build
shim=$work/cc

command -v clang++ >/dev/null || DEBIAN_FRONTEND=noninteractive apt-get install -y -q clang >/dev/null
runtime=$(clang++ -print-resource-dir)/lib/linux
mkdir -p "$shim" "$work/findings"
printf '#!/bin/sh\nexec clang++ "$@"\n' >"$shim/g++"
printf '#!/bin/sh\nexec clang "$@"\n' >"$shim/gcc"
chmod +x "$shim/g++" "$shim/gcc"
export PATH="$shim:/usr/lib/wine:$PATH"

# Everything the targets link is instrumented; only the targets link the
# fuzzer's own main and the shared sanitizer runtime (the Wine loader is no
# sanitized program, so the runtime is preloaded into it below), which is why
# the compiler's link checks are skipped.
# Flags given here replace the toolchain's own, so its wide-character ones come again.
wide="-fno-short-wchar -UWINE_UNICODE_NATIVE"
sanitize="-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer"
link="-Wl,--whole-archive;$runtime/libclang_rt.fuzzer-x86_64.a;-Wl,--no-whole-archive;$runtime/libclang_rt.asan-x86_64.so"
if [ ! -f "$build/build.ninja" ]; then
    cmake -S "$root" -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$root/cmake/WinelibToolchain.cmake" \
        -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=OFF \
        -DCMAKE_C_COMPILER_WORKS=ON -DCMAKE_CXX_COMPILER_WORKS=ON \
        -DCMAKE_C_FLAGS="$wide $sanitize" -DCMAKE_CXX_FLAGS="$wide $sanitize" -DZYM_LIBFUZZER="$link" >/dev/null
fi
cmake --build "$build" --target "${targets[@]/#/fuzz_}"

# Wine's own signal handling needs the main stack; leaks of the Wine loader
# are not ours.
export LD_PRELOAD=$runtime/libclang_rt.asan-x86_64.so
export ASAN_OPTIONS=use_sigaltstack=0:detect_leaks=0:allocator_may_return_null=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export WINEDEBUG=-all
status=0
for target in "${targets[@]}"; do
    corpus=$work/corpus/$target
    mkdir -p "$corpus"
    name=$(printf '%s' "$target" | sed -e 's/\([a-z]\)\([A-Z]\)/\1_\2/g' | tr 'A-Z' 'a-z')
    cp -n "$root/fuzz/corpus/$name"/* "$corpus"/ 2>/dev/null || true
    echo "== $target: $seconds s"
    wine64 "$build/fuzz/fuzz_$target.exe.so" -max_total_time="$seconds" -max_len=65536 -timeout=10 \
        -artifact_prefix="$work/findings/$target-" -print_final_stats=1 "$corpus" || status=1
done
exit $status
