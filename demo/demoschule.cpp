// The demo school, written with the storage layer only.
#include <sys/stat.h>

#include <cstdio>
#include <cstdint>
#include <string>
#include <vector>

#include "demo/demoschule.h"
#include "storage/datei.h"
#include "storage/jahr.h"
#include "storage/satz.h"

using namespace nux;

namespace {

struct Fach {
    const char* name;
    const char* kurz;
    int ordnung;
    bool unterrichtet;
    int stunden[4];  // weekly hours in tenths for grades 1 to 4
};

// Record order is the order of entry; the order numbers put them into the
// school's usual sequence.
const Fach kFaecher[] = {
    {"Deutsch", "D", 0, true, {40, 40, 40, 40}},
    {"Mathematik", "M", 2, true, {40, 40, 40, 40}},
    {"Englisch", "E", 1, true, {40, 40, 30, 30}},
    {"Geschichte", "GS", 3, true, {0, 20, 20, 20}},
    {"Geographie", "GW", 4, true, {20, 10, 20, 20}},
    {"Biologie", "BU", 5, true, {20, 20, 10, 20}},
    {"Physik", "PH", 6, true, {0, 10, 20, 20}},
    {"Chemie", "CH", 7, true, {0, 0, 0, 20}},
    {"Musik", "ME", 8, true, {20, 20, 10, 10}},
    {"Bildnerische Erziehung", "BE", 9, true, {20, 20, 20, 10}},
    {"Werken", "WE", 10, true, {20, 20, 10, 10}},
    {"Bewegung und Sport", "BSP", 11, true, {40, 40, 30, 30}},
    {"Religion", "RK", 12, true, {20, 20, 20, 20}},
    {"Informatik", "INF", 13, true, {10, 10, 0, 0}},
    {"Latein", "L", 14, false, {0, 0, 30, 30}},
    {"#Stenografie", "STE", 15, true, {0, 0, 0, 0}},
};

struct Lehrer {
    const char* name;
    const char* kurz;
    int stunden;
};

const Lehrer kLehrer[] = {
    {"Maria Huber", "MarH", 220},       {"Johann Berger", "JohB", 220},   {"Anna Gruber", "AnnG", 220},
    {"Franz Wagner", "FraW", 200},      {"Elisabeth Pichler", "EliP", 220}, {"Josef Steiner", "JosS", 115},
    {"Christine Moser", "ChrM", 220},   {"Karl Mayer", "KarM", 185},       {"Monika Hofer", "MonH", 220},
    {"Peter Leitner", "PetL", 220},     {"Sabine Bauer", "SabB", 110},     {"Thomas Fuchs", "ThoF", 220},
    {"Andrea Eder", "AndE", 220},       {"Michael Fischer", "MicF", 220},  {"Claudia Schmid", "ClaS", 150},
    {"Wolfgang Winkler", "WolW", 220},  {"Birgit Weber", "BirW", 220},     {"Gerhard Schwarz", "GerS", 205},
    {"Karin Maier", "KarI", 220},       {"Helmut Schneider", "HelS", 220}, {"Renate Reiter", "RenR", 115},
    {"Günter Mayr", "GünM", 220},       {"Ingrid Brunner", "IngB", 220},   {"Herbert Lang", "HerL", 220},
    {"Susanne Baumgartner", "SusB", 220}, {"Walter Auer", "WalA", 175},   {"Gabriele Binder", "GabB", 220},
    {"Manfred Lechner", "ManL", 220},   {"Petra Wolf", "PetW", 220},       {"Robert Wallner", "RobW", 220},
    {"#Erich Aigner", "EriA", 220},     {"Martina Ebner", "MarE", 195},    {"Stefan Koller", "SteK", 220},
    {"Barbara Lehner", "BarL", 120},    {"Christian Haas", "ChrH", 220},   {"Ulrike Holzer", "UlrH", 0},
};

// Every lesson share the school splits over more than one teacher.
struct Teilung {
    int fach;
    int stufe;  // grade, 1..4
    int anteile[3];
};
const Teilung kTeilungen[] = {
    {11, 1, {20, 20, 0}},  // sport: girls and boys
    {11, 2, {20, 20, 0}},
    {11, 3, {20, 10, 0}},
    {11, 4, {10, 10, 10}},
    {10, 1, {10, 5, 5}},   // crafts in three groups
    {2, 4, {20, 10, 0}},   // English with a language assistant
};

// A small deterministic generator, so the demo is the same on every machine.
std::uint32_t zustand = 20261;
std::uint32_t zufall() {
    zustand = zustand * 1103515245u + 12345u;
    return (zustand >> 16) & 0x7FFF;
}

std::string latin1(const char* utf8) {
    // The demo's texts hold only German umlauts and ß; turn them into Windows-1252.
    std::string r;
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(utf8); *p; ++p) {
        if (*p == 0xC3 && p[1]) {
            r += static_cast<char>(p[1] + 0x40);
            ++p;
        } else {
            r += static_cast<char>(*p);
        }
    }
    return r;
}

}  // namespace

