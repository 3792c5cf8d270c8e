#include <gtest/gtest.h>

#include <cerrno>
#include <fstream>

#include "kernhilfe.h"
#include "years/kern/jahre.h"

namespace fs = std::filesystem;
using nux::Klassensatz;
using nux::Klassenwahl;
using nux::Uebernahmeergebnis;

namespace {

using Liste = std::vector<std::string>;

void anlegen(const std::string& pfad, const std::string& inhalt) { std::ofstream(pfad, std::ios::binary) << inhalt; }

std::string inhalt(const std::string& pfad) {
    const auto b = nux::dateilesen(pfad);
    return std::string(b.begin(), b.end());
}

// A class with something in every kind of cell and in the reserve bytes, so
// that each choice shows what it clears and what it keeps.
Klassensatz klasse(const std::string& name, int n) {
    Klassensatz k;
    k.name = name;
    for (int j = 1; j <= nux::kSlots; ++j)
        for (int s = 0; s < nux::kFaecherMax; s += 7)
            std::tie(k.h(j, s), k.l(j, s), k.z(j, s)) =
                std::make_tuple(10 * j + s + n, "L" + std::to_string(j), std::string(s % 31, 'z'));
    std::tie(k.reserve3, k.reservebyte, k.rest[30]) = std::make_tuple("abc", 7, 0x5A);
    return k;
}

const std::vector<Klassensatz> kKlassen = {klasse("1a", 0), klasse("4e", 3)};

nux::Uebernahmewahl wahl(Klassenwahl w, bool einsatz = false, bool lehrer = false, bool faecher = false) {
    return {lehrer, faecher, w, einsatz};
}

// Two years: 2005 1 with all three files, 2006 1 with files of its own.
struct Zweijahre : ::testing::Test {
    kernhilfe::Ordner ordner;
    void SetUp() override {
        for (const char* jahr : {"2005 1", "2006 1"}) fs::create_directory(jahr);
        anlegen("2005 1/lehrer", std::string(104, 'L'));
        anlegen("2005 1/faecher", std::string(88, 'F'));
        nux::neuschreiben("2005 1/klassen", kKlassen);
        for (const auto& [datei, n] : {std::pair{"lehrer", 208}, {"faecher", 176}, {"klassen", 13376}})
            anlegen("2006 1/" + std::string(datei), std::string(n, datei[0]));
    }
    Liste ziel() { return {inhalt("2006 1/lehrer"), inhalt("2006 1/faecher"), inhalt("2006 1/klassen")}; }
};

}  // namespace

TEST(Jahrliste, NurNachNuxUndNurSechsZeichenMitLeerzeichenAnFuenfterStelle) {
    const std::pair<Liste, Liste> faelle[] = {
        {{"/", "home", "nux", "2006 1", "2005 1"}, {"2005 1", "2006 1"}}, {{"/", "home", "prog", "2006 1"}, {}},
        {{"/", "NUX", "2006 1"}, {}}, {{"/", "nux", "nux"}, {}},
        {{"/", "nux", "2006", "2006 12", "2006_1", "20061 ", "200 61", "2006 1 ", "2007  ", "abcd e"}, {"2007  ", "abcd e"}},
        {{"/", "2004 1", "nux", "2006 1"}, {"2006 1"}},
        // Every entry after "nux" counts, also a folder on the path below it.
        {{"/", "nux", "2003 1", "prog", "2006 1"}, {"2003 1", "2006 1"}},
        {{"/", "nux", "b000 1", "A000 1", "a000 2"}, {"A000 1", "a000 2", "b000 1"}},
    };
    for (const auto& [eintraege, jahre] : faelle) EXPECT_EQ(nux::jahreaus(eintraege), jahre) << eintraege.back();
}

TEST(Uebernahmekopf, ZielZweiLeerzeichenUebernimmtDreiLeerzeichenQuelle) {
    const std::string kopf = nux::quellkopf(nux::zielkopf("2006 1"), "2005 1");
    EXPECT_EQ(nux::zielkopf("2006 1"), "2006 1  \xFC" "bernimmt Daten von (anklicken): ");
    EXPECT_EQ(nux::quellkopf(kopf, "2004 2"), "2006 1  \xFC" "bernimmt Daten von   2004 2");
    EXPECT_EQ(nux::uebernahmepaar(kopf).quelle + "<" + nux::uebernahmepaar(kopf).ziel, "2005 1<2006 1");
    // A second target marked before a new source: the heading names none.
    EXPECT_FALSE(nux::jahrform(nux::uebernahmepaar(nux::zielkopf("2007 1")).quelle));
}

TEST_F(Zweijahre, JedeKlassenwahlPasstDieKopieAn) {
    using K = Klassenwahl;
    const std::tuple<nux::Uebernahmewahl, bool, bool, bool> faelle[] = {  // hours, extra texts, teachers kept
        {wahl(K::ohneStundenOhneZusatz), false, false, false}, {wahl(K::mitStundenOhneZusatz), true, false, false},
        {wahl(K::ohneStundenMitZusatz), false, true, false},   {wahl(K::mitStundenMitZusatz), true, true, false},
        {wahl(K::keine, true), true, true, true},
        {wahl(K::ohneStundenOhneZusatz, true), true, true, true},  // the teaching assignment prevails
    };
    for (const auto& [w, stunden, zusatz, lehrer] : faelle) {
        SetUp();
        ASSERT_EQ(nux::uebernehmen({"2006 1", "2005 1"}, w), Uebernahmeergebnis::erledigt);
        auto soll = kKlassen;
        for (auto& k : soll)
            for (int j = 1; j <= nux::kSlots; ++j)
                for (int s = 0; s < nux::kFaecherMax; ++s) {
                    if (!stunden) k.h(j, s) = 0;
                    if (!zusatz) k.z(j, s).clear();
                    if (!lehrer) k.l(j, s).clear();
                }
        EXPECT_EQ(nux::laden<Klassensatz>("2006 1/klassen"), soll) << stunden << zusatz << lehrer;
        // Only the class file was chosen.
        EXPECT_EQ(ziel()[0] + ziel()[1], std::string(208, 'l') + std::string(176, 'f'));
    }
    EXPECT_EQ(inhalt("2006 1/klassen"), inhalt("2005 1/klassen"));
}

