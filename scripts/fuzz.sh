#!/bin/sh
# Builds the libFuzzer targets with clang and runs each for NUX_FUZZ_SEKUNDEN
# seconds (default 60). Exits non-zero when a target finds a crash or a broken
# invariant; the input is kept in build-fuzz/funde/. Without clang nothing is
# fuzzed (exit 0, with a note).
# Usage, from the project root: scripts/fuzz.sh [target ...]
set -eu

cd "$(dirname "$0")/.."
WURZEL=$(pwd)
SEKUNDEN="${NUX_FUZZ_SEKUNDEN:-60}"
BAU=build-fuzz

if ! command -v clang++ >/dev/null 2>&1; then
    echo "fuzz.sh: clang++ fehlt, kein Fuzzing (apt-get install clang libclang-rt-14-dev)" >&2
    exit 0
fi

if [ ! -f "$BAU/CMakeCache.txt" ]; then
    CC=clang CXX=clang++ cmake -S . -B "$BAU" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DNUX_FUZZ=ON -DNUX_GUI=OFF -DNUX_TESTS=OFF -DNUX_BENCH=OFF >/dev/null
fi
mkdir -p "$BAU"
if ! ninja -C "$BAU" -j2 nux_fuzz >"$BAU/bau.log" 2>&1; then
    tail -30 "$BAU/bau.log" >&2
    exit 1
fi

if [ "$#" -gt 0 ]; then
    ZIELE="$*"
else
    ZIELE=$(cd fuzz && ls fuzz_*.cpp | sed 's/\.cpp$//')
fi

# Large enough for three class records and for one subject more than a year holds.
laenge() {
    case "$1" in
        fuzz_klassen) echo 40200 ;;
        fuzz_faecher) echo 4700 ;;
        fuzz_lehrer) echo 1200 ;;
        fuzz_listenzeilen) echo 400 ;;
        fuzz_befaehigungen) echo 4096 ;;
        *) echo 256 ;;
    esac
}

mkdir -p "$BAU/funde"
FEHLER=0
for ziel in $ZIELE; do
    programm="$BAU/fuzz/$ziel"
    [ -x "$programm" ] || { echo "fuzz.sh: kein Ziel $ziel" >&2; FEHLER=1; continue; }
    # New inputs go to the build folder; fuzz/corpus keeps only the seeds.
    # Absolute paths: the targets work in a program folder of their own.
    arbeit="$WURZEL/$BAU/korpus/$ziel"
    mkdir -p "$arbeit" "fuzz/corpus/$ziel"
    log="$BAU/funde/$ziel.log"
    if "$programm" "$arbeit" "$WURZEL/fuzz/corpus/$ziel" -max_total_time="$SEKUNDEN" \
        -max_len="$(laenge "$ziel")" -timeout=10 -rss_limit_mb=2048 \
        -artifact_prefix="$WURZEL/$BAU/funde/$ziel-" -print_final_stats=1 \
        >"$log" 2>&1; then
        echo "$ziel: ok ($(grep -m1 'stat::number_of_executed_units' "$log" | awk '{print $2}') Läufe)"
    else
        echo "$ziel: FUND, siehe $log und $BAU/funde/$ziel-*" >&2
        grep -E 'ERROR|verletzt|SUMMARY' "$log" | head -5 >&2 || true
        FEHLER=1
    fi
done
exit "$FEHLER"
