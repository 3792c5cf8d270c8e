#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "assignment/kern/drucklayout.h"
#include "storage/dateifehler.h"
#include "storage/text.h"

using nux::Druckdaten;
using nux::Drucklinie;
using nux::Drucktext;
using nux::Druckzelle;
using nux::Lehrersatz;
using nux::Seitenblock;

namespace {

// An availability line as the assignment window builds it.
std::string verfuegbar(const std::string& kurz, int stunden, int index) {
    return nux::linksbuendig(nux::linksbuendig(kurz, 5) + nux::zehntelzeigen(stunden, 4) + " " +
                                 nux::zehntelzeigen(stunden, 5),
                             200) +
           std::to_string(index);
}

// A lesson: hours in tenths (0 leaves the cell empty and hides the teacher).
Druckzelle stunde(int zehntel, const std::string& lehrer = "--", const std::string& zusatz = "") {
    Druckzelle z;
    z.stunden = zehntel ? nux::zehntelzeigen(zehntel, 4) : "";
    z.lehrer = lehrer;
    z.sichtbar = zehntel != 0;
    z.zusatz = zusatz;
    return z;
}

Druckdaten schule(int klassen, int zeilen) {
    Druckdaten d;
    d.jahr = "2026 1";
    for (int c = 0; c < klassen; ++c) d.klassen.push_back(std::to_string(c + 1) + "a");
    for (int r = 0; r < zeilen; ++r) d.zeilen.push_back("F" + std::to_string(r));
    d.zellen.assign(klassen, std::vector<Druckzelle>(zeilen, stunde(10)));
    d.verfuegbar = {nux::linksbuendig("----", 200) + "-1", verfuegbar("MarH", 220, 0), " ", "Summe   22,0"};
    return d;
}

Lehrersatz lehrer(const std::string& name, const std::string& kurz) {
    Lehrersatz l;
    l.name = name;
    l.kurz = kurz;
    l.stunden = 220;
    return l;
}

const std::string kDatum = "06.12.2026";
const std::string kTitel = "Unterrichtseinsatz   2026-1";
const std::string kWidmung = "Gewidmet von der Bergland Schulkreis BSK";

std::vector<Drucktext> kopf(std::vector<Drucktext> namen = {}) {
    std::vector<Drucktext> t = {{3500, 400, 10, false, kDatum}, {600, 600, 14, false, kTitel}};
    t.insert(t.end(), namen.begin(), namen.end());
    t.push_back({600, 1100, 12, false, kWidmung});
    return t;
}

}  // namespace

TEST(Drucklayout, FettSchaltetNurDenStilDieGroesseBleibt) {
    nux::Druckseite s;
    s.groesse(24);
    nux::fettein(s);
    s.text(1, 2, "a");
    nux::fettaus(s);
    s.text(3, 4, "b");
    s.stift(3);
    s.linie(1, 2, 3, 4);
    const std::vector<Drucktext> erwartet = {{1, 2, 24, true, "a"}, {3, 4, 24, false, "b"}};
    EXPECT_EQ(nux::texte(s), erwartet);
    EXPECT_EQ(nux::linien(s), std::vector<Drucklinie>({{1, 2, 3, 4, 3}}));
}

TEST(Drucklayout, UmrechnungMultipliziertZuerstUndSchneidetAb) {
    struct Fall { int seite, einheiten, teiler, pixel; };
    const Fall faelle[] = {
        {4677, 600, 4745, 591},        // 591,4: truncated
        {4745, 4745, 4745, 4745},
        {6638, 6637, 6638, 6637},
        {1000, 4744, 4745, 999},       // dividing first would give 0
        {100000, 6637, 6638, 99984},   // product beyond 32 bits
    };
    for (const auto& f : faelle) EXPECT_EQ(nux::pixel(f.seite, f.einheiten, f.teiler), f.pixel) << f.einheiten;
}

