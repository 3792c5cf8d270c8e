#include <gtest/gtest.h>

#include <filesystem>

#include "editors/kern/faecher.h"
#include "editors/kern/lehrer.h"
#include "kernhilfe.h"
#include "storage/datei.h"
#include "storage/satz.h"
#include "storage/text.h"

namespace l = nux::lehrer;

namespace {

nux::Lehrersatz lehrer(const std::string& name, const std::string& kurz, std::int64_t stunden) {
    nux::Lehrersatz s;
    s.name = name;
    s.kurz = kurz;
    s.stunden = stunden;
    return s;
}

}  // namespace

TEST(Lehrerzeile, Spalten) {
    struct Fall {
        nux::Lehrersatz satz;
        int index;
        std::string anfang;  // columns 1-59
        bool grau;
    };
    const std::string leer46(46, ' ');
    const Fall faelle[] = {
        {lehrer("Maria Huber", "MarH", 225), 0, "MarH Maria Huber" + std::string(39, ' ') + "22,5", false},
        {lehrer("Li", "Lil", 50), 12, "Lil  Li" + std::string(48, ' ') + " 5,0", false},
        {lehrer("Null", "N", 0), 3, "N    Null" + leer46 + " 0,0", true},
        {lehrer("Wenig", "W", 9), 3, "W    Wenig" + std::string(45, ' ') + " 0,9", true},
        {lehrer("Eins", "E", 10), 3, "E    Eins" + leer46 + " 1,0", false},
        {lehrer("Viel", "V", 1234), 3, "V    Viel" + leer46 + "23,4", false},
        {lehrer(std::string(40, 'x'), "XXXX", 100), 7, "XXXX " + std::string(40, 'x') + std::string(10, ' ') + "10,0",
         false},
    };
    for (const auto& fa : faelle) {
        const std::string z = l::zeile(fa.satz, fa.index);
        ASSERT_EQ(z.size(), 200 + std::to_string(fa.index).size());
        EXPECT_EQ(z.substr(0, 59), fa.anfang);
        EXPECT_EQ(z.substr(59, 141), std::string(141, ' '));
        EXPECT_EQ(nux::listenzeile::index(z), fa.index);
        EXPECT_EQ(l::grau(z), fa.grau) << fa.anfang;
        EXPECT_EQ(l::kurz(z), fa.satz.kurz);
        EXPECT_EQ(l::name(z), fa.satz.name);
    }
}

TEST(Lehrerzeile, Kurzvorschlag) {
    const std::pair<std::string, std::string> faelle[] = {
        {"Maria Huber", "MarH"}, {"Li", "Lil"},         {"maria huber", "MarH"}, {"MARIA HUBER", "MarH"},
        {"", ""},                {"A", "Aa"},           {"Li Wu", "Li W"},       {"Anna ", "Ann"},
        {"Ö Huber", "Ö H"},      {"Jo Anne Beck", "Jo A"}, {"x-y z", "X-yZ"},
    };
    for (const auto& [name, vorschlag] : faelle) EXPECT_EQ(l::kurzvorschlag(name), vorschlag) << name;
}

TEST(Lehrerzeile, Stundenfeld) {
    const std::pair<std::string, std::string> normal[] = {
        {"7", " 7,0"},   {",5", " 0,5"},  {"22.5", "22,5"}, {"22,75", "22,7"}, {"123,4", "23,4"},
        {"", " 0,0"},    {"0,0", " 0,0"}, {"5,", " 5,0"},   {"1.2.3", " 1,2"}, {" 7,0", " 7,0"},
        {"225", "25,0"}, {".", " 0,0"},
    };
    for (const auto& [ein, aus] : normal) {
        EXPECT_EQ(l::stundennormal(ein), aus) << ein;
        EXPECT_EQ(l::stundennormal(aus), aus) << "zweimal " << ein;
    }
    EXPECT_EQ(nux::zehntellesen(l::stundennormal("22,5")), 225);
    EXPECT_EQ(nux::zehntellesen(l::stundennormal("7")), 70);

    struct Zeichen {
        std::string text;
        char c;
        bool nimmt;
    };
    const Zeichen zeichen[] = {
        {"", '7', true},    {"2", ',', true},   {"2,", ',', false}, {"2,5", '.', true}, {"", '\b', true},
        {"", '-', false},   {"", 'a', false},   {"", ' ', false},   {"", '\x16', false}, {"2.", ',', true},
    };
    for (const auto& z : zeichen) EXPECT_EQ(l::stundenzeichen(z.text, z.c), z.nimmt) << z.text << "+" << z.c;
}

