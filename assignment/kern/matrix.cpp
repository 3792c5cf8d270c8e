#include "assignment/kern/matrix.h"

#include <algorithm>
#include <set>

#include "storage/datei.h"
#include "storage/text.h"

namespace nux {
namespace {

bool zurueckgezogen(const std::string& name) { return !name.empty() && name[0] == '#'; }

// "2026 1": four digits, a space, one digit; nothing else may lead a read
// out of the program folder.
bool jahrname(const std::string& n) {
    if (n.size() != 6 || n[4] != ' ') return false;
    for (std::size_t i : {0u, 1u, 2u, 3u, 5u})
        if (n[i] < '0' || n[i] > '9') return false;
    return true;
}

std::vector<std::string_view> teilen(std::string_view text, char zeichen) {
    std::vector<std::string_view> teile;
    std::size_t anfang = 0;
    for (;;) {
        const std::size_t ende = text.find(zeichen, anfang);
        if (ende == std::string_view::npos) {
            teile.push_back(text.substr(anfang));
            return teile;
        }
        teile.push_back(text.substr(anfang, ende - anfang));
        anfang = ende + 1;
    }
}

}  // namespace

std::optional<Quelljahr> quelljahrladen(const std::string& jahr) {
    const auto h = herkunftladen(jahr);
    if (!h || !jahrname(h->quelle) || h->quelle == jahr) return std::nullopt;
    const std::string k = h->quelle + "/klassen", f = h->quelle + "/faecher";
    if (!dateida(k) || !dateida(f)) return std::nullopt;
    return Quelljahr{h->quelle, laden<Klassensatz>(k, kVerteilKlassen), laden<Fachsatz>(f, kFaecherMax)};
}

void Matrix::aufbauen(const Verteilung& v, Befaehigungen b) {
    lehrer_.clear();
    faecher_.clear();
    zeilen_.clear();
    spalten_.clear();
    b_ = std::move(b);
    const auto& liste = v.verfuegbar();
    for (int p = 0; p < static_cast<int>(liste.size()); ++p) {
        if (!v.lehrerzeile(p)) continue;
        const std::string& zeile = liste[static_cast<std::size_t>(p)];
        Matrixlehrer l;
        l.kurz = lehrerschluessel(teil(zeile, 1, 4));
        const std::size_t satz = static_cast<std::size_t>(zahllesen(teil(zeile, 201, zeile.size())));
        if (satz < v.lehrer().size()) {
            l.name = v.lehrer()[satz].name;
            l.soll = v.lehrer()[satz].stunden;
        }
        l.frei = v.verfuegbarestunden(p);
        if (zeilen_.emplace(l.kurz, zeilen()).second) lehrer_.push_back(std::move(l));
    }
    // SubjectOrder holds the subjects that are not withdrawn, in subject order;
    // position 4 is blank for those taught this year.
    for (const std::string& e : v.SubjectOrder) {
        if (e[3] != ' ') continue;
        const auto s = static_cast<std::size_t>(zahllesen(teil(e, 8, 10)));
        const Fachsatz& f = v.faecher()[s];
        const std::string kurz = fachschluessel(f.kurz);
        if (kurz.empty()) continue;
        const auto [it, neu] = spalten_.emplace(kurz, spalten());
        if (neu)
            faecher_.push_back({kurz, f.name});
        else
            faecher_[static_cast<std::size_t>(it->second)].namen += ", " + f.name;
    }
    zellen_.assign(lehrer_.size() * faecher_.size(), Stufe::keine);
    for (const auto& [k, st] : b_.eintraege()) {
        const int z = zeilevon(k.first), s = spaltevon(k.second);
        if (z >= 0 && s >= 0) zellen_[index(z, s)] = st;
    }
}

int Matrix::zeilevon(std::string_view kurz) const {
    const auto it = zeilen_.find(std::string(kurz));
    return it == zeilen_.end() ? -1 : it->second;
}

int Matrix::spaltevon(std::string_view fach) const {
    const auto it = spalten_.find(std::string(fach));
    return it == spalten_.end() ? -1 : it->second;
}

std::vector<std::string> Matrix::unbekanntelehrer() const {
    std::set<std::string> n;
    for (const auto& [k, st] : b_.eintraege())
        if (zeilevon(k.first) < 0) n.insert(k.first);
    return {n.begin(), n.end()};
}

std::vector<std::string> Matrix::unbekanntefaecher() const {
    std::set<std::string> n;
    for (const auto& [k, st] : b_.eintraege())
        if (spaltevon(k.second) < 0) n.insert(k.second);
    return {n.begin(), n.end()};
}

Zellwechsel Matrix::wechsel(int z, int s, Stufe nachher) const {
    return {lehrer_[static_cast<std::size_t>(z)].kurz, faecher_[static_cast<std::size_t>(s)].kurz, stufe(z, s), nachher};
}

Wechsel Matrix::weiterschalten(int z, int s) const {
    if (z < 0 || s < 0 || z >= zeilen() || s >= spalten()) return {};
    return {wechsel(z, s, naechstestufe(stufe(z, s)))};
}

Wechsel Matrix::zeilesetzen(int z, Stufe st) const {
    Wechsel w;
    if (z < 0 || z >= zeilen()) return w;
    for (int s = 0; s < spalten(); ++s)
        if (stufe(z, s) != st) w.push_back(wechsel(z, s, st));
    return w;
}

Wechsel Matrix::spaltesetzen(int s, Stufe st) const {
    Wechsel w;
    if (s < 0 || s >= spalten()) return w;
    for (int z = 0; z < zeilen(); ++z)
        if (stufe(z, s) != st) w.push_back(wechsel(z, s, st));
    return w;
}

Einfuegung Matrix::einfuegen(int z, int s, std::string_view text) const {
    Einfuegung e;
    auto reihen = teilen(text, '\n');
    // A spreadsheet ends its last row with a line end too.
    if (!reihen.empty() && (reihen.back().empty() || reihen.back() == "\r")) reihen.pop_back();
    for (std::size_t i = 0; i < reihen.size(); ++i) {
        std::string_view zeile = reihen[i];
        if (!zeile.empty() && zeile.back() == '\r') zeile.remove_suffix(1);
        const auto zellen = teilen(zeile, '\t');
        const int zz = z + static_cast<int>(i);
        for (std::size_t j = 0; j < zellen.size(); ++j) {
            const int ss = s + static_cast<int>(j);
            if (zz < 0 || zz >= zeilen() || ss < 0 || ss >= spalten()) {
                e.wechsel.clear();
                e.fehler = "Der eingef\xFCgte Bereich (" + std::to_string(reihen.size()) + " Zeilen, " +
                           std::to_string(zellen.size()) + " Spalten) reicht \xFC" "ber den Rand der Tabelle hinaus.";
                return e;
            }
            const auto st = stufelesen(zellen[j]);
            if (!st) {
                e.wechsel.clear();
                e.fehler = "Zeile " + std::to_string(i + 1) + ", Spalte " + std::to_string(j + 1) + " (" +
                           lehrer_[static_cast<std::size_t>(zz)].kurz + ", " + faecher_[static_cast<std::size_t>(ss)].kurz +
                           "): \"" + trimmen(zellen[j]) +
                           "\" ist keine Stufe (leer, bef\xE4higt oder Wunschfach). Es wurde nichts eingef\xFCgt.";
                return e;
            }
            if (*st != stufe(zz, ss)) e.wechsel.push_back(wechsel(zz, ss, *st));
        }
    }
    return e;
}

std::string Matrix::kopieren(int z0, int s0, int z1, int s1) const {
    std::string t;
    for (int z = std::max(0, z0); z <= std::min(z1, zeilen() - 1); ++z) {
        for (int s = std::max(0, s0); s <= std::min(s1, spalten() - 1); ++s) {
            if (s > std::max(0, s0)) t += '\t';
            t += stufetext(stufe(z, s));
        }
        t += "\n";
    }
    return t;
}

Wechsel Matrix::ausverteilung(const Verteilung& v, const Quelljahr* quelle) const {
    std::set<std::pair<int, int>> gehalten;
    auto halten = [&](const std::string& code, const std::string& fach) {
        const int z = zeilevon(lehrerschluessel(code)), s = spaltevon(fach);
        if (z >= 0 && s >= 0 && stufe(z, s) == Stufe::keine) gehalten.insert({z, s});
    };
    for (int c = 0; c < v.klassenzahl(); ++c)
        for (int r = 0; r < v.zeilenzahl(); ++r) {
            const Zelle& zelle = v.zelle(c, r);
            if (!zelle.sichtbar() || zelle.frei()) continue;
            const auto s = static_cast<std::size_t>(v.RowKeys[static_cast<std::size_t>(c)][static_cast<std::size_t>(r)] / 10);
            halten(zelle.lehrer, fachschluessel(v.faecher()[s].kurz));
        }
    if (quelle) {
        const std::size_t n = std::min<std::size_t>(quelle->faecher.size(), kSummenFaecher);
        for (const Klassensatz& k : quelle->klassen)
            for (std::size_t s = 0; s < n; ++s) {
                const Fachsatz& f = quelle->faecher[s];
                if (zurueckgezogen(f.name)) continue;
                for (int j = 1; j <= kSlots; ++j) {
                    const std::string code = trimmen(k.l(j, static_cast<int>(s)));
                    if (k.h(j, static_cast<int>(s)) > 0 && !code.empty() && !code.starts_with("--"))
                        halten(code, fachschluessel(f.kurz));
                }
            }
    }
    Wechsel w;
    for (const auto& [z, s] : gehalten) w.push_back(wechsel(z, s, Stufe::befaehigt));
    return w;
}

void Matrix::anwenden(const Wechsel& w, bool nachher) {
    auto eins = [&](const Zellwechsel& x) {
        const Stufe st = nachher ? x.nachher : x.vorher;
        b_.setzen(x.lehrer, x.fach, st);
        const int z = zeilevon(x.lehrer), s = spaltevon(x.fach);
        if (z >= 0 && s >= 0) zellen_[index(z, s)] = st;
    };
    if (nachher)
        std::for_each(w.begin(), w.end(), eins);
    else
        std::for_each(w.rbegin(), w.rend(), eins);
}

}  // namespace nux
