#include <gtest/gtest.h>

#include "assignment/kern/excel.h"
#include "storage/text.h"
#include "kernhilfe.h"

using namespace nux;

namespace {

using Tabelle = std::vector<std::vector<std::string>>;

using kernhilfe::klasse;

// Subjects: D before Mat by order; L not taught, S withdrawn, both with hours.
const std::vector<Fachsatz> kFaecher{{"Deutsch", "D", 0}, {"Mathematik", "Mat", 1}, {"Latein", "L", 2, false},
                                     {"#Stenografie", "S", 3}};
// Listed: AnnA, BeB, CC, ZZ. Two records share ZZ; WW is withdrawn.
const std::vector<Lehrersatz> kLehrer{{"Anna Alt", "AnnA", 200}, {"Bea Bu", "BeB", 40}, {"#Weg", "WW", 100},
                                      {"Zora Zeh", "ZZ", 220}, {"Carl Co", "CC", 100}, {"Zoe Zeh", "ZZ", 0}};
// XY names nobody, WW a withdrawn teacher; the teacher of L counts as assigned.
std::vector<Klassensatz> klassen() {
    return {klasse("1a", {{1, 0, 40, "AnnA", "F\xF6rderkurs"}, {2, 0, 10}, {1, 1, 45, "BeB"}, {1, 2, 30, "ZZ"}}),
            klasse("1b", {{1, 0, 40, "XY"}, {2, 0, 15, "ZZ"}, {1, 1, 40, "WW"}, {1, 3, 20}})};
}
constexpr int kCC = 3, kD2 = 1;  // CC's line, the row D/2

Verteilung geladen(std::vector<Klassensatz> k = klassen()) {
    Verteilung v;
    v.aufbauen(std::move(k), kFaecher, kLehrer);
    return v;
}

Mappe mappe(const Verteilung& v) { return exportmappe(v, {"2026 1", "06.12.2026 14:05:33", v.gespeichert()}); }

// A cell as one readable word: kind, value, a comment after "!".
std::string wort(const Mappenzelle& z) {
    using A = Mappenzelle::Art;
    std::string w = z.art == A::stunden ? "h" : z.art == A::zahl ? "n" : z.art == A::formel ? "=" + z.text + "=" : z.text;
    if (z.art != A::text && z.art != A::leer) w += std::to_string(z.wert);
    return z.notiz.empty() ? w : w + "!" + z.notiz;
}

// The table of a sheet from its header row on.
Tabelle tabelle(const Mappe& m, const std::string& name) {
    const Mappenblatt* b = m.blatt(name);
    if (!b) return {{"fehlt: " + name}};
    Tabelle t;
    for (std::size_t r = kKopfzeile; r < b->zeilen.size(); ++r) {
        std::vector<std::string> zeile;
        for (const auto& z : b->zeilen[r]) zeile.push_back(wort(z));
        while (!zeile.empty() && zeile.back().empty()) zeile.pop_back();
        t.push_back(zeile);
    }
    return t;
}

}  // namespace

