// A power cut in the middle of a save: a child process saves in a loop with
// one writer of the program, the parent kills it with SIGKILL at a random
// moment and checks every file the writer touches. Each file must be the whole
// version before the interrupted save or the whole version after it, never
// torn and never missing, and the next save goes through whatever temporary
// file a cut left behind. Every backup kept in "sicherung" is a whole version
// that its file once had.
//
//   nux_stromausfall [--seed N] [--kills K] [--schreiber NAME]
//
// Versions are numbered: save k turns the state of save k-1 into the state of
// save k. What each version holds is found by running the saves without
// interruption in a second program folder, so the check knows nothing of the
// writers' internals.
#include <signal.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>
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
namespace fs = std::filesystem;
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

// The year every writer but the code and "jahrakt" works in.
void jahrvorbereiten(const std::string& ordner, int v, bool mitKlassen = true) {
    fs::create_directory(ordner);
    std::vector<Fachsatz> faecher;
    std::vector<Lehrersatz> lehrer;
    std::vector<Klassensatz> klassen(3);
    for (int i = 0; i < 5; ++i) faecher.push_back({"Fach" + wort(i + v, 6), wort(i + v, 2), i, true});
    for (int i = 0; i < 4; ++i) lehrer.push_back({"Lehrer " + wort(i + v, 8), wort(i + v, 4), 200});
    for (int c = 0; c < 3; ++c) {
        klassen[c].name = wort(c + v, 2);
        for (int s = 0; s < 5; ++s)
            std::tie(klassen[c].h(1, s), klassen[c].z(1, s), klassen[c].l(1, s)) =
                std::tuple(20 + s + v, "Zusatz " + wort(s, 5), v ? wort(s % 4 + v, 4) : "");
    }
    neuschreiben(ordner + "/faecher", faecher);
    neuschreiben(ordner + "/lehrer", lehrer);
    if (mitKlassen) neuschreiben(ordner + "/klassen", klassen);
}

struct Schreiber {
    const char* name;
    std::vector<std::string> dateien;              // what the writer touches
    std::function<void()> vorbereiten;             // the state of version 0 in an empty program folder
    std::function<void(std::uint64_t)> speichern;  // save k
};

std::vector<Schreiber> schreiber() {
    const auto jahrda = [] { jahrsetzen(kJahr), fs::create_directory(kJahr); };
    const auto jahrvoll = [](bool mitKlassen) {
        return [mitKlassen] { jahrsetzen(kJahr), jahrvorbereiten(kJahr, 0, mitKlassen); };
    };
    return {
        {"faecher", {kJahr + "/faecher"}, jahrda, [](std::uint64_t k) {
             const std::string pfad = jahrdatei("faecher");
             auto zeilen = faecher::holen(pfad);
             std::size_t pos = 0;
             if (zeilen.size() < 6 || k % 3 == 0) {  // a new subject while there is room, else a changed one
                 int hoechster = static_cast<int>(zeilen.size()) - 1;
                 std::optional<std::size_t> gewaehlt;
                 if (zeilen.size() >= 6) gewaehlt = k % zeilen.size();
                 faecher::speichern(pfad, zeilen, hoechster, gewaehlt, {"Fach " + wort(k, 20), wort(k, 3), k % 2 == 0},
                                    pos);
             } else {
                 faecher::verschieben(pfad, zeilen, k % zeilen.size(), (k / 7) % zeilen.size());
             }
         }},
        {"lehrer", {kJahr + "/lehrer"}, jahrda, [](std::uint64_t k) {
             const std::string pfad = jahrdatei("lehrer");
             auto zeilen = lehrer::holen(pfad);
             std::optional<std::size_t> gewaehlt;  // appends until five teachers stand, then rewrites one in place
             if (zeilen.size() >= 5) gewaehlt = k % zeilen.size();
             const std::string h = std::to_string(1 + k % 20) + "," + std::to_string(k % 10);
             std::size_t pos = 0;
             lehrer::speichern(pfad, zeilen, gewaehlt, {"Lehrer " + wort(k, 30), wort(k, 4), h}, pos);
         }},
        {"klassen", {kJahr + "/klassen"}, jahrvoll(false), [](std::uint64_t k) {
             Klassenmodell m;
             m.starten();
             // Four classes come, get hours, and go again down to none, which erases the file.
             if (((k - 1) / 6) % 2 == 1 && m.LastClass >= 0) {
                 m.entfernen(static_cast<int>(k % (m.LastClass + 1)));
             } else if (m.LastClass >= 3 || (m.LastClass >= 0 && k % 2 == 0)) {
                 Zeilenfelder f;
                 f.stunden = {std::to_string(k % 9 + 1), "2,5", ""};
                 f.zusatz = {wort(k, 30), "", ""};
                 zeileuebernehmen(m.Classes[k % (m.LastClass + 1)], static_cast<int>(k % 5), stundenaufbereiten(f));
                 m.speichern();
             } else {
                 m.anlegen(wort(k, 3));
             }
         }},
        {"verteilung", {kJahr + "/klassen"}, jahrvoll(true), [](std::uint64_t k) {
             Verteilung v;
             v.laden();
             for (std::uint64_t z = k * 4; z < k * 4 + 4; ++z)  // a few teachers put on or taken off
                 v.lehrerein(static_cast<int>(z % v.klassenzahl()), static_cast<int>((z / 3) % v.zeilenzahl()),
                             static_cast<int>(z % 5));
             v.speichern();
         }},
        {"codes", {"codes"}, [] {}, [](std::uint64_t k) {
             if (!dateida("codes")) codestimmt("");
             else codeschreiben(wort(k, 1 + k % 8));
         }},
        {"jahrakt", {"jahrakt"}, [] {}, [](std::uint64_t k) {
             jahraktschreiben(std::to_string(2000 + k % 100) + " " + std::to_string(k % 10));
         }},
        {"uebernahme", {kJahr + "/faecher", kJahr + "/lehrer", kJahr + "/klassen"},
         [] { jahrvorbereiten(kQuellen[0], 0), jahrvorbereiten(kQuellen[1], 1), fs::create_directory(kJahr); },
         [](std::uint64_t k) {
             Uebernahmewahl w;
             w.lehrer = w.faecher = true;
             w.klassen = static_cast<Klassenwahl>(1 + k % 4);
             w.unterrichtseinsatz = k % 5 == 0;
             uebernehmen({kJahr, kQuellen[k % 2]}, w);
         }},
    };
}

