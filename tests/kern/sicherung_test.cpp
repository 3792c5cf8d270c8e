// Backups: every way a data file changes keeps the old bytes, the newest 30
// per file stay, a failing backup never stops a save, and a restore can be
// undone in turn.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include "kernhilfe.h"
#include "storage/datei.h"
#include "storage/satz.h"
#include "storage/planung.h"
#include "storage/sicherung.h"
#include "storage/text.h"
#include "years/kern/jahre.h"

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

namespace {

Bytes text(const std::string& t) { return Bytes(t.begin(), t.end()); }

nux::Fachsatz fach(const std::string& name, bool unterrichtet = true) {
    return {.name = name, .unterrichtet = unterrichtet};
}
nux::Lehrersatz lehrer(const std::string& name, std::int64_t stunden) { return {.name = name, .stunden = stunden}; }

// Backups in a year folder, oldest first, with their bytes.
std::vector<Bytes> gesichert(const std::string& jahr, const std::string& datei) {
    std::vector<Bytes> r;
    const auto liste = nux::sicherungen(jahr);
    for (auto it = liste.rbegin(); it != liste.rend(); ++it)
        if (it->datei == datei) r.push_back(nux::dateilesen(it->pfad));
    return r;
}

struct Ordner : kernhilfe::Ordner {
    std::vector<std::string> meldungen;
    Ordner() {
        fs::create_directory("2006 1");
        nux::sicherungsfehler() = [this](const std::string& m) { meldungen.push_back(m); };
    }
    ~Ordner() { nux::sicherungsfehler() = nullptr; }
};

}  // namespace

TEST(Sicherung, JederSchreiberBehaeltDieAlteFassung) {
    const std::tuple<const char*, const char*, std::function<void()>> faelle[] = {  // name, file, change
        {"NeuSchreiben", "faecher", [] { nux::neuschreiben<nux::Fachsatz>("2006 1/faecher", {fach("Kunst")}); }},
        {"AmPlatzUeberschreiben", "lehrer", [] { nux::satzschreiben("2006 1/lehrer", 0, lehrer("Neu", 10)); }},
        {"Loeschen", "klassen", [] { nux::loeschen("2006 1/klassen"); }},
        {"Kopieren", "lehrer", [] { nux::dateikopieren("2005 1/lehrer", "2006 1/lehrer"); }},
        // Where links are refused or a file is changed in place, a copy is kept.
        {"KopieVorAenderungAmPlatz", "lehrer", [] {
             nux::sichern("2006 1/lehrer", true);
             std::fstream f("2006 1/lehrer", std::ios::in | std::ios::out | std::ios::binary);
             const char c = static_cast<char>(f.get());
             f.seekp(0);
             f.put(static_cast<char>(~c));
         }},
    };
    for (const auto& [name, datei, aendern] : faelle) {
        SCOPED_TRACE(name);
        Ordner o;
        fs::create_directory("2005 1");
        nux::neuschreiben<nux::Lehrersatz>("2005 1/lehrer", {lehrer("Quelle", 5)});
        nux::neuschreiben<nux::Fachsatz>("2006 1/faecher", {fach("Deutsch"), fach("Mathematik")});
        nux::neuschreiben<nux::Lehrersatz>("2006 1/lehrer", {lehrer("Huber", 200), lehrer("Moser", 100)});
        nux::neuschreiben<nux::Klassensatz>("2006 1/klassen", {nux::Klassensatz{}});
        ASSERT_TRUE(nux::sicherungen("2006 1").empty()) << "a new file has no old version";
        const std::string pfad = std::string("2006 1/") + datei;
        const Bytes alt = nux::dateilesen(pfad);
        aendern();
        ASSERT_TRUE(!nux::dateida(pfad) || nux::dateilesen(pfad) != alt);
        // Byte for byte after the change: a link to a file written in place would have changed with it.
        EXPECT_EQ(nux::sicherungen("2006 1").size(), 1u);
        EXPECT_EQ(gesichert("2006 1", datei), std::vector<Bytes>{alt});
        EXPECT_TRUE(o.meldungen.empty());
        EXPECT_TRUE(gesichert("2005 1", "lehrer").empty()) << "the source of a copy is not changed";
    }
}

TEST(Sicherung, HoechstensDreissigJeDatei) {
    Ordner o;
    nux::neuschreiben<nux::Lehrersatz>("2006 1/lehrer", {lehrer("Huber", 1)});
    nux::neuschreiben<nux::Lehrersatz>("2006 1/lehrer", {lehrer("Huber", 2)});
    std::vector<Bytes> fassungen;
    for (int i = 0; i <= 34; ++i) {
        const std::vector<nux::Fachsatz> f = {fach("Fach " + std::to_string(i))};
        fassungen.push_back(nux::kodieren(f));
        nux::neuschreiben("2006 1/faecher", f);
    }
    // From the 31st save on, each removes the oldest backup, never the one it
    // has just made (the saves mostly fall into one second).
    const auto faecher = gesichert("2006 1", "faecher");
    ASSERT_EQ(faecher.size(), nux::kSicherungenJeDatei);
    EXPECT_EQ(faecher.front(), fassungen[4]);
    EXPECT_EQ(faecher.back(), fassungen[33]);
    EXPECT_EQ(gesichert("2006 1", "lehrer").size(), 1u) << "pruning counts per file";
}

