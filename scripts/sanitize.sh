#!/bin/sh
# Builds the program and every test with AddressSanitizer and
# UndefinedBehaviorSanitizer in build-san/ and runs the whole test suite there.
# Any finding fails its test, so the script exits non-zero.
# Usage, from anywhere: scripts/sanitize.sh
set -eu

cd "$(dirname "$0")/.."
BAU=build-san
SAN="-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer"

if [ ! -f "$BAU/CMakeCache.txt" ]; then
    cmake -S . -B "$BAU" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DNUX_BENCH=OFF \
        -DCMAKE_CXX_FLAGS="$SAN -O1" \
        -DCMAKE_EXE_LINKER_FLAGS="$SAN" -DCMAKE_SHARED_LINKER_FLAGS="$SAN" >/dev/null
fi
ninja -C "$BAU" -j2

export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS="${ASAN_OPTIONS:-abort_on_error=0:halt_on_error=1:detect_stack_use_after_return=1:strict_string_checks=1:check_initialization_order=1}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"
cd "$BAU"
ctest --output-on-failure -j2 --timeout 600