Stand lesen(const std::vector<std::string>& dateien) {
    Stand s;
    for (const auto& d : dateien) s[d] = dateida(d) ? Bytes(dateilesen(d)) : std::nullopt;
    return s;
}

void neuanfangen(const Schreiber& s) {
    for (const auto& e : fs::directory_iterator(".")) fs::remove_all(e.path());
    s.vorbereiten();
}

// One content of a file, whatever folder it lies in.
std::string fassung(const std::string& pfad, const std::vector<std::uint8_t>& b) {
    return fs::path(pfad).filename().string() + '\0' + std::string(b.begin(), b.end());
}

// The states of versions 0, 1, 2 ... from saves that nobody interrupts, made
// in a folder of their own, and every content a file had in them.
struct Vorlage {
    const Schreiber& s;
    fs::path ordner;
    std::vector<Stand> staende = {};
    std::unordered_set<std::string> fassungen = {};

    const Stand& stand(std::uint64_t k) {
        if (k < staende.size()) return staende[k];
        const auto zurueck = fs::current_path();
        fs::current_path(ordner);
        if (staende.empty()) neuanfangen(s), merken();
        while (staende.size() <= k) s.speichern(staende.size()), merken();
        fs::current_path(zurueck);
        return staende[k];
    }
    void merken() {
        staende.push_back(lesen(s.dateien));
        for (const auto& [d, b] : staende.back())
            if (b) fassungen.insert(fassung(d, *b));
    }
};

std::string zeigen(const Bytes& b) { return b ? std::to_string(b->size()) + " Bytes" : "fehlt"; }