TEST(Sicherung, FehlschlagHaeltDasSpeichernNichtAuf) {
    Ordner o;
    nux::neuschreiben<nux::Fachsatz>("2006 1/faecher", {fach("Deutsch")});
    nux::neuschreiben<nux::Lehrersatz>("2006 1/lehrer", {lehrer("Huber", 1)});
    // A file where the folder belongs: no backup can be made, even by root.
    std::ofstream("2006 1/sicherung") << "x";
    const Bytes kunst = nux::kodieren(std::vector<nux::Fachsatz>{fach("Kunst")});
    nux::atomarschreiben("2006 1/faecher", kunst);
    nux::satzschreiben("2006 1/lehrer", 0, lehrer("Moser", 2));
    EXPECT_EQ(nux::dateilesen("2006 1/faecher"), kunst);
    EXPECT_EQ(nux::satzlesen<nux::Lehrersatz>("2006 1/lehrer", 0), lehrer("Moser", 2));
    ASSERT_EQ(o.meldungen.size(), 1u) << "reported once, not at every save";
    EXPECT_NE(o.meldungen[0].find("kein Ordner"), std::string::npos);

    // Once a backup works again, the next failure is news again.
    fs::remove("2006 1/sicherung");
    nux::neuschreiben<nux::Fachsatz>("2006 1/faecher", {fach("Musik")});
    EXPECT_EQ(gesichert("2006 1", "faecher"), std::vector<Bytes>{kunst});
    fs::remove_all("2006 1/sicherung");
    std::ofstream("2006 1/sicherung") << "x";
    nux::neuschreiben<nux::Fachsatz>("2006 1/faecher", {fach("Sport")});
    EXPECT_EQ(o.meldungen.size(), 2u);
}

TEST(Sicherung, NamenSortierenNachDerZeit) {
    ::setenv("TZ", "UTC", 1);
    ::tzset();
    const std::time_t t = 1796565933;  // 2026-12-06 14:05:33 UTC
    EXPECT_EQ(nux::sicherungsname("klassen", t, 1), "klassen_2026-12-06_14-05-33");
    // File order is time order, the numbers of one second included.
    std::vector<std::string> namen = {nux::sicherungsname("klassen", t - 86400, 1)};
    for (int n = 1; n <= 12; ++n) namen.push_back(nux::sicherungsname("klassen", t, n));
    namen.push_back(nux::sicherungsname("klassen", t + 1, 1));
    for (std::size_t i = 1; i < namen.size(); ++i) {
        const auto a = nux::sicherungsnamelesen(namen[i - 1]);
        const auto b = nux::sicherungsnamelesen(namen[i]);
        ASSERT_TRUE(a && b) << namen[i];
        EXPECT_TRUE(namen[i - 1] < namen[i] && a->aelterals(*b)) << namen[i];
    }
    EXPECT_EQ(namen[12], "klassen_2026-12-06_14-05-33_12");
    const auto s12 = nux::sicherungsnamelesen(namen[12]);
    EXPECT_EQ(s12->datum() + " " + s12->zeit(), "06.12.2026 14:05:33");
    for (const char* fremd : {"klassen", "codes_2026-12-06_14-05-33", "klassen_2026-12-06_14-05-3x",
                              "klassen_2026-12-06_14-05-33_", "klassen_2026-12-06_14-05-33_01",
                              "klassen_2026-12-06_14-05-33.neu", ".klassen_2026-12-06_14-05-33"})
        EXPECT_FALSE(nux::sicherungsnamelesen(fremd)) << fremd;
}

