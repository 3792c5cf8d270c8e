#pragma once
// The printouts of the assignment window as pages of drawing operations in
// layout units, free of any toolkit: the renderer replays them on a printer.
// A page is 4745 units wide and 6638 units high in either orientation; texts
// are Windows-1252 and stand with their top-left corner at their point.
#include <cstdint>
#include <string>
#include <vector>

#include "assignment/kern/druckdaten.h"
#include "storage/satz.h"

namespace nux {

inline constexpr int kSeitenbreite = 4745;
inline constexpr int kSeitenhoehe = 6638;
// Line spacing of the teacher sheet, a little more than a 10 pt line is high.
inline constexpr int kZeilenabstand = 100;

// Layout units to printer pixels: multiply first, then divide (truncated).
constexpr int pixel(int seitenpixel, int einheiten, int teiler) {
    return static_cast<int>(static_cast<std::int64_t>(seitenpixel) * einheiten / teiler);
}

enum class Ausrichtung { hochformat, querformat };

struct Druckop {
    enum class Art {
        groesse,  // font size in points (wert)
        fettein,  // the font becomes bold
        fettaus,  // the font becomes plain
        text,     // text at (x, y)
        stift,    // pen width in printer pixels (wert)
        linie,    // line from (x, y) to (x2, y2)
    };
    Art art = Art::text;
    int x = 0, y = 0, x2 = 0, y2 = 0;
    int wert = 0;
    std::string text;
};

// One printed document of one page.
struct Druckseite {
    Ausrichtung ausrichtung = Ausrichtung::hochformat;
    std::string schriftart = "Arial";
    std::vector<Druckop> ops;

    void groesse(int punkt);
    void text(int x, int y, std::string s);
    void stift(int breite);
    void linie(int x1, int y1, int x2, int y2);
};

// The printer's bold switch: replaces the style only, the size stays.
void fettein(Druckseite& seite);
void fettaus(Druckseite& seite);

// A text with the font state in force when it is drawn.
struct Drucktext {
    int x = 0, y = 0;
    int groesse = 0;
    bool fett = false;
    std::string text;
    bool operator==(const Drucktext&) const = default;
};
struct Drucklinie {
    int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    int stift = 1;
    bool operator==(const Drucklinie&) const = default;
};
std::vector<Drucktext> texte(const Druckseite& seite);
std::vector<Drucklinie> linien(const Druckseite& seite);

// "Unterrichtseinsatz   2026-1" for the year folder "2026 1".
std::string drucktitel(const std::string& jahr);

// The sheet of one teacher: the key is positions 1-4 of availability line p,
// trimmed; every teacher record with that short name that is not withdrawn
// gives the name. There is no page break: a text at Y 6638 or below lies off
// the page and is lost, one just above it is cut; both count as missing.
struct Lehrerblatt {
    Druckseite seite;
    std::string kurz;       // the key
    int zeilen = 0;         // lesson lines on the sheet
    int zeilenda = 0;       // lesson lines that stand whole on the page
    bool summeda = true;    // the sum stands whole on the page
    bool vollstaendig() const { return zeilenda == zeilen && summeda; }
};
// lehrer: the records of "lehrer" in file order (none when the file is missing).
// A position beyond the availability list is a range error.
Lehrerblatt lehrerblatt(const Druckdaten& d, int p, const std::vector<Lehrersatz>& lehrer,
                        const std::string& datum);

// The page blocks of the whole-school table, in printing order: down the rows
// of ten classes at a time, at most 35 rows a page.
struct Seitenblock {
    int cvon = 0, cbis = 0, rvon = 0, rbis = 0;
    bool operator==(const Seitenblock&) const = default;
};
std::vector<Seitenblock> seitenbloecke(int lastClass, int lastRow);

// One landscape page of the whole-school table.
Druckseite gesamtseite(const Druckdaten& d, const Seitenblock& b, const std::string& datum);

}  // namespace nux
