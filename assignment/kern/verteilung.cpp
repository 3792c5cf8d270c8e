#include "assignment/kern/verteilung.h"

#include <algorithm>
#include <unordered_map>

#include "storage/datei.h"
#include "storage/dateifehler.h"
#include "storage/jahr.h"
#include "storage/text.h"

namespace nux {

namespace {

const std::string kFrei = "--";

// A stored teacher code names a teacher unless it is blank or starts with
// "--", the text of a lesson without one. Cells and sums use the same test,
// so that AssignedHours always matches what the cells show.
bool istlehrer(const std::string& code) {
    const std::string t = trimmen(code);
    return !t.empty() && t.compare(0, 2, kFrei) != 0;
}

// Teacher keys are compared without surrounding blanks everywhere: a code
// written by another program as "AB" must find the line "AB  ".
std::string schluessel(std::string_view text) { return trimmen(text.substr(0, std::min<std::size_t>(4, text.size()))); }

}  // namespace

std::string zehntelganz(std::int64_t v, int w) {
    std::string z = zehntelzeigen(v, 24);
    z.erase(0, z.find_first_not_of(' '));
    if (static_cast<int>(z.size()) < w) z.insert(0, static_cast<std::size_t>(w) - z.size(), ' ');
    return z;
}

std::vector<std::string> Verteilung::fehlendedateien() {
    std::vector<std::string> fehlt;
    for (const char* name : {"klassen", "faecher", "lehrer"})
        if (!dateida(jahrdatei(name))) fehlt.emplace_back(name);
    return fehlt;
}

void Verteilung::leeren() { *this = Verteilung(); }

void Verteilung::laden() {
    leeren();
    auto klassen = nux::laden<Klassensatz>(jahrdatei("klassen"), kVerteilKlassen);
    const auto faecher = nux::laden<Fachsatz>(jahrdatei("faecher"), kFaecherMax);
    std::optional<std::vector<Lehrersatz>> lehrer;
    if (dateida(jahrdatei("lehrer"))) lehrer = nux::laden<Lehrersatz>(jahrdatei("lehrer"));
    aufbauen(std::move(klassen), faecher, lehrer);
}

void Verteilung::aufbauen(std::vector<Klassensatz> klassen, const std::vector<Fachsatz>& faecher,
                          const std::optional<std::vector<Lehrersatz>>& lehrer) {
    leeren();
    // Beyond these limits a subject index or a class would fall outside the
    // class record or the table in memory: load nothing rather than a part.
    if (klassen.size() > static_cast<std::size_t>(kVerteilKlassen) ||
        faecher.size() > static_cast<std::size_t>(kFaecherMax))
        throw Dateifehler(kBereich);

    faecher_ = faecher;
    if (lehrer) lehrer_ = *lehrer;
    Classes = std::move(klassen);
    LastClass = static_cast<int>(Classes.size()) - 1;
    const std::size_t nk = Classes.size();

    // Subject order: sorted by order number, then short name, as text.
    struct Sortzeile {
        std::string text;
        std::string eintrag;
    };
    std::vector<Sortzeile> sortiert;
    for (std::size_t i = 0; i < faecher.size(); ++i) {
        const Fachsatz& f = faecher[i];
        if (!f.name.empty() && f.name[0] == '#') continue;
        const std::string eintrag = linksbuendig(f.kurz, 3) + (f.unterrichtet ? " " : "X") + "   " +
                                    zahlrechts(static_cast<std::int32_t>(i), 3);
        sortiert.push_back({zahlrechts(f.ordnung, 3) + eintrag, eintrag});
    }
    std::stable_sort(sortiert.begin(), sortiert.end(),
                     [](const Sortzeile& a, const Sortzeile& b) { return textvor(a.text, b.text); });
    for (const auto& z : sortiert) SubjectOrder.push_back(z.eintrag);
    LastSubject = static_cast<int>(SubjectOrder.size()) - 1;

    // Slot flags and rows: every class shares the same rows.
    struct Zeile {
        int s, j;
        std::string kurz;
    };
    std::vector<Zeile> zeilen;
    for (std::string& e : SubjectOrder) {
        if (e[3] != ' ') continue;
        const int s = zahllesen(teil(e, 8, 10));
        for (int j = 1; j <= kSlots; ++j)
            for (const Klassensatz& k : Classes)
                if (k.h(j, s) > 0) {
                    e[static_cast<std::size_t>(3 + j)] = '1';
                    break;
                }
        const std::string kurz = teil(e, 1, 3);
        zeilen.push_back({s, 1, kurz});
        if (e[5] == '1') zeilen.push_back({s, 2, kurz});
        if (e[6] == '1') zeilen.push_back({s, 3, kurz});
    }
    LastRow = static_cast<int>(zeilen.size()) - 1;
    const std::size_t nr = zeilen.size();
    for (const Zeile& z : zeilen) {
        zeilen_.push_back(trimmen(z.kurz));
        zeilenrechts_.push_back(z.kurz);
        slots_.push_back(z.j);
    }

    RowKeys.assign(nk, std::vector<std::int32_t>(nr, -1));
    ExtraTexts.assign(nk, std::vector<std::string>(nr));
    zellen_.resize(nk * nr);
    for (std::size_t c = 0; c < nk; ++c) {
        const Klassensatz& k = Classes[c];
        for (std::size_t r = 0; r < nr; ++r) {
            const int s = zeilen[r].s, j = zeilen[r].j;
            Zelle& z = zellen_[c * nr + r];
            z.stunden = k.h(j, s);
            if (z.stunden != 0) z.stundentext = zehntelganz(z.stunden, 4);
            z.lehrer = istlehrer(k.l(j, s)) ? k.l(j, s) : kFrei;
            RowKeys[c][r] = s * 10 + j;
            ExtraTexts[c][r] = k.z(j, s);
            z.blau = !trimmen(k.z(j, s)).empty();
        }
    }

    // Sums over every lesson a year can hold, shown in the grid or not.
    ClassHours.assign(nk, 0);
    zugeordnet_.assign(nk, 0);
    for (std::size_t c = 0; c < nk; ++c)
        for (int j = 1; j <= kSlots; ++j)
            for (int s = 0; s < kSummenFaecher; ++s) {
                const std::int64_t h = Classes[c].h(j, s);
                TotalHours += h;
                ClassHours[c] += h;
                if (istlehrer(Classes[c].l(j, s))) {
                    AssignedHours += h;
                    zugeordnet_[c] += h;
                }
            }

    // Availability list.
    verfuegbar_.push_back(linksbuendig("----", 200) + "-1");
    frei_.push_back(0);
    std::int64_t summe = 0;
    if (lehrer) {
        struct Lehrerzeile {
            std::string text;
            std::int64_t stunden;
        };
        std::vector<Lehrerzeile> liste;
        for (std::size_t p = 0; p < lehrer->size(); ++p) {
            const Lehrersatz& l = (*lehrer)[p];
            if ((!l.name.empty() && l.name[0] == '#') || l.stunden == 0) continue;
            std::string text = linksbuendig(l.kurz, 5) + zehntelzeigen(l.stunden, 4) + " " +
                               linksbuendig(zehntelganz(l.stunden, 5), 190) + std::to_string(p);
            liste.push_back({std::move(text), l.stunden});
            summe += l.stunden;
        }
        std::stable_sort(liste.begin(), liste.end(),
                         [](const Lehrerzeile& a, const Lehrerzeile& b) { return textvor(a.text, b.text); });
        for (auto& l : liste) {
            verfuegbar_.push_back(std::move(l.text));
            frei_.push_back(l.stunden);
        }
    }
    verfuegbar_.push_back(" ");
    frei_.push_back(0);
    verfuegbar_.push_back("Summe" + zehntelganz(summe, 7));
    frei_.push_back(0);

    // Every teacher line whose key matches loses the hours of the visible cells.
    std::unordered_map<std::string, std::vector<int>> zeilenvon;
    for (int p = 1; lehrerzeile(p); ++p) zeilenvon[schluessel(verfuegbar_[static_cast<std::size_t>(p)])].push_back(p);
    std::vector<std::int64_t> abzug(verfuegbar_.size(), 0);
    for (const Zelle& z : zellen_) {
        if (z.frei() || !z.sichtbar()) continue;
        const auto it = zeilenvon.find(trimmen(z.lehrer));
        if (it == zeilenvon.end()) continue;
        for (int p : it->second) abzug[static_cast<std::size_t>(p)] += z.stunden;
    }
    for (int p = 1; lehrerzeile(p); ++p)
        if (abzug[static_cast<std::size_t>(p)] != 0) freisetzen(p, frei_[static_cast<std::size_t>(p)] - abzug[static_cast<std::size_t>(p)]);

    // Class hours list, with a sum after every group of classes that share
    // their first character.
    std::int64_t gruppe = 0, gesamt = 0;
    for (std::size_t c = 0; c < nk; ++c) {
        klassenstunden_.push_back(linksbuendig(Classes[c].name, 4) + zehntelganz(ClassHours[c], 5));
        gruppe += ClassHours[c];
        gesamt += ClassHours[c];
        const auto erstes = [](const std::string& n) { return n.empty() ? '\0' : n[0]; };
        if (c + 1 < nk && erstes(Classes[c].name) != erstes(Classes[c + 1].name)) {
            klassenstunden_.push_back("  Su  " + zehntelganz(gruppe, 5));
            gruppe = 0;
        }
    }
    klassenstunden_.push_back("  Su " + zehntelganz(gruppe, 6));
    klassenstunden_.push_back(" ");
    klassenstunden_.push_back("Ges. " + zehntelganz(gesamt, 6));
    merken();
}

void Verteilung::merken() {
    gespeichert_.clear();
    gespeichert_.reserve(zellen_.size());
    for (const Zelle& z : zellen_) gespeichert_.push_back(z.lehrer);
}

std::int64_t Verteilung::zugeordnet(int c) const {
    const auto k = static_cast<std::size_t>(c);
    std::int64_t summe = zugeordnet_[k];
    for (int r = 0; r <= LastRow; ++r) {
        const Zelle& z = zelle(c, r);
        const int key = RowKeys[k][static_cast<std::size_t>(r)];
        const bool vorher = istlehrer(Classes[k].l(key % 10, key / 10));
        if (vorher != !z.frei()) summe += vorher ? -z.stunden : z.stunden;
    }
    return summe;
}

bool Verteilung::gespeichert() const {
    for (std::size_t i = 0; i < zellen_.size(); ++i)
        if (zellen_[i].lehrer != gespeichert_[i]) return false;
    return true;
}

void Verteilung::freisetzen(int p, std::int64_t wert) {
    std::string& zeile = verfuegbar_[static_cast<std::size_t>(p)];
    if (protokoll_ && std::none_of(protokoll_->zeilen.begin(), protokoll_->zeilen.end(),
                                   [p](const Aenderung::Zeile& z) { return z.p == p; }))
        protokoll_->zeilen.push_back({p, zeile, {}, frei_[static_cast<std::size_t>(p)], 0});
    frei_[static_cast<std::size_t>(p)] = wert;
    // Positions 11 to 200 hold the available hours; a value that needs more
    // than five characters takes the blanks after it instead of losing its sign.
    const std::string rest = zeile.size() > 200 ? zeile.substr(200) : std::string();
    zeile = linksbuendig(zeile, 10) + linksbuendig(zehntelganz(wert, 5), 190) + rest;
}

void Verteilung::eintragen(int c, int r, int p) {
    Zelle& z = zellen_[index(c, r)];
    AssignedHours += z.stunden;
    freisetzen(p, frei_[static_cast<std::size_t>(p)] - z.stunden);
    z.lehrer = teil(verfuegbar_[static_cast<std::size_t>(p)], 1, 4);
    z.gruen = true;
}

void Verteilung::austragen(int c, int r) {
    Zelle& z = zellen_[index(c, r)];
    AssignedHours -= z.stunden;
    const std::string key = trimmen(z.lehrer);
    for (int p = 1; lehrerzeile(p); ++p)
        if (schluessel(verfuegbar_[static_cast<std::size_t>(p)]) == key) {
            freisetzen(p, frei_[static_cast<std::size_t>(p)] + z.stunden);
            break;
        }
    z.lehrer = kFrei;
    z.gruen = false;
}

std::optional<Aenderung> Verteilung::lehrerein(int c, int r, int p) {
    if (c < 0 || c > LastClass || r < 0 || r > LastRow) return std::nullopt;
    if (!zelle(c, r).sichtbar()) return std::nullopt;
    // Only the delete line and the teacher lines act; the blank line and the
    // sum line (reachable by keyboard) would enter a blank or "Summ".
    if (p != 0 && !lehrerzeile(p)) p = -1;
    const std::string alt = zelle(c, r).lehrer;
    const bool austragenzuerst = alt != kFrei && p >= 0;
    if (!austragenzuerst && !(alt == kFrei && p > 0)) return std::nullopt;

    Aenderung a;
    a.c = c;
    a.r = r;
    a.lehrervorher = alt;
    a.gruenvorher = zelle(c, r).gruen;
    a.zugeordnetvorher = AssignedHours;
    {
        protokoll_ = &a;
        struct Ende {
            Aenderung*& p;
            ~Ende() { p = nullptr; }
        } ende{protokoll_};
        if (austragenzuerst) {
            austragen(c, r);
            if (p > 0 && schluessel(verfuegbar_[static_cast<std::size_t>(p)]) != trimmen(alt)) eintragen(c, r, p);
        } else {
            eintragen(c, r, p);
        }
    }
    a.lehrernachher = zelle(c, r).lehrer;
    a.gruennachher = zelle(c, r).gruen;
    a.zugeordnetnachher = AssignedHours;
    for (Aenderung::Zeile& z : a.zeilen) {
        z.nachher = verfuegbar_[static_cast<std::size_t>(z.p)];
        z.freinachher = frei_[static_cast<std::size_t>(z.p)];
    }
    return a;
}

void Verteilung::setzen(const Aenderung& a, bool nachher) {
    // A change from another load would write outside this one's lines.
    if (a.c < 0 || a.c > LastClass || a.r < 0 || a.r > LastRow) return;
    for (const Aenderung::Zeile& z : a.zeilen)
        if (z.p < 0 || z.p >= static_cast<int>(verfuegbar_.size())) return;
    Zelle& zelle = zellen_[index(a.c, a.r)];
    zelle.lehrer = nachher ? a.lehrernachher : a.lehrervorher;
    zelle.gruen = nachher ? a.gruennachher : a.gruenvorher;
    AssignedHours = nachher ? a.zugeordnetnachher : a.zugeordnetvorher;
    for (const Aenderung::Zeile& z : a.zeilen) {
        verfuegbar_[static_cast<std::size_t>(z.p)] = nachher ? z.nachher : z.vorher;
        frei_[static_cast<std::size_t>(z.p)] = nachher ? z.freinachher : z.freivorher;
    }
}

void Verteilung::zuruecknehmen(const Aenderung& a) { setzen(a, false); }
void Verteilung::wiederholen(const Aenderung& a) { setzen(a, true); }

std::vector<Lehrerstand> Verteilung::lehrerstaende() const {
    std::vector<Lehrerstand> liste;
    for (int p = 1; lehrerzeile(p); ++p) {
        const std::string& zeile = verfuegbar_[static_cast<std::size_t>(p)];
        Lehrerstand l{trimmen(teil(zeile, 1, 4)), {}, zehntellesen(teil(zeile, 6, 9)), frei_[static_cast<std::size_t>(p)]};
        const std::size_t satz = zeile.size() > 200 ? std::stoul(zeile.substr(200)) : lehrer_.size();
        if (satz < lehrer_.size()) {
            l.name = lehrer_[satz].name;
            l.soll = lehrer_[satz].stunden;
        }
        liste.push_back(std::move(l));
    }
    return liste;
}

int Verteilung::lehrerposition(std::string_view code) const {
    const std::string key = trimmen(code);
    if (key.empty()) return -1;
    for (int p = 1; lehrerzeile(p); ++p)
        if (schluessel(verfuegbar_[static_cast<std::size_t>(p)]) == key) return p;
    return -1;
}

void Verteilung::hervorheben(int p) {
    if (p < 0 || p >= static_cast<int>(verfuegbar_.size())) return;
    const std::string key = schluessel(verfuegbar_[static_cast<std::size_t>(p)]);
    for (Zelle& z : zellen_)
        if (!z.frei()) z.gruen = trimmen(z.lehrer) == key;
}

Listenaktion Verteilung::listenaktion(int p, bool alt, bool strg) const {
    const int n = static_cast<int>(verfuegbar_.size());
    if (p >= n - 2) return Listenaktion::auswahlweg;
    if (p < 0) return Listenaktion::nichts;
    if (alt && strg) return Listenaktion::druckenalle;
    if (alt) return Listenaktion::drucken;
    if (strg) return Listenaktion::gesamtdruck;
    return Listenaktion::hervorheben;
}

std::vector<Klassensatz> Verteilung::speicherdaten() const {
    std::vector<Klassensatz> klassen = Classes;
    for (std::size_t c = 0; c < klassen.size(); ++c) {
        Klassensatz& k = klassen[c];
        // Lessons without a grid row lose their teacher: only the rows refill.
        for (auto& slot : k.lehrer)
            for (auto& code : slot) code.clear();
        for (int r = 0; r <= LastRow; ++r) {
            const Zelle& z = zelle(static_cast<int>(c), r);
            if (z.frei()) continue;
            const int key = RowKeys[c][static_cast<std::size_t>(r)];
            k.l(key % 10, key / 10) = z.lehrer.substr(0, 4);
        }
    }
    return klassen;
}

void Verteilung::speichern() {
    if (LastClass < 0) return;  // never leave an empty "klassen" behind
    neuschreiben<Klassensatz>(jahrdatei("klassen"), speicherdaten());
    merken();
}

Druckdaten Verteilung::druckdaten() const {
    Druckdaten d;
    d.jahr = jahrordner();
    for (const Klassensatz& k : Classes) d.klassen.push_back(k.name);
    d.zeilen = zeilen_;
    d.zellen.resize(Classes.size());
    for (int c = 0; c <= LastClass; ++c) {
        auto& spalte = d.zellen[static_cast<std::size_t>(c)];
        spalte.reserve(static_cast<std::size_t>(LastRow + 1));
        for (int r = 0; r <= LastRow; ++r) {
            const Zelle& z = zelle(c, r);
            spalte.push_back({z.stundentext, z.lehrer, z.sichtbar(),
                              ExtraTexts[static_cast<std::size_t>(c)][static_cast<std::size_t>(r)]});
        }
    }
    d.verfuegbar = verfuegbar_;
    return d;
}

}  // namespace nux
