#include "years/kern/jahre.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <system_error>

#include "storage/datei.h"
#include "storage/dateifehler.h"
#include "storage/planung.h"
#include "storage/text.h"

namespace nux {

namespace fs = std::filesystem;

bool jahrform(std::string_view name) { return name.size() == 6 && name[4] == ' '; }

std::vector<std::string> ordnereintraege() {
    std::error_code ec;
    const fs::path ordner = fs::current_path(ec);
    if (ec) fehlerwerfen(ec.value());

    std::vector<std::string> eintraege;
    eintraege.push_back(ordner.root_path().string());
    for (const auto& teil : ordner.relative_path())
        if (!teil.empty()) eintraege.push_back(teil.string());

    std::vector<std::string> unter;
    fs::directory_iterator it(".", ec);
    if (ec) fehlerwerfen(ec.value());
    for (const fs::directory_iterator ende; it != ende; it.increment(ec)) {
        if (ec) fehlerwerfen(ec.value());
        std::error_code art;
        // A broken link or an entry removed meanwhile is simply no folder.
        if (it->is_directory(art)) unter.push_back(it->path().filename().string());
    }
    if (ec) fehlerwerfen(ec.value());
    std::stable_sort(unter.begin(), unter.end(), textvor);
    eintraege.insert(eintraege.end(), unter.begin(), unter.end());
    return eintraege;
}

std::vector<std::string> jahreaus(const std::vector<std::string>& eintraege) {
    std::vector<std::string> jahre;
    bool nachNux = false;
    for (const auto& e : eintraege) {
        if (nachNux && jahrform(e)) jahre.push_back(e);
        if (e == "nux") nachNux = true;
    }
    std::stable_sort(jahre.begin(), jahre.end(), textvor);
    return jahre;
}

std::vector<std::string> jahrliste() {
    std::vector<std::string> liste{kNeuesJahr};
    const auto jahre = jahreaus(ordnereintraege());
    liste.insert(liste.end(), jahre.begin(), jahre.end());
    return liste;
}

std::string zielkopf(std::string_view ziel) {
    return std::string(ziel) + "  \xFC" "bernimmt Daten von (anklicken): ";
}

std::string quellkopf(std::string_view kopf, std::string_view quelle) {
    return linksbuendig(kopf, 28) + "  " + std::string(quelle);
}

Uebernahmepaar uebernahmepaar(std::string_view kopf) {
    Uebernahmepaar p;
    p.ziel = std::string(kopf.substr(0, std::min<std::size_t>(6, kopf.size())));
    p.quelle = std::string(kopf.size() > 6 ? kopf.substr(kopf.size() - 6) : kopf);
    return p;
}

namespace {

struct Anpassung {
    Klassenwahl wahl;
    bool stundenNull;
    bool zusatzLeeren;
};

// Teacher codes are emptied by every one of these choices.
constexpr Anpassung kAnpassungen[] = {
    {Klassenwahl::ohneStundenOhneZusatz, true, true},
    {Klassenwahl::mitStundenOhneZusatz, false, true},
    {Klassenwahl::ohneStundenMitZusatz, true, false},
    {Klassenwahl::mitStundenMitZusatz, false, false},
};

std::uintmax_t dateigroesse(const std::string& pfad) {
    std::error_code ec;
    const auto n = fs::file_size(pfad, ec);
    if (ec) fehlerwerfen(ec.value());
    return n;
}

bool derselbeOrdner(const std::string& a, const std::string& b) {
    std::error_code ec;
    return a == b || fs::equivalent(a, b, ec);
}

}  // namespace

void klassenanpassen(Klassensatz& k, Klassenwahl wahl) {
    const auto regel = std::find_if(std::begin(kAnpassungen), std::end(kAnpassungen),
                                    [wahl](const Anpassung& a) { return a.wahl == wahl; });
    if (regel == std::end(kAnpassungen)) return;
    for (int j = 1; j <= kSlots; ++j) {
        for (int s = 0; s < kFaecherMax; ++s) {
            if (regel->stundenNull) k.h(j, s) = 0;
            if (regel->zusatzLeeren) k.z(j, s).clear();
            k.l(j, s).clear();
        }
    }
}

Uebernahmeergebnis uebernehmen(const Uebernahmepaar& paar, const Uebernahmewahl& wahl) {
    if (!jahrform(paar.ziel) || !jahrform(paar.quelle)) return Uebernahmeergebnis::keineQuelle;
    // Copying a file onto itself would empty it.
    if (derselbeOrdner(paar.ziel, paar.quelle)) return Uebernahmeergebnis::selbst;

    const std::string quelle = paar.quelle + "/";
    const std::string ziel = paar.ziel + "/";
    const bool klassen = wahl.klassen != Klassenwahl::keine || wahl.unterrichtseinsatz;
    const bool anpassen = klassen && !wahl.unterrichtseinsatz && dateida(quelle + "klassen") &&
                          dateigroesse(quelle + "klassen") > 0;

    // Read before anything is copied: a damaged class file stops the takeover
    // while every file of the target is still as it was.
    std::vector<Klassensatz> saetze;
    if (anpassen) saetze = laden<Klassensatz>(quelle + "klassen");

    if (wahl.lehrer) dateikopieren(quelle + "lehrer", ziel + "lehrer");
    if (wahl.faecher) dateikopieren(quelle + "faecher", ziel + "faecher");
    if (anpassen) {
        // The stripped copy is written in one atomic rewrite: the target's
        // class file is either the old one or the whole stripped copy, never
        // a raw copy still carrying teacher codes.
        for (auto& k : saetze) klassenanpassen(k, wahl.klassen);
        neuschreiben(ziel + "klassen", saetze);
    } else if (klassen) {
        dateikopieren(quelle + "klassen", ziel + "klassen");
    }
    // The qualifications belong to the teachers and go with them.
    if (wahl.lehrer) befaehigungenuebernehmen(paar.quelle, paar.ziel);
    return Uebernahmeergebnis::erledigt;
}

Anlegeergebnis jahranlegen(std::string_view jahr, std::string_view nummer, std::string& name) {
    const bool jahrgut =
        jahr.size() == 4 && std::all_of(jahr.begin(), jahr.end(), [](char c) { return c >= '0' && c <= '9'; });
    const bool nummergut = nummer.size() == 1 && static_cast<unsigned char>(nummer[0]) > ' ' && nummer[0] != '/' &&
                           nummer[0] != 0x7F;
    if (!jahrgut || !nummergut) return Anlegeergebnis::ungueltig;
    const std::string neu = std::string(jahr) + " " + std::string(nummer);
    if (ordnerda(neu)) return Anlegeergebnis::vorhanden;
    if (::mkdir(neu.c_str(), 0755) != 0) fehlerwerfen(errno);
    name = neu;
    return Anlegeergebnis::angelegt;
}

}  // namespace nux
