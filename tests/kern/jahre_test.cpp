#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>
#include <filesystem>
#include <fstream>

#include "kernhilfe.h"
#include "storage/datei.h"
#include "storage/satz.h"
#include "years/kern/jahre.h"

namespace fs = std::filesystem;
using nux::Klassensatz;
using nux::Klassenwahl;
using nux::Uebernahmeergebnis;

namespace {

using Liste = std::vector<std::string>;

void anlegen(const std::string& pfad, const std::string& inhalt) {
    std::ofstream(pfad, std::ios::binary) << inhalt;
}

std::string inhalt(const std::string& pfad) {
    const auto b = nux::dateilesen(pfad);
    return std::string(b.begin(), b.end());
}

// A class with something in every kind of cell, so that each choice shows
// what it clears and what it keeps.
Klassensatz klasse(const std::string& name, int n) {
    Klassensatz k;
    k.name = name;
    for (int j = 1; j <= nux::kSlots; ++j) {
        for (int s = 0; s < nux::kFaecherMax; s += 7) {
            k.h(j, s) = 10 * j + s + n;
            k.l(j, s) = "L" + std::to_string(j);
            k.z(j, s) = "Zusatz " + std::to_string(s);
        }
    }
    k.h(3, 100) = 45;
    k.l(3, 100) = "MarH";
    k.z(3, 100) = std::string(30, 'z');
    k.reserve3 = "abc";
    k.reservebyte = 7;
    k.rest[30] = 0x5A;
    return k;
}

const std::vector<Klassensatz> kKlassen = {klasse("1a", 0), klasse("4e", 3)};

nux::Uebernahmewahl nurKlassen(Klassenwahl w, bool einsatz = false) {
    nux::Uebernahmewahl wahl;
    wahl.klassen = w;
    wahl.unterrichtseinsatz = einsatz;
    return wahl;
}

// Two years: 2005 1 with all three files, 2006 1 with files of its own.
struct Zweijahre : ::testing::Test {
    kernhilfe::Ordner ordner;
    void SetUp() override {
        fs::create_directory("2005 1");
        fs::create_directory("2006 1");
        anlegen("2005 1/lehrer", std::string(104, 'L'));
        anlegen("2005 1/faecher", std::string(88, 'F'));
        nux::neuschreiben("2005 1/klassen", kKlassen);
        anlegen("2006 1/lehrer", std::string(208, 'l'));
        anlegen("2006 1/faecher", std::string(176, 'f'));
        anlegen("2006 1/klassen", std::string(Klassensatz::groesse, 'k'));
    }
    std::vector<std::string> ziel() { return {inhalt("2006 1/lehrer"), inhalt("2006 1/faecher"), inhalt("2006 1/klassen")}; }
};

}  // namespace

TEST(Jahrliste, NurNachNuxUndNurSechsZeichenMitLeerzeichenAnFuenfterStelle) {
    struct Fall {
        const char* name;
        Liste eintraege;
        Liste jahre;
    };
    const Fall faelle[] = {
        {"Programmordner nux", {"/", "home", "nux", "2006 1", "2005 1"}, {"2005 1", "2006 1"}},
        {"anderer Name", {"/", "home", "prog", "2006 1"}, {}},
        {"gross geschrieben", {"/", "NUX", "2006 1"}, {}},
        {"nux selbst ist kein Jahr", {"/", "nux", "nux"}, {}},
        {"falsch geformt",
         {"/", "nux", "2006", "2006 12", "2006_1", "20061 ", "200 61", "2006 1 ", "2007  ", "abcd e"},
         {"2007  ", "abcd e"}},
        {"vor nux nichts", {"/", "2004 1", "nux", "2006 1"}, {"2006 1"}},
        // Every entry after "nux" counts, also a folder on the path below it.
        {"nux weiter oben im Pfad", {"/", "nux", "2003 1", "prog", "2006 1"}, {"2003 1", "2006 1"}},
        {"sortiert ohne Ruecksicht auf Gross und Klein", {"/", "nux", "b000 1", "A000 1", "a000 2"},
         {"A000 1", "a000 2", "b000 1"}},
    };
    for (const auto& f : faelle) EXPECT_EQ(nux::jahreaus(f.eintraege), f.jahre) << f.name;
}

TEST(Jahrliste, AusDemEchtenProgrammordner) {
    kernhilfe::Ordner ordner;
    for (const char* o : {"2006 1", "2005 1", "abc", "2007 #", "2005 12"}) fs::create_directory(o);
    anlegen("2008 1", "eine Datei, kein Ordner");
    fs::create_directory_symlink("2005 1", "2009 1");
    fs::create_symlink("fehlt", "2010 1");

    const auto eintraege = nux::ordnereintraege();
    ASSERT_GE(eintraege.size(), 3u);
    EXPECT_EQ(eintraege.front(), "/");
    EXPECT_EQ(fs::path(eintraege.front()) / fs::current_path().relative_path(),
              fs::current_path());
    EXPECT_EQ(nux::jahrliste(), (Liste{"--> neues Jahr", "2005 1", "2006 1", "2007 #", "2009 1"}));

    // The same folders below a program folder of another name are not listed.
    fs::create_directory("../prog");
    fs::create_directory("../prog/2006 1");
    fs::current_path("../prog");
    EXPECT_EQ(nux::jahrliste(), Liste{"--> neues Jahr"});
}

