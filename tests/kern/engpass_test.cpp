#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "assignment/kern/marken.h"
#include "kernhilfe.h"
#include "assignment/kern/engpass.h"

using namespace nux;

namespace {

using kernhilfe::klasse;
using kernhilfe::Stunde;

enum { M = 0, Ph = 1, D = 2 };

std::vector<Fachsatz> faecher() { return {{"Mathematik", "M", 0}, {"Physik", "Ph", 1}, {"Deutsch", "D", 2}}; }

struct Fall {
    const char* name;
    std::vector<Lehrersatz> lehrer;
    std::vector<std::tuple<std::string, std::string>> befaehigt;  // teacher, subject
    std::vector<Stunde> stunden;                                   // of the one class
    std::int64_t offen, deckbar;
    std::vector<std::string> engpaesse;
};

}  // namespace

TEST(Engpass, FlussUndSchnittAufSchulenMitBekannterAntwort) {
    const std::vector<Fall> faelle = {
        // Each subject alone has enough qualified free hours (10,0 for 10,0 and
        // for 7,5), but A and B have 10,0 together for 17,5.
        {"Summen täuschen", {{"Anna", "A", 50}, {"Bert", "B", 50}},
         {{"A", "M"}, {"A", "Ph"}, {"B", "M"}, {"B", "Ph"}},
         {{1, M, 60}, {2, M, 40}, {1, Ph, 75}}, 175, 100,
         {"Mathematik und Physik: 7,5 Stunden fehlen; nur A, B"}},
        {"niemand befähigt", {{"Anna", "A", 50}}, {{"A", "M"}}, {{1, Ph, 30}}, 30, 0,
         {"Physik: 3,0 Stunden fehlen, keine bef\xE4higte Lehrkraft frei"}},
        // Assigned hours count: A has 2,0 left after Deutsch; the largest shortage comes first.
        {"zwei Gruppen", {{"Anna", "A", 50}, {"Bert", "B", 10}},
         {{"A", "M"}, {"B", "D"}},
         {{1, D, 30, "A"}, {1, M, 30}, {2, D, 40}}, 70, 30,
         {"Deutsch: 3,0 Stunden fehlen; nur B", "Mathematik: 1,0 Stunde fehlt; nur A"}},
        // Physik lacks 2,0 of A's hours; Mathematik, which A could also teach,
        // is covered by B and is not part of the shortage.
        {"nur die kleinste Gruppe", {{"Anna", "A", 30}, {"Bert", "B", 100}},
         {{"A", "M"}, {"A", "Ph"}, {"B", "M"}},
         {{1, M, 50}, {1, Ph, 50}}, 100, 80, {"Physik: 2,0 Stunden fehlen; nur A"}},
        // Over the required hours gives nothing, and a teacher not in the list
        // (0 hours) gives nothing either.
        {"über dem Soll", {{"Anna", "A", 20}, {"Null", "N", 0}},
         {{"A", "M"}, {"A", "D"}, {"N", "D"}},
         {{1, M, 30, "A"}, {1, D, 20}}, 20, 0,
         {"Deutsch: 2,0 Stunden fehlen, keine bef\xE4higte Lehrkraft frei"}},
        {"genau genug", {{"Anna", "A", 45}}, {{"A", "M"}, {"A", "Ph"}},
         {{1, M, 20}, {1, Ph, 25}}, 45, 45, {}},
    };
    for (const Fall& f : faelle) {
        SCOPED_TRACE(f.name);
        Befaehigungen b;
        for (const auto& [l, s] : f.befaehigt) b.setzen(l, s, Stufe::befaehigt);
        Verteilung v;
        v.aufbauen({klasse("5a", f.stunden)}, faecher(), f.lehrer);
        const Pruefung p = pruefen(v, b);
        EXPECT_EQ(p.offen, f.offen);
        EXPECT_EQ(p.deckbar, f.deckbar);
        EXPECT_EQ(p.ausreichend(), f.offen == f.deckbar);
        std::vector<std::string> texte;
        std::int64_t fehlt = 0;
        for (const Engpass& e : p.engpaesse) {
            texte.push_back(e.text());
            fehlt += e.fehlt;
        }
        EXPECT_EQ(texte, f.engpaesse);
        // The groups are disjoint: together they lack exactly what the flow cannot cover.
        EXPECT_EQ(fehlt, p.offen - p.deckbar);
    }
}

TEST(Engpass, FaecherzeileZaehltJeFachVerlangtZugeordnetOffen) {
    Befaehigungen b;
    b.setzen("B", "M", Stufe::wunsch);
    b.setzen("A", "M", Stufe::befaehigt);
    Verteilung v;
    v.aufbauen({klasse("5a", {{1, M, 40, "A"}, {2, M, 15}}), klasse("5b", {{1, M, 25}, {1, D, 10}})}, faecher(),
               std::vector<Lehrersatz>{{"Bert", "B", 30}, {"Anna", "A", 100}});
    const Pruefung p = pruefen(v, b);
    ASSERT_EQ(p.faecher.size(), 2u);
    const Fachbedarf& m = p.faecher[0];
    EXPECT_EQ(m.name, "Mathematik");
    EXPECT_EQ(std::tie(m.verlangt, m.zugeordnet, m.offen, m.frei), std::make_tuple(80, 40, 40, 90));
    // In the order of the availability list, which is sorted by short name.
    EXPECT_EQ(m.lehrer, (std::vector<std::string>{"A", "B"}));
    EXPECT_EQ(p.faecher[1].offen, 10);
    EXPECT_TRUE(p.faecher[1].lehrer.empty());
}

TEST(Engpass, VieleLehrkraefteWerdenGekuerzt) {
    Engpass e;
    e.namen = {"Deutsch", "Englisch", "Physik"};
    e.fehlt = 125;
    e.lehrer = {"A", "B", "C", "D", "E", "F", "G", "H", "I", "J"};
    EXPECT_EQ(e.text(), "Deutsch, Englisch und Physik: 12,5 Stunden fehlen; nur A, B, C, D, E, F, G, H und 2 weitere");
}

// The mark of one cell after a gesture is the mark the whole grid gives it.
TEST(Marken, EinzelneZelleWieDasGanzeGitter) {
    kernhilfe::Demoschule demo;
    const Verteilung& v = demo.v;
    Befaehigungen b;
    const std::vector<std::string> kurz = {"D", "M", "E", "GS", "BE", "ME"};
    for (const auto& l : v.lehrerstaende())
        for (std::size_t i = 0; i < 3; ++i)
            b.setzen(l.kurz, kurz[(l.kurz[0] + i) % kurz.size()], i == 0 ? Stufe::wunsch : Stufe::befaehigt);
    std::map<Marke, int> anzahl;
    for (const std::string gewaehlt : {"", "AndE", "BirW"}) {
        const auto alle = marken(v, b, gewaehlt);
        for (int c = 0; c < v.klassenzahl(); ++c)
            for (int r = 0; r < v.zeilenzahl(); ++r) {
                const Marke m = alle[static_cast<std::size_t>(c * v.zeilenzahl() + r)];
                ++anzahl[m];
                ASSERT_EQ(marke(v, b, gewaehlt, c, r), m) << gewaehlt << " " << c << " " << r;
            }
    }
    // Every kind of mark came up, so the comparison covered each.
    EXPECT_EQ(anzahl.size(), 4u);
    // Without any entry nobody counts as unqualified.
    const auto leer = marken(v, Befaehigungen{}, "AndE");
    EXPECT_TRUE(std::all_of(leer.begin(), leer.end(), [](Marke m) { return m == Marke::keine; }));
}