TEST(Excel, JedesBlattWieDasFensterZeigt) {
    const Verteilung v = geladen();
    const Mappe m = mappe(v);
    const struct {
        const char* blatt;
        Tabelle erwartet;
    } faelle[] = {
        // Hidden lessons stay empty; the extra text is a comment on the hours.
        {"Verteilung",
         {{"Fach", "Nr.", "1a", "", "1b"},
          {"D", "n1", "h40!F\xF6rderkurs", "AnnA", "h40", "XY"},
          {"D", "n2", "h10", "--", "h15", "ZZ"},
          {"Mat", "n1", "h45", "BeB", "h40", "WW"}}},
        // Every visible lesson; both names of a shared short name, none for a
        // withdrawn or unknown teacher.
        {"Einsatz",
         {{"Klasse", "Fach", "Fachname", "Nr.", "Stunden", "LehrerIn", "Name", "Zusatztext"},
          {"1a", "D", "Deutsch", "n1", "h40", "AnnA", "Anna Alt", "F\xF6rderkurs"},
          {"1a", "D", "Deutsch", "n2", "h10", "--"},
          {"1a", "Mat", "Mathematik", "n1", "h45", "BeB", "Bea Bu"},
          {"1b", "D", "Deutsch", "n1", "h40", "XY"},
          {"1b", "D", "Deutsch", "n2", "h15", "ZZ", "Zora Zeh / Zoe Zeh"},
          {"1b", "Mat", "Mathematik", "n1", "h40", "WW"}}},
        // The availability list's order and exact hours, below 0 included.
        {"LehrerInnen",
         {{"LehrerIn", "Name", "Lehrverpflichtung", "zugeordnet", "verf\xFC" "gbar"},
          {"AnnA", "Anna Alt", "h200", "h40", "h160"},
          {"BeB", "Bea Bu", "h40", "h45", "h-5"},
          {"CC", "Carl Co", "h100", "h0", "h100"},
          {"ZZ", "Zora Zeh", "h220", "h15", "h205"},
          {"Summe", "", "=SUM(C5:C8)=560", "=SUM(D5:D8)=100", "=SUM(E5:E8)=460"}}},
        // Hours of subjects without a row count, as in the window's sums.
        {"Klassen",
         {{"Klasse", "zu haltende Stunden", "zugeordnet", "ohne LehrerIn"},
          {"1a", "h125", "h115", "h10"},
          {"1b", "h115", "h95", "h20"},
          {"Summe", "=SUM(B5:B6)=240", "=SUM(C5:C6)=210", "=SUM(D5:D6)=30"}}},
        {"Pr\xFC" "fung",
         {{"Art", "Hinweis"},
          {"\xDC" "berstunden", "BeB (Bea Bu) hat 4,5 Stunden bei 4,0 Stunden Lehrverpflichtung: 0,5 zu viel."},
          {"ohne LehrerIn", "Klasse 1a: 1,0 Stunden ohne LehrerIn (D/2 1,0)."},
          {"unbekannte LehrerIn", "\"WW\" steht in 1b Mat, ist aber ausgeschieden (#)."},
          {"unbekannte LehrerIn", "\"XY\" steht in 1b D, gibt es aber nicht unter den LehrerInnen."},
          {"ohne Unterricht", "CC (Carl Co) hat keinen Unterricht, 10,0 Stunden verf\xFC" "gbar."},
          {"nicht unterrichtet", "Fach L (Latein) wird heuer nicht unterrichtet, hat aber Stunden in 1a 3,0."},
          {"nicht unterrichtet", "Fach S (#Stenografie) ist ausgeschieden (#), hat aber Stunden in 1b 2,0."}}},
        // Per subject of the grid; the teacher of a lesson counts whoever it is.
        {"F\xE4" "cher",
         {{"Fach", "Name", "verlangt", "zugeordnet", "offen", "bef\xE4higte LehrerInnen", "deren freie Stunden"},
          {"D", "Deutsch", "h105", "h95", "h10", "", "h0"},
          {"Mat", "Mathematik", "h85", "h85", "h0", "", "h0"},
          {"Summe", "", "=SUM(C5:C6)=190", "=SUM(D5:D6)=180", "=SUM(E5:E6)=10"}}},
    };
    // The sheets in this order, each under the same two heading lines.
    ASSERT_EQ(m.blaetter.size(), std::size(faelle));
    for (std::size_t i = 0; i < m.blaetter.size(); ++i) {
        const auto& f = faelle[i];
        const Mappenblatt& b = m.blaetter[i];
        EXPECT_EQ(b.name + " " + wort(b.zeilen[0][0]) + " " + wort(b.zeilen[1][0]),
                  std::string(f.blatt) + " Lehrf\xE4" "cherverteilung 2026-1 Stand 06.12.2026 14:05:33, Zuordnungen gespeichert");
        EXPECT_EQ(tabelle(m, f.blatt), f.erwartet) << f.blatt;
    }

    const Mappenblatt& verteilung = *m.blatt("Verteilung");
    EXPECT_EQ(std::make_tuple(verteilung.festspalten, verteilung.verbunde, m.blatt("Einsatz")->filterzeile),
              std::make_tuple(2, std::vector<Verbund>{{kKopfzeile, 2, 3}, {kKopfzeile, 4, 5}}, kKopfzeile));
}

