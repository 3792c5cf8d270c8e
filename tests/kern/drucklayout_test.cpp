#include <gtest/gtest.h>

#include "assignment/kern/drucklayout.h"
#include "storage/dateifehler.h"
#include "storage/text.h"

using namespace nux;

namespace {

// A lesson: hours in tenths (0 leaves the cell empty and hides the teacher).
Druckzelle stunde(int zehntel, const std::string& lehrer = "--", const std::string& zusatz = "") {
    return {zehntel ? nux::zehntelzeigen(zehntel, 4) : "", lehrer, zehntel != 0, zusatz};
}

// Classes 1a, 2a, ..., rows F0, F1, ..., every lesson 1,0 without teacher; teacher line 1 is MarH.
Druckdaten schule(int klassen, int zeilen) {
    Druckdaten d;
    d.jahr = "2026 1";
    for (int c = 0; c < klassen; ++c) d.klassen.push_back(std::to_string(c + 1) + "a");
    for (int r = 0; r < zeilen; ++r) d.zeilen.push_back("F" + std::to_string(r));
    d.zellen.assign(klassen, std::vector<Druckzelle>(zeilen, stunde(10)));
    d.verfuegbar = {nux::linksbuendig("----", 200) + "-1", nux::linksbuendig("MarH 22,0  22,0", 200) + "0", " ",
                    "Summe   22,0"};
    return d;
}

const std::string kDatum = "06.12.2026";
const std::string kTitel = "Unterrichtseinsatz   2026-1";

// Date, title, the names and the dedication of a teacher sheet.
std::vector<Drucktext> kopf(const std::vector<std::string>& namen = {}) {
    std::vector<Drucktext> t = {{3500, 400, 10, false, kDatum}, {600, 600, 14, false, kTitel}};
    for (const auto& n : namen) t.push_back({600, 800, 24, true, n});
    t.push_back({600, 1100, 12, false, "Gewidmet von der Bergland Schulkreis BSK"});
    return t;
}

}  // namespace

TEST(Drucklayout, UmrechnungMultipliziertZuerstUndSchneidetAb) {
    // 591,4 truncated; dividing first would give 0; a product beyond 32 bits.
    EXPECT_EQ(std::vector<int>({pixel(4677, 600, 4745), pixel(1000, 4744, 4745), pixel(100000, 6637, 6638)}),
              std::vector<int>({591, 999, 99984}));
}

TEST(Lehrerblatt, StelltJedeZeileAnIhrenPlatz) {
    Druckdaten d = schule(2, 3);
    d.klassen = {"1a", "2b"};
    d.zeilen = {"D", "M", "M"};
    d.zellen[0] = {stunde(0, "MarH", "ruht"), stunde(225, "MarH", "Förderkurs"), stunde(10)};
    d.zellen[1] = {stunde(15, " MarH "), stunde(10), stunde(30, "JohB")};  // matched after trimming
    // Every record with the short name gives a name, but a withdrawn one; the short name must match exactly.
    const std::vector<Lehrersatz> lehrer{{"Maria Huber", "MarH", 220}, {"#Weg", "MarH", 220},   {"Mara", "Mar", 220},
                                         {"Marius", "MARH", 220},      {"Johann Berger", "JohB", 220},
                                         {"Martin Haas", "MarH", 220}};
    const auto b = nux::lehrerblatt(d, 1, lehrer, kDatum);
    auto erwartet = kopf({"Maria Huber", "Martin Haas"});
    erwartet.insert(erwartet.end(), {{600, 1300, 10, false, "1a    D     " + std::string(9, ' ') + "ruht"},  // hidden
                                     {600, 1400, 10, false, "1a    M     22,5     Förderkurs"},
                                     {600, 1500, 10, false, "2b    D      1,5     "},
                                     {600, 1800, 10, true, "Summe:"}, {1200, 1800, 10, true, "24,0"}});
    EXPECT_EQ(nux::texte(b.seite), erwartet);
    EXPECT_TRUE(b.seite.ausrichtung == nux::Ausrichtung::hochformat && b.vollstaendig());
    // The delete line, the blank line and the sum line name nobody.
    erwartet = kopf();
    erwartet.insert(erwartet.end(), {{600, 1500, 10, true, "Summe:"}, {1200, 1500, 10, true, " 0,0"}});
    for (int p : {0, 2, 3}) EXPECT_EQ(nux::texte(nux::lehrerblatt(d, p, lehrer, kDatum).seite), erwartet) << p;
    for (int p : {-1, 4}) EXPECT_THROW(nux::lehrerblatt(d, p, {}, kDatum), nux::Dateifehler) << p;
}

