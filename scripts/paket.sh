#!/bin/sh
# Builds the Debian package of nux (Release) in build-paket/ and prints its path.
# Usage, from anywhere: scripts/paket.sh
set -eu

cd "$(dirname "$0")/.."
BAU=build-paket
if [ ! -f "$BAU/CMakeCache.txt" ]; then
    cmake -S . -B "$BAU" -G Ninja -DCMAKE_BUILD_TYPE=Release -DNUX_TESTS=OFF -DNUX_BENCH=OFF >/dev/null
fi
ninja -C "$BAU" -j2 nux nux_paketdateien
rm -f "$BAU"/nux_*.deb
(cd "$BAU" && cpack -G DEB >/dev/null)
ls "$(pwd)/$BAU"/nux_*.deb