// Gestures count before they are saved, and are named; hours the grid cannot
// show (a stray subject index from another program) count nowhere.
TEST(Excel, UngespeicherteZuordnungenZaehlenUndSummenGleichDenenDesFensters) {
    auto k = klassen();
    std::tie(k[0].h(1, 70), k[0].l(1, 70), k[1].h(2, 1)) = std::make_tuple(25, "AnnA", 5);  // and a row Mat/2
    Verteilung v = geladen(k);
    ASSERT_TRUE(v.lehrerein(0, kD2, kCC));  // CC takes the last open lesson of 1a
    const Mappe m = mappe(v);
    const Tabelle pruefung = tabelle(m, "Pr\xFC" "fung");
    EXPECT_EQ(pruefung[1], (std::vector<std::string>{"nicht gespeichert",
        "Die Zuordnungen dieser Mappe sind noch nicht mit \"speichern\" in die Datei klassen geschrieben."}));
    EXPECT_EQ(pruefung[3], (std::vector<std::string>{"ohne LehrerIn", "Klasse 1b: 0,5 Stunden ohne LehrerIn (Mat/2 0,5)."}));
    EXPECT_EQ(tabelle(m, "Klassen")[1], (std::vector<std::string>{"1a", "h125", "h125", "h0"}));
    EXPECT_EQ(tabelle(m, "LehrerInnen")[3], (std::vector<std::string>{"CC", "Carl Co", "h100", "h10", "h90"}));
    ASSERT_TRUE(v.lehrerein(0, kD2, kCC));  // taken back: the file's state again
    EXPECT_TRUE(v.gespeichert());
}

TEST(Excel, LeereSchuleUndLangeListen) {
    Verteilung v;
    v.aufbauen({}, {}, std::nullopt);
    const Mappe m = mappe(v);
    EXPECT_EQ(tabelle(m, "Verteilung"), (Tabelle{{"Fach", "Nr."}}));
    EXPECT_EQ(tabelle(m, "Einsatz").size(), 1u);
    // No rows to sum: a formula over none would reach into the header.
    EXPECT_EQ(tabelle(m, "LehrerInnen").back(), (std::vector<std::string>{"Summe", "", "h0", "h0", "h0"}));
    EXPECT_EQ(tabelle(m, "Pr\xFC" "fung").back()[0], "in Ordnung");

    // An unknown code on a thousand lessons stays one readable line.
    std::vector<Klassensatz> viele;
    for (int c = 0; c < 25; ++c) viele.push_back(klasse("k" + std::to_string(c), {{1, 0, 10, "XY"}}));
    v.aufbauen(viele, kFaecher, kLehrer);
    EXPECT_EQ(tabelle(mappe(v), "Pr\xFC" "fung")[1][1],
              "\"XY\" steht in k0 D, k1 D, k2 D, k3 D, k4 D, k5 D, k6 D, k7 D, k8 D, k9 D, k10 D, k11 D, k12 D, k13 D, k14 D, "
              "k15 D, k16 D, k17 D, k18 D, k19 D und 5 weitere, gibt es aber nicht unter den LehrerInnen.");
}

TEST(Excel, NamenVonDateiUndZelle) {
    const std::pair<const char*, const char*> dateien[] = {{"2026 1", "2026-1"}, {"207", "207-"}, {"2:/6 x", "2__6-x"}};
    for (const auto& [jahr, teil] : dateien)
        EXPECT_EQ(exportname("2026-12-06_14-05-33", jahr), "2026-12-06_14-05-33_Verteilung_" + std::string(teil) + ".xlsx");
    const std::tuple<int, int, const char*> zellen[] = {{0, 0, "A1"}, {4, 25, "Z5"}, {0, 26, "AA1"}, {9, 27, "AB10"},
                                                        {0, 701, "ZZ1"}, {0, 702, "AAA1"}};
    for (const auto& [zeile, spalte, name] : zellen) EXPECT_EQ(zellname(zeile, spalte), name);
}

