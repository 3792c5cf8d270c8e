#!/usr/bin/env bash
# Takes the user guide's screenshots from the real program on the demo school
# under Xvfb, driven by xdotool, into docs/bilder/.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/pakete.sh
for p in xdotool imagemagick; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || {
    apt-get update && DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "$p"; }
done
wurzel=$PWD
cmake -S . -B build-start -G Ninja -DCMAKE_BUILD_TYPE=Release -DNUX_TESTS=OFF -DNUX_BENCH=OFF >/dev/null
cmake --build build-start --target nux nux_demo

arbeit=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null || true; rm -rf "$arbeit"' EXIT
mkdir -p "$arbeit/nux"
cd "$arbeit/nux"
"$wurzel/build-start/nux_demo"
"$wurzel/build-start/nux_demo"   # a second run leaves a backup of every file
python3 "$wurzel/scripts/befaehigungen.py"   # qualifications as the grid says, for the proposal

export DISPLAY=:77
Xvfb "$DISPLAY" -screen 0 1016x656x24 >/dev/null 2>&1 &
sleep 1
"$wurzel/build-start/nux" >/dev/null 2>&1 &
nuxpid=$!
sleep 2

bild() {  # name: a small PNG of the whole screen
  sleep 1
  import -window root "$arbeit/roh.png"
  convert "$arbeit/roh.png" -resize 80% +dither -colors 64 "PNG8:$wurzel/docs/bilder/$1.png"
}
klick() { xdotool mousemove "$1" "$2" click 1; sleep 0.6; }

xdotool type 8153; xdotool key Tab; sleep 0.5
bild menue
klick 770 12; bild faecher            # "Fächer"
klick 685 12; klick 60 100; bild lehrer   # "LehrerInnen", first teacher
# "Wer unterrichtet was", filled from the grid ("Ja"), one Wunschfach; closing
# asks, and "Ja" saves.
klick 630 349; klick 474 593; xdotool key Return; sleep 0.5
xdotool key Down Down Right Right 2; bild befaehigungen
xdotool key Escape; sleep 0.5; xdotool key Return; sleep 0.5
klick 595 12; klick 40 164; klick 320 149; bild klassen   # "Klassen", 1b, first subject
klick 525 12; bild jahr               # "Jahr"
klick 300 12                          # back to the menu
klick 50 12; sleep 1; bild verteilung # "Verteilung"
xdotool mousemove 930 398 keydown alt click 1 keyup alt; sleep 2   # ALT-click: sheet of PetL
klick 300 12                          # back to the menu
klick 525 12; klick 930 623; bild sicherungen   # "Jahr", "Sicherungen"
xdotool key Escape
pdf=$(ls druck/*.pdf | head -n 1)
pdftoppm -png -r 60 -f 1 -l 1 "$pdf" "$arbeit/seite"
convert "$arbeit"/seite*.png +dither -colors 16 "PNG8:$wurzel/docs/bilder/druck.png"
# "Excel-Export" after one unsaved assignment (BirW on D in 1a).
klick 930 125; klick 85 92; klick 866 50; bild export
# The workbook as LibreOffice prints it, when LibreOffice is there (it is no
# part of the tests; libreoffice-calc-nogui is enough).
if command -v soffice >/dev/null; then
  mappe=$(ls export/*.xlsx | head -n 1)
  soffice --headless --convert-to pdf --outdir "$arbeit" "$mappe" >/dev/null 2>&1
  pdftoppm -png -r 70 -f 1 -l 1 "$arbeit"/*.pdf "$arbeit/mappe"
  convert "$arbeit"/mappe*.png -trim -bordercolor white -border 12 +dither -colors 16 "PNG8:$wurzel/docs/bilder/mappe.png"
fi
# Load and bottlenecks, and the marks of a selected teacher, with the last
# 15 pairs of the grid left out of the qualifications.
python3 "$wurzel/scripts/befaehigungen.py" "2026 1" 15
klick 300 12; klick 50 12; sleep 1    # "Verteilung" again: reloads
klick 930 125; klick 860 410; bild auslastung
klick 860 410                         # closes the panel
# The proposal for the open lessons: "Vorschlag …" beside the grid, then "Vorschlag berechnen".
klick 50 12; sleep 1; klick 860 317; sleep 1
xdotool key Return; sleep 3; bild vorschlag
xdotool key Escape; sleep 0.5
# The question before unsaved assignments are dropped, over the grid it is about.
klick 900 86; klick 72 93             # AndE on the D lesson of 1a
klick 525 12; bild frage              # "Jahr"
xdotool key Escape; sleep 0.5         # "Abbrechen"
# A new school year with promotion and the comparison of the two years, on a
# fresh start of the program (the unsaved assignment above is dropped).
kill "$nuxpid"; wait "$nuxpid" 2>/dev/null || true
mkdir "2027 1"
"$wurzel/build-start/nux" >/dev/null 2>&1 &
nuxpid=$!
sleep 2
xdotool type 8153; xdotool key Tab; sleep 0.5
klick 525 12                                  # "Jahr"
xdotool mousemove 100 137 keydown alt click 1 keyup alt; sleep 0.6   # ALT-click on 2027 1
klick 100 118                                 # from 2026 1
# LehrerInnen, Fächernamen, Klassen mit Stunden mit Zusatztext, Klassen versetzen, LehrerInnen wandern mit
for p in "407 321" "407 381" "407 494" "557 531" "557 558"; do klick $p; done
bild versetzen
klick 460 543; bild versetzung                # "Start": the preview
klick 807 560                                 # "Übernehmen"
klick 525 12; klick 100 137                   # "Jahr", 2027 1 becomes the current year
klick 525 12; klick 785 622; bild vergleich   # "Jahr", "Pläne vergleichen": 2026 1 against 2027 1
ls -la "$wurzel/docs/bilder"
