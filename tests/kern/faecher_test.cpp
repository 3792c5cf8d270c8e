#include <gtest/gtest.h>

#include "editors/kern/faecher.h"
#include "kernhilfe.h"

namespace f = nux::faecher;
using nux::Fachsatz;

TEST(Faecherzeile, SpaltenUndRueckweg) {
    const std::tuple<Fachsatz, int, std::string, Fachsatz> faelle[] = {
        {{"Deutsch", "D", 0}, 0, "  0 D   Deutsch", {"Deutsch", "D", 0}},
        {{"Mathematik", "Mat", 12, false}, 3, " 12XMat Mathematik", {"Mathematik", "Mat", 0, false}},
        // only 3 characters of a short name survive; a long name is cut at 30
        {{"Bewegung und Sport in der Halle A", "BSPHA", 7}, 40, "  7 BSP Bewegung und Sport in der Hall",
         {"Bewegung und Sport in der Hall", "BSP", 0}},
        // a damaged order number must not shift the columns behind it
        {{"Kunst", "K", 12345}, 1, "999 K   Kunst", {"Kunst", "K", 0}},
        {{"Kunst", "K", -5000}, 1, "-99 K   Kunst", {"Kunst", "K", 0}},
    };
    for (const auto& [satz, index, anfang, zurueck] : faelle) {
        const std::string z = f::zeile(satz, index);
        EXPECT_EQ(z, anfang + std::string(200 - anfang.size(), ' ') + std::to_string(index));
        EXPECT_EQ(f::grau(z), !satz.unterrichtet);
        auto s = f::satz(z);
        s.ordnung = 0;
        EXPECT_EQ(s, zurueck) << anfang;
    }
}

class Faecherdatei : public ::testing::Test {
protected:
    kernhilfe::Jahr jahr;
    const std::string pfad = "2026 1/faecher";
    std::vector<std::string> zeilen;
    int hoechster = -1;
    std::size_t pos = 0;

    f::Abgelehnt neu(const std::string& name, const std::string& kurz, bool unterrichtet = true,
                     std::optional<std::size_t> gewaehlt = std::nullopt) {
        return f::speichern(pfad, zeilen, hoechster, gewaehlt, {name, kurz, unterrichtet}, pos);
    }
};

TEST_F(Faecherdatei, NeueAngehaengtAbgelehnteUndFehlschlaegeAendernNichts) {
    // Indexes with a gap would put records where other files do not expect them.
    EXPECT_THROW(f::schreiben(pfad, {f::zeile({"A", "A", 0}, 0), f::zeile({"B", "B", 1}, 2)}), nux::Dateifehler);
    EXPECT_FALSE(nux::dateida(pfad));
    ASSERT_EQ(neu("Deutsch", "D"), f::Abgelehnt::nein);
    ASSERT_EQ(neu("Englisch", "  E  ", false), f::Abgelehnt::nein);
    EXPECT_EQ(pos, 1u);
    EXPECT_EQ(nux::laden<Fachsatz>(pfad), (std::vector<Fachsatz>{{"Deutsch", "D", 0}, {"Englisch", "E", 1, false}}));
    // the line keeps the short name as typed until the next load
    EXPECT_EQ(zeilen[1].substr(0, 8) + "|" + f::holen(pfad)[1].substr(0, 8), "  1X  E |  1XE   ");

    const auto vorher = nux::dateilesen(pfad);
    const auto zeilenvorher = zeilen;
    for (const auto& [name, kurz] : {std::pair{"", "M"}, {"   ", "M"}, {"Mathe", " "}})
        EXPECT_EQ(neu(name, kurz), f::Abgelehnt::leer) << name << "|" << kurz;
    EXPECT_EQ(neu("Darstellen", " D "), f::Abgelehnt::doppelt);
    EXPECT_EQ(kernhilfe::meldung([&] { neu("Physik", "P", true, zeilen.size()); }), nux::kBereich);
    nux::schreibfehlerSetzen(28);  // ENOSPC
    EXPECT_THROW(neu("Neu", "N"), nux::Dateifehler);
    EXPECT_THROW(f::verschieben(pfad, zeilen, 0, 1), nux::Dateifehler);
    nux::schreibfehlerSetzen(0);
    EXPECT_TRUE(nux::dateilesen(pfad) == vorher && zeilen == zeilenvorher && hoechster == 1);
    // "d" differs by case, and "DXX" is compared whole with the 3 columns
    EXPECT_EQ(neu("Darstellen", "d"), f::Abgelehnt::nein);
    EXPECT_EQ(neu("Drama", "DXXXX"), f::Abgelehnt::nein);
    // a change may take a short name that is taken; number and index stay
    ASSERT_EQ(neu("Physik", "D", false, 1), f::Abgelehnt::nein);
    EXPECT_EQ(nux::laden<Fachsatz>(pfad)[1], (Fachsatz{"Physik", "D", 1, false}));
    EXPECT_EQ(nux::listenzeile::index(zeilen[pos]), 1);

    for (int i = 0; i < 47; ++i) ASSERT_EQ(neu("Fach" + std::to_string(i), "F" + std::to_string(i)), f::Abgelehnt::nein);
    const auto voll = nux::dateilesen(pfad);
    EXPECT_EQ(neu("Zuviel", "ZZ"), f::Abgelehnt::voll);
    EXPECT_EQ(nux::dateilesen(pfad), voll);
    EXPECT_EQ(neu("Letztes", "L", true, 50), f::Abgelehnt::nein);  // changing one is still allowed
}

TEST_F(Faecherdatei, VerschiebenNachRegelSchreibtNurOrdnungsnummern) {
    // a file from elsewhere: gaps in the order numbers, a 5-character short name
    std::vector<Fachsatz> saetze{{"Deutsch", "DEUTS", 5}, {"Englisch", "E", 9, true, "abc"}, {"#Latein", "L", 2, false},
                                 {"Musik", "M", 7}};
    nux::neuschreiben(pfad, saetze);
    // A line goes in front of the one it is dropped on; the records in list order afterwards.
    const std::tuple<std::size_t, std::size_t, std::string> faelle[] = {
        {3, 0, "1203"}, {0, 3, "2013"},  // onto the last: second to last
        {0, 1, "2013"},                  // in front of the next: stays
        {2, 1, "2103"}, {2, 2, "2103"}};
    for (const auto& [quelle, ziel, folge] : faelle) {
        f::verschieben(pfad, f::holen(pfad), quelle, ziel);
        std::string ist;
        for (const auto& z : f::holen(pfad)) ist += std::to_string(nux::listenzeile::index(z));
        EXPECT_EQ(ist, folge) << quelle << "->" << ziel;
    }
    // every other field, index and all, as it was
    for (auto [s, o] : {std::pair{0, 2}, {1, 1}, {2, 0}, {3, 3}}) saetze[s].ordnung = o;
    EXPECT_EQ(nux::laden<Fachsatz>(pfad), saetze);
    EXPECT_THROW(f::verschoben({f::holen(pfad)[0]}, 0, 1), nux::Dateifehler);
}