// Each column of the demo school's workbook shows its longest value whole
// and is not much wider; a hint that runs long stops at 100 characters.
TEST(Excel, SpaltenPassenZumLaengstenWertDerDemoSchule) {
    kernhilfe::Demoschule demo;
    const Verteilung& v = demo.v;
    Befaehigungen b;
    b.setzen("Mai", "D", Stufe::befaehigt);
    const Mappe m = exportmappe(v, {"2026 1", "06.12.2026 14:05:33", true, &b});
    for (const Mappenblatt& blatt : m.blaetter) {
        SCOPED_TRACE(blatt.name);
        ASSERT_EQ(static_cast<int>(blatt.breiten.size()), blatt.spalten());
        for (int c = 0; c < blatt.spalten(); ++c) {
            std::size_t laengste = 0;
            for (std::size_t r = kKopfzeile; r < blatt.zeilen.size(); ++r) {
                const bool ueber = std::any_of(blatt.verbunde.begin(), blatt.verbunde.end(), [&](const Verbund& vb) {
                    return vb.zeile == static_cast<int>(r) && vb.von <= c && c <= vb.bis;
                });
                const Mappenzelle& z = blatt.zelle(r, static_cast<std::size_t>(c));
                const std::size_t n = z.art == Mappenzelle::Art::text ? z.text.size()
                                      : z.art == Mappenzelle::Art::leer ? 0
                                      : z.art == Mappenzelle::Art::zahl ? std::to_string(z.wert).size()
                                                                        : trimmen(zehntelzeigen(z.wert, 12)).size();
                if (!ueber) laengste = std::max(laengste, n);
            }
            EXPECT_GE(blatt.breiten[static_cast<std::size_t>(c)], static_cast<int>(std::min<std::size_t>(laengste, 100))) << c;
            EXPECT_LE(blatt.breiten[static_cast<std::size_t>(c)], static_cast<int>(laengste) + 2) << c;
        }
    }
}

// With qualifications the check names each bottleneck and each lesson held
// by a teacher not qualified for it; the load chart covers every teacher row.
TEST(Excel, PruefungMitBefaehigungenUndDiagramm) {
    const Verteilung v = geladen();
    Befaehigungen b;
    b.setzen("BeB", "D", Stufe::befaehigt);  // above the required hours: nothing to give
    b.setzen("ZZ", "Mat", Stufe::wunsch);
    const Mappe m = exportmappe(v, {"2026 1", "06.12.2026 14:05:33", true, &b});
    Tabelle punkte;
    for (const auto& z : tabelle(m, "Pr\xFC" "fung"))
        if (z[0] == "Engpass" || z[0] == "ohne Bef\xE4higung") punkte.push_back(z);
    const auto ohne = [](const char* wer, const char* was) {
        return std::vector<std::string>{"ohne Bef\xE4higung", std::string(wer) + " unterrichtet " + was +
                                                                 ", ist daf\xFCr aber nicht als bef\xE4higt eingetragen."};
    };
    EXPECT_EQ(punkte, (Tabelle{{"Engpass", "Deutsch: 1,0 Stunde fehlt, keine bef\xE4higte Lehrkraft frei."},
                               ohne("AnnA", "Deutsch in 1a (4,0 Stunden)"), ohne("BeB", "Mathematik in 1a (4,5 Stunden)"),
                               ohne("XY", "Deutsch in 1b (4,0 Stunden)"), ohne("ZZ", "Deutsch in 1b (1,5 Stunden)"),
                               ohne("WW", "Mathematik in 1b (4,0 Stunden)")}));
    const Mappenblatt& lehrer = *m.blatt("LehrerInnen");
    ASSERT_EQ(lehrer.diagramme.size(), 1u);
    const Diagramm& d = lehrer.diagramme[0];
    EXPECT_EQ(std::make_tuple(d.von, d.bis, d.kategorien, d.reihen),
              std::make_tuple(kKopfzeile + 1, kKopfzeile + 4, 0, std::vector<int>{2, 3}));
    EXPECT_EQ(wort(lehrer.zeilen[static_cast<std::size_t>(d.bis)][0]), "ZZ");
}