TEST(Uebernahmekopf, ZielZweiLeerzeichenUebernimmtDreiLeerzeichenQuelle) {
    const std::string ziel = nux::zielkopf("2006 1");
    EXPECT_EQ(ziel, "2006 1  \xFC" "bernimmt Daten von (anklicken): ");
    const std::string kopf = nux::quellkopf(ziel, "2005 1");
    EXPECT_EQ(kopf, "2006 1  \xFC" "bernimmt Daten von   2005 1");
    // Another source replaces the first.
    EXPECT_EQ(nux::quellkopf(kopf, "2004 2"), "2006 1  \xFC" "bernimmt Daten von   2004 2");
    const auto paar = nux::uebernahmepaar(kopf);
    EXPECT_EQ(paar.ziel, "2006 1");
    EXPECT_EQ(paar.quelle, "2005 1");
    // A second target marked before a new source: the heading names none.
    const auto neu = nux::uebernahmepaar(nux::zielkopf("2007 1"));
    EXPECT_EQ(neu.ziel, "2007 1");
    EXPECT_FALSE(nux::jahrform(neu.quelle));
    EXPECT_EQ(nux::uebernahmepaar("").ziel, "");
}

TEST_F(Zweijahre, JedeKlassenwahlPasstDieKopieAn) {
    struct Fall {
        const char* name;
        nux::Uebernahmewahl wahl;
        bool stunden;
        bool zusatz;
        bool lehrer;
    };
    const Fall faelle[] = {
        {"ohne Stunden ohne Zusatztext", nurKlassen(Klassenwahl::ohneStundenOhneZusatz), false, false, false},
        {"mit Stunden ohne Zusatztext", nurKlassen(Klassenwahl::mitStundenOhneZusatz), true, false, false},
        {"ohne Stunden mit Zusatztext", nurKlassen(Klassenwahl::ohneStundenMitZusatz), false, true, false},
        {"mit Stunden mit Zusatztext", nurKlassen(Klassenwahl::mitStundenMitZusatz), true, true, false},
        {"mit Unterrichtseinsatz", nurKlassen(Klassenwahl::keine, true), true, true, true},
        {"Unterrichtseinsatz setzt sich durch", nurKlassen(Klassenwahl::ohneStundenOhneZusatz, true), true, true,
         true},
    };
    for (const auto& f : faelle) {
        SetUp();
        ASSERT_EQ(nux::uebernehmen({"2006 1", "2005 1"}, f.wahl), Uebernahmeergebnis::erledigt) << f.name;
        const auto kopie = nux::laden<Klassensatz>("2006 1/klassen");
        ASSERT_EQ(kopie.size(), kKlassen.size()) << f.name;
        for (std::size_t i = 0; i < kopie.size(); ++i) {
            Klassensatz soll = kKlassen[i];
            for (int j = 1; j <= nux::kSlots; ++j) {
                for (int s = 0; s < nux::kFaecherMax; ++s) {
                    if (!f.stunden) soll.h(j, s) = 0;
                    if (!f.zusatz) soll.z(j, s).clear();
                    if (!f.lehrer) soll.l(j, s).clear();
                }
            }
            EXPECT_EQ(kopie[i], soll) << f.name << ", Klasse " << i;
        }
        if (f.lehrer) EXPECT_EQ(inhalt("2006 1/klassen"), inhalt("2005 1/klassen")) << f.name;
        // Only the class file was chosen.
        EXPECT_EQ(inhalt("2006 1/lehrer"), std::string(208, 'l')) << f.name;
        EXPECT_EQ(inhalt("2006 1/faecher"), std::string(176, 'f')) << f.name;
    }
}

TEST_F(Zweijahre, FehlendeQuelldateiLaesstDasZielUnberuehrt) {
    fs::remove("2005 1/klassen");
    fs::remove("2005 1/faecher");
    nux::Uebernahmewahl wahl = nurKlassen(Klassenwahl::ohneStundenOhneZusatz);
    wahl.lehrer = true;
    wahl.faecher = true;
    const auto vorher = ziel();
    ASSERT_EQ(nux::uebernehmen({"2006 1", "2005 1"}, wahl), Uebernahmeergebnis::erledigt);
    EXPECT_EQ(inhalt("2006 1/lehrer"), std::string(104, 'L'));
    EXPECT_EQ(inhalt("2006 1/faecher"), vorher[1]);
    EXPECT_EQ(inhalt("2006 1/klassen"), vorher[2]);
    // Into a year without a class file: none appears.
    fs::create_directory("2007 1");
    ASSERT_EQ(nux::uebernehmen({"2007 1", "2005 1"}, wahl), Uebernahmeergebnis::erledigt);
    EXPECT_FALSE(nux::dateida("2007 1/klassen"));
}

