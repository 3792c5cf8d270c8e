// A power cut in the middle of a save: a child process saves in a loop with
// one writer of the program, the parent kills it with SIGKILL at a random
// moment and checks every file the writer touches. Each file must be the whole
// version before the interrupted save or the whole version after it, never
// torn and never missing, and a temporary file left behind must never be read
// as data: every file still loads, the year list shows only years, and the
// next save goes through. Every backup kept in "sicherung" is a whole version
// that its file once had.
//
//   nux_stromausfall [--seed N] [--kills K] [--schreiber NAME]
//
// Versions are numbered: save k turns the state of save k-1 into the state of
// save k. What each version holds is found by running the saves without
// interruption in a second program folder, so the check knows nothing of the
// writers' internals.
#include <dirent.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <map>
#include <new>
#include <optional>
#include <random>
#include <string>
#include <unordered_set>
#include <vector>

#include "app/kern/code.h"
#include "assignment/kern/verteilung.h"
#include "editors/kern/faecher.h"
#include "editors/kern/klassen.h"
#include "editors/kern/lehrer.h"
#include "storage/datei.h"
#include "storage/jahr.h"
#include "storage/satz.h"
#include "storage/sicherung.h"
#include "years/kern/jahre.h"

namespace {

using namespace nux;
using Bytes = std::optional<std::vector<std::uint8_t>>;  // nothing: the file is missing
using Stand = std::map<std::string, Bytes>;

const std::string kJahr = "2026 1";
const std::string kQuellen[2] = {"2025 1", "2025 2"};

// A name that differs in every character from that of the neighbouring versions.
std::string wort(std::uint64_t k, std::size_t laenge) {
    std::string s;
    for (std::size_t i = 0; i < laenge; ++i) s += static_cast<char>('a' + (k + i * 7) % 26);
    return s;
}

std::int64_t stunden(std::uint64_t k) { return static_cast<std::int64_t>(10 + k % 200); }

// The year every writer but the code and "jahrakt" works in.
void jahrvorbereiten(const std::string& ordner, int variante, bool mitKlassen = true) {
    ::mkdir(ordner.c_str(), 0755);
    std::vector<Fachsatz> faecher;
    for (int i = 0; i < 5; ++i) faecher.push_back({"Fach" + wort(i + variante, 6), wort(i + variante, 2), i, true});
    std::vector<Lehrersatz> lehrer;
    for (int i = 0; i < 4; ++i) lehrer.push_back({"Lehrer " + wort(i + variante, 8), wort(i + variante, 4), 200});
    std::vector<Klassensatz> klassen(3);
    for (int c = 0; c < 3; ++c) {
        klassen[c].name = wort(c + variante, 2);
        for (int s = 0; s < 5; ++s) {
            klassen[c].h(1, s) = 20 + s + variante;
            klassen[c].z(1, s) = "Zusatz " + wort(s, 5);
            klassen[c].l(1, s) = variante ? wort(s % 4 + variante, 4) : "";
        }
    }
    neuschreiben(ordner + "/faecher", faecher);
    neuschreiben(ordner + "/lehrer", lehrer);
    if (mitKlassen) neuschreiben(ordner + "/klassen", klassen);
}

struct Schreiber {
    const char* name;
    std::vector<std::string> dateien;     // what the writer touches
    std::function<void()> vorbereiten;    // the state of version 0 in an empty program folder
    std::function<void(std::uint64_t)> speichern;  // save k
};

std::vector<Schreiber> schreiber() {
    std::vector<Schreiber> r;
    const auto jahrda = [] {
        jahrsetzen(kJahr);
        ::mkdir(kJahr.c_str(), 0755);
    };
    r.push_back({"faecher", {kJahr + "/faecher"}, jahrda, [](std::uint64_t k) {
                     const std::string pfad = jahrdatei("faecher");
                     auto zeilen = faecher::holen(pfad);
                     int hoechster = static_cast<int>(zeilen.size()) - 1;
                     std::size_t pos = 0;
                     if (zeilen.size() < 6 || k % 3 == 0) {
                         // A new subject while there is room, else a changed one.
                         const faecher::Eingabe e{"Fach " + wort(k, 20), wort(k, 3), k % 2 == 0};
                         std::optional<std::size_t> gewaehlt;
                         if (zeilen.size() >= 6) gewaehlt = k % zeilen.size();
                         faecher::speichern(pfad, zeilen, hoechster, gewaehlt, e, pos);
                     } else {
                         faecher::verschieben(pfad, zeilen, k % zeilen.size(), (k / 7) % zeilen.size());
                     }
                 }});
    r.push_back({"lehrer", {kJahr + "/lehrer"}, jahrda, [](std::uint64_t k) {
                     const std::string pfad = jahrdatei("lehrer");
                     auto zeilen = lehrer::holen(pfad);
                     std::optional<std::size_t> gewaehlt;
                     if (zeilen.size() >= 5) gewaehlt = k % zeilen.size();
                     const std::string h = std::to_string(stunden(k) / 10) + "," + std::to_string(stunden(k) % 10);
                     std::size_t pos = 0;
                     // Appends until five teachers stand, then rewrites one in place.
                     lehrer::speichern(pfad, zeilen, gewaehlt, {"Lehrer " + wort(k, 30), wort(k, 4), h}, pos);
                 }});
    r.push_back({"klassen", {kJahr + "/klassen"}, [] {
                     jahrsetzen(kJahr);
                     jahrvorbereiten(kJahr, 0, false);
                 },
                 [](std::uint64_t k) {
                     Klassenmodell m;
                     m.starten();
                     // Four classes come, get hours, and go again down to none,
                     // which erases the file.
                     const bool weg = ((k - 1) / 6) % 2 == 1 && m.LastClass >= 0;
                     if (weg) {
                         m.entfernen(static_cast<int>(k % (m.LastClass + 1)));
                     } else if (m.LastClass >= 3 || (m.LastClass >= 0 && k % 2 == 0)) {
                         const int c = static_cast<int>(k % (m.LastClass + 1));
                         Zeilenfelder f;
                         f.stunden = {std::to_string(k % 9 + 1), "2,5", ""};
                         f.zusatz = {wort(k, 30), "", ""};
                         zeileuebernehmen(m.Classes[static_cast<std::size_t>(c)], static_cast<int>(k % 5),
                                          stundenaufbereiten(f));
                         m.speichern();
                     } else {
                         m.anlegen(wort(k, 3));
                     }
                 }});
    r.push_back({"verteilung", {kJahr + "/klassen"}, [] {
                     jahrsetzen(kJahr);
                     jahrvorbereiten(kJahr, 0);
                 },
                 [](std::uint64_t k) {
                     Verteilung v;
                     v.laden();
                     // A few teachers put on or taken off, then "speichern".
                     for (std::uint64_t i = 0; i < 4; ++i) {
                         const std::uint64_t z = k * 4 + i;
                         v.lehrerein(static_cast<int>(z % v.klassenzahl()), static_cast<int>((z / 3) % v.zeilenzahl()),
                                     static_cast<int>(z % 5));
                     }
                     v.speichern();
                 }});
    r.push_back({"codes", {"codes"}, [] {}, [](std::uint64_t k) {
                     if (!dateida("codes"))
                         codestimmt("");
                     else
                         codeschreiben(wort(k, 1 + k % 8));
                 }});
    r.push_back({"jahrakt", {"jahrakt"}, [] {}, [](std::uint64_t k) {
                     jahraktschreiben(std::to_string(2000 + k % 100) + " " + std::to_string(k % 10));
                 }});
    r.push_back({"uebernahme", {kJahr + "/faecher", kJahr + "/lehrer", kJahr + "/klassen"}, [] {
                     jahrvorbereiten(kQuellen[0], 0);
                     jahrvorbereiten(kQuellen[1], 1);
                     ::mkdir(kJahr.c_str(), 0755);
                 },
                 [](std::uint64_t k) {
                     Uebernahmewahl w;
                     w.lehrer = w.faecher = true;
                     w.klassen = static_cast<Klassenwahl>(1 + k % 4);
                     w.unterrichtseinsatz = k % 5 == 0;
                     uebernehmen({kJahr, kQuellen[k % 2]}, w);
                 }});
    return r;
}

Stand lesen(const std::vector<std::string>& dateien) {
    Stand s;
    for (const auto& d : dateien) s[d] = dateida(d) ? Bytes(dateilesen(d)) : std::nullopt;
    return s;
}

void leeren(const std::string& ordner) {
    for (const auto& e : std::filesystem::directory_iterator(ordner)) std::filesystem::remove_all(e.path());
}

struct Zaehler {
    std::atomic<std::uint64_t> begonnen{0};
    std::atomic<std::uint64_t> fertig{0};
};

// The states of versions 0, 1, 2 ... from saves that nobody interrupts.
class Vorlage {
public:
    Vorlage(const Schreiber& s, std::string ordner) : s_(s), ordner_(std::move(ordner)) {}
    Stand stand(std::uint64_t k, const std::string& zurueck) {
        if (k >= staende_.size()) {
            if (::chdir(ordner_.c_str()) != 0) std::abort();
            if (staende_.empty()) {
                leeren(".");
                s_.vorbereiten();
                staende_.push_back(lesen(s_.dateien));
                merken(staende_.back());
            }
            while (staende_.size() <= k) {
                s_.speichern(staende_.size());
                staende_.push_back(lesen(s_.dateien));
                merken(staende_.back());
            }
            if (::chdir(zurueck.c_str()) != 0) std::abort();
        }
        return staende_[k];
    }
    // Whether some version of the file held exactly these bytes.
    bool fassung(const std::string& datei, const std::vector<std::uint8_t>& b) const {
        return fassungen_.count(datei + '\0' + std::string(b.begin(), b.end())) > 0;
    }

private:
    void merken(const Stand& st) {
        for (const auto& [d, b] : st)
            if (b) fassungen_.insert(d.substr(d.rfind('/') + 1) + '\0' + std::string(b->begin(), b->end()));
    }
    std::unordered_set<std::string> fassungen_;
    const Schreiber& s_;
    std::string ordner_;
    std::vector<Stand> staende_;
};

std::vector<std::string> eintraege(const std::string& ordner) {
    std::vector<std::string> r;
    if (DIR* d = ::opendir(ordner.c_str())) {
        while (dirent* e = ::readdir(d)) {
            const std::string n = e->d_name;
            if (n != "." && n != "..") r.push_back(n);
        }
        ::closedir(d);
    }
    return r;
}

struct Ergebnis {
    int kills = 0, inSpeichern = 0, zerrissen = 0, fehlend = 0, temporaer = 0, fehler = 0;
    int sicherungen = 0, sicherungenkaputt = 0;
    std::uint64_t speicherungen = 0;
};

std::string zeigen(const Bytes& b) { return b ? std::to_string(b->size()) + " Bytes" : "fehlt"; }

Ergebnis pruefen(const Schreiber& s, int kills, std::mt19937_64& zufall, const std::string& arbeit,
                 const std::string& vorlageordner, std::uint64_t seed) {
    Ergebnis e;
    Vorlage vorlage(s, vorlageordner);
    auto* z = static_cast<Zaehler*>(
        ::mmap(nullptr, sizeof(Zaehler), PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0));
    if (z == MAP_FAILED) std::abort();
    // The kill falls anywhere within about three saves of this writer.
    const auto t0 = std::chrono::steady_clock::now();
    vorlage.stand(8, arbeit);
    const auto dauer = std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - t0) / 8;
    const std::uint64_t spanne = std::max<std::uint64_t>(1000, 3 * static_cast<std::uint64_t>(dauer.count()));
    std::uint64_t stand = 0;
    for (int kill = 0; kill < kills; ++kill) {
        // Now and then the writer starts from nothing again, so that creating
        // a file is cut as often as replacing one.
        if (kill == 0 || zufall() % 16 == 0) {
            if (::chdir(arbeit.c_str()) != 0) std::abort();
            leeren(".");
            s.vorbereiten();
            stand = 0;
        }
        new (z) Zaehler;
        z->begonnen = z->fertig = stand;
        const pid_t kind = ::fork();
        if (kind == 0) {
            for (std::uint64_t k = stand + 1;; ++k) {
                z->begonnen.store(k);
                try {
                    s.speichern(k);
                } catch (const std::exception& x) {
                    std::fprintf(stderr, "%s: Speichern %llu: %s\n", s.name, static_cast<unsigned long long>(k), x.what());
                    ::_exit(3);
                }
                z->fertig.store(k);
            }
        }
        ::usleep(static_cast<useconds_t>(zufall() % spanne));
        ::kill(kind, SIGKILL);
        int status = 0;
        ::waitpid(kind, &status, 0);
        if (!(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL)) {
            std::fprintf(stderr, "%s: Kind endete selbst (Status %d), Seed %llu, Kill %d\n", s.name, status,
                         static_cast<unsigned long long>(seed), kill);
            ++e.fehler;
            break;
        }
        ++e.kills;
        const std::uint64_t fertig = z->fertig, begonnen = z->begonnen;
        if (begonnen != fertig) ++e.inSpeichern;
        e.speicherungen += fertig - stand;

        const Stand jetzt = lesen(s.dateien);
        const Stand neu = vorlage.stand(begonnen, arbeit);
        const Stand alt = vorlage.stand(fertig, arbeit);
        bool ganzneu = true;
        for (const auto& d : s.dateien) {
            const Bytes& b = jetzt.at(d);
            if (b == alt.at(d) || b == neu.at(d)) {
                ganzneu = ganzneu && b == neu.at(d);
                continue;
            }
            (b ? e.zerrissen : e.fehlend)++;
            std::fprintf(stderr, "%s: %s nach Kill %d (Seed %llu): %s, alt %s, neu %s\n", s.name, d.c_str(), kill,
                         static_cast<unsigned long long>(seed), zeigen(b).c_str(), zeigen(alt.at(d)).c_str(),
                         zeigen(neu.at(d)).c_str());
        }
        // The takeover copies file after file: after a cut the user repeats it.
        stand = ganzneu ? begonnen : fertig;
        if (!ganzneu && begonnen != fertig && s.dateien.size() > 1) {
            s.speichern(begonnen);
            stand = begonnen;
        }

        // What a cut left behind is never taken for data.
        for (const std::string ordner : {std::string("."), kJahr}) {
            for (const auto& n : eintraege(ordner)) {
                if (n.size() > 4 && n[0] == '.' && n.compare(n.size() - 4, 4, ".neu") == 0) ++e.temporaer;
            }
        }
        // Every backup is a whole version that the file once had.
        const std::string sicherung = kJahr + "/" + kSicherungsordner;
        for (const auto& n : eintraege(sicherung)) {
            const auto info = sicherungsnamelesen(n);
            if (!info) continue;
            ++e.sicherungen;
            if (!vorlage.fassung(info->datei, dateilesen(sicherung + "/" + n))) {
                ++e.sicherungenkaputt;
                std::fprintf(stderr, "%s: Sicherung %s nach Kill %d (Seed %llu) ist keine Fassung der Datei\n", s.name,
                             n.c_str(), kill, static_cast<unsigned long long>(seed));
            }
        }
        try {
            for (const auto& j : jahrliste())
                if (j != kNeuesJahr && !jahrform(j)) throw std::runtime_error("kein Jahr in der Jahrliste: " + j);
            for (const auto& [d, b] : jetzt) {
                if (!b) continue;
                const std::string name = d.substr(d.rfind('/') + 1);
                if (name == "faecher") laden<Fachsatz>(d);
                if (name == "lehrer") laden<Lehrersatz>(d);
                if (name == "klassen") laden<Klassensatz>(d);
                if (name == "codes") laden<Codesatz>(d);
            }
        } catch (const std::exception& x) {
            ++e.fehler;
            std::fprintf(stderr, "%s: nach Kill %d (Seed %llu): %s\n", s.name, kill, static_cast<unsigned long long>(seed),
                         x.what());
        }
    }
    // The next save after the last cut goes through and clears its temporary file.
    try {
        s.speichern(stand + 1);
        if (lesen(s.dateien) != vorlage.stand(stand + 1, arbeit)) {
            ++e.fehler;
            std::fprintf(stderr, "%s: die Speicherung nach dem letzten Kill weicht ab\n", s.name);
        }
    } catch (const std::exception& x) {
        ++e.fehler;
        std::fprintf(stderr, "%s: Speichern nach dem letzten Kill: %s\n", s.name, x.what());
    }
    ::munmap(z, sizeof(Zaehler));
    return e;
}

}  // namespace

