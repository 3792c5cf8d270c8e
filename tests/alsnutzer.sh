#!/bin/sh
# Runs a test program as an ordinary user when called as root: to root a
# write-protected file or folder is no protection at all. The program is run
# from a copy, since the build folder may be closed to other users.
set -eu
programm=$1
shift
if [ "$(id -u)" -ne 0 ]; then
  exec "$programm" "$@"
fi
ort=$(mktemp -d)
trap 'rm -rf "$ort"' EXIT
cp "$programm" "$ort/test"
chmod 755 "$ort" "$ort/test"
cd "$ort"
setpriv --reuid=65534 --regid=65534 --clear-groups "$ort/test" "$@"
