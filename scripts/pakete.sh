#!/usr/bin/env bash
# Installs the Debian packages nux needs to build, run and test, when some
# are missing. Sourced by start.sh and test.sh.
nux_pakete=(
  g++ cmake ninja-build pkg-config
  qt6-base-dev libgl-dev libxlsxwriter-dev qt6-charts-dev libqt6opengl6-dev
  libglpk-dev liblemon-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  fonts-liberation fonts-dejavu-core qt6-translations-l10n
  xvfb xauth poppler-utils xdg-utils python3-openpyxl
  clang libclang-rt-14-dev
  dpkg-dev file
  cups printer-driver-cups-pdf
  lintian desktop-file-utils appstream
)

nux_fehlende=()
for p in "${nux_pakete[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    nux_fehlende+=("$p")
  fi
done

if [ ${#nux_fehlende[@]} -gt 0 ]; then
  echo "nux: installiere ${nux_fehlende[*]}"
  als_root=()
  if [ "$(id -u)" -ne 0 ]; then
    if command -v sudo >/dev/null; then als_root=(sudo); else
      echo "nux: bitte als root ausführen (apt-get)" >&2; exit 1; fi
  fi
  "${als_root[@]}" apt-get update
  DEBIAN_FRONTEND=noninteractive "${als_root[@]}" apt-get install -y --no-install-recommends "${nux_fehlende[@]}"
fi