TEST(Lehrerblatt, StelltJedeZeileAnIhrenPlatz) {
    Druckdaten d = schule(2, 3);
    d.klassen = {"1a", "2b"};
    d.zeilen = {"D", "M", "M"};
    d.zellen[0][1] = stunde(225, "MarH", "Förderkurs");
    d.zellen[1][0] = stunde(15, " MarH ");  // matched after trimming
    d.zellen[1][2] = stunde(30, "JohB");
    const auto b = nux::lehrerblatt(d, 1, {lehrer("Maria Huber", "MarH"), lehrer("Johann Berger", "JohB")}, kDatum);

    auto erwartet = kopf({{600, 800, 24, true, "Maria Huber"}});
    erwartet.push_back({600, 1300, 10, false, "1a    M     22,5     Förderkurs"});
    erwartet.push_back({600, 1400, 10, false, "2b    D      1,5     "});
    erwartet.push_back({600, 1700, 10, true, "Summe:"});
    erwartet.push_back({1200, 1700, 10, true, "24,0"});
    EXPECT_EQ(nux::texte(b.seite), erwartet);
    EXPECT_EQ(b.seite.ausrichtung, nux::Ausrichtung::hochformat);
    EXPECT_EQ(b.kurz, "MarH");
    EXPECT_EQ(b.zeilen, 2);
    EXPECT_TRUE(b.vollstaendig());
    EXPECT_TRUE(nux::linien(b.seite).empty());
}

TEST(Lehrerblatt, LoeschzeileDrucktKopfUndNullsumme) {
    const auto b = nux::lehrerblatt(schule(2, 2), 0, {lehrer("Maria Huber", "MarH")}, kDatum);
    auto erwartet = kopf();
    erwartet.push_back({600, 1500, 10, true, "Summe:"});
    erwartet.push_back({1200, 1500, 10, true, " 0,0"});
    EXPECT_EQ(nux::texte(b.seite), erwartet);
    EXPECT_EQ(b.zeilen, 0);
}

TEST(Lehrerblatt, NamenNachDenLehrersaetzen) {
    struct Fall {
        const char* wozu;
        std::vector<Lehrersatz> lehrer;
        std::vector<std::string> namen;
    };
    const Fall faelle[] = {
        {"ausgeschieden: kein Name", {lehrer("#Maria Huber", "MarH")}, {}},
        {"keine Datei", {}, {}},
        {"zwei mit einem Kurznamen, beide an einem Platz",
         {lehrer("Maria Huber", "MarH"), lehrer("Johann Berger", "JohB"), lehrer("Martin Haas", "MarH")},
         {"Maria Huber", "Martin Haas"}},
        {"Kurzname muss genau stimmen", {lehrer("Mara", "Mar"), lehrer("Marius", "MARH")}, {}},
    };
    for (const auto& f : faelle) {
        Druckdaten d = schule(1, 2);
        d.zellen[0][0] = stunde(40, "MarH");
        d.zellen[0][1] = stunde(20, "MarH");
        std::vector<Drucktext> namen;
        for (const auto& n : f.namen) namen.push_back({600, 800, 24, true, n});
        auto erwartet = kopf(namen);
        // The lessons stand on the sheet whoever the name belongs to.
        erwartet.push_back({600, 1300, 10, false, "1a    F0     4,0     "});
        erwartet.push_back({600, 1400, 10, false, "1a    F1     2,0     "});
        erwartet.push_back({600, 1700, 10, true, "Summe:"});
        erwartet.push_back({1200, 1700, 10, true, " 6,0"});
        EXPECT_EQ(nux::texte(nux::lehrerblatt(d, 1, f.lehrer, kDatum).seite), erwartet) << f.wozu;
    }
}

TEST(Lehrerblatt, VersteckteNullstundeMitLeeremStundenfeld) {
    Druckdaten d = schule(1, 2);
    d.zellen[0][0] = stunde(0, "MarH", "ruht");
    d.zellen[0][1] = stunde(35, "MarH");
    const auto t = nux::texte(nux::lehrerblatt(d, 1, {}, kDatum).seite);
    ASSERT_EQ(t.size(), 7u);
    EXPECT_EQ(t[3].text, "1a    F0    " "      " "   " "ruht");  // empty hours column
    EXPECT_EQ(t[4].text, "1a    F1     3,5     ");
    EXPECT_EQ(t[6].text, " 3,5");
}

