#include <gtest/gtest.h>

#include <filesystem>

#include "editors/kern/faecher.h"
#include "kernhilfe.h"
#include "storage/datei.h"
#include "storage/satz.h"
#include "storage/text.h"

namespace f = nux::faecher;

namespace {

nux::Fachsatz fach(const std::string& name, const std::string& kurz, int ordnung, bool unterrichtet = true) {
    nux::Fachsatz s;
    s.name = name;
    s.kurz = kurz;
    s.ordnung = ordnung;
    s.unterrichtet = unterrichtet;
    return s;
}

// Order numbers of the records by index.
std::vector<int> ordnungen(const std::string& pfad) {
    std::vector<int> r;
    for (const auto& s : nux::laden<nux::Fachsatz>(pfad)) r.push_back(s.ordnung);
    return r;
}

}  // namespace

TEST(Faecherzeile, SpaltenAusDemSatz) {
    struct Fall {
        nux::Fachsatz satz;
        int index;
        std::string anfang;  // columns 1-38
    };
    const Fall faelle[] = {
        {fach("Deutsch", "D", 0), 0, "  0 D   Deutsch                       "},
        {fach("Mathematik", "Mat", 12, false), 3, " 12XMat Mathematik                    "},
        // only 3 characters of a short name survive; a long name is cut at 30
        {fach("Bewegung und Sport in der Halle A", "BSPHA", 7), 40, "  7 BSP Bewegung und Sport in der Hall"},
        // a damaged order number must not shift the columns behind it
        {fach("Kunst", "K", 12345), 1, "999 K   Kunst                         "},
        {fach("Kunst", "K", -5000), 1, "-99 K   Kunst                         "},
    };
    for (const auto& fa : faelle) {
        const std::string z = f::zeile(fa.satz, fa.index);
        ASSERT_EQ(z.size(), 200 + std::to_string(fa.index).size()) << fa.anfang;
        EXPECT_EQ(z.substr(0, 38), fa.anfang);
        EXPECT_EQ(z.substr(38, 162), std::string(162, ' '));
        EXPECT_EQ(nux::listenzeile::index(z), fa.index);
        EXPECT_EQ(f::grau(z), !fa.satz.unterrichtet);
        // the record rebuilt from the line
        const nux::Fachsatz zurueck = f::satz(z);
        EXPECT_EQ(zurueck.name, nux::trimmen(fa.satz.name.substr(0, 30)));
        EXPECT_EQ(zurueck.kurz, fa.satz.kurz.substr(0, 3));
        EXPECT_EQ(zurueck.unterrichtet, fa.satz.unterrichtet);
        EXPECT_EQ(zurueck.reserve3, "   ");
        EXPECT_EQ(zurueck.reserve36, std::string(36, ' '));
    }
}

TEST(Faecherzeile, SortiertNachOrdnungsnummer) {
    std::vector<std::string> zeilen;
    for (int o : {10, 2, 0, 100, 1}) nux::listenzeile::einsortieren(zeilen, f::zeile(fach("F", "F", o), o));
    std::vector<int> folge;
    for (const auto& z : zeilen) folge.push_back(f::ordnung(z));
    EXPECT_EQ(folge, (std::vector<int>{0, 1, 2, 10, 100}));
}

class Faecherdatei : public ::testing::Test {
protected:
    kernhilfe::Ordner ordner;
    const std::string pfad = "2026 1/faecher";
    std::vector<std::string> zeilen;
    int hoechster = -1;
    std::size_t pos = 0;

    void SetUp() override { std::filesystem::create_directory("2026 1"); }

    f::Abgelehnt neu(const std::string& name, const std::string& kurz, bool unterrichtet = true) {
        return f::speichern(pfad, zeilen, hoechster, std::nullopt, {name, kurz, unterrichtet}, pos);
    }
    void anlegen(int n) {
        for (int i = 0; i < n; ++i) ASSERT_EQ(neu("Fach" + std::to_string(i), "F" + std::to_string(i)), f::Abgelehnt::nein);
    }
    std::vector<std::string> namen() const {
        std::vector<std::string> r;
        for (const auto& z : zeilen) r.push_back(f::name(z));
        return r;
    }
};