TEST_F(Zweijahre, FehlendeQuelldateiLaesstDasZielUnberuehrt) {
    for (const char* datei : {"2005 1/klassen", "2005 1/faecher"}) fs::remove(datei);
    const auto w = wahl(Klassenwahl::ohneStundenOhneZusatz, false, true, true);
    const auto vorher = ziel();
    ASSERT_EQ(nux::uebernehmen({"2006 1", "2005 1"}, w), Uebernahmeergebnis::erledigt);
    EXPECT_EQ(ziel(), (Liste{std::string(104, 'L'), vorher[1], vorher[2]}));
    // An empty class file stays empty.
    anlegen("2005 1/klassen", "");
    ASSERT_EQ(nux::uebernehmen({"2006 1", "2005 1"}, wahl(Klassenwahl::mitStundenOhneZusatz)), Uebernahmeergebnis::erledigt);
    EXPECT_EQ(inhalt("2006 1/klassen"), "");
}

// Refused, or failed halfway: the target keeps every file as it was.
TEST_F(Zweijahre, NichtsGeschiehtOhneQuelleInSichSelbstOderBeiFehlern) {
    const auto alles = wahl(Klassenwahl::ohneStundenOhneZusatz, true, true, true);
    const auto vorher = ziel();
    const auto quelle = inhalt("2005 1/klassen");
    EXPECT_EQ(nux::uebernehmen({"2006 1", "2006 1"}, alles), Uebernahmeergebnis::selbst);
    EXPECT_EQ(nux::uebernehmen(nux::uebernahmepaar(nux::zielkopf("2006 1")), alles), Uebernahmeergebnis::keineQuelle);
    fs::create_directory_symlink("2006 1", "2006 2");
    EXPECT_EQ(nux::uebernehmen({"2006 1", "2006 2"}, alles), Uebernahmeergebnis::selbst);
    // A damaged source class file stops the takeover before any copy.
    anlegen("2005 1/klassen", quelle + "x");
    EXPECT_THROW(nux::uebernehmen({"2006 1", "2005 1"}, wahl(Klassenwahl::ohneStundenOhneZusatz, false, true)),
                 nux::Dateifehler);
    // A full disk while writing the stripped copy leaves no temporary file behind.
    anlegen("2005 1/klassen", quelle);
    nux::schreibfehlerSetzen(ENOSPC);
    EXPECT_THROW(nux::uebernehmen({"2006 1", "2005 1"}, wahl(Klassenwahl::ohneStundenOhneZusatz)), nux::Dateifehler);
    nux::schreibfehlerSetzen(0);
    EXPECT_EQ(ziel(), vorher);
    EXPECT_EQ(std::distance(fs::directory_iterator("2006 1"), fs::directory_iterator()), 3);
    // A missing target folder is an error, not a silent success.
    fs::remove("2006 2");
    fs::remove_all("2006 1");
    EXPECT_THROW(nux::uebernehmen({"2006 1", "2005 1"}, wahl(Klassenwahl::ohneStundenOhneZusatz)), nux::Dateifehler);
}

TEST(Jahranlegen, VierstelligesJahrUndEinZeichenNummer) {
    kernhilfe::Ordner ordner;
    using E = nux::Anlegeergebnis;
    const std::tuple<const char*, const char*, E> faelle[] = {
        {"2027", "1", E::angelegt},   {"2027", "1", E::vorhanden},  {"2027", "#", E::angelegt},
        {"207", "1", E::ungueltig},   {"0", "0", E::ungueltig},     {"20a7", "1", E::ungueltig},
        {"-207", "1", E::ungueltig},  {"2027", "", E::ungueltig},   {"2027", "12", E::ungueltig},
        {"2027", "/", E::ungueltig},  {"2027", " ", E::ungueltig},  {"2027", "\x7F", E::ungueltig},
    };
    for (const auto& [jahr, nummer, ergebnis] : faelle) {
        std::string name = "unveraendert";
        const std::string erwartet = std::string(jahr) + " " + nummer;
        EXPECT_EQ(nux::jahranlegen(jahr, nummer, name), ergebnis) << erwartet;
        EXPECT_EQ(name, ergebnis == E::angelegt ? erwartet : "unveraendert") << erwartet;
    }
    // A file in the way is reported, not taken for a created folder.
    anlegen("2028 1", "");
    std::string name;
    EXPECT_THROW(nux::jahranlegen("2028", "1", name), nux::Dateifehler);
    EXPECT_TRUE(name.empty());
    // Only folders are years, found from the program folder; nothing else was made.
    EXPECT_EQ(nux::jahrliste(), (Liste{nux::kNeuesJahr, "2027 #", "2027 1"}));
    EXPECT_EQ(std::distance(fs::directory_iterator("."), fs::directory_iterator()), 3);
    EXPECT_EQ(nux::ordnereintraege().front(), "/");  // the path from the root, then the folders
}
