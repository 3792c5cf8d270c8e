#!/usr/bin/env bash
# Builds the Debian package and checks it as the distribution does: the
# Release build without a single compiler warning, desktop-file-validate on
# the menu entry and appstreamcli on the AppStream data as the package
# installs them, and lintian on the .deb without errors or warnings.
# Called by test.sh.
set -euo pipefail
cd "$(dirname "$0")/.."
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

if ! sh scripts/paket.sh >"$tmp/bau" 2>&1; then
  cat "$tmp/bau"
  echo "nux: das Paket lässt sich nicht bauen" >&2
  exit 1
fi
if grep -q 'warning:' "$tmp/bau"; then
  grep -B2 -A6 'warning:' "$tmp/bau"
  echo "nux: die Release-Übersetzung warnt" >&2
  exit 1
fi
deb=$(tail -n 1 "$tmp/bau")

dpkg-deb -x "$deb" "$tmp/inhalt"
desktop-file-validate "$tmp/inhalt/usr/share/applications/nux.desktop"
appstreamcli validate --no-net --pedantic "$tmp"/inhalt/usr/share/metainfo/*.metainfo.xml
# lintian warns that it runs as root; that is the test machine's business.
lintian --fail-on error,warning "$deb" 2> >(grep -v 'running with root privileges' >&2)
echo "nux: Paket $(basename "$deb") besteht desktop-file-validate, appstreamcli und lintian"