TEST(Lehrerzeile, KurzbezeichnungVergeben) {
    const std::vector<std::string> zeilen{l::zeile(lehrer("Maria Huber", "MarH", 225), 0),
                                          l::zeile(lehrer("Otto Ko", "Ko", 100), 1)};
    struct Fall {
        std::string name, kurz;
        bool vergeben, erlaubt;
    };
    const Fall faelle[] = {
        {"Neu", "MarH", true, false},  // the teacher's own line counts too
        {"Neu", "Mar", true, false},   // the beginning of a line
        {"Neu", " Mar ", true, false}, // compared trimmed
        {"Neu", "marh", false, true},  // case-sensitive
        {"Neu", "Ko", true, false},
        {"Neu", "Kok", false, true},   // "Ko  " does not begin with it
        {"Neu", "Huber", false, true},
        {"", "Neu", false, false},
        {"Neu", "", false, false},
        {"   ", " ", false, true},     // blanks count as text here; the save refuses them
    };
    for (const auto& fa : faelle) {
        EXPECT_EQ(l::kurzvergeben(zeilen, fa.kurz), fa.vergeben) << fa.kurz;
        EXPECT_EQ(l::speichernerlaubt(zeilen, fa.name, fa.kurz), fa.erlaubt) << fa.name << "|" << fa.kurz;
    }
}

class Lehrerdatei : public ::testing::Test {
protected:
    kernhilfe::Ordner ordner;
    const std::string pfad = "2026 1/lehrer";
    std::vector<std::string> zeilen;
    std::size_t pos = 0;

    void SetUp() override { std::filesystem::create_directory("2026 1"); }
    l::Abgelehnt speichern(std::optional<std::size_t> gewaehlt, const std::string& name, const std::string& kurz,
                           const std::string& stunden) {
        return l::speichern(pfad, zeilen, gewaehlt, {name, kurz, stunden}, pos);
    }
};

TEST_F(Lehrerdatei, ErsterLehrerLegtDateiAnWeitereWerdenAngehaengt) {
    EXPECT_TRUE(l::holen(pfad).empty());
    ASSERT_EQ(speichern(std::nullopt, "  Maria Huber ", " MarH", "22,5"), l::Abgelehnt::nein);
    ASSERT_EQ(speichern(std::nullopt, "Anton Berger", "AntB", "7"), l::Abgelehnt::nein);
    EXPECT_EQ(pos, 0u);  // AntB sorts first
    const auto saetze = nux::laden<nux::Lehrersatz>(pfad);
    ASSERT_EQ(saetze.size(), 2u);
    EXPECT_EQ(saetze[0], lehrer("Maria Huber", "MarH", 225));
    EXPECT_EQ(saetze[1], lehrer("Anton Berger", "AntB", 70));
    EXPECT_EQ(nux::listenzeile::index(zeilen[0]), 1);
    EXPECT_EQ(l::holen(pfad), zeilen);
}

TEST_F(Lehrerdatei, AendernSchreibtNurDenEinenSatzUndBehaeltReserve) {
    auto a = lehrer("Anton Berger", "AntB", 70);
    auto b = lehrer("Maria Huber", "MarH", 225);
    b.reserve[0] = 0x5A;
    b.reserve[47] = 0xA5;
    nux::neuschreiben<nux::Lehrersatz>(pfad, {a, b});
    zeilen = l::holen(pfad);
    ASSERT_EQ(speichern(1, "Maria Zeller", "Zel", "12,5"), l::Abgelehnt::nein);
    const auto saetze = nux::laden<nux::Lehrersatz>(pfad);
    ASSERT_EQ(saetze.size(), 2u);
    EXPECT_EQ(saetze[0], a);
    auto erwartet = lehrer("Maria Zeller", "Zel", 125);
    erwartet.reserve = b.reserve;
    EXPECT_EQ(saetze[1], erwartet);
    ASSERT_EQ(zeilen.size(), 2u);
    EXPECT_EQ(l::kurz(zeilen[1]), "Zel");
    EXPECT_EQ(nux::listenzeile::index(zeilen[1]), 1);
}

TEST_F(Lehrerdatei, ZurueckgezogeneBleibenInDerDateiAberNichtInDerListe) {
    ASSERT_EQ(speichern(std::nullopt, "Maria Huber", "MarH", "22,5"), l::Abgelehnt::nein);
    ASSERT_EQ(speichern(std::nullopt, "Otto Ko", "Ko", "10"), l::Abgelehnt::nein);
    ASSERT_EQ(l::kurz(zeilen[1]), "MarH");
    ASSERT_EQ(speichern(1, "#Maria Huber", "MarH", "22,5"), l::Abgelehnt::nein);
    EXPECT_EQ(zeilen.size(), 2u);  // still listed until the next load
    zeilen = l::holen(pfad);
    ASSERT_EQ(zeilen.size(), 1u);
    EXPECT_EQ(nux::listenzeile::index(zeilen[0]), 1);
    // a new teacher gets the next index, not the withdrawn one's
    ASSERT_EQ(speichern(std::nullopt, "Maria Neu", "MarN", "1"), l::Abgelehnt::nein);
    EXPECT_EQ(nux::listenzeile::index(zeilen[pos]), 2);
    EXPECT_EQ(nux::laden<nux::Lehrersatz>(pfad)[0].name, "#Maria Huber");
}

TEST_F(Lehrerdatei, StundenWerdenVorDemLesenNormalisiert) {
    // a save whose click did not take the focus from the hours field first
    ASSERT_EQ(speichern(std::nullopt, "Anna", "Ann", "22,75"), l::Abgelehnt::nein);
    EXPECT_EQ(nux::laden<nux::Lehrersatz>(pfad)[0].stunden, 227);
}
