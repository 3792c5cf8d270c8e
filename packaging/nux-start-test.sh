#!/bin/sh
# The launcher makes ~/nux on the first start, starts nux there with its
# arguments, and refuses with a message when the folder cannot be made.
# Usage: nux-start-test.sh <path of nux-start>
set -u
START=$1
tmp=$(mktemp -d)
trap 'chmod -R u+w "$tmp"; rm -rf "$tmp"' EXIT
fehler=0
pruefe() {
    if [ "$2" != "$3" ]; then
        echo "FEHLER $1: erwartet '$3', erhalten '$2'"
        fehler=1
    fi
}

# A stand-in for the program next to the launcher: reports its arguments.
mkdir -p "$tmp/bin"
cp "$START" "$tmp/bin/nux-start"
printf '#!/bin/sh\necho "$*"\n' >"$tmp/bin/nux"
chmod +x "$tmp/bin/nux-start" "$tmp/bin/nux"
ln -s "$tmp/bin/nux-start" "$tmp/verknuepft"

mkdir "$tmp/home"
pruefe "erster Start" "$(env -u DISPLAY HOME="$tmp/home" "$tmp/bin/nux-start" a b)" "--ordner $tmp/home/nux a b"
pruefe "Ordner angelegt" "$(test -d "$tmp/home/nux" && echo ja)" "ja"
echo inhalt >"$tmp/home/nux/codes"
pruefe "zweiter Start, über Verknüpfung" "$(env -u DISPLAY HOME="$tmp/home" "$tmp/verknuepft")" "--ordner $tmp/home/nux"
pruefe "Daten bleiben" "$(cat "$tmp/home/nux/codes")" "inhalt"

mkdir "$tmp/home2"
: >"$tmp/home2/nux"
ausgabe=$(env -u DISPLAY HOME="$tmp/home2" "$tmp/bin/nux-start" 2>&1)
pruefe "nux ist eine Datei: Rückgabe" "$?" "1"
pruefe "nux ist eine Datei: Meldung" "$ausgabe" "nux: Der Programmordner $tmp/home2/nux kann nicht angelegt werden."

ausgabe=$(env -u DISPLAY -u HOME "$tmp/bin/nux-start" 2>&1)
pruefe "ohne HOME" "$ausgabe" "nux: Kein Benutzerordner (HOME) gesetzt."
exit "$fehler"