TEST_F(Zweijahre, LeereKlassendateiBleibtLeer) {
    anlegen("2005 1/klassen", "");
    ASSERT_EQ(nux::uebernehmen({"2006 1", "2005 1"}, nurKlassen(Klassenwahl::mitStundenOhneZusatz)),
              Uebernahmeergebnis::erledigt);
    EXPECT_EQ(inhalt("2006 1/klassen"), "");
}

TEST_F(Zweijahre, NichtsGeschiehtOhneQuelleOderInSichSelbst) {
    nux::Uebernahmewahl alles = nurKlassen(Klassenwahl::ohneStundenOhneZusatz, true);
    alles.lehrer = true;
    alles.faecher = true;
    const auto vorher = ziel();
    const auto quelle = inhalt("2005 1/klassen");
    EXPECT_EQ(nux::uebernehmen({"2006 1", "2006 1"}, alles), Uebernahmeergebnis::selbst);
    EXPECT_EQ(nux::uebernehmen(nux::uebernahmepaar(nux::zielkopf("2006 1")), alles),
              Uebernahmeergebnis::keineQuelle);
    fs::create_directory_symlink("2006 1", "2006 2");
    EXPECT_EQ(nux::uebernehmen({"2006 1", "2006 2"}, alles), Uebernahmeergebnis::selbst);
    EXPECT_EQ(ziel(), vorher);
    EXPECT_EQ(inhalt("2005 1/klassen"), quelle);
}

TEST_F(Zweijahre, FehlerLassenKeineHalbAngepassteDatei) {
    const auto vorher = ziel();
    nux::Uebernahmewahl wahl = nurKlassen(Klassenwahl::ohneStundenOhneZusatz);
    wahl.lehrer = true;

    // A damaged source class file stops the takeover before any copy.
    anlegen("2005 1/klassen", inhalt("2005 1/klassen") + "x");
    EXPECT_THROW(nux::uebernehmen({"2006 1", "2005 1"}, wahl), nux::Dateifehler);
    EXPECT_EQ(ziel(), vorher);

    // A full disk while writing the stripped copy: the old class file stays.
    nux::neuschreiben("2005 1/klassen", kKlassen);
    wahl.lehrer = false;
    nux::schreibfehlerSetzen(ENOSPC);
    EXPECT_THROW(nux::uebernehmen({"2006 1", "2005 1"}, wahl), nux::Dateifehler);
    nux::schreibfehlerSetzen(0);
    EXPECT_EQ(ziel(), vorher);
    std::size_t dateien = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator("2006 1")) ++dateien;
    EXPECT_EQ(dateien, 3u);  // no temporary file left behind

    // A missing target folder is an error, not a silent success.
    fs::remove_all("2006 1");
    EXPECT_THROW(nux::uebernehmen({"2006 1", "2005 1"}, wahl), nux::Dateifehler);
}

TEST(Jahranlegen, VierstelligesJahrUndEinZeichenNummer) {
    kernhilfe::Ordner ordner;
    struct Fall {
        const char* jahr;
        const char* nummer;
        nux::Anlegeergebnis ergebnis;
    };
    const Fall faelle[] = {
        {"2027", "1", nux::Anlegeergebnis::angelegt},
        {"2027", "1", nux::Anlegeergebnis::vorhanden},
        {"2027", "#", nux::Anlegeergebnis::angelegt},
        {"207", "1", nux::Anlegeergebnis::ungueltig},
        {"0", "0", nux::Anlegeergebnis::ungueltig},
        {"20a7", "1", nux::Anlegeergebnis::ungueltig},
        {"-207", "1", nux::Anlegeergebnis::ungueltig},
        {"2027", "", nux::Anlegeergebnis::ungueltig},
        {"2027", "12", nux::Anlegeergebnis::ungueltig},
        {"2027", "/", nux::Anlegeergebnis::ungueltig},
        {"2027", " ", nux::Anlegeergebnis::ungueltig},
    };
    for (const auto& f : faelle) {
        std::string name = "unveraendert";
        const std::string erwartet = std::string(f.jahr) + " " + f.nummer;
        const bool schonda = fs::exists(erwartet);
        EXPECT_EQ(nux::jahranlegen(f.jahr, f.nummer, name), f.ergebnis) << erwartet;
        if (f.ergebnis == nux::Anlegeergebnis::angelegt) {
            EXPECT_EQ(name, erwartet);
            EXPECT_TRUE(nux::ordnerda(erwartet));
        } else {
            EXPECT_EQ(name, "unveraendert") << erwartet;
            EXPECT_EQ(fs::exists(erwartet), schonda) << erwartet;
        }
    }
    Liste jahre;
    for (const auto& e : fs::directory_iterator(".")) jahre.push_back(e.path().filename().string());
    std::sort(jahre.begin(), jahre.end());
    EXPECT_EQ(jahre, (Liste{"2027 #", "2027 1"}));

    // A file in the way is reported, not taken for a created folder.
    anlegen("2028 1", "");
    std::string name;
    EXPECT_THROW(nux::jahranlegen("2028", "1", name), nux::Dateifehler);
    EXPECT_TRUE(name.empty());
}