TEST(Lehrerblatt, ZuVieleStundenFallenUnterDenSeitenrand) {
    struct Fall { int stunden, zeilenda; bool summeda; };
    // Lesson n stands at Y 1300 + 100 n, the sum two places below the last;
    // a line starting at Y 6600 is cut by the edge at 6638.
    const Fall faelle[] = {{50, 50, true}, {51, 51, false}, {53, 53, false}, {54, 53, false}, {60, 53, false}};
    for (const auto& f : faelle) {
        Druckdaten d = schule(f.stunden, 1);
        for (auto& k : d.zellen) k[0] = stunde(10, "MarH");
        const auto b = nux::lehrerblatt(d, 1, {}, kDatum);
        EXPECT_EQ(b.zeilen, f.stunden);
        EXPECT_EQ(b.zeilenda, f.zeilenda) << f.stunden;
        EXPECT_EQ(b.summeda, f.summeda) << f.stunden;
        EXPECT_EQ(b.vollstaendig(), f.stunden <= 50);
        // The texts are kept in the operations all the same.
        EXPECT_EQ(nux::texte(b.seite).back().y, 1300 + 100 * (f.stunden + 2));
    }
}

TEST(Lehrerblatt, LeerzeileUndSummenzeileUndPositionDahinter) {
    const Druckdaten d = schule(1, 1);  // every cell reads "--"
    for (int p : {2, 3}) EXPECT_EQ(nux::lehrerblatt(d, p, {}, kDatum).zeilen, 0) << p;
    EXPECT_THROW(nux::lehrerblatt(d, 4, {}, kDatum), nux::Dateifehler);
}

TEST(Gesamtdruck, SeitenblockeInDruckreihenfolge) {
    struct Fall { int lastClass, lastRow; std::vector<Seitenblock> bloecke; };
    const Fall faelle[] = {
        {0, 0, {{0, 0, 0, 0}}},
        {9, 34, {{0, 9, 0, 34}}},
        {9, 35, {{0, 9, 0, 34}, {0, 9, 35, 35}}},
        {10, 10, {{0, 9, 0, 10}, {10, 10, 0, 10}}},
        {11, 39, {{0, 9, 0, 34}, {0, 9, 35, 39}, {10, 11, 0, 34}, {10, 11, 35, 39}}},
        {0, -1, {{0, 0, 0, -1}}},  // no subject taught: one page with the headings
    };
    for (const auto& f : faelle)
        EXPECT_EQ(nux::seitenbloecke(f.lastClass, f.lastRow), f.bloecke) << f.lastClass << "/" << f.lastRow;
    // The grid's limits of 51 classes and 51 rows give 12 pages.
    const auto voll = nux::seitenbloecke(50, 50);
    ASSERT_EQ(voll.size(), 12u);
    EXPECT_EQ(voll.back(), (Seitenblock{50, 50, 35, 50}));
}