// Returns the number of faults found.
int pruefen(const Schreiber& s, int kills, std::mt19937_64& zufall, const std::string& vorlageordner,
            std::uint64_t seed) {
    int schlecht = 0, kill = 0, mitten = 0, sicherungen = 0;
    const auto melden = [&](const std::string& was) {
        ++schlecht;
        std::fprintf(stderr, "%s, Kill %d, Seed %llu: %s\n", s.name, kill, static_cast<unsigned long long>(seed),
                     was.c_str());
    };
    Vorlage vorlage{s, vorlageordner};
    // Saves begun and finished, seen by both processes.
    auto* z = static_cast<std::atomic<std::uint64_t>*>(
        ::mmap(nullptr, 2 * sizeof(std::atomic<std::uint64_t>), PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0));
    if (z == MAP_FAILED) std::abort();
    // The kill falls anywhere within about three saves of this writer.
    const auto t0 = std::chrono::steady_clock::now();
    vorlage.stand(8);
    const auto dauer = std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - t0) / 8;
    const std::uint64_t spanne = std::max<std::uint64_t>(1000, 3 * static_cast<std::uint64_t>(dauer.count()));
    std::uint64_t stand = 0;
    for (; kill < kills; ++kill) {
        // Now and then the writer starts from nothing again, so that creating
        // a file is cut as often as replacing one.
        if (kill == 0 || zufall() % 16 == 0) neuanfangen(s), stand = 0;
        z[0] = z[1] = stand;
        const pid_t kind = ::fork();
        if (kind == 0) {
            // A save that fails ends the child through terminate(), which names the error.
            for (std::uint64_t k = stand + 1;; ++k) {
                z[0].store(k);
                s.speichern(k);
                z[1].store(k);
            }
        }
        // On a busy machine the child may take longer to start than a save
        // lasts: the random wait counts from its first save.
        for (int i = 0; i < 100000 && z[0].load() == stand; ++i) ::usleep(10);
        ::usleep(static_cast<useconds_t>(zufall() % spanne));
        ::kill(kind, SIGKILL);
        int status = 0;
        ::waitpid(kind, &status, 0);
        if (!(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL)) {
            melden("das Kind endete selbst, Status " + std::to_string(status));
            break;
        }
        const std::uint64_t begonnen = z[0], fertig = z[1];
        mitten += begonnen != fertig;
        const Stand jetzt = lesen(s.dateien);
        const Stand neu = vorlage.stand(begonnen), alt = vorlage.stand(fertig);
        bool ganzneu = true;
        for (const auto& [d, b] : jetzt) {
            ganzneu = ganzneu && b == neu.at(d);
            if (b != alt.at(d) && b != neu.at(d))
                melden(d + (b ? " zerrissen: " : " fehlt: ") + zeigen(b) + ", alt " + zeigen(alt.at(d)) + ", neu " +
                       zeigen(neu.at(d)));
        }
        stand = ganzneu ? begonnen : fertig;
        // The takeover copies file after file: after a cut the user repeats it.
        if (!ganzneu && begonnen != fertig && s.dateien.size() > 1) s.speichern(begonnen), stand = begonnen;

        // Every backup is a whole version that the file once had.
        std::error_code ec;
        for (const auto& e : fs::directory_iterator(kJahr + "/" + kSicherungsordner, ec)) {
            const auto info = sicherungsnamelesen(e.path().filename().string());
            if (!info) continue;
            ++sicherungen;
            if (!vorlage.fassungen.count(fassung(info->datei, dateilesen(e.path().string()))))
                melden("die Sicherung " + e.path().string() + " ist keine Fassung der Datei");
        }
    }
    // The next save after the last cut goes through and clears its temporary file.
    try {
        s.speichern(stand + 1);
        if (lesen(s.dateien) != vorlage.stand(stand + 1)) melden("die Speicherung nach dem letzten Kill weicht ab");
    } catch (const std::exception& x) {
        melden(std::string("Speichern nach dem letzten Kill: ") + x.what());
    }
    // A kill that never lands inside a save proves nothing.
    if (kills >= 20 && mitten < kills / 2) melden("nur " + std::to_string(mitten) + " Kills mitten im Speichern");
    std::printf("%-11s Kills %4d, davon mitten im Speichern %4d, Sicherungen geprueft %6d, Fehler %d\n", s.name, kill,
                mitten, sicherungen, schlecht);
    ::munmap(z, 2 * sizeof(std::atomic<std::uint64_t>));
    return schlecht;
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
        else return std::fprintf(stderr, "unbekannte Option %s\n", a.c_str()), 2;
    }
    std::printf("Stromausfall: Seed %llu, %d Kills je Schreiber\n", static_cast<unsigned long long>(seed), kills);

    char muster[] = "/tmp/nux-stromausfall-XXXXXX";
    if (!::mkdtemp(muster)) return 2;
    const fs::path wurzel = muster;
    fs::create_directories(wurzel / "a/nux");
    fs::create_directories(wurzel / "b/nux");
    fs::current_path(wurzel / "a/nux");
    std::mt19937_64 zufall(seed);
    int schlecht = 0;
    for (const auto& s : schreiber())
        if (nur.empty() || nur == s.name) schlecht += pruefen(s, kills, zufall, wurzel / "b/nux", seed);
    fs::current_path("/");
    fs::remove_all(wurzel);
    return schlecht == 0 ? 0 : 1;
}