TEST_F(Faecherdatei, NeuesFachStehtAmEndeUndDateiWirdGanzGeschrieben) {
    ASSERT_EQ(neu("Deutsch", "D"), f::Abgelehnt::nein);
    ASSERT_EQ(neu("Englisch", "  E  ", false), f::Abgelehnt::nein);
    EXPECT_EQ(hoechster, 1);
    EXPECT_EQ(pos, 1u);
    const auto saetze = nux::laden<nux::Fachsatz>(pfad);
    ASSERT_EQ(saetze.size(), 2u);
    EXPECT_EQ(saetze[1], fach("Englisch", "E", 1, false));  // typed untrimmed, stored trimmed
    // the line keeps the short name as typed, cut to 3 columns
    EXPECT_EQ(zeilen[1].substr(0, 8), "  1X  E ");
    EXPECT_EQ(f::holen(pfad)[1].substr(0, 8), "  1XE   ");
}

TEST_F(Faecherdatei, AbgelehnteEingabenSchreibenNichts) {
    ASSERT_EQ(neu("Deutsch", "D"), f::Abgelehnt::nein);
    const auto vorher = nux::dateilesen(pfad);
    const auto zeilenvorher = zeilen;
    struct Fall {
        std::string name, kurz;
        f::Abgelehnt erwartet;
    };
    const Fall faelle[] = {
        {"", "M", f::Abgelehnt::leer},
        {"   ", "M", f::Abgelehnt::leer},
        {"Mathe", " ", f::Abgelehnt::leer},
        {"Darstellen", "D", f::Abgelehnt::doppelt},
        {"Darstellen", " D ", f::Abgelehnt::doppelt},
    };
    for (const auto& fa : faelle) EXPECT_EQ(neu(fa.name, fa.kurz), fa.erwartet) << fa.name << "|" << fa.kurz;
    EXPECT_EQ(nux::dateilesen(pfad), vorher);
    EXPECT_EQ(zeilen, zeilenvorher);
    EXPECT_EQ(hoechster, 0);
    // "d" differs by case, and "DDD" is compared whole with the 3 columns
    EXPECT_EQ(neu("Darstellen", "d"), f::Abgelehnt::nein);
    EXPECT_EQ(neu("Drama", "DXXXX"), f::Abgelehnt::nein);
    EXPECT_EQ(f::kurz(zeilen[2]), "DXX");
}

TEST_F(Faecherdatei, AendernOhneDoppelpruefungBehaeltNummerUndIndex) {
    anlegen(3);
    // the subject of index 1 changed to the short name of index 0
    ASSERT_EQ(f::speichern(pfad, zeilen, hoechster, 1, {"Physik", "F0", false}, pos), f::Abgelehnt::nein);
    EXPECT_EQ(hoechster, 2);
    const auto saetze = nux::laden<nux::Fachsatz>(pfad);
    ASSERT_EQ(saetze.size(), 3u);
    EXPECT_EQ(saetze[1], fach("Physik", "F0", 1, false));
    EXPECT_EQ(saetze[0], fach("Fach0", "F0", 0));
    EXPECT_EQ(nux::listenzeile::index(zeilen[pos]), 1);
}

TEST_F(Faecherdatei, Das52FachWirdAbgelehnt) {
    anlegen(51);
    EXPECT_EQ(hoechster, 50);
    const auto vorher = nux::dateilesen(pfad);
    EXPECT_EQ(neu("Zuviel", "ZZ"), f::Abgelehnt::voll);
    EXPECT_EQ(nux::dateilesen(pfad), vorher);
    EXPECT_EQ(zeilen.size(), 51u);
    // changing one of them is still allowed
    EXPECT_EQ(f::speichern(pfad, zeilen, hoechster, 50, {"Letztes", "L", true}, pos), f::Abgelehnt::nein);
}

