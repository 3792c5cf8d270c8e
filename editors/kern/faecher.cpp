#include "editors/kern/faecher.h"

#include <algorithm>

#include "storage/datei.h"
#include "storage/dateifehler.h"
#include "storage/text.h"

namespace nux {

namespace listenzeile {

int index(std::string_view zeile) { return zahllesen(teil(zeile, 201, 210)); }

std::size_t einsortieren(std::vector<std::string>& zeilen, std::string zeile) {
    const auto stelle = std::upper_bound(zeilen.begin(), zeilen.end(), zeile,
                                         [](const std::string& a, const std::string& b) { return textvor(a, b); });
    const auto pos = static_cast<std::size_t>(stelle - zeilen.begin());
    zeilen.insert(stelle, std::move(zeile));
    return pos;
}

}  // namespace listenzeile

namespace faecher {

using listenzeile::einsortieren;

std::string zeile(std::string_view nummer, bool unterrichtet, std::string_view kurz, std::string_view name,
                  int index) {
    std::string z = linksbuendig(nummer, 3);
    z += kFlagzeichen[unterrichtet ? 1 : 0];
    z += linksbuendig(kurz, 3);
    z += ' ';
    z += linksbuendig(name, 30);
    return linksbuendig(z, static_cast<int>(kZeilenbreite)) + std::to_string(index);
}

std::string nummer(std::int32_t ordnung) {
    // A damaged file may hold any order number; a wider one would shift
    // every column after it and the save would store shifted fields.
    return zahlrechts(std::clamp<std::int32_t>(ordnung, -99, 999), 3);
}

std::string zeile(const Fachsatz& f, int index) {
    return zeile(nummer(f.ordnung), f.unterrichtet, f.kurz, f.name, index);
}

std::int32_t ordnung(std::string_view z) { return zahllesen(teil(z, 1, 3)); }
bool unterrichtet(std::string_view z) { return teil(z, 4, 4) == " "; }
std::string kurz(std::string_view z) { return trimmen(teil(z, 5, 7)); }
std::string name(std::string_view z) { return trimmen(teil(z, 9, 38)); }
bool grau(std::string_view z) { return teil(z, 4, 4) == "X"; }

Fachsatz satz(std::string_view z) {
    Fachsatz f;
    f.name = name(z);
    f.kurz = kurz(z);
    f.ordnung = ordnung(z);
    f.unterrichtet = unterrichtet(z);
    return f;
}

std::vector<std::string> holen(const std::string& pfad) {
    std::vector<std::string> zeilen;
    if (!dateida(pfad)) return zeilen;
    const auto saetze = laden<Fachsatz>(pfad);
    zeilen.reserve(saetze.size());
    for (std::size_t i = 0; i < saetze.size(); ++i) einsortieren(zeilen, zeile(saetze[i], static_cast<int>(i)));
    return zeilen;
}

void schreiben(const std::string& pfad, const std::vector<std::string>& zeilen) {
    std::vector<Fachsatz> saetze(zeilen.size());
    std::vector<bool> belegt(zeilen.size(), false);
    for (const auto& z : zeilen) {
        const int i = listenzeile::index(z);
        // Indexes with a gap or twice would write records that other files
        // refer to at the wrong place.
        if (i < 0 || static_cast<std::size_t>(i) >= zeilen.size() || belegt[static_cast<std::size_t>(i)])
            throw Dateifehler(kBereich);
        belegt[static_cast<std::size_t>(i)] = true;
        saetze[static_cast<std::size_t>(i)] = satz(z);
    }
    neuschreiben(pfad, saetze);
}

Abgelehnt speichern(const std::string& pfad, std::vector<std::string>& zeilen, int& hoechster,
                    std::optional<std::size_t> gewaehlt, const Eingabe& e, std::size_t& pos) {
    const std::string k = trimmen(e.kurz);
    if (trimmen(e.name).empty() || k.empty()) return Abgelehnt::leer;
    if (gewaehlt && *gewaehlt >= zeilen.size()) throw Dateifehler(kBereich);
    std::vector<std::string> neu = zeilen;
    int neuhoechster = hoechster;
    std::string z;
    if (!gewaehlt) {
        for (const auto& alt : zeilen)
            if (kurz(alt) == k) return Abgelehnt::doppelt;
        if (hoechster >= kHoechsterIndex) return Abgelehnt::voll;
        neuhoechster = hoechster + 1;
        z = zeile(nummer(neuhoechster), e.unterrichtet, e.kurz, e.name, neuhoechster);
    } else {
        const std::string& alt = zeilen[*gewaehlt];
        z = zeile(teil(alt, 1, 3), e.unterrichtet, e.kurz, e.name, listenzeile::index(alt));
        neu.erase(neu.begin() + static_cast<std::ptrdiff_t>(*gewaehlt));
    }
    const std::size_t p = einsortieren(neu, std::move(z));
    schreiben(pfad, neu);
    zeilen = std::move(neu);
    hoechster = neuhoechster;
    pos = p;
    return Abgelehnt::nein;
}

std::vector<std::string> verschoben(std::vector<std::string> zeilen, std::size_t quelle, std::size_t ziel) {
    if (quelle >= zeilen.size() || ziel >= zeilen.size()) throw Dateifehler(kBereich);
    if (quelle == ziel) return zeilen;
    zeilen.insert(zeilen.begin() + static_cast<std::ptrdiff_t>(ziel), zeilen[quelle]);
    zeilen.erase(zeilen.begin() + static_cast<std::ptrdiff_t>(ziel > quelle ? quelle : quelle + 1));
    for (std::size_t i = 0; i < zeilen.size(); ++i)
        zeilen[i].replace(0, 3, nummer(static_cast<std::int32_t>(i)));
    return zeilen;
}

void verschieben(const std::string& pfad, const std::vector<std::string>& zeilen, std::size_t quelle,
                 std::size_t ziel) {
    if (quelle == ziel) return;
    const auto neu = verschoben(zeilen, quelle, ziel);
    auto saetze = laden<Fachsatz>(pfad);
    for (const auto& z : neu) {
        const int i = listenzeile::index(z);
        if (i < 0 || static_cast<std::size_t>(i) >= saetze.size()) throw Dateifehler(kDateiende);
        saetze[static_cast<std::size_t>(i)].ordnung = ordnung(z);
    }
    neuschreiben(pfad, saetze);
}

}  // namespace faecher
}  // namespace nux
