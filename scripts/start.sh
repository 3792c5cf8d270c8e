#!/usr/bin/env bash
# Sets up nux and starts it on the demo school: installs what is missing,
# builds, prepares the program folder "nux" (only when it does not exist,
# so a user's data are never overwritten) and starts the program there.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/pakete.sh
wurzel=$PWD

cmake -S . -B build-start -G Ninja -DCMAKE_BUILD_TYPE=Release -DNUX_TESTS=OFF -DNUX_BENCH=OFF >/dev/null
cmake --build build-start --target nux nux_demo

ordner="${NUX_ORDNER:-$PWD/nux}"
if [ ! -e "$ordner" ]; then
  mkdir -p "$ordner"
  (cd "$ordner" && "$wurzel/build-start/nux_demo")
  echo "nux: Demo-Schule in $ordner angelegt"
fi

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "nux: keine Anzeige gefunden (DISPLAY); starte unter xvfb-run" >&2
  exec xvfb-run -a -s "-screen 0 1024x700x24" "$wurzel/build-start/nux" --ordner "$ordner"
fi
exec "$wurzel/build-start/nux" --ordner "$ordner"