int main(int argc, char** argv) {
    std::uint64_t seed = std::random_device{}();
    int kills = 300;
    std::string nur;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string a = argv[i];
        if (a == "--seed") seed = std::strtoull(argv[i + 1], nullptr, 10);
        else if (a == "--kills") kills = std::atoi(argv[i + 1]);
        else if (a == "--schreiber") nur = argv[i + 1];
        else {
            std::fprintf(stderr, "unbekannte Option %s\n", a.c_str());
            return 2;
        }
    }
    std::printf("Stromausfall: Seed %llu, %d Kills je Schreiber\n", static_cast<unsigned long long>(seed), kills);

    char muster[] = "/tmp/nux-stromausfall-XXXXXX";
    if (!::mkdtemp(muster)) return 2;
    const std::string wurzel = muster;
    const std::string arbeit = wurzel + "/a/nux", vorlage = wurzel + "/b/nux";
    ::mkdir((wurzel + "/a").c_str(), 0755);
    ::mkdir((wurzel + "/b").c_str(), 0755);
    ::mkdir(arbeit.c_str(), 0755);
    ::mkdir(vorlage.c_str(), 0755);

    std::mt19937_64 zufall(seed);
    int schlecht = 0;
    Ergebnis summe;
    for (const auto& s : schreiber()) {
        if (!nur.empty() && nur != s.name) continue;
        const Ergebnis e = pruefen(s, kills, zufall, arbeit, vorlage, seed);
        std::printf("%-11s Kills %4d, davon mitten im Speichern %4d, Speicherungen %6llu, zerrissen %d, fehlend %d, "
                    "liegengebliebene temporaere Dateien %d, Fehler %d, Sicherungen geprueft %d, davon kaputt %d\n",
                    s.name, e.kills, e.inSpeichern, static_cast<unsigned long long>(e.speicherungen), e.zerrissen,
                    e.fehlend, e.temporaer, e.fehler, e.sicherungen, e.sicherungenkaputt);
        schlecht += e.zerrissen + e.fehlend + e.fehler + e.sicherungenkaputt;
        summe.kills += e.kills;
        summe.inSpeichern += e.inSpeichern;
        summe.zerrissen += e.zerrissen + e.fehlend;
        summe.sicherungen += e.sicherungen;
        summe.sicherungenkaputt += e.sicherungenkaputt;
    }
    std::printf("Summe: Kills %d, mitten im Speichern %d, zerrissene oder fehlende Dateien %d, Sicherungen geprueft %d, "
                "davon kaputt %d\n",
                summe.kills, summe.inSpeichern, summe.zerrissen, summe.sicherungen, summe.sicherungenkaputt);
    if (::chdir("/") != 0) return 2;
    std::filesystem::remove_all(wurzel);
    return schlecht == 0 ? 0 : 1;
}
