#!/usr/bin/env bash
# Fuzzes the MPEG audio engine with libFuzzer under AddressSanitizer and
# UndefinedBehaviorSanitizer, natively with Debian's clang, seeded with the
# conformance streams when they are there.
# Usage: run-fuzzer.sh [seconds]   (default 120; findings land in fuzz-findings/)
set -euo pipefail
cd "$(dirname "$0")"
root=$(cd ../../.. && pwd)
out=${FUZZ_DIR:-/tmp/zym-mpeg-fuzz}
seconds=${1:-120}
mkdir -p "$out/corpus" "$out/findings"

command -v clang++ >/dev/null || DEBIAN_FRONTEND=noninteractive apt-get install -y -q clang >/dev/null
clang++ -std=c++17 -g -O1 -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
    -I"$root" -o "$out/mpeg-decode-fuzz" MpegDecodeFuzz.cpp \
    "$root"/mp3/decoder/Mpeg*.cpp "$root"/mp3/decoder/Layer*.cpp "$root"/mp3/decoder/XingHeader.cpp \
    "$root"/mp3/decoder/tests/support/MemoryStream.cpp

data=${ZYM_TESTDATA:-$root/../shared/testdata}
seeds=()
if [ -d "$data/mpeg" ]; then
    # Seeds: the option bytes, then the first 8 kB of each stream.
    for f in "$data"/mpeg/*.bit; do
        name=$(basename "$f" .bit)
        { printf '\000\000\000'; head -c 8192 "$f"; } >"$out/corpus/$name"
    done
fi
"$out/mpeg-decode-fuzz" -max_total_time="$seconds" -max_len=16384 -artifact_prefix="$out/findings/" \
    -print_final_stats=1 "$out/corpus"
