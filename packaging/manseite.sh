#!/bin/sh
# Makes the manual page nux(1) from the program's own German help, so that
# the page names every option the program knows, in the program's words.
# Usage: manseite.sh <path of nux>  > nux.1
set -eu
nux=$1
version=$("$nux" --version)
"$nux" --help | awk -v version="$version" '
function roff(s) {
    gsub(/\\/, "\\e", s)
    gsub(/-/, "\\-", s)
    if (s ~ /^[.'"'"']/) s = "\\&" s
    return s
}
BEGIN {
    print ".\\\" -*- coding: UTF-8 -*-"
    print ".\\\" Aus \"nux --help\" gemacht (packaging/manseite.sh)."
    print ".TH NUX 1 \"\" \"" version "\" \"Benutzerbefehle\""
    # English hyphenation patterns would split German words wrongly.
    print ".nh"
    print ".SH BEZEICHNUNG"
    print "nux \\- Lehrfächerverteilung eines Schuljahres planen und drucken"
    print ".SH ÜBERSICHT"
    print ".B nux"
    print "[\\fIOptionen\\fR]"
    teil = "kopf"
    absatz = 0
}
/^Aufruf:/ { next }
/^Optionen:$/ { print ".SH OPTIONEN"; teil = "optionen"; next }
/^Rückgabewert:/ {
    print ".SH RÜCKGABEWERT"
    sub(/^Rückgabewert: */, "")
    print roff($0)
    teil = "ende"
    next
}
/^$/ { absatz = (teil == "beschreibung"); next }
teil == "optionen" && /^  -/ {
    zeile = $0
    sub(/^  +/, "", zeile)
    n = match(zeile, /  +/)
    links = substr(zeile, 1, n - 1)
    text = substr(zeile, n + RLENGTH)
    k = split(links, namen, ", ")
    kopf = ""
    for (i = 1; i <= k; i++) {
        split(namen[i], w, " ")
        name = "\\fB" roff(w[1]) "\\fR"
        if (w[2] != "") name = name " \\fI" w[2] "\\fR"
        kopf = kopf (i > 1 ? ", " : "") name
    }
    print ".TP"
    print kopf
    print roff(text)
    next
}
teil == "kopf" || teil == "beschreibung" {
    if (teil == "kopf") { print ".SH BESCHREIBUNG"; teil = "beschreibung" }
    if (absatz) print ".PP"
    absatz = 0
    print roff($0)
    next
}
{ print roff($0) }
END {
    print ".SH DATEIEN"
    print "Im Programmordner:"
    print ".TP"
    print ".I codes"
    print "das Codewort, verschlüsselt"
    print ".TP"
    print ".I jahrakt"
    print "der Name des aktuellen Schuljahres"
    print ".TP"
    print ".I \"2026 1\""
    print "ein Ordner je Schuljahr (Jahreszahl, Leerzeichen, Nummer) mit den Dateien"
    print ".IR faecher \", \" lehrer \" und \" klassen"
    print ".TP"
    print ".I druck"
    print "Ausdrucke als PDF, wenn kein Drucker eingerichtet ist"
    print ".SH SIEHE AUCH"
    print ".BR nux\\-start (1);"
    print "die Anleitung mit Bildern in"
    print ".IR /usr/share/doc/nux/anleitung.md ."
}'