TEST(Sicherung, Zusammenfassung) {
    nux::Klassensatz a, b;
    a.h(1, 0) = 40, a.l(1, 0) = "HU";
    a.h(2, 0) = 15, a.l(2, 0) = "  ";  // blanks are no teacher
    a.h(3, 100) = 5;
    b.h(1, 50) = 3000, b.l(1, 50) = "MO";
    const std::tuple<const char*, Bytes, std::string> faelle[] = {  // file, its bytes, the line shown
        {"klassen", nux::kodieren(std::vector{a, b}), "klassen: 2 Klassen, 306,0 Stunden, davon 304,0 zugeordnet"},
        {"klassen", nux::kodieren(std::vector{nux::Klassensatz{}}), "klassen: 1 Klasse, 0,0 Stunden, davon 0,0 zugeordnet"},
        {"faecher", nux::kodieren(std::vector{fach("Deutsch"), fach("#Latein"), fach("Kunst", false)}),
         "faecher: 2 Fächer, davon 1 unterrichtet"},
        {"lehrer", nux::kodieren(std::vector{lehrer("Huber", 225), lehrer("#Alt", 100), lehrer("Moser", 5)}),
         "lehrer: 2 LehrerInnen, 23,0 Stunden"},
        {"lehrer", Bytes(103, 0), "lehrer: nicht lesbar (Versuch hinter dem Dateiende zu lesen)"},
        {"klassen", Bytes{}, "klassen: nicht lesbar (Versuch hinter dem Dateiende zu lesen)"},
        {"befaehigungen", text("A\tM\tbef\xE4higt\r\nA\tD\tWunschfach\r\nkaputt\r\n"),
         "befaehigungen: 2 Befähigungen, davon 1 Wunschfach, 1 unlesbare Zeile"},
    };
    for (const auto& [datei, bytes, zeile] : faelle) EXPECT_EQ(nux::zusammenfassung(datei, bytes), zeile);
}

TEST(Sicherung, ZurueckholenLaesstSichRueckgaengigMachen) {
    Ordner o;
    const Bytes a = nux::kodieren(std::vector{fach("A")});
    const Bytes b = nux::kodieren(std::vector{fach("B")});
    nux::atomarschreiben("2006 1/faecher", a);
    nux::atomarschreiben("2006 1/faecher", b);
    nux::zurueckholen("2006 1", nux::sicherungen("2006 1").at(0));
    EXPECT_EQ(gesichert("2006 1", "faecher"), (std::vector<Bytes>{a, b}));
    nux::zurueckholen("2006 1", nux::sicherungen("2006 1").at(0));
    EXPECT_EQ(nux::dateilesen("2006 1/faecher"), b);

    // The oldest of 30 is pruned by the backup the restore makes, yet comes back whole.
    for (int i = 0; i < 30; ++i) nux::atomarschreiben("2006 1/faecher", nux::kodieren(std::vector{fach(std::to_string(i))}));
    const auto aelteste = nux::sicherungen("2006 1").back();
    const Bytes erwartet = nux::dateilesen(aelteste.pfad);
    nux::zurueckholen("2006 1", aelteste);
    EXPECT_EQ(nux::dateilesen("2006 1/faecher"), erwartet);
    EXPECT_FALSE(nux::dateida(aelteste.pfad));

    // A damaged backup is refused and the file stays as it was.
    std::ofstream("2006 1/sicherung/faecher_2000-01-01_00-00-00") << "kaputt";
    EXPECT_THROW(nux::zurueckholen("2006 1", nux::sicherungen("2006 1").back()), nux::Dateifehler);
    EXPECT_EQ(nux::dateilesen("2006 1/faecher"), erwartet);
}

// The qualifications live in "planung" but are kept and brought back with
// the year's data files, also after "planung" was removed.
TEST(Sicherung, BefaehigungenZurueckholen) {
    Ordner o;
    fs::create_directory("2006 1");
    nux::Befaehigungen a, b;
    a.setzen("A", "M", nux::Stufe::wunsch);
    b.setzen("B", "D", nux::Stufe::befaehigt);
    nux::befaehigungenspeichern("2006 1", a);
    nux::befaehigungenspeichern("2006 1", b);
    const auto s = nux::sicherungen("2006 1");
    ASSERT_EQ(s.size(), 1u);
    EXPECT_EQ(s[0].pfad.rfind("2006 1/sicherung/befaehigungen_", 0), 0u);
    fs::remove_all("2006 1/planung");
    nux::zurueckholen("2006 1", s[0]);
    EXPECT_EQ(nux::befaehigungenladen("2006 1"), a);
}

TEST(Sicherung, UebernahmeKopiertKeineSicherungen) {
    Ordner o;
    fs::create_directory("2005 1");
    for (int i = 0; i < 2; ++i) nux::neuschreiben<nux::Lehrersatz>("2005 1/lehrer", {lehrer("Huber", i)});
    for (int i = 0; i < 2; ++i) nux::neuschreiben<nux::Klassensatz>("2005 1/klassen", {nux::Klassensatz{}});
    nux::Uebernahmewahl alles{.lehrer = true, .klassen = nux::Klassenwahl::ohneStundenOhneZusatz};
    ASSERT_EQ(nux::uebernehmen({"2006 1", "2005 1"}, alles), nux::Uebernahmeergebnis::erledigt);
    EXPECT_TRUE(nux::dateida("2006 1/lehrer") && nux::dateida("2006 1/klassen"));
    EXPECT_FALSE(fs::exists("2006 1/sicherung"));
    EXPECT_EQ(nux::sicherungen("2005 1").size(), 2u);
}
