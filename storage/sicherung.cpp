#include "storage/sicherung.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <set>

#include "storage/datei.h"
#include "storage/planung.h"
#include "storage/satz.h"
#include "storage/text.h"

namespace nux {
namespace {

constexpr const char* kDateien[] = {"klassen", "faecher", "lehrer", kBefaehigungsdatei};

// The qualifications live in the year's "planung" folder; their backups go
// with the others into the year's "sicherung", where the dialog shows them.
bool planungsdatei(const std::string& datei) { return datei == kBefaehigungsdatei; }

std::string elternordner(const std::string& pfad) {
    std::string ordner = detail::ordnervon(pfad);
    if (!ordner.empty()) ordner.pop_back();
    return ordner;
}

bool datenname(const std::string& name) {
    return std::find(std::begin(kDateien), std::end(kDateien), name) != std::end(kDateien);
}

// Folders whose failed backup has been reported and not yet followed by one
// that worked.
std::set<std::string>& gemeldet() {
    static std::set<std::string> ordner;
    return ordner;
}

// A copy under a name nobody holds yet; EEXIST is returned, not thrown, so
// that the caller can take the next number.
int exklusivkopieren(const std::string& quelle, const std::string& ziel) {
    const auto bytes = dateilesen(quelle);
    struct stat st {};
    const mode_t modus = ::stat(quelle.c_str(), &st) == 0 ? (st.st_mode & 0777) : 0644;
    const int fd = ::open(ziel.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, modus);
    if (fd < 0) {
        if (errno == EEXIST) return EEXIST;
        fehlerwerfen(errno);
    }
    try {
        detail::fdschreiben(fd, bytes.data(), bytes.size(), 0);
        if (::fsync(fd) != 0) fehlerwerfen(errno);
        const int r = ::close(fd);
        if (r != 0) {
            ::unlink(ziel.c_str());
            fehlerwerfen(errno);
        }
    } catch (...) {
        ::close(fd);
        ::unlink(ziel.c_str());
        throw;
    }
    return 0;
}

std::vector<std::string> eintraege(const std::string& ordner) {
    std::vector<std::string> namen;
    DIR* d = ::opendir(ordner.c_str());
    if (!d) {
        if (errno == ENOENT) return namen;
        fehlerwerfen(errno);
    }
    while (const dirent* e = ::readdir(d)) namen.emplace_back(e->d_name);
    ::closedir(d);
    return namen;
}

std::vector<Sicherung> sicherungenin(const std::string& ordner) {
    std::vector<Sicherung> liste;
    for (const auto& name : eintraege(ordner)) {
        auto s = sicherungsnamelesen(name);
        if (!s) continue;
        s->pfad = ordner + "/" + name;
        liste.push_back(*s);
    }
    return liste;
}

// Removes all but the newest backups of datei; liste holds what the folder held.
void aufraeumen(std::vector<Sicherung> liste, const std::string& datei) {
    std::erase_if(liste, [&](const Sicherung& s) { return s.datei != datei; });
    if (liste.size() <= kSicherungenJeDatei) return;
    std::sort(liste.begin(), liste.end(), [](const Sicherung& a, const Sicherung& b) { return a.aelterals(b); });
    for (std::size_t i = 0; i + kSicherungenJeDatei < liste.size(); ++i)
        if (::unlink(liste[i].pfad.c_str()) != 0 && errno != ENOENT) fehlerwerfen(errno);
}

bool linkverweigert(int e) { return e == EPERM || e == EOPNOTSUPP || e == EMLINK || e == EXDEV || e == ENOSYS; }

std::string anzahl(std::size_t n, const char* eins, const char* mehr) {
    return std::to_string(n) + " " + (n == 1 ? eins : mehr);
}

std::string stunden(std::int64_t v) { return trimmen(zehntelzeigen(v, 20)); }

bool zurueckgezogen(const std::string& name) { return !name.empty() && name[0] == '#'; }

template <class Satz>
std::vector<Satz> saetzeaus(std::span<const std::uint8_t> bytes) {
    if (bytes.empty() || bytes.size() % Satz::groesse != 0) throw Dateifehler(kDateiende);
    std::vector<Satz> saetze;
    for (std::size_t i = 0; i < bytes.size(); i += Satz::groesse)
        saetze.push_back(
            Satz::dekodieren(std::span<const std::uint8_t, Satz::groesse>(bytes.data() + i, Satz::groesse)));
    return saetze;
}

std::size_t satzgroesse(const std::string& datei) {
    if (datei == "klassen") return Klassensatz::groesse;
    if (datei == "faecher") return Fachsatz::groesse;
    return Lehrersatz::groesse;
}

}  // namespace

bool sicherungsdatei(const std::string& pfad) {
    const std::string datei = detail::namevon(pfad);
    if (!datenname(datei)) return false;
    const std::string ordner = elternordner(pfad);
    if (planungsdatei(datei)) return detail::namevon(ordner) == kPlanungsordner;
    // A restore writes into the year folder, never into the backups.
    return detail::namevon(ordner) != kSicherungsordner;
}

std::string sicherungsname(const std::string& datei, std::time_t zeit, int nummer) {
    std::tm t {};
    ::localtime_r(&zeit, &t);
    char stempel[80];
    std::snprintf(stempel, sizeof stempel, "%04d-%02d-%02d_%02d-%02d-%02d", t.tm_year + 1900, t.tm_mon + 1,
                  t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec);
    std::string name = datei + "_" + stempel;
    if (nummer > 1) {
        char zusatz[16];
        std::snprintf(zusatz, sizeof zusatz, "_%02d", nummer);
        name += zusatz;
    }
    return name;
}

std::optional<Sicherung> sicherungsnamelesen(const std::string& name) {
    const auto strich = name.find('_');
    if (strich == std::string::npos) return std::nullopt;
    Sicherung s;
    s.datei = name.substr(0, strich);
    if (!datenname(s.datei)) return std::nullopt;
    const std::string rest = name.substr(strich + 1);
    // "2026-12-06_14-05-33": digits everywhere but the separators.
    const std::string muster = "dddd-dd-dd_dd-dd-dd";
    if (rest.size() < muster.size()) return std::nullopt;
    for (std::size_t i = 0; i < muster.size(); ++i) {
        const bool ziffer = rest[i] >= '0' && rest[i] <= '9';
        if (muster[i] == 'd' ? !ziffer : rest[i] != muster[i]) return std::nullopt;
    }
    s.stempel = rest.substr(0, muster.size());
    const std::string nummer = rest.substr(muster.size());
    if (!nummer.empty()) {
        if (nummer.size() < 3 || nummer.size() > 7 || nummer[0] != '_') return std::nullopt;
        if (!std::all_of(nummer.begin() + 1, nummer.end(), [](char c) { return c >= '0' && c <= '9'; }))
            return std::nullopt;
        s.nummer = std::stoi(nummer.substr(1));
        if (s.nummer < 2) return std::nullopt;
    }
    return s;
}

std::string Sicherung::datum() const {
    return stempel.substr(8, 2) + "." + stempel.substr(5, 2) + "." + stempel.substr(0, 4);
}

std::string Sicherung::zeit() const {
    return stempel.substr(11, 2) + ":" + stempel.substr(14, 2) + ":" + stempel.substr(17, 2);
}

bool Sicherung::aelterals(const Sicherung& b) const {
    if (stempel != b.stempel) return stempel < b.stempel;
    if (nummer != b.nummer) return nummer < b.nummer;
    return datei < b.datei;
}

std::function<void(const std::string&)>& sicherungsfehler() {
    static std::function<void(const std::string&)> hook;
    return hook;
}

std::string sichern(const std::string& pfad, bool kopieren) {
    if (!sicherungsdatei(pfad) || !dateida(pfad)) return {};
    const std::string datei = detail::namevon(pfad);
    const std::string ordner = (planungsdatei(datei) ? detail::ordnervon(elternordner(pfad)) : detail::ordnervon(pfad)) +
                               kSicherungsordner;
    bool angelegt = false;
    try {
        if (::mkdir(ordner.c_str(), 0755) != 0) {
            if (errno != EEXIST) fehlerwerfen(errno);
            if (!ordnerda(ordner)) throw Dateifehler(std::string(kSicherungsordner) + " ist kein Ordner");
        } else {
            angelegt = true;
        }
        const std::time_t jetzt = std::time(nullptr);
        auto liste = sicherungenin(ordner);
        // After the newest of this second, never in a gap that pruning left:
        // a name that sorts first would be the next one pruned.
        const std::string stempel = sicherungsname("", jetzt, 1).substr(1);
        int nummer = 1;
        for (const auto& s : liste)
            if (s.datei == datei && s.stempel == stempel) nummer = std::max(nummer, s.nummer + 1);
        bool verknuepfen = !kopieren;
        for (;; ++nummer) {
            const std::string name = sicherungsname(datei, jetzt, nummer);
            const std::string ziel = ordner + "/" + name;
            if (verknuepfen) {
                if (::link(pfad.c_str(), ziel.c_str()) == 0) {
                    liste.push_back(*sicherungsnamelesen(name));
                    break;
                }
                if (errno == EEXIST) continue;
                if (!linkverweigert(errno)) fehlerwerfen(errno);
                verknuepfen = false;
            }
            if (exklusivkopieren(pfad, ziel) == 0) {
                liste.push_back(*sicherungsnamelesen(name));
                break;
            }
        }
        const std::string gemacht = ordner + "/" + sicherungsname(datei, jetzt, nummer);
        liste.back().pfad = gemacht;
        aufraeumen(std::move(liste), datei);
        gemeldet().erase(ordner);
        return gemacht;
    } catch (const std::exception& e) {
        // A folder made for nothing would be the only trace of the attempt.
        if (angelegt) ::rmdir(ordner.c_str());
        if (!gemeldet().insert(ordner).second || !sicherungsfehler()) return {};
        try {
            sicherungsfehler()("Die alte Fassung von \"" + pfad + "\" konnte nicht in \"" + ordner +
                               "\" gesichert werden (" + e.what() +
                               "). Gespeichert wird trotzdem; weitere Fehler beim Sichern in diesem Ordner "
                               "werden nicht mehr gemeldet.");
        } catch (...) {
        }
    }
    return {};
}

std::vector<Sicherung> sicherungen(const std::string& jahr) {
    auto liste = sicherungenin(jahr + "/" + kSicherungsordner);
    std::sort(liste.begin(), liste.end(), [](const Sicherung& a, const Sicherung& b) { return b.aelterals(a); });
    return liste;
}

std::string zusammenfassung(const std::string& datei, std::span<const std::uint8_t> bytes) {
    try {
        if (planungsdatei(datei)) {
            const auto b = Befaehigungen::aus(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
            std::size_t wunsch = 0;
            for (const auto& [k, s] : b.eintraege()) wunsch += s == Stufe::wunsch;
            std::string t = datei + ": " + anzahl(b.eintraege().size(), "Befähigung", "Befähigungen") + ", davon " +
                            std::to_string(wunsch) + " Wunschf" + (wunsch == 1 ? "ach" : "ächer");
            if (!b.fehler.empty()) t += ", " + anzahl(b.fehler.size(), "unlesbare Zeile", "unlesbare Zeilen");
            return t;
        }
        if (datei == "klassen") {
            const auto saetze = saetzeaus<Klassensatz>(bytes);
            std::int64_t alle = 0;
            std::int64_t zugeordnet = 0;
            for (const auto& k : saetze)
                for (int j = 1; j <= kSlots; ++j)
                    for (int s = 0; s < kFaecherMax; ++s) {
                        alle += k.h(j, s);
                        if (!trimmen(k.l(j, s)).empty()) zugeordnet += k.h(j, s);
                    }
            return "klassen: " + anzahl(saetze.size(), "Klasse", "Klassen") + ", " + stunden(alle) + " Stunden, davon " +
                   stunden(zugeordnet) + " zugeordnet";
        }
        if (datei == "faecher") {
            const auto saetze = saetzeaus<Fachsatz>(bytes);
            const auto gueltig =
                std::count_if(saetze.begin(), saetze.end(), [](const Fachsatz& f) { return !zurueckgezogen(f.name); });
            const auto unterrichtet = std::count_if(saetze.begin(), saetze.end(), [](const Fachsatz& f) {
                return !zurueckgezogen(f.name) && f.unterrichtet;
            });
            return "faecher: " + anzahl(static_cast<std::size_t>(gueltig), "Fach", "Fächer") + ", davon " + std::to_string(unterrichtet) +
                   " unterrichtet";
        }
        const auto saetze = saetzeaus<Lehrersatz>(bytes);
        std::size_t gueltig = 0;
        std::int64_t soll = 0;
        for (const auto& l : saetze) {
            if (zurueckgezogen(l.name)) continue;
            ++gueltig;
            soll += l.stunden;
        }
        return "lehrer: " + anzahl(gueltig, "LehrerIn", "LehrerInnen") + ", " + stunden(soll) + " Stunden";
    } catch (const std::exception& e) {
        return datei + ": nicht lesbar (" + e.what() + ")";
    }
}

void zurueckholen(const std::string& jahr, const Sicherung& s) {
    // Read first: backing up the current file may prune this very backup.
    const auto bytes = dateilesen(s.pfad);
    if (planungsdatei(s.datei)) {
        planungsordneranlegen(jahr);
        atomarschreiben(planungspfad(jahr, kBefaehigungsdatei), bytes);
        return;
    }
    if (bytes.empty() || bytes.size() % satzgroesse(s.datei) != 0) throw Dateifehler(kDateiende);
    atomarschreiben(jahr + "/" + s.datei, bytes);
}

}  // namespace nux
