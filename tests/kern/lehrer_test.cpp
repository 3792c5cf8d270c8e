#include <gtest/gtest.h>

#include "editors/kern/faecher.h"
#include "editors/kern/lehrer.h"
#include "kernhilfe.h"

namespace l = nux::lehrer;
using nux::Lehrersatz;

TEST(Lehrerzeile, SpaltenUndGrau) {
    const std::tuple<Lehrersatz, std::string, bool> faelle[] = {
        {{"Maria Huber", "MarH", 225}, "MarH Maria Huber" + std::string(39, ' ') + "22,5", false},
        {{"Wenig", "W", 9}, "W    Wenig" + std::string(45, ' ') + " 0,9", true},
        {{"Eins", "E", 10}, "E    Eins" + std::string(46, ' ') + " 1,0", false},
        {{std::string(40, 'x'), "XXXX", 1234}, "XXXX " + std::string(40, 'x') + std::string(10, ' ') + "23,4", false},
    };
    for (const auto& [satz, anfang, grau] : faelle) {
        const std::string z = l::zeile(satz, 12);
        EXPECT_EQ(z, anfang + std::string(141, ' ') + "12");
        EXPECT_EQ(std::make_tuple(l::kurz(z), l::name(z), l::grau(z)), std::make_tuple(satz.kurz, satz.name, grau));
    }
}

TEST(Lehrerzeile, KurzvorschlagUndStundenfeld) {
    const std::pair<std::string, std::string> vorschlag[] = {
        {"Maria Huber", "MarH"}, {"Li", "Lil"}, {"maria huber", "MarH"}, {"MARIA HUBER", "MarH"}, {"", ""},
        {"A", "Aa"}, {"Li Wu", "Li W"}, {"Anna ", "Ann"}, {"Ö Huber", "Ö H"}, {"Jo Anne Beck", "Jo A"}, {"x-y z", "X-yZ"}};
    for (const auto& [name, kurz] : vorschlag) EXPECT_EQ(l::kurzvorschlag(name), kurz) << name;

    const std::pair<std::string, std::string> normal[] = {
        {"7", " 7,0"}, {",5", " 0,5"}, {"22.5", "22,5"}, {"22,75", "22,7"}, {"123,4", "23,4"}, {"5,", " 5,0"},
        {"1.2.3", " 1,2"}, {"225", "25,0"}, {".", " 0,0"}, {"-5", " 5,0"}, {"abc", " 0,0"}};
    for (const auto& [ein, aus] : normal) {
        EXPECT_EQ(l::stundennormal(ein), aus) << ein;
        EXPECT_EQ(l::stundennormal(aus), aus) << "zweimal " << ein;
    }
    const std::tuple<std::string, char, bool> zeichen[] = {
        {"2", ',', true}, {"2,", ',', false}, {"2,5", '.', true}, {"", '\b', true}, {"", '-', false}, {"", ' ', false},
        {"", '\x16', false}, {"", '0', true}, {"", '9', true}, {"", '/', false}, {"", ':', false}};
    for (const auto& [text, c, nimmt] : zeichen) EXPECT_EQ(l::stundenzeichen(text, c), nimmt) << text << "+" << c;
}

TEST(Lehrerzeile, KurzbezeichnungVergeben) {
    const std::vector<std::string> zeilen{l::zeile({"Maria Huber", "MarH", 225}, 0), l::zeile({"Otto Ko", "Ko", 100}, 1)};
    const std::tuple<std::string, std::string, bool, bool> faelle[] = {
        {"Neu", "MarH", true, false},   // the teacher's own line counts too
        {"Neu", " Mar ", true, false},  // the beginning of a line, compared trimmed
        {"Neu", "marh", false, true},   // case-sensitive
        {"Neu", "Kok", false, true},    // "Ko  " does not begin with it
        {"Neu", "Huber", false, true}, {"", "Neu", false, false}, {"Neu", "", false, false},
        {"   ", " ", false, true},      // blanks count as text here; the save refuses them
    };
    for (const auto& [name, kurz, vergeben, erlaubt] : faelle) {
        EXPECT_EQ(l::kurzvergeben(zeilen, kurz), vergeben) << kurz;
        EXPECT_EQ(l::speichernerlaubt(zeilen, name, kurz), erlaubt) << name << "|" << kurz;
    }
}

TEST(Lehrerdatei, AnhaengenAendernAbweisenZurueckziehen) {
    kernhilfe::Jahr jahr;
    const std::string pfad = "2026 1/lehrer";
    std::vector<std::string> zeilen;
    std::size_t pos = 0;
    const auto speichern = [&](std::optional<std::size_t> gewaehlt, const std::string& name, const std::string& kurz,
                               const std::string& stunden = "1") {
        return l::speichern(pfad, zeilen, gewaehlt, {name, kurz, stunden}, pos);
    };
    Lehrersatz maria{"Maria Huber", "MarH", 225};
    std::tie(maria.reserve[0], maria.reserve[47]) = std::make_tuple(0x5A, 0xA5);
    nux::neuschreiben<Lehrersatz>(pfad, {maria});
    zeilen = l::holen(pfad);
    // typed untrimmed; a save whose click did not take the focus from the hours field first
    ASSERT_EQ(speichern(std::nullopt, "  Anton Berger ", " AntB", "22,75"), l::Abgelehnt::nein);
    EXPECT_EQ(pos, 0u);  // AntB sorts first
    ASSERT_EQ(speichern(1, "Maria Zeller", "Zel", "12,5"), l::Abgelehnt::nein);
    const Lehrersatz zeller{"Maria Zeller", "Zel", 125, maria.reserve};
    EXPECT_EQ(nux::laden<Lehrersatz>(pfad), (std::vector<Lehrersatz>{zeller, {"Anton Berger", "AntB", 227}}));
    EXPECT_EQ(l::holen(pfad), zeilen);
    const auto vorher = nux::dateilesen(pfad);
    EXPECT_EQ(std::make_pair(speichern(std::nullopt, "   ", "Abc"), speichern(0, "Anna", "  ")),
              std::make_pair(l::Abgelehnt::leer, l::Abgelehnt::leer));
    EXPECT_EQ(kernhilfe::meldung([&] { speichern(zeilen.size(), "Anna", "AnnA"); }), nux::kBereich);
    EXPECT_EQ(nux::dateilesen(pfad), vorher);

    ASSERT_EQ(speichern(1, "#Maria Zeller", "Zel"), l::Abgelehnt::nein);
    EXPECT_EQ(zeilen.size(), 2u);  // still listed until the next load
    zeilen = l::holen(pfad);
    ASSERT_EQ(zeilen.size(), 1u);
    // a new teacher gets the next index, not the withdrawn one's
    ASSERT_EQ(speichern(std::nullopt, "Maria Neu", "MarN"), l::Abgelehnt::nein);
    EXPECT_EQ(nux::listenzeile::index(zeilen[pos]), 2);
    EXPECT_EQ(nux::laden<Lehrersatz>(pfad)[0].name, "#Maria Zeller");
}