TEST_F(Faecherdatei, VerschiebenNachRegel) {
    struct Fall {
        std::size_t quelle, ziel;
        std::vector<std::string> folge;
    };
    const Fall faelle[] = {
        {0, 4, {"Fach1", "Fach2", "Fach3", "Fach0", "Fach4"}},  // onto the last: second to last
        {0, 1, {"Fach0", "Fach1", "Fach2", "Fach3", "Fach4"}},  // in front of the next: stays
        {4, 0, {"Fach4", "Fach0", "Fach1", "Fach2", "Fach3"}},
        {3, 1, {"Fach0", "Fach3", "Fach1", "Fach2", "Fach4"}},
        {1, 3, {"Fach0", "Fach2", "Fach1", "Fach3", "Fach4"}},
        {2, 2, {"Fach0", "Fach1", "Fach2", "Fach3", "Fach4"}},
    };
    for (const auto& fa : faelle) {
        std::vector<std::string> basis;
        for (int i = 0; i < 5; ++i) basis.push_back(f::zeile(fach("Fach" + std::to_string(i), "F", i), i));
        const auto neu = f::verschoben(basis, fa.quelle, fa.ziel);
        std::vector<std::string> folge;
        for (std::size_t i = 0; i < neu.size(); ++i) {
            folge.push_back(f::name(neu[i]));
            EXPECT_EQ(f::ordnung(neu[i]), static_cast<int>(i));
            EXPECT_EQ(neu[i].substr(3), basis[static_cast<std::size_t>(nux::listenzeile::index(neu[i]))].substr(3));
        }
        EXPECT_EQ(folge, fa.folge) << fa.quelle << "->" << fa.ziel;
    }
    std::vector<std::string> zwei{f::zeile(fach("A", "A", 0), 0)};
    EXPECT_THROW(f::verschoben(zwei, 0, 1), nux::Dateifehler);
}

TEST_F(Faecherdatei, VerschiebenSchreibtNurOrdnungsnummern) {
    // a file from elsewhere: gaps in the order numbers, a 5-character short name
    std::vector<nux::Fachsatz> saetze{fach("Deutsch", "DEUTS", 5), fach("Englisch", "E", 9),
                                      fach("#Latein", "L", 2, false), fach("Musik", "M", 7)};
    saetze[1].reserve3 = "abc";
    nux::neuschreiben(pfad, saetze);
    zeilen = f::holen(pfad);
    ASSERT_EQ(namen(), (std::vector<std::string>{"#Latein", "Deutsch", "Musik", "Englisch"}));
    f::verschieben(pfad, zeilen, 3, 0);  // Englisch in front of #Latein
    EXPECT_EQ(ordnungen(pfad), (std::vector<int>{2, 0, 1, 3}));
    const auto nachher = nux::laden<nux::Fachsatz>(pfad);
    for (std::size_t i = 0; i < saetze.size(); ++i) {
        auto erwartet = saetze[i];
        erwartet.ordnung = nachher[i].ordnung;
        EXPECT_EQ(nachher[i], erwartet) << i;  // every other field, index and all, as it was
    }
    const auto vorher = nux::dateilesen(pfad);
    f::verschieben(pfad, f::holen(pfad), 2, 2);
    EXPECT_EQ(nux::dateilesen(pfad), vorher);
}

TEST_F(Faecherdatei, SchreibenVerweigertLueckenhafteIndexe) {
    const std::vector<std::string> kaputt{f::zeile(fach("A", "A", 0), 0), f::zeile(fach("B", "B", 1), 2)};
    EXPECT_THROW(f::schreiben(pfad, kaputt), nux::Dateifehler);
    EXPECT_FALSE(nux::dateida(pfad));
}

TEST_F(Faecherdatei, SchreibfehlerLaesstDateiUndZeilen) {
    anlegen(2);
    const auto vorher = nux::dateilesen(pfad);
    const auto zeilenvorher = zeilen;
    nux::schreibfehlerSetzen(28);  // ENOSPC
    EXPECT_THROW(neu("Neu", "N"), nux::Dateifehler);
    EXPECT_THROW(f::verschieben(pfad, zeilen, 0, 1), nux::Dateifehler);
    nux::schreibfehlerSetzen(0);
    EXPECT_EQ(nux::dateilesen(pfad), vorher);
    EXPECT_EQ(zeilen, zeilenvorher);
    EXPECT_EQ(hoechster, 1);
}
