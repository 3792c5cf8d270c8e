#include "assignment/kern/excel.h"

#include <algorithm>
#include <map>
#include <set>

#include "assignment/kern/engpass.h"
#include "storage/jahr.h"
#include "storage/text.h"

namespace nux {

namespace {

using Z = Mappenzelle;
using Zeile = std::vector<Mappenzelle>;

// Texts of the workbook, Windows-1252 like every text of the core.
const std::string kPruefung = "Pr\xFC" "fung";
const std::string kVerfuegbar = "verf\xFC" "gbar";

std::string stunden(std::int64_t zehntel) { return zehntelganz(zehntel, 0); }

// Places joined by commas; a long list ends with how many more there are,
// so that a line stays readable and within what a cell can hold.
std::string aufzaehlen(const std::vector<std::string>& orte) {
    constexpr std::size_t kHoechstens = 20;
    std::string text;
    for (std::size_t i = 0; i < orte.size() && i < kHoechstens; ++i) text += (i ? ", " : "") + orte[i];
    if (orte.size() > kHoechstens) text += " und " + std::to_string(orte.size() - kHoechstens) + " weitere";
    return text;
}

// A teacher cell names a teacher unless it reads "--".
bool besetzt(const Zelle& z) { return !z.frei(); }

// Title, state and a blank row over every table, so that the table itself
// is a block of its own for sorting, filters and pivot tables.
Mappenblatt blatt(const std::string& name, const Exportstand& stand, Zeile kopf, std::vector<int> breiten) {
    return tabellenblatt(name, "Lehrf\xE4" "cherverteilung " + jahranzeige(stand.jahr),
                         "Stand " + stand.zeitpunkt + ", " +
                             (stand.gespeichert ? std::string("Zuordnungen gespeichert")
                                                : std::string("Zuordnungen NICHT gespeichert: die Datei klassen "
                                                              "hat noch den vorigen Stand")),
                         std::move(kopf), std::move(breiten));
}

// A sum row of formulas over the rows below the header, with the result the
// core counted, so that a reader that does not calculate shows it too.
void summenzeile(Mappenblatt& b, int ab, const std::vector<std::int64_t>& summen) {
    const int erste = kKopfzeile + 1;
    const int letzte = static_cast<int>(b.zeilen.size()) - 1;
    Zeile z{Z::t("Summe", true)};
    z.resize(static_cast<std::size_t>(ab));
    for (std::size_t i = 0; i < summen.size(); ++i) {
        const int spalte = ab + static_cast<int>(i);
        if (letzte < erste) {
            z.push_back(Z::h(0, true));
        } else {
            z.push_back(Z::f("SUM(" + zellname(erste, spalte) + ":" + zellname(letzte, spalte) + ")", summen[i]));
        }
    }
    b.zeilen.push_back(std::move(z));
}

// The names of the teachers by short name: every record that is not
// withdrawn, as the teacher sheet prints them; several share one entry.
std::map<std::string, std::string> lehrernamen(const std::vector<Lehrersatz>& lehrer) {
    std::map<std::string, std::string> namen;
    for (const Lehrersatz& l : lehrer) {
        if (!l.name.empty() && l.name[0] == '#') continue;
        std::string& n = namen[trimmen(l.kurz)];
        n += (n.empty() ? "" : " / ") + l.name;
    }
    return namen;
}

std::string fachname(const Verteilung& v, int s) {
    const auto& f = v.faecher();
    return s >= 0 && static_cast<std::size_t>(s) < f.size() ? f[static_cast<std::size_t>(s)].name : std::string();
}

int fachindex(const Verteilung& v, int r) { return v.RowKeys.empty() ? -1 : v.RowKeys[0][static_cast<std::size_t>(r)] / 10; }

// "D" for slot 1, "D/2" for the second teacher's share.
std::string fachanteil(const Verteilung& v, int r) {
    const std::string& kurz = v.zeilen()[static_cast<std::size_t>(r)];
    return v.zeilenslot(r) == 1 ? kurz : kurz + "/" + std::to_string(v.zeilenslot(r));
}

Mappenblatt verteilungsblatt(const Verteilung& v, const Exportstand& stand) {
    Zeile kopf{Z::t("Fach"), Z::t("Nr.")};
    std::vector<int> breiten{6, 4};
    for (int c = 0; c <= v.LastClass; ++c) {
        kopf.push_back(Z::t(v.Classes[static_cast<std::size_t>(c)].name));
        kopf.push_back(Z::t(""));
        breiten.insert(breiten.end(), {6, 6});
    }
    Mappenblatt b = blatt("Verteilung", stand, std::move(kopf), std::move(breiten));
    b.festspalten = 2;
    b.querformat = true;
    for (int c = 0; c <= v.LastClass; ++c) b.verbunde.push_back({kKopfzeile, 2 + 2 * c, 3 + 2 * c});
    for (int r = 0; r <= v.LastRow; ++r) {
        Zeile z{Z::t(v.zeilen()[static_cast<std::size_t>(r)]), Z::n(v.zeilenslot(r))};
        for (int c = 0; c <= v.LastClass; ++c) {
            const Zelle& zelle = v.zelle(c, r);
            Z h, l;
            if (zelle.sichtbar()) {
                h = Z::h(zelle.stunden);
                l = Z::t(besetzt(zelle) ? trimmen(zelle.lehrer) : zelle.lehrer);
            }
            if (zelle.blau) h.notiz = v.ExtraTexts[static_cast<std::size_t>(c)][static_cast<std::size_t>(r)];
            z.push_back(std::move(h));
            z.push_back(std::move(l));
        }
        b.zeilen.push_back(std::move(z));
    }
    return b;
}

Mappenblatt einsatzblatt(const Verteilung& v, const Exportstand& stand) {
    Mappenblatt b = blatt("Einsatz", stand,
                          {Z::t("Klasse"), Z::t("Fach"), Z::t("Fachname"), Z::t("Nr."), Z::t("Stunden"),
                           Z::t("LehrerIn"), Z::t("Name"), Z::t("Zusatztext")},
                          {7, 5, 24, 4, 8, 8, 28, 32});
    b.filterzeile = kKopfzeile;
    const auto namen = lehrernamen(v.lehrer());
    for (int c = 0; c <= v.LastClass; ++c)
        for (int r = 0; r <= v.LastRow; ++r) {
            const Zelle& zelle = v.zelle(c, r);
            if (!zelle.sichtbar()) continue;
            const std::string kurz = besetzt(zelle) ? trimmen(zelle.lehrer) : zelle.lehrer;
            const auto name = besetzt(zelle) ? namen.find(kurz) : namen.end();
            const std::string& zusatz = v.ExtraTexts[static_cast<std::size_t>(c)][static_cast<std::size_t>(r)];
            b.zeilen.push_back({Z::t(v.Classes[static_cast<std::size_t>(c)].name),
                                Z::t(v.zeilen()[static_cast<std::size_t>(r)]), Z::t(fachname(v, fachindex(v, r))),
                                Z::n(v.zeilenslot(r)), Z::h(zelle.stunden), Z::t(kurz),
                                Z::t(name != namen.end() ? name->second : std::string()),
                                Z::t(zelle.blau ? zusatz : std::string())});
        }
    return b;
}

std::vector<Lehrerstand> lehrerstaende(const Verteilung& v) { return v.lehrerstaende(); }

Mappenblatt lehrerblatt(const Verteilung& v, const Exportstand& stand) {
    Mappenblatt b = blatt("LehrerInnen", stand,
                          {Z::t("LehrerIn"), Z::t("Name"), Z::t("Lehrverpflichtung"), Z::t("zugeordnet"),
                           Z::t(kVerfuegbar)},
                          {9, 32, 17, 11, 10});
    std::vector<std::int64_t> summen(3, 0);
    for (const Lehrerstand& l : lehrerstaende(v)) {
        b.zeilen.push_back({Z::t(l.kurz), Z::t(l.name), Z::h(l.soll), Z::h(l.soll - l.frei), Z::h(l.frei)});
        summen[0] += l.soll;
        summen[1] += l.soll - l.frei;
        summen[2] += l.frei;
    }
    const int letzte = static_cast<int>(b.zeilen.size()) - 1;
    summenzeile(b, 2, summen);
    // Required against assigned hours, beside the table.
    b.diagramme.push_back({"Lehrverpflichtung und zugeordnete Stunden", kKopfzeile, kKopfzeile + 1, letzte, 0, {2, 3},
                           kKopfzeile, 6});
    return b;
}

Mappenblatt klassenblatt(const Verteilung& v, const Exportstand& stand) {
    Mappenblatt b = blatt("Klassen", stand,
                          {Z::t("Klasse"), Z::t("zu haltende Stunden"), Z::t("zugeordnet"), Z::t("ohne LehrerIn")},
                          {8, 20, 11, 14});
    std::vector<std::int64_t> summen(3, 0);
    for (int c = 0; c <= v.LastClass; ++c) {
        const std::int64_t gesamt = v.ClassHours[static_cast<std::size_t>(c)], mit = v.zugeordnet(c);
        b.zeilen.push_back({Z::t(v.Classes[static_cast<std::size_t>(c)].name), Z::h(gesamt), Z::h(mit), Z::h(gesamt - mit)});
        summen[0] += gesamt;
        summen[1] += mit;
        summen[2] += gesamt - mit;
    }
    summenzeile(b, 1, summen);
    return b;
}

Mappenblatt pruefblatt(const Verteilung& v, const Exportstand& stand) {
    Mappenblatt b = blatt(kPruefung, stand, {Z::t("Art"), Z::t("Hinweis")}, {22, 110});
    const auto punkt = [&b](const std::string& art, const std::string& text) {
        b.zeilen.push_back({Z::t(art), Z::t(text)});
    };
    if (!stand.gespeichert)
        punkt("nicht gespeichert", "Die Zuordnungen dieser Mappe sind noch nicht mit \"speichern\" in die Datei "
                                   "klassen geschrieben.");

    const auto lehrer = lehrerstaende(v);
    for (const Lehrerstand& l : lehrer)
        if (l.frei < 0)
            punkt("\xDC" "berstunden", l.kurz + (l.name.empty() ? "" : " (" + l.name + ")") + " hat " +
                                           stunden(l.soll - l.frei) + " Stunden bei " + stunden(l.soll) +
                                           " Stunden Lehrverpflichtung: " + stunden(-l.frei) + " zu viel.");

    for (int c = 0; c <= v.LastClass; ++c) {
        std::string liste;
        std::int64_t summe = 0;
        for (int r = 0; r <= v.LastRow; ++r) {
            const Zelle& z = v.zelle(c, r);
            if (!z.sichtbar() || besetzt(z)) continue;
            liste += (liste.empty() ? "" : ", ") + fachanteil(v, r) + " " + stunden(z.stunden);
            summe += z.stunden;
        }
        if (!liste.empty())
            punkt("ohne LehrerIn", "Klasse " + v.Classes[static_cast<std::size_t>(c)].name + ": " + stunden(summe) +
                                       " Stunden ohne LehrerIn (" + liste + ").");
    }

    // Codes in the grid, hidden cells included (saving writes them back),
    // that name no teacher of the teachers file, or only a withdrawn one.
    std::map<std::string, std::vector<std::string>> fremd;  // sorted by code
    std::map<std::string, bool> bekannt;
    for (const Lehrersatz& l : v.lehrer()) {
        const bool weg = !l.name.empty() && l.name[0] == '#';
        bekannt[trimmen(l.kurz)] |= !weg;
    }
    for (int c = 0; c <= v.LastClass; ++c)
        for (int r = 0; r <= v.LastRow; ++r) {
            const Zelle& z = v.zelle(c, r);
            if (!besetzt(z)) continue;
            const std::string kurz = trimmen(z.lehrer);
            const auto it = bekannt.find(kurz);
            if (it != bekannt.end() && it->second) continue;
            fremd[kurz].push_back(v.Classes[static_cast<std::size_t>(c)].name + " " + fachanteil(v, r));
        }
    for (const auto& [kurz, wo] : fremd)
        punkt("unbekannte LehrerIn", "\"" + kurz + "\" steht in " + aufzaehlen(wo) + ", " +
                                         (bekannt.count(kurz) ? std::string("ist aber ausgeschieden (#).")
                                                              : std::string("gibt es aber nicht unter den LehrerInnen.")));

    std::set<std::string> mitUnterricht;
    for (int c = 0; c <= v.LastClass; ++c)
        for (int r = 0; r <= v.LastRow; ++r) {
            const Zelle& z = v.zelle(c, r);
            if (z.sichtbar() && besetzt(z)) mitUnterricht.insert(trimmen(z.lehrer));
        }
    for (const Lehrerstand& l : lehrer) {
        if (!mitUnterricht.count(l.kurz))
            punkt("ohne Unterricht", l.kurz + (l.name.empty() ? "" : " (" + l.name + ")") + " hat keinen Unterricht, " +
                                         stunden(l.frei) + " Stunden " + kVerfuegbar + ".");
    }

    // Hours of subjects the grid does not show: they count in the sums but
    // nobody can be put on them.
    const auto& faecher = v.faecher();
    for (std::size_t s = 0; s < faecher.size() && s < static_cast<std::size_t>(kFaecherMax); ++s) {
        const Fachsatz& f = faecher[s];
        const bool weg = !f.name.empty() && f.name[0] == '#';
        if (f.unterrichtet && !weg) continue;
        std::string wo;
        for (int c = 0; c <= v.LastClass; ++c) {
            std::int64_t h = 0;
            for (int j = 1; j <= kSlots; ++j) h += v.Classes[static_cast<std::size_t>(c)].h(j, static_cast<int>(s));
            if (h != 0) wo += (wo.empty() ? "" : ", ") + v.Classes[static_cast<std::size_t>(c)].name + " " + stunden(h);
        }
        if (!wo.empty())
            punkt("nicht unterrichtet", "Fach " + trimmen(teil(f.kurz, 1, 3)) + " (" + f.name + ") " +
                                            (weg ? "ist ausgeschieden (#)" : "wird heuer nicht unterrichtet") +
                                            ", hat aber Stunden in " + wo + ".");
    }

    if (stand.befaehigungen) {
        const Befaehigungen& bef = *stand.befaehigungen;
        if (bef.leer()) {
            punkt("keine Bef\xE4higungen", "F\xFCr dieses Jahr ist nicht eingetragen, wer was unterrichten kann "
                                          "(\"Wer unterrichtet was\"); ohne das lassen sich keine Engp\xE4sse berechnen.");
        } else {
            for (const Engpass& e : pruefen(v, bef).engpaesse) punkt("Engpass", e.text() + ".");
            for (int c = 0; c <= v.LastClass; ++c)
                for (int r = 0; r <= v.LastRow; ++r) {
                    const Zelle& z = v.zelle(c, r);
                    if (!z.sichtbar() || !besetzt(z)) continue;
                    const int s = fachindex(v, r);
                    if (bef.stufe(z.lehrer, v.faecher()[static_cast<std::size_t>(s)].kurz) != Stufe::keine) continue;
                    punkt("ohne Bef\xE4higung", trimmen(z.lehrer) + " unterrichtet " + fachname(v, s) + " in " +
                                                    v.Classes[static_cast<std::size_t>(c)].name + " (" +
                                                    stunden(z.stunden) + " Stunden), ist daf\xFCr aber nicht als "
                                                    "bef\xE4higt eingetragen.");
                }
        }
    }

    if (b.zeilen.size() == static_cast<std::size_t>(kKopfzeile + 1))
        punkt("in Ordnung", "Nichts offen: jede Stunde hat eine LehrerIn, niemand hat zu viele Stunden.");
    return b;
}

// Per subject what it asks for and who can give it.
Mappenblatt faecherblatt(const Verteilung& v, const Exportstand& stand) {
    Mappenblatt b = blatt("F\xE4" "cher", stand,
                          {Z::t("Fach"), Z::t("Name"), Z::t("verlangt"), Z::t("zugeordnet"), Z::t("offen"),
                           Z::t("bef\xE4higte LehrerInnen"), Z::t("deren freie Stunden")},
                          {6, 24, 10, 11, 8, 40, 19});
    b.filterzeile = kKopfzeile;
    const Befaehigungen keine;
    const Pruefung p = pruefen(v, stand.befaehigungen ? *stand.befaehigungen : keine);
    std::vector<std::int64_t> summen(3, 0);
    for (const Fachbedarf& f : p.faecher) {
        b.zeilen.push_back({Z::t(f.kurz), Z::t(f.name), Z::h(f.verlangt), Z::h(f.zugeordnet), Z::h(f.offen),
                            Z::t(aufzaehlen(f.lehrer)), Z::h(f.frei)});
        summen[0] += f.verlangt;
        summen[1] += f.zugeordnet;
        summen[2] += f.offen;
    }
    summenzeile(b, 2, summen);
    return b;
}

// Characters a cell shows in the sheet.
std::size_t zeichen(const Mappenzelle& z) {
    switch (z.art) {
        case Z::Art::leer: return 0;
        case Z::Art::text: return z.text.size();
        case Z::Art::zahl: return std::to_string(z.wert).size();
        case Z::Art::stunden:
        case Z::Art::formel: return stunden(z.wert).size();
    }
    return 0;
}

// Every column as wide as its longest value from the header on, and a
// character to spare; the title rows above run over empty neighbours.
// A long hint stops at kBreitest and runs on over the empty cells beside it.
void breitenanpassen(Mappenblatt& b) {
    constexpr std::size_t kBreitest = 100;
    std::vector<std::size_t> laengste(static_cast<std::size_t>(b.spalten()), 0);
    for (std::size_t r = kKopfzeile; r < b.zeilen.size(); ++r)
        for (std::size_t c = 0; c < b.zeilen[r].size(); ++c) {
            const bool verbunden = std::any_of(b.verbunde.begin(), b.verbunde.end(), [&](const Verbund& v) {
                return v.zeile == static_cast<int>(r) && v.von <= static_cast<int>(c) && static_cast<int>(c) <= v.bis;
            });
            if (!verbunden) laengste[c] = std::max(laengste[c], zeichen(b.zeilen[r][c]));
        }
    b.breiten.clear();
    for (const std::size_t l : laengste) b.breiten.push_back(static_cast<int>(std::min(l + 1, kBreitest)));
}

}  // namespace

Mappe exportmappe(const Verteilung& v, const Exportstand& stand) {
    Mappe m;
    m.titel = "Lehrf\xE4" "cherverteilung " + jahranzeige(stand.jahr);
    m.blaetter.push_back(verteilungsblatt(v, stand));
    m.blaetter.push_back(einsatzblatt(v, stand));
    m.blaetter.push_back(lehrerblatt(v, stand));
    m.blaetter.push_back(klassenblatt(v, stand));
    m.blaetter.push_back(pruefblatt(v, stand));
    m.blaetter.push_back(faecherblatt(v, stand));
    for (Mappenblatt& b : m.blaetter) breitenanpassen(b);
    return m;
}

std::string exportname(const std::string& stempel, const std::string& jahr) {
    std::string name = stempel + "_Verteilung_";
    // Only letters, digits and "-" of the year reach the name.
    for (char ch : jahranzeige(jahr)) {
        const bool gut = (ch >= '0' && ch <= '9') || (ch >= 'A' && ch <= 'Z') || (ch >= 'a' && ch <= 'z') || ch == '-';
        name += gut ? ch : '_';
    }
    return name + ".xlsx";
}

}  // namespace nux
