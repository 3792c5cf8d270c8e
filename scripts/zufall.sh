#!/usr/bin/env bash
# The random walk through the windows, to replay a failure or for a long run:
#   bash scripts/zufall.sh --seed N --schritte M
# Without --seed a new seed is drawn and printed. Builds what it needs in
# build-zufall/ (or NUX_BAU); exits non-zero on any failure, with the seed and
# the step that failed.
set -euo pipefail
cd "$(dirname "$0")/.."
BAU="${NUX_BAU:-build-zufall}"
if [ ! -f "$BAU/CMakeCache.txt" ]; then
  cmake -S . -B "$BAU" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DNUX_BENCH=OFF >/dev/null
fi
if ! cmake --build "$BAU" --target nux_zufall -j "$(nproc)" >"$BAU/zufall-bau.log" 2>&1; then
  cat "$BAU/zufall-bau.log"
  exit 2
fi
QT_QPA_PLATFORM=offscreen exec "$BAU/tests/nux_zufall" "$@"
