#!/usr/bin/env bash
# Installs the Debian package into a clean Debian 12 root made by debootstrap,
# without recommended packages, and starts the launcher there as a new user
# under Xvfb: shows that the package's dependencies bring everything nux
# needs. Needs root and the network and takes minutes, so the test command
# does not run it.
# Usage: scripts/paket-wurzeltest.sh [path of the .deb]  (default: scripts/paket.sh builds it)
set -euo pipefail
cd "$(dirname "$0")/.."
if [ "$(id -u)" -ne 0 ]; then
  echo "nux: bitte als root ausführen (debootstrap und chroot brauchen es)" >&2
  exit 1
fi
if ! command -v debootstrap >/dev/null; then
  apt-get update
  DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends debootstrap
fi
deb=$(readlink -f "${1:-$(sh scripts/paket.sh | tail -n 1)}")
spiegel=${NUX_SPIEGEL:-http://deb.debian.org/debian}

wurzel=$(mktemp -d /tmp/nuxwurzel.XXXXXX)
chmod 755 "$wurzel"  # the root of the new system, open to its users
protokoll=$wurzel.log
aufraeumen() {
  for m in dev/pts dev proc; do umount -l "$wurzel/$m" 2>/dev/null || true; done
  rm -rf --one-file-system "$wurzel" "$protokoll"
}
trap aufraeumen EXIT
schritt() {
  local name=$1; shift
  local t0=$SECONDS
  if ! "$@" >>"$protokoll" 2>&1; then
    echo "nux: $name fehlgeschlagen:" >&2
    tail -n 40 "$protokoll" >&2
    exit 1
  fi
  echo "nux: $name: $((SECONDS - t0)) s"
}
drinnen() { chroot "$wurzel" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin LANG=C.UTF-8 DEBIAN_FRONTEND=noninteractive "$@"; }

beginn=$SECONDS
schritt "Debian 12 anlegen (debootstrap)" debootstrap --variant=minbase bookworm "$wurzel" "$spiegel"
mount -t proc proc "$wurzel/proc"
mount --bind /dev "$wurzel/dev"
mount --bind /dev/pts "$wurzel/dev/pts"
cp "$deb" "$wurzel/tmp/nux.deb"
schritt "Paketquellen lesen" drinnen apt-get update
# Xvfb and xauth stand in for the desktop; nux's own needs come from its package alone.
schritt "nux installieren" drinnen apt-get install -y --no-install-recommends /tmp/nux.deb xvfb xauth
schritt "Benutzer anlegen" drinnen useradd --create-home lehrer
# --startzeit ends nux as soon as the menu is painted: it started for real.
schritt "nux-start unter Xvfb" drinnen timeout 120 su lehrer -c \
  'cd && xvfb-run -a -s "-screen 0 1024x700x24" nux-start --startzeit'
if [ ! -d "$wurzel/home/lehrer/nux" ]; then
  echo "nux: der Starter hat den Programmordner ~/nux nicht angelegt" >&2
  exit 1
fi
if grep -qiE 'could not (load|find)|cannot|failed' "$protokoll"; then
  echo "nux: Meldungen beim Start:" >&2
  grep -iE 'could not (load|find)|cannot|failed' "$protokoll" >&2
  exit 1
fi
echo "nux: Paket in einem frischen Debian 12 installiert und gestartet, zusammen $((SECONDS - beginn)) s"
