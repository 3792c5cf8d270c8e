#!/usr/bin/env python3
# Qualifications for the demo school's pictures, as "aus der Verteilung
# übernehmen" makes them: every teacher for every subject they hold in the
# grid; every fourth such pair a preferred subject. Writes
# "<Jahr>/planung/befaehigungen" of the current folder; a second argument N
# leaves out the last N pairs, so that the grid has lessons to mark.
import os, sys

jahr = sys.argv[1] if len(sys.argv) > 1 else "2026 1"
ohne = int(sys.argv[2]) if len(sys.argv) > 2 else 0

def text(b, o, n):
    return b[o + 1:o + 1 + min(b[o], n)]

faecher = open(os.path.join(jahr, "faecher"), "rb").read()
kurz = [text(faecher, i + 31, 5).strip()[:3] for i in range(0, len(faecher), 88)]
klassen = open(os.path.join(jahr, "klassen"), "rb").read()
paare = set()
for k in range(0, len(klassen), 13376):
    r = klassen[k:k + 13376]
    for j in range(3):
        for s in range(min(101, len(kurz))):
            l = text(r, 2432 + j * 505 + 5 * s, 4).strip()
            if l and not l.startswith(b"--"):
                paare.add((l, kurz[s]))
os.makedirs(os.path.join(jahr, "planung"), exist_ok=True)
with open(os.path.join(jahr, "planung", "befaehigungen"), "wb") as f:
    f.write(b"# nux: wer was unterrichten kann\r\n")
    for n, (l, s) in enumerate(sorted(paare)[:len(paare) - ohne]):
        f.write(l + b"\t" + s + b"\t" + (b"Wunschfach" if n % 4 == 0 else b"bef\xe4higt") + b"\r\n")