TEST(Gesamtdruck, RahmenUndVerschiebungJeKlassenzahl) {
    struct Fall { Seitenblock b; int links, rechts, kopf0; };
    const Fall faelle[] = {
        {{0, 0, 0, 3}, 2110, 2710, 2440},    // h = 0
        {{0, 1, 0, 3}, 2110, 3110, 2440},    // h = 0
        {{0, 2, 0, 3}, 1710, 3110, 2040},    // h = 1
        {{0, 9, 0, 3}, 510, 4710, 840},      // h = 4
        {{10, 11, 0, 3}, 2110, 3110, 2440},  // second class block
    };
    const Druckdaten d = schule(12, 4);
    for (const auto& f : faelle) {
        const auto s = nux::gesamtseite(d, f.b, kDatum);
        const int K = f.b.cbis - f.b.cvon + 1;
        EXPECT_EQ(s.ausrichtung, nux::Ausrichtung::querformat);
        const auto l = nux::linien(s);
        ASSERT_EQ(l.size(), std::size_t(5 + K + 2)) << K;
        for (int i = 0; i <= 4; ++i)
            EXPECT_EQ(l[i], (Drucklinie{f.links, 930 + 150 * i, f.rechts, 930 + 150 * i, 3})) << K;
        EXPECT_EQ(l[5], (Drucklinie{f.links, 930, f.links, 1530, 3}));
        for (int i = 1; i <= K + 1; ++i)
            EXPECT_EQ(l[5 + i].x1, f.links + 200 + 400 * (i - 1)) << K << " " << i;
        EXPECT_EQ(l.back().x1, f.rechts);

        const auto t = nux::texte(s);
        EXPECT_EQ(t[0], (Drucktext{4400, 200, 10, false, kDatum}));
        EXPECT_EQ(t[1], (Drucktext{1600, 400, 16, true, kTitel}));
        for (int k = 0; k < K; ++k)
            EXPECT_EQ(t[2 + k], (Drucktext{f.kopf0 + 400 * k, 700, 14, true, d.klassen[f.b.cvon + k]}));
        EXPECT_EQ(t[2 + K], (Drucktext{f.links + 40, 950, 10, false, "F0"}));
    }
}

TEST(Gesamtdruck, ZellenNurWoStundenSind) {
    Druckdaten d = schule(2, 3);
    d.zeilen = {"D", "M", "M"};  // row 2: the hidden label of a slot-2 row
    d.zellen[0] = {stunde(40, "MarH"), stunde(0, "JohB"), stunde(25)};
    d.zellen[1] = {stunde(0), stunde(225, "JohB"), stunde(0)};
    const auto t = nux::texte(nux::gesamtseite(d, {0, 1, 0, 2}, kDatum));
    const std::vector<Drucktext> erwartet = {
        {4400, 200, 10, false, kDatum},  {1600, 400, 16, true, kTitel},  {2440, 700, 14, true, "1a"},
        {2840, 700, 14, true, "2a"},     {2150, 950, 10, false, "D"},    {2350, 950, 10, false, " 4,0"},
        {2500, 950, 10, false, "MarH"},  {2150, 1100, 10, false, "M"},   {2150, 1250, 10, false, "M"},
        {2350, 1250, 10, false, " 2,5"}, {2500, 1250, 10, false, "--"},  {2750, 1100, 10, false, "22,5"},
        {2900, 1100, 10, false, "JohB"},
    };
    EXPECT_EQ(t, erwartet);
}

TEST(Gesamtdruck, ZweiterZeilenblockWiederholtKopfUndZaehltZeilenNeu) {
    const Druckdaten d = schule(12, 40);
    const auto bloecke = nux::seitenbloecke(11, 39);
    ASSERT_EQ(bloecke.size(), 4u);
    const auto t = nux::texte(nux::gesamtseite(d, bloecke[3], kDatum));
    EXPECT_EQ(t[0].text, kDatum);
    EXPECT_EQ(t[1].text, kTitel);
    EXPECT_EQ(t[2], (Drucktext{2440, 700, 14, true, "11a"}));
    EXPECT_EQ(t[3], (Drucktext{2840, 700, 14, true, "12a"}));
    EXPECT_EQ(t[4], (Drucktext{2150, 950, 10, false, "F35"}));
    EXPECT_EQ(t.back(), (Drucktext{2900, 950 + 150 * 4, 10, false, "--"}));
    // Five rows: six horizontal lines, and the frame ends below the last row.
    const auto l = nux::linien(nux::gesamtseite(d, bloecke[3], kDatum));
    EXPECT_EQ(l[6], (Drucklinie{2110, 930, 2110, 930 + 150 * 5, 3}));
    EXPECT_EQ(l.size(), 6u + 4u);
}