void nux::demoschuleschreiben() {
        zustand = 20261;  // the same school however often it is written
        const std::string jahr = "2026 1";
        ::mkdir(jahr.c_str(), 0755);
        jahrsetzen(jahr);

        std::vector<Fachsatz> faecher;
        for (const auto& f : kFaecher) {
            Fachsatz s;
            s.name = latin1(f.name);
            s.kurz = f.kurz;
            s.ordnung = f.ordnung;
            s.unterrichtet = f.unterrichtet;
            faecher.push_back(s);
        }
        neuschreiben(jahrdatei("faecher"), faecher);

        std::vector<Lehrersatz> lehrer;
        for (const auto& l : kLehrer) {
            Lehrersatz s;
            s.name = latin1(l.name);
            s.kurz = latin1(l.kurz);
            s.stunden = l.stunden;
            lehrer.push_back(s);
        }
        neuschreiben(jahrdatei("lehrer"), lehrer);

        const int anzahlLehrer = static_cast<int>(std::size(kLehrer));
        std::vector<Klassensatz> klassen;
        for (int stufe = 1; stufe <= 4; ++stufe) {
            for (char zug = 'a'; zug <= 'e'; ++zug) {
                Klassensatz k;
                k.name = std::to_string(stufe) + zug;
                for (int s = 0; s < static_cast<int>(std::size(kFaecher)); ++s) {
                    std::int64_t anteile[3] = {kFaecher[s].stunden[stufe - 1], 0, 0};
                    for (const auto& t : kTeilungen)
                        if (t.fach == s && t.stufe == stufe)
                            for (int j = 0; j < 3; ++j) anteile[j] = t.anteile[j];
                    for (int j = 1; j <= 3; ++j) {
                        k.h(j, s) = anteile[j - 1];
                        if (anteile[j - 1] == 0 || !kFaecher[s].unterrichtet) continue;
                        if (zufall() % 2 == 0) {
                            const auto& l = kLehrer[zufall() % anzahlLehrer];
                            if (l.name[0] != '#' && l.stunden > 0) k.l(j, s) = latin1(l.kurz);
                        }
                    }
                }
                if (zug == 'a') k.z(1, 0) = latin1("Förderunterricht Di 6. Stunde");
                if (stufe == 2) k.z(1, 1) = "Leistungsgruppe";
                if (zug == 'c' && stufe == 3) k.z(2, 11) = latin1("gemeinsam mit 3d");
                if (stufe == 4 && zug == 'e') k.z(3, 11) = latin1("Schwimmen, 14-tägig");
                klassen.push_back(k);
            }
        }
        neuschreiben(jahrdatei("klassen"), klassen);
        jahraktschreiben(jahr);
}
