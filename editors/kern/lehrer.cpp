#include "editors/kern/lehrer.h"

#include "editors/kern/faecher.h"
#include "storage/datei.h"
#include "storage/dateifehler.h"
#include "storage/text.h"

namespace nux::lehrer {

using listenzeile::einsortieren;

std::string zeile(const Lehrersatz& l, int index) {
    std::string z = linksbuendig(l.kurz, 4);
    z += ' ';
    z += linksbuendig(l.name, 50);
    z += zehntelzeigen(l.stunden, 4);
    return linksbuendig(z, static_cast<int>(kZeilenbreite)) + std::to_string(index);
}

std::string kurz(std::string_view z) { return trimmen(teil(z, 1, 4)); }
std::string name(std::string_view z) { return trimmen(teil(z, 6, 55)); }
bool grau(std::string_view z) { return zahllesen(teil(z, 56, 57)) == 0; }

bool zurueckgezogen(const Lehrersatz& l) { return !l.name.empty() && l.name[0] == '#'; }

std::vector<std::string> holen(const std::string& pfad) {
    std::vector<std::string> zeilen;
    if (!dateida(pfad)) return zeilen;
    const auto saetze = laden<Lehrersatz>(pfad);
    for (std::size_t i = 0; i < saetze.size(); ++i)
        if (!zurueckgezogen(saetze[i])) einsortieren(zeilen, zeile(saetze[i], static_cast<int>(i)));
    return zeilen;
}

bool kurzvergeben(const std::vector<std::string>& zeilen, std::string_view kurzfeld) {
    const std::string k = trimmen(kurzfeld);
    if (k.empty()) return false;
    for (const auto& z : zeilen)
        if (z.compare(0, k.size(), k) == 0) return true;
    return false;
}

bool speichernerlaubt(const std::vector<std::string>& zeilen, std::string_view namefeld,
                      std::string_view kurzfeld) {
    return !namefeld.empty() && !kurzfeld.empty() && !kurzvergeben(zeilen, kurzfeld);
}

namespace {
char gross(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; }
char klein(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; }
}  // namespace

std::string kurzvorschlag(std::string_view n) {
    std::string v(n.substr(0, 3));
    const auto leer = n.find(' ');
    if (leer == std::string_view::npos) {
        if (!n.empty()) v += n[0];
    } else if (leer + 1 < n.size()) {
        v += n[leer + 1];
    }
    for (std::size_t i = 0; i < v.size(); ++i) v[i] = (i == 0 || i == 3) ? gross(v[i]) : klein(v[i]);
    return v;
}

bool stundenzeichen(std::string_view text, char c) {
    if (c == '\b' || c == '.' || (c >= '0' && c <= '9')) return true;
    return c == ',' && text.find(',') == std::string_view::npos;
}

std::string stundennormal(std::string_view text) {
    // Pasted text never passed the key filter: what it could not type goes,
    // a minus sign first of all.
    std::string s;
    for (char c : text)
        if ((c >= '0' && c <= '9') || c == ',' || c == '.') s += c;
    if (const auto p = s.find('.'); p != std::string::npos) s[p] = ',';
    if (s.find(',') == std::string::npos) s += ",0";
    if (s.front() == ',') s.insert(0, "0");
    if (s.back() == ',') s += '0';
    s.erase(s.find(',') + 2);
    if (s.size() < 4) s.insert(0, 4 - s.size(), ' ');
    if (s.size() > 4) s.erase(0, s.size() - 4);
    return s;
}

Abgelehnt speichern(const std::string& pfad, std::vector<std::string>& zeilen,
                    std::optional<std::size_t> gewaehlt, const Eingabe& e, std::size_t& pos) {
    // A name or short name of blanks alone would be stored empty, and such a
    // teacher could not be told apart when lessons are assigned.
    const std::string n = trimmen(e.name);
    const std::string k = trimmen(e.kurz);
    if (n.empty() || k.empty()) return Abgelehnt::leer;
    if (gewaehlt && *gewaehlt >= zeilen.size()) throw Dateifehler(kBereich);

    Lehrersatz l;
    std::size_t index = 0;
    const bool da = dateida(pfad);
    if (da && gewaehlt) {
        index = static_cast<std::size_t>(listenzeile::index(zeilen[*gewaehlt]));
        l = satzlesen<Lehrersatz>(pfad, index);
    } else if (da) {
        index = satzanzahl(pfad, Lehrersatz::groesse);
    }
    l.name = n.substr(0, 40);
    l.kurz = k.substr(0, 4);
    l.stunden = zehntellesen(stundennormal(e.stunden));
    satzschreiben(pfad, index, l, !da);

    std::vector<std::string> neu = zeilen;
    if (da && gewaehlt) neu.erase(neu.begin() + static_cast<std::ptrdiff_t>(*gewaehlt));
    pos = einsortieren(neu, zeile(l, static_cast<int>(index)));
    zeilen = std::move(neu);
    return Abgelehnt::nein;
}

}  // namespace nux::lehrer
