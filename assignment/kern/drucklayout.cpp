#include "assignment/kern/drucklayout.h"

#include <algorithm>

#include "storage/dateifehler.h"
#include "storage/text.h"

namespace nux {
namespace {

Druckop op(Druckop::Art art) {
    Druckop o;
    o.art = art;
    return o;
}

// The grid is read through the names and row labels; a cell the window did
// not hand over counts as an empty one.
const Druckzelle& zelle(const Druckdaten& d, std::size_t c, std::size_t r) {
    static const Druckzelle leer;
    if (c >= d.zellen.size() || r >= d.zellen[c].size()) return leer;
    return d.zellen[c][r];
}

int letzte(std::size_t n) { return static_cast<int>(n) - 1; }

// A line of the sheet is on the paper only when its whole height is: the
// printer cuts a text that starts just above the edge of the printable area.
bool ganzdrauf(int y) { return y + kZeilenabstand <= kSeitenhoehe; }

}  // namespace

void Druckseite::groesse(int punkt) {
    Druckop o = op(Druckop::Art::groesse);
    o.wert = punkt;
    ops.push_back(std::move(o));
}

void Druckseite::text(int x, int y, std::string s) {
    Druckop o = op(Druckop::Art::text);
    o.x = x;
    o.y = y;
    o.text = std::move(s);
    ops.push_back(std::move(o));
}

void Druckseite::stift(int breite) {
    Druckop o = op(Druckop::Art::stift);
    o.wert = breite;
    ops.push_back(std::move(o));
}

void Druckseite::linie(int x1, int y1, int x2, int y2) {
    Druckop o = op(Druckop::Art::linie);
    o.x = x1;
    o.y = y1;
    o.x2 = x2;
    o.y2 = y2;
    ops.push_back(std::move(o));
}

void fettein(Druckseite& seite) { seite.ops.push_back(op(Druckop::Art::fettein)); }
void fettaus(Druckseite& seite) { seite.ops.push_back(op(Druckop::Art::fettaus)); }

std::vector<Drucktext> texte(const Druckseite& seite) {
    std::vector<Drucktext> r;
    int groesse = 0;
    bool fett = false;
    for (const auto& o : seite.ops) {
        switch (o.art) {
            case Druckop::Art::groesse: groesse = o.wert; break;
            case Druckop::Art::fettein: fett = true; break;
            case Druckop::Art::fettaus: fett = false; break;
            case Druckop::Art::text: r.push_back({o.x, o.y, groesse, fett, o.text}); break;
            default: break;
        }
    }
    return r;
}

std::vector<Drucklinie> linien(const Druckseite& seite) {
    std::vector<Drucklinie> r;
    int stift = 1;
    for (const auto& o : seite.ops) {
        if (o.art == Druckop::Art::stift) stift = o.wert;
        if (o.art == Druckop::Art::linie) r.push_back({o.x, o.y, o.x2, o.y2, stift});
    }
    return r;
}

std::string drucktitel(const std::string& jahr) {
    return "Unterrichtseinsatz   " + teil(jahr, 1, 4) + "-" + teil(jahr, 6, 6);
}

Lehrerblatt lehrerblatt(const Druckdaten& d, int p, const std::vector<Lehrersatz>& lehrer,
                        const std::string& datum) {
    if (p < 0 || static_cast<std::size_t>(p) >= d.verfuegbar.size()) throw Dateifehler(kBereich);
    Lehrerblatt b;
    Druckseite& s = b.seite;
    s.ausrichtung = Ausrichtung::hochformat;
    s.groesse(10);
    s.text(3500, 400, datum);
    s.groesse(14);
    s.text(600, 600, drucktitel(d.jahr));

    b.kurz = trimmen(teil(d.verfuegbar[static_cast<std::size_t>(p)], 1, 4));
    for (const auto& l : lehrer) {
        if (!l.name.empty() && l.name[0] == '#') continue;
        if (trimmen(l.kurz) != b.kurz) continue;
        fettein(s);
        s.groesse(24);
        s.text(600, 800, l.name);
        fettaus(s);
    }

    int zeile = -1;
    std::int64_t summe = 0;
    s.groesse(12);
    s.text(600, 1100, "Gewidmet von der Bergland Schulkreis BSK");
    s.groesse(10);
    const int lastClass = letzte(d.klassen.size());
    const int lastRow = letzte(d.zeilen.size());
    for (int c = 0; c <= lastClass; ++c) {
        for (int r = 0; r <= lastRow; ++r) {
            const Druckzelle& z = zelle(d, c, r);
            if (trimmen(z.lehrer) != b.kurz) continue;
            ++zeile;
            summe += zehntellesen(z.stunden);
            const int y = 1300 + kZeilenabstand * zeile;
            s.text(600, y,
                   linksbuendig(d.klassen[c], 6) + linksbuendig(d.zeilen[r], 6) +
                       linksbuendig(z.stunden, 6) + "   " + z.zusatz);
            if (ganzdrauf(y)) ++b.zeilenda;
        }
    }
    b.zeilen = zeile + 1;

    zeile += 3;
    const int y = 1300 + kZeilenabstand * zeile;
    fettein(s);
    s.text(600, y, "Summe:");
    s.text(1200, y, zehntelzeigen(summe, 4));
    fettaus(s);
    b.summeda = ganzdrauf(y);
    return b;
}

std::vector<Seitenblock> seitenbloecke(int lastClass, int lastRow) {
    std::vector<Seitenblock> r;
    for (int b = 0;; ++b) {
        const int cvon = 10 * b;
        const int cbis = std::min(10 * b + 9, lastClass);
        for (int q = 0;; ++q) {
            const int rvon = 35 * q;
            const int rbis = std::min(35 * q + 34, lastRow);
            r.push_back({cvon, cbis, rvon, rbis});
            if (rbis >= lastRow) break;
        }
        if (cbis >= lastClass) break;
    }
    return r;
}

Druckseite gesamtseite(const Druckdaten& d, const Seitenblock& b, const std::string& datum) {
    Druckseite s;
    s.ausrichtung = Ausrichtung::querformat;
    const int h = (b.cbis - b.cvon) / 2;
    const int K = b.cbis - b.cvon + 1;
    const int J = b.rbis - b.rvon + 1;
    const int links = -400 * h;

    s.groesse(10);
    s.text(4400, 200, datum);
    fettein(s);
    s.groesse(16);
    s.text(1600, 400, drucktitel(d.jahr));
    s.groesse(14);
    for (int c = b.cvon; c <= b.cbis; ++c) {
        const auto k = c - b.cvon;
        const std::string name = static_cast<std::size_t>(c) < d.klassen.size() ? d.klassen[c] : "";
        s.text(2440 + links + 400 * k, 700, name);
    }

    fettaus(s);
    s.groesse(10);
    for (int c = b.cvon; c <= b.cbis; ++c) {
        const int k = c - b.cvon;
        for (int r = b.rvon; r <= b.rbis; ++r) {
            const int y = 950 + 150 * (r - b.rvon);
            if (c == b.cvon)
                s.text(2150 + links, y, static_cast<std::size_t>(r) < d.zeilen.size() ? d.zeilen[r] : "");
            const Druckzelle& z = zelle(d, c, r);
            if (!z.sichtbar) continue;
            s.text(2350 + links + 400 * k, y, z.stunden);
            s.text(2500 + links + 400 * k, y, z.lehrer);
        }
    }

    s.stift(3);
    const int x0 = 2110 + links;
    const auto xi = [&](int i) { return i == 0 ? x0 : 2310 + links + 400 * (i - 1); };
    for (int i = 0; i <= J; ++i) s.linie(x0, 930 + 150 * i, xi(K + 1), 930 + 150 * i);
    for (int i = 0; i <= K + 1; ++i) s.linie(xi(i), 930, xi(i), 930 + 150 * J);
    return s;
}

}  // namespace nux