TEST(Lehrerblatt, ZuVieleStundenFallenUnterDenSeitenrand) {
    struct Fall { int stunden, zeilenda; bool summeda; };
    // Lesson n stands at Y 1300 + 100 n, the sum two places below the last;
    // a line starting at Y 6600 is cut by the edge at 6638.
    const Fall faelle[] = {{50, 50, true}, {51, 51, false}, {53, 53, false}, {54, 53, false}};
    for (const auto& f : faelle) {
        Druckdaten d = schule(f.stunden, 1);
        for (auto& k : d.zellen) k[0] = stunde(10, "MarH");
        const auto b = nux::lehrerblatt(d, 1, {}, kDatum);
        EXPECT_EQ(std::make_tuple(b.zeilen, b.zeilenda, b.summeda), std::make_tuple(f.stunden, f.zeilenda, f.summeda));
        // The texts are kept in the operations all the same.
        EXPECT_EQ(nux::texte(b.seite).back().y, 1300 + 100 * (f.stunden + 2));
    }
}

TEST(Gesamtdruck, SeitenblockeInDruckreihenfolge) {
    struct Fall { int lastClass, lastRow; std::vector<Seitenblock> bloecke; };
    const Fall faelle[] = {
        {0, 0, {{0, 0, 0, 0}}}, {9, 34, {{0, 9, 0, 34}}}, {9, 35, {{0, 9, 0, 34}, {0, 9, 35, 35}}},
        {0, -1, {{0, 0, 0, -1}}},  // no subject taught: one page with the headings
        {29, 70, {{0, 9, 0, 34}, {0, 9, 35, 69}, {0, 9, 70, 70}, {10, 19, 0, 34}, {10, 19, 35, 69}, {10, 19, 70, 70},
                  {20, 29, 0, 34}, {20, 29, 35, 69}, {20, 29, 70, 70}}},
    };
    for (const auto& f : faelle)
        EXPECT_EQ(nux::seitenbloecke(f.lastClass, f.lastRow), f.bloecke) << f.lastClass << "/" << f.lastRow;
}

TEST(Gesamtdruck, RahmenUndVerschiebungJeKlassenzahl) {
    struct Fall { Seitenblock b; int links, rechts, kopf0; };
    const Fall faelle[] = {
        {{0, 0, 35, 39}, 2110, 2710, 2440},    // h = 0, second row block
        {{0, 2, 0, 4}, 1710, 3110, 2040},      // h = 1
        {{0, 9, 0, 4}, 510, 4710, 840},        // h = 4
        {{10, 11, 35, 39}, 2110, 3110, 2440},  // last page of 12 classes and 40 rows
        {{20, 22, 0, 4}, 1710, 3110, 2040},    // third block of classes
    };
    const Druckdaten d = schule(23, 40);
    for (const auto& f : faelle) {
        const auto s = nux::gesamtseite(d, f.b, kDatum);
        const int K = f.b.cbis - f.b.cvon + 1;
        EXPECT_EQ(s.ausrichtung, nux::Ausrichtung::querformat);
        const auto l = nux::linien(s);
        ASSERT_EQ(l.size(), std::size_t(6 + K + 2)) << K;
        for (int i = 0; i <= 5; ++i) EXPECT_EQ(l[i], (Drucklinie{f.links, 930 + 150 * i, f.rechts, 930 + 150 * i, 3}));
        EXPECT_EQ(l[6], (Drucklinie{f.links, 930, f.links, 1680, 3}));
        for (int i = 1; i <= K + 1; ++i) EXPECT_EQ(l[6 + i].x1, f.links + 200 + 400 * (i - 1)) << K << " " << i;
        const auto t = nux::texte(s);
        for (int k = 0; k < K; ++k)
            EXPECT_EQ(t[2 + k], (Drucktext{f.kopf0 + 400 * k, 700, 14, true, d.klassen[f.b.cvon + k]}));
        // Rows count afresh on every page; the first lesson beside its label.
        EXPECT_EQ(t[2 + K], (Drucktext{f.links + 40, 950, 10, false, "F" + std::to_string(f.b.rvon)}));
        EXPECT_EQ(t[3 + K], (Drucktext{f.links + 240, 950, 10, false, " 1,0"}));
        EXPECT_EQ(t[4 + K], (Drucktext{f.links + 390, 950, 10, false, "--"}));
    }
}

TEST(Gesamtdruck, ZellenNurWoStundenSind) {
    Druckdaten d = schule(2, 3);
    d.zeilen = {"D", "M", "M"};  // row 2: the hidden label of a slot-2 row
    d.zellen[0] = {stunde(40, "MarH"), stunde(0, "JohB"), stunde(25)};
    d.zellen[1] = {stunde(0), stunde(225, "JohB"), stunde(0)};
    const std::vector<Drucktext> erwartet = {
        {4400, 200, 10, false, kDatum},  {1600, 400, 16, true, kTitel},  {2440, 700, 14, true, "1a"},
        {2840, 700, 14, true, "2a"},     {2150, 950, 10, false, "D"},    {2350, 950, 10, false, " 4,0"},
        {2500, 950, 10, false, "MarH"},  {2150, 1100, 10, false, "M"},   {2150, 1250, 10, false, "M"},
        {2350, 1250, 10, false, " 2,5"}, {2500, 1250, 10, false, "--"},  {2750, 1100, 10, false, "22,5"},
        {2900, 1100, 10, false, "JohB"},
    };
    EXPECT_EQ(nux::texte(nux::gesamtseite(d, {0, 1, 0, 2}, kDatum)), erwartet);
}
