#include "editors/kern/klassen.h"

#include <algorithm>

#include "editors/kern/lehrer.h"
#include "storage/datei.h"
#include "storage/jahr.h"
#include "storage/text.h"

namespace nux {
namespace {

constexpr std::size_t kFelderende = 200;  // a line's fields end here; its index follows

std::string auffuellen(std::string zeile, std::string_view index) {
    zeile.resize(kFelderende, ' ');
    zeile += index;
    return zeile;
}

bool ziffer(char c) { return c >= '0' && c <= '9'; }

}  // namespace

std::string klassenzeile(std::string_view name, int index) {
    return auffuellen(linksbuendig(name, 3), std::to_string(index));
}

std::string zeilenname(std::string_view zeile) { return trimmen(teil(zeile, 1, 3)); }

int zeilenindex(std::string_view zeile) { return zahllesen(teil(zeile, 201, 210)); }

std::string facheintrag(const Fachsatz& fach, int index) {
    if (!fach.name.empty() && fach.name[0] == '#') return {};
    // Only a damaged file holds order numbers wider than their three columns;
    // they must not push the taught flag out of column 10.
    const std::int32_t ordnung = std::clamp<std::int32_t>(fach.ordnung, -99, 999);
    return linksbuendig(fach.kurz, 3) + zahlrechts(index, 3) + zahlrechts(ordnung, 3) +
           (fach.unterrichtet ? " " : "X") + "   ";
}

bool eintragunterrichtet(std::string_view eintrag) { return teil(eintrag, 10, 10) == " "; }

std::string tabellenzeile(std::string_view eintrag, const Klassensatz& k, int s) {
    // Hours of a damaged file may be anything; their sum must not overflow.
    const __int128 summe = static_cast<__int128>(k.h(1, s)) + k.h(2, s) + k.h(3, s);
    std::string z = linksbuendig(teil(eintrag, 7, 9), 3);
    z += summe <= 0 ? "X" : " ";
    z += "  " + linksbuendig(teil(eintrag, 1, 3), 3) + "  ";
    for (int j = 1; j <= kSlots; ++j) z += zehntelzeigen(k.h(j, s), 4) + " ";
    for (int j = 1; j <= kSlots; ++j) z += linksbuendig(k.l(j, s), 4) + (j < kSlots ? " " : "");
    z += "   ";
    for (int j = 1; j <= kSlots; ++j) z += linksbuendig(k.z(j, s), 35);
    return auffuellen(std::move(z), std::to_string(s));
}

Zeilenfelder zeilenfelder(std::string_view zeile) {
    Zeilenfelder f;
    f.kurz = trimmen(teil(zeile, 7, 9));
    for (std::size_t j = 0; j < kSlots; ++j) {
        f.stunden[j] = trimmen(teil(zeile, 12 + 5 * j, 15 + 5 * j));
        f.zusatz[j] = trimmen(teil(zeile, 44 + 35 * j, 78 + 35 * j));
    }
    return f;
}

bool stundenzeichen(std::string_view rest, char c) {
    if (c == '\b' || ziffer(c)) return true;
    if (c == ',' || c == '.') return rest.find_first_of(",.") == std::string_view::npos;
    return false;
}

std::string stundennormalisieren(std::string_view text) { return lehrer::stundennormal(text); }

Zeilenfelder stundenaufbereiten(Zeilenfelder f) {
    for (auto& s : f.stunden) s = zehntelzeigen(zehntellesen(stundennormalisieren(s)), 4);
    return f;
}

Zeilenfelder lueckenschliessen(Zeilenfelder f) {
    auto& s = f.stunden;
    if (zehntellesen(s[1]) == 0) {
        s[1] = s[2];
        s[2] = "0,0";
    }
    if (zehntellesen(s[0]) == 0) {
        s[0] = s[1];
        s[1] = "0,0";
    }
    return f;
}

std::string zeileerneuern(std::string_view alt, const Zeilenfelder& f) {
    std::int64_t summe = 0;
    for (const auto& s : f.stunden) summe += zehntellesen(s);
    std::string z = linksbuendig(teil(alt, 1, 3), 3);
    z += summe <= 0 ? "X" : " ";
    z += linksbuendig(teil(alt, 5, 11), 7);
    for (const auto& s : f.stunden) z += rechtsbuendig(s, 4) + " ";
    z += linksbuendig(teil(alt, 27, 40), 14) + "   ";
    for (const auto& t : f.zusatz) z += linksbuendig(t, 35);
    return auffuellen(std::move(z), alt.size() > kFelderende ? alt.substr(kFelderende) : std::string_view());
}

void zeileuebernehmen(Klassensatz& k, int s, const Zeilenfelder& f) {
    for (int j = 1; j <= kSlots; ++j) {
        k.h(j, s) = zehntellesen(f.stunden[j - 1]);
        k.z(j, s) = f.zusatz[j - 1].substr(0, 30);
    }
}

Klassensatz neueklasse(std::string_view name) {
    Klassensatz k;
    k.name = std::string(name.substr(0, 3));
    return k;
}

void klassekopieren(Klassensatz& ziel, const Klassensatz& quelle) {
    const std::string name = ziel.name;
    ziel = quelle;
    ziel.name = name;
    for (int j = 1; j <= kSlots; ++j) {
        for (int s = 0; s < kFaecherMax; ++s) {
            ziel.l(j, s).clear();
            ziel.z(j, s).clear();
        }
    }
}

void Klassenmodell::starten() {
    zeilen_.clear();
    Classes.clear();
    LastClass = -1;
    CurrentClass = -1;
    SubjectEntries.fill(std::string());
    hoechsterfach = -1;
    sperrgrund_.clear();
    try {
        const std::string pfad = jahrdatei("klassen");
        if (dateida(pfad)) {
            Classes = laden<Klassensatz>(pfad, kKlassenMax);
            for (std::size_t k = 0; k < Classes.size(); ++k)
                einordnen(klassenzeile(Classes[k].name, static_cast<int>(k)));
            LastClass = static_cast<int>(Classes.size()) - 1;
        }
    } catch (const std::exception& e) {
        sperren(e.what());
        throw;
    }
    // Without the subjects the classes can still be kept; their tables stay empty.
    const std::string fpfad = jahrdatei("faecher");
    if (dateida(fpfad)) {
        const auto faecher = laden<Fachsatz>(fpfad, kFacheintraege);
        for (std::size_t i = 0; i < faecher.size(); ++i)
            SubjectEntries[i] = facheintrag(faecher[i], static_cast<int>(i));
        hoechsterfach = static_cast<int>(faecher.size()) - 1;
    }
}

void Klassenmodell::sperren(const std::string& grund) {
    zeilen_.clear();
    Classes.clear();
    LastClass = -1;
    CurrentClass = -1;
    CopyPending = false;
    SubjectEntries.fill(std::string());
    hoechsterfach = -1;
    sperrgrund_ = grund.empty() ? std::string(kBereich) : grund;
}

void Klassenmodell::pruefen() const {
    if (gesperrt()) throw Dateifehler(sperrgrund_);
}

int Klassenmodell::suchen(std::string_view name) const {
    int treffer = -1;
    for (std::size_t i = 0; i < zeilen_.size(); ++i)
        if (zeilenname(zeilen_[i]) == name) treffer = static_cast<int>(i);
    return treffer;
}

int Klassenmodell::anlegen(std::string_view name) {
    pruefen();
    if (LastClass + 1 >= kKlassenMax) throw Dateifehler(kBereich);
    const std::string t = trimmen(name).substr(0, 3);
    Classes.resize(static_cast<std::size_t>(LastClass) + 1);
    Classes.push_back(neueklasse(t));
    ++LastClass;
    // The line shows the name as typed, leading blanks included, until the
    // next load lists the stored name.
    const int position = einordnen(klassenzeile(name.substr(0, std::min<std::size_t>(name.size(), 3)), LastClass));
    speichern();
    return position;
}

void Klassenmodell::entfernen(int position) {
    pruefen();
    zeilen_.erase(zeilen_.begin() + position);
    // The reload renumbers the classes: an armed copy would hit another one.
    CopyPending = false;
    speichern();
    starten();
}

void Klassenmodell::kopieren(int position) {
    pruefen();
    const int quelle = zeilenindex(zeilen_.at(static_cast<std::size_t>(position)));
    if (CopyTarget < 0 || CopyTarget > LastClass || quelle < 0 || quelle > LastClass)
        throw Dateifehler(kBereich);
    klassekopieren(Classes[static_cast<std::size_t>(CopyTarget)], Classes[static_cast<std::size_t>(quelle)]);
    speichern();
    CopyPending = false;
    starten();
}

std::vector<std::string> Klassenmodell::klassenfuellen(int klasse) const {
    std::vector<std::string> reihen;
    if (klasse < 0 || klasse > LastClass) return reihen;
    const auto& k = Classes[static_cast<std::size_t>(klasse)];
    for (int i = 0; i <= hoechsterfach && i < kFacheintraege; ++i)
        if (eintragunterrichtet(SubjectEntries[static_cast<std::size_t>(i)]))
            reihen.push_back(tabellenzeile(SubjectEntries[static_cast<std::size_t>(i)], k, i));
    std::stable_sort(reihen.begin(), reihen.end(),
                     [](const std::string& a, const std::string& b) { return textvor(a, b); });
    return reihen;
}

std::vector<Klassensatz> Klassenmodell::zuspeichern() const {
    std::vector<Klassensatz> saetze;
    saetze.reserve(zeilen_.size());
    for (const auto& z : zeilen_) saetze.push_back(Classes.at(static_cast<std::size_t>(zeilenindex(z))));
    return saetze;
}

void Klassenmodell::speichern() const {
    pruefen();
    const std::string pfad = jahrdatei("klassen");
    if (!zeilen_.empty())
        neuschreiben(pfad, zuspeichern());
    else if (dateida(pfad))
        loeschen(pfad);
}

int Klassenmodell::einordnen(std::string zeile) {
    const auto stelle = std::upper_bound(zeilen_.begin(), zeilen_.end(), zeile,
                                         [](const std::string& a, const std::string& b) { return textvor(a, b); });
    return static_cast<int>(zeilen_.insert(stelle, std::move(zeile)) - zeilen_.begin());
}

}  // namespace nux
