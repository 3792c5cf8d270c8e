#!/usr/bin/env bash
# Sets up nux and runs every test: the build with all tests (printing through
# a CUPS server of its own among them), the Debian package with the
# distribution's checks, the sanitizer build and, where clang is there, a
# short fuzzing run of every reader.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/pakete.sh

export QT_QPA_PLATFORM=offscreen
jobs=$(nproc)

cmake -S . -B build-test -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build-test -j "$jobs"
(cd build-test && ctest --output-on-failure -j "$jobs")
bash scripts/paketpruefung.sh

if [ -x scripts/sanitize.sh ] || [ -f scripts/sanitize.sh ]; then
  bash scripts/sanitize.sh
fi
if [ -f scripts/fuzz.sh ] && command -v clang++ >/dev/null; then
  NUX_FUZZ_SEKUNDEN="${NUX_FUZZ_SEKUNDEN:-30}" bash scripts/fuzz.sh
fi
echo "nux: alle Tests bestanden"
