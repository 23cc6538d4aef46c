#!/usr/bin/env bash
# Decodes FILE to nothing with our decoder (mpegbench) and with Debian's mpg123, each
# several times in alternation, and prints both median times and, last, their ratio.
# Our time is the decoding inside mpegbench, without Wine's start-up; mpg123's is the
# whole run of "mpg123 -q -t FILE".
# Without FILE it makes a five-minute 44.1 kHz stereo file at 192 kbit/s with lame
# from a generated signal.
# ZYM_BUILD_DIR picks the build folder, as for test.sh; RUNS the number of runs.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/common.sh

RUNS=${RUNS:-5}

need=()
command -v lame >/dev/null || need+=(lame)
# Debian's mpg123 is reached through its alternatives link, or directly.
mpg123=mpg123
"$mpg123" --version >/dev/null 2>&1 || mpg123=mpg123.bin
"$mpg123" --version >/dev/null 2>&1 || { need+=(mpg123); mpg123=mpg123; }
if [ ${#need[@]} -gt 0 ]; then
    say "Installing: ${need[*]}"
    DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${need[@]}" >/dev/null ||
        { apt-get update -q >/dev/null && DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${need[@]}" >/dev/null; }
fi

install_packages
[ -f "$BUILD_DIR/build.ninja" ] ||
    cmake -S "$ZYM_ROOT" -B "$BUILD_DIR" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$ZYM_ROOT/cmake/WinelibToolchain.cmake" >/dev/null
cmake --build "$BUILD_DIR" --target mpegbench >/dev/null

file=${1:-}
if [ -z "$file" ]; then
    file="$BUILD_DIR/bench-5min-192k.mp3"
    if [ ! -f "$file" ]; then
        say "Making $file"
        # A sweep on the left, chords over noise on the right: busy enough to use
        # every part of the decoder.
        perl -e '
            my ($rate, $seconds, $pi) = (44100, 300, 4 * atan2(1, 1));
            my ($phase, $seed) = (0, 1);
            for my $n (0 .. $rate * $seconds - 1) {
                my $t = $n / $rate;
                $phase += 2 * $pi * 50 * (160 ** ($t / $seconds)) / $rate;
                $seed = ($seed * 1103515245 + 12345) % 2147483648;
                my $noise = $seed / 1073741824 - 1;
                my $left = 0.4 * sin($phase);
                my $right = 0.15 * (sin(2 * $pi * 220 * $t) + sin(2 * $pi * 277 * $t) + sin(2 * $pi * 330 * $t)) + 0.1 * $noise;
                print pack("s<s<", 32767 * $left, 32767 * $right);
            }' |
            lame --quiet -r -s 44.1 --bitwidth 16 --signed --little-endian -m j -b 192 - "$file"
    fi
fi
file=$(realpath "$file")

prepare_test_user
trap stop_services EXIT
make_prefix
start_wineserver

bench="$BUILD_DIR/bench/mpegbench.exe.so"
winpath="Z:${file//\//\\}"
ours=()
theirs=()
for _ in $(seq "$RUNS"); do
    ours+=("$(as_test_user wine64 "$bench" "$winpath" | sed -n 's/^seconds: //p')")
    start=$(date +%s.%N)
    "$mpg123" -q -t "$file"
    end=$(date +%s.%N)
    theirs+=("$(echo "$end - $start" | bc -l)")
done

median() {
    local sorted
    mapfile -t sorted < <(printf '%s\n' "$@" | sort -g)
    local n=${#sorted[@]}
    if [ $((n % 2)) -eq 1 ]; then
        echo "${sorted[$((n / 2))]}"
    else
        echo "(${sorted[$((n / 2 - 1))]} + ${sorted[$((n / 2))]}) / 2" | bc -l
    fi
}
ours_median=$(median "${ours[@]}")
theirs_median=$(median "${theirs[@]}")
echo "ours: ${ours[*]} (median $ours_median s)"
echo "mpg123: ${theirs[*]} (median $theirs_median s)"
printf 'ratio: %.3f\n' "$(echo "$ours_median / $theirs_median" | bc -l)"
