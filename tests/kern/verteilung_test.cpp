#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>

#include "assignment/kern/verteilung.h"
#include "kernhilfe.h"
#include "storage/datei.h"
#include "storage/jahr.h"
#include "storage/text.h"

using nux::Fachsatz;
using nux::Klassensatz;
using nux::Lehrersatz;
using nux::Listenaktion;
using nux::Verteilung;

namespace {

Fachsatz fach(const std::string& name, const std::string& kurz, int ordnung, bool unterrichtet = true) {
    Fachsatz f;
    f.name = name;
    f.kurz = kurz;
    f.ordnung = ordnung;
    f.unterrichtet = unterrichtet;
    return f;
}

Lehrersatz lehrer(const std::string& name, const std::string& kurz, std::int64_t stunden) {
    Lehrersatz l;
    l.name = name;
    l.kurz = kurz;
    l.stunden = stunden;
    return l;
}

struct Stunde {
    int j, s;
    std::int64_t h;
    std::string lehrer = {};
    std::string zusatz = {};
};

Klassensatz klasse(const std::string& name, const std::vector<Stunde>& stunden) {
    Klassensatz k;
    k.name = name;
    for (const auto& st : stunden) {
        k.h(st.j, st.s) = st.h;
        k.l(st.j, st.s) = st.lehrer;
        k.z(st.j, st.s) = st.zusatz;
    }
    return k;
}

// Subjects: 0 D (order 1), 1 M (order 0), 2 E (order 2, slot 3 only in 1b),
// 3 L not taught, 4 #S withdrawn.
std::vector<Fachsatz> faecher() {
    return {fach("Deutsch", "D", 1), fach("Mathematik", "Mat", 0), fach("Englisch", "E", 2),
            fach("Latein", "L", 3, false), fach("#Stenografie", "S", 4)};
}

std::vector<Lehrersatz> kollegium() {
    return {lehrer("Zora Zeh", "ZZ", 220), lehrer("Anna Alt", "AnnA", 200), lehrer("#Weg", "WW", 100),
            lehrer("Null Stunden", "NN", 0), lehrer("Bea Bu", "BeB", 150)};
}

std::vector<Klassensatz> klassen() {
    return {klasse("1a", {{1, 0, 40, "AnnA"}, {2, 0, 10}, {1, 1, 40}, {1, 3, 30, "ZZ"}, {1, 4, 20}}),
            klasse("1b", {{1, 0, 40}, {1, 1, 40, "", "Förderkurs"}, {3, 2, 15, "BeB"}, {1, 2, 0, "ZZ"}}),
            klasse("2a", {{1, 0, 35, "ZZ"}, {1, 1, 20, "", "   "}})};
}

Verteilung geladen() {
    Verteilung v;
    v.aufbauen(klassen(), faecher(), kollegium());
    return v;
}

int zeileVon(const Verteilung& v, const std::string& kurz) {
    for (int p = 1; v.lehrerzeile(p); ++p)
        if (nux::trimmen(nux::teil(v.verfuegbar()[static_cast<std::size_t>(p)], 1, 4)) == kurz) return p;
    return -1;
}

std::string frei(const Verteilung& v, int p) { return nux::teil(v.verfuegbar()[static_cast<std::size_t>(p)], 11, 15); }

// Finds the row of subject index s, slot j.
int zeile(const Verteilung& v, int s, int j) {
    for (int r = 0; r <= v.LastRow; ++r)
        if (v.RowKeys[0][static_cast<std::size_t>(r)] == s * 10 + j) return r;
    return -1;
}

}  // namespace

TEST(Verteilung, ZeilenFolgenFachordnungUndSlots) {
    const Verteilung v = geladen();
    // M (order 0) before D; D has slot 2 hours in 1a; E has hours only in slot 3.
    ASSERT_EQ(v.LastSubject, 3);
    EXPECT_EQ(v.SubjectOrder[0], "Mat 1    1");
    EXPECT_EQ(v.SubjectOrder[1], "D   11   0");
    EXPECT_EQ(v.SubjectOrder[2], "E     1  2");
    EXPECT_EQ(v.SubjectOrder[3], "L  X     3");  // not taught: no flags, no rows
    ASSERT_EQ(v.LastRow, 4);
    const std::vector<std::int32_t> schluessel = {11, 1, 2, 21, 23};
    for (int c = 0; c <= v.LastClass; ++c) EXPECT_EQ(v.RowKeys[static_cast<std::size_t>(c)], schluessel);
    EXPECT_EQ(v.zeilen(), (std::vector<std::string>{"Mat", "D", "D", "E", "E"}));
    EXPECT_EQ(v.zeilenslot(2), 2);
    EXPECT_EQ(v.zeilenslot(4), 3);
    EXPECT_EQ(v.zeilerechts(1), "D  ");
}

TEST(Verteilung, ZellenZeigenStundenLehrerUndZusatz) {
    const Verteilung v = geladen();
    const auto& d1a = v.zelle(0, zeile(v, 0, 1));
    EXPECT_EQ(d1a.stundentext, " 4,0");
    EXPECT_EQ(d1a.lehrer, "AnnA");
    EXPECT_FALSE(d1a.blau);
    EXPECT_TRUE(v.zelle(0, zeile(v, 0, 2)).frei());
    const auto& m1b = v.zelle(1, zeile(v, 1, 1));
    EXPECT_TRUE(m1b.blau);
    EXPECT_EQ(v.ExtraTexts[1][static_cast<std::size_t>(zeile(v, 1, 1))], "Förderkurs");
    // Blanks alone are no extra text, but are kept as stored.
    EXPECT_FALSE(v.zelle(2, zeile(v, 1, 1)).blau);
    EXPECT_EQ(v.ExtraTexts[2][static_cast<std::size_t>(zeile(v, 1, 1))], "   ");
    // A lesson of 0 hours keeps its stored teacher, hidden.
    const auto& e1b = v.zelle(1, zeile(v, 2, 1));
    EXPECT_FALSE(e1b.sichtbar());
    EXPECT_EQ(e1b.stundentext, "");
    EXPECT_EQ(e1b.lehrer, "ZZ");
}

TEST(Verteilung, SummenZaehlenAuchFaecherOhneZeile) {
    const Verteilung v = geladen();
    // 1a: 40+10+40+30(L, not taught, ZZ)+20(#S) = 140; 1b: 40+40+15 = 95; 2a: 35+20 = 55
    EXPECT_EQ(v.ClassHours, (std::vector<std::int64_t>{140, 95, 55}));
    EXPECT_EQ(v.TotalHours, 290);
    // AnnA 40, L of 1a 30 (ZZ), BeB 15, ZZ in 2a 35; the hidden ZZ of 1b has 0 hours.
    EXPECT_EQ(v.AssignedHours, 120);
}

TEST(Verteilung, VerfuegbarkeitslisteMitLoeschzeileSortiertUndSumme) {
    const Verteilung v = geladen();
    const auto& l = v.verfuegbar();
    ASSERT_EQ(l.size(), 6u);
    EXPECT_EQ(l[0], std::string("----") + std::string(196, ' ') + "-1");
    // Withdrawn and 0-hour teachers are not listed; lines sorted by text.
    EXPECT_EQ(l[1], "AnnA 20,0  16,0" + std::string(185, ' ') + "1");
    EXPECT_EQ(l[2], "BeB  15,0  13,5" + std::string(185, ' ') + "4");
    // ZZ loses the 3,5 of 2a; the not-taught lesson of 1a has no cell and takes nothing.
    EXPECT_EQ(l[3], "ZZ   22,0  18,5" + std::string(185, ' ') + "0");
    EXPECT_EQ(l[4], " ");
    EXPECT_EQ(l[5], "Summe   57,0");
    EXPECT_EQ(v.verfuegbarestunden(3), 185);
}

TEST(Verteilung, OhneLehrerdateiNurLoeschzeileUndSumme) {
    Verteilung v;
    v.aufbauen(klassen(), faecher(), std::nullopt);
    EXPECT_EQ(v.verfuegbar().size(), 3u);
    EXPECT_EQ(v.verfuegbar()[2], "Summe    0,0");
    EXPECT_EQ(v.AssignedHours, 120);  // teachers not listed still count
}

TEST(Verteilung, KlassenstundenMitGruppensummen) {
    const Verteilung v = geladen();
    EXPECT_EQ(v.klassenstunden(), (std::vector<std::string>{"1a   14,0", "1b    9,5", "  Su   23,5", "2a    5,5",
                                                            "  Su    5,5", " ", "Ges.   29,0"}));
    // Also without any grid row.
    Verteilung leer;
    leer.aufbauen({klasse("3c", {{1, 7, 25}})}, {fach("#X", "X", 0)}, std::nullopt);
    EXPECT_EQ(leer.LastRow, -1);
    EXPECT_EQ(leer.klassenstunden(), (std::vector<std::string>{"3c    2,5", "  Su    2,5", " ", "Ges.    2,5"}));
}

TEST(Verteilung, LadenSortiertBeiJederLadungNeu) {
    Verteilung v = geladen();
    v.lehrerein(0, zeile(v, 1, 1), zeileVon(v, "ZZ"));
    v.aufbauen(klassen(), faecher(), kollegium());
    EXPECT_EQ(v.verfuegbar()[0].substr(0, 4), "----");
    EXPECT_EQ(v.verfuegbar()[1].substr(0, 4), "AnnA");
    EXPECT_EQ(v.AssignedHours, 120);
}

TEST(Verteilung, EintragenAustragenErsetzen) {
    struct Fall {
        const char* name;
        int c, s, j;
        const char* waehle;    // teacher line selected, "" for none, "----" for the delete line
        const char* danach;    // text of the teacher cell afterwards
        std::int64_t zugewiesen;
        std::int64_t annA, beB, zz;  // available hours afterwards
        bool geaendert;
    };
    // Start: AssignedHours 120; AnnA 160, BeB 135, ZZ 185. Lesson M 1a (4,0) is free,
    // D 1a (4,0) is AnnA's.
    const Fall faelle[] = {
        {"frei eintragen", 0, 1, 1, "BeB", "BeB ", 160, 160, 95, 185, true},
        {"eigene Stunde wieder frei", 0, 0, 1, "AnnA", "--", 80, 200, 135, 185, true},
        {"fremde Stunde ersetzen", 0, 0, 1, "ZZ", "ZZ  ", 120, 200, 135, 145, true},
        {"Loeschzeile auf Lehrer", 0, 0, 1, "----", "--", 80, 200, 135, 185, true},
        {"Loeschzeile auf frei", 0, 1, 1, "----", "--", 120, 160, 135, 185, false},
        {"nichts gewaehlt", 0, 0, 1, "", "AnnA", 120, 160, 135, 185, false},
        {"Leerzeile gewaehlt", 0, 1, 1, " ", "--", 120, 160, 135, 185, false},
        {"Summenzeile gewaehlt", 0, 0, 1, "Summe", "AnnA", 120, 160, 135, 185, false},
    };
    for (const Fall& f : faelle) {
        SCOPED_TRACE(f.name);
        Verteilung v = geladen();
        const int n = static_cast<int>(v.verfuegbar().size());
        int p = -1;
        if (std::string(f.waehle) == "----") p = 0;
        else if (std::string(f.waehle) == " ") p = n - 2;
        else if (std::string(f.waehle) == "Summe") p = n - 1;
        else if (*f.waehle) p = zeileVon(v, f.waehle);
        const int r = zeile(v, f.s, f.j);
        EXPECT_EQ(v.lehrerein(f.c, r, p), f.geaendert);
        EXPECT_EQ(v.zelle(f.c, r).lehrer, f.danach);
        EXPECT_EQ(v.zelle(f.c, r).gruen, f.geaendert && std::string(f.danach) != "--");
        EXPECT_EQ(v.AssignedHours, f.zugewiesen);
        EXPECT_EQ(v.verfuegbarestunden(zeileVon(v, "AnnA")), f.annA);
        EXPECT_EQ(v.verfuegbarestunden(zeileVon(v, "BeB")), f.beB);
        EXPECT_EQ(v.verfuegbarestunden(zeileVon(v, "ZZ")), f.zz);
        EXPECT_EQ(nux::zehntellesen(frei(v, zeileVon(v, "ZZ"))), f.zz);
        EXPECT_EQ(v.verfuegbar()[static_cast<std::size_t>(n - 1)], "Summe   57,0");
    }
}

TEST(Verteilung, ZweimalKlickenGibtDieStundenZurueck) {
    Verteilung v = geladen();
    const int p = zeileVon(v, "BeB");
    const int r = zeile(v, 1, 1);
    const std::string vorher = v.verfuegbar()[static_cast<std::size_t>(p)];
    ASSERT_TRUE(v.lehrerein(2, r, p));  // M 2a, 2,0
    EXPECT_EQ(frei(v, p), " 11,5");
    EXPECT_EQ(v.AssignedHours, 140);
    ASSERT_TRUE(v.lehrerein(2, r, p));
    EXPECT_EQ(v.zelle(2, r).lehrer, "--");
    EXPECT_EQ(v.AssignedHours, 120);
    EXPECT_EQ(v.verfuegbar()[static_cast<std::size_t>(p)], vorher);
    // Hidden cells cannot be clicked.
    EXPECT_FALSE(v.lehrerein(1, zeile(v, 2, 1), p));
    EXPECT_EQ(v.zelle(1, zeile(v, 2, 1)).lehrer, "ZZ");
}

TEST(Verteilung, GleicherKurznameBeiZweiLehrern) {
    Verteilung v;
    v.aufbauen({klasse("1a", {{1, 0, 40, "Ma"}, {1, 1, 20}})}, {fach("Deutsch", "D", 0), fach("Mathe", "M", 1)},
               std::vector<Lehrersatz>{lehrer("Max Maier", "Ma", 200), lehrer("Martha Mai", "Ma", 100)});
    // Sorted by the whole text: "Ma   10,0" before "Ma   20,0". Loading takes from both.
    ASSERT_EQ(v.verfuegbarestunden(1), 60);
    ASSERT_EQ(v.verfuegbarestunden(2), 160);
    // Entering uses the selected line, removing gives back to the first one.
    ASSERT_TRUE(v.lehrerein(0, 1, 2));
    EXPECT_EQ(v.verfuegbarestunden(2), 140);
    ASSERT_TRUE(v.lehrerein(0, 1, 0));
    EXPECT_EQ(v.verfuegbarestunden(1), 80);
    EXPECT_EQ(v.verfuegbarestunden(2), 140);
}

TEST(Verteilung, NegativeVerfuegbareStundenBleibenExakt) {
    std::vector<Stunde> stunden;
    for (int s = 0; s < 40; ++s) stunden.push_back({1, s, 35});  // 40 lessons of 3,5
    std::vector<Fachsatz> f;
    for (int s = 0; s < 40; ++s) f.push_back(fach("F" + std::to_string(s), "F" + std::to_string(s), s));
    Verteilung v;
    v.aufbauen({klasse("1a", stunden)}, f, std::vector<Lehrersatz>{lehrer("Kurz", "K", 5)});
    for (int r = 0; r <= v.LastRow; ++r) ASSERT_TRUE(v.lehrerein(0, r, 1));
    // 0,5 - 140,0: the text keeps its sign and reads back to the value.
    EXPECT_EQ(v.verfuegbarestunden(1), 5 - 1400);
    EXPECT_EQ(nux::zehntellesen(nux::teil(v.verfuegbar()[1], 11, 20)), -1395);
    EXPECT_EQ(nux::teil(v.verfuegbar()[1], 1, 17), "K     0,5 -139,5 ");
    EXPECT_EQ(v.verfuegbar()[1].size(), 201u);
    EXPECT_EQ(v.verfuegbar()[1].back(), '0');
    for (int r = 0; r <= v.LastRow; ++r) ASSERT_TRUE(v.lehrerein(0, r, 1));
    EXPECT_EQ(nux::teil(v.verfuegbar()[1], 1, 17), "K     0,5   0,5  ");
    EXPECT_EQ(v.AssignedHours, 0);
}

TEST(Verteilung, GespeicherteKurznamenOhneFuellzeichenFindenIhreZeile) {
    // Another writer stored "ZZ" without the padding that this window writes.
    Verteilung v = geladen();
    const int r = zeile(v, 0, 1);
    const int zz = zeileVon(v, "ZZ");
    ASSERT_EQ(v.zelle(2, r).lehrer, "ZZ");
    v.hervorheben(zz);
    EXPECT_TRUE(v.zelle(2, r).gruen);
    ASSERT_TRUE(v.lehrerein(2, r, 0));
    EXPECT_EQ(v.verfuegbarestunden(zz), 220);
}

TEST(Verteilung, LeereOderStrichCodesSindKeineLehrer) {
    Verteilung v;
    v.aufbauen({klasse("1a", {{1, 0, 40, "    "}, {1, 1, 20, "--x"}, {1, 2, 10, "ZZ"}})},
               {fach("D", "D", 0), fach("M", "M", 1), fach("E", "E", 2)}, std::nullopt);
    EXPECT_TRUE(v.zelle(0, 0).frei());
    EXPECT_TRUE(v.zelle(0, 1).frei());
    EXPECT_EQ(v.AssignedHours, 10);
    // A teacher not listed stays in black, counts, and can be removed.
    EXPECT_FALSE(v.zelle(0, 2).gruen);
    ASSERT_TRUE(v.lehrerein(0, 2, 0));
    EXPECT_EQ(v.AssignedHours, 0);
}

TEST(Verteilung, HervorhebenUndListenaktionen) {
    Verteilung v = geladen();
    const int zz = zeileVon(v, "ZZ");
    v.lehrerein(0, zeile(v, 1, 1), zeileVon(v, "BeB"));
    v.hervorheben(zz);
    EXPECT_TRUE(v.zelle(2, zeile(v, 0, 1)).gruen);
    EXPECT_FALSE(v.zelle(0, zeile(v, 0, 1)).gruen);
    EXPECT_FALSE(v.zelle(0, zeile(v, 1, 1)).gruen);
    EXPECT_TRUE(v.zelle(0, zeile(v, 0, 2)).frei());
    v.hervorheben(0);
    for (int c = 0; c <= v.LastClass; ++c)
        for (int r = 0; r <= v.LastRow; ++r) EXPECT_FALSE(v.zelle(c, r).gruen);

    struct Fall {
        int p;
        bool alt, strg;
        Listenaktion erwartet;
    };
    const int n = static_cast<int>(v.verfuegbar().size());
    const Fall faelle[] = {
        {-1, false, false, Listenaktion::nichts},      {0, false, false, Listenaktion::hervorheben},
        {1, true, false, Listenaktion::drucken},       {1, false, true, Listenaktion::gesamtdruck},
        {0, true, true, Listenaktion::druckenalle},    {n - 2, false, false, Listenaktion::auswahlweg},
        {n - 1, true, true, Listenaktion::auswahlweg},
    };
    for (const Fall& f : faelle) EXPECT_EQ(v.listenaktion(f.p, f.alt, f.strg), f.erwartet) << f.p;
}

TEST(Verteilung, SpeichernBautLehrercodesNeu) {
    Verteilung v = geladen();
    v.lehrerein(2, zeile(v, 1, 1), zeileVon(v, "BeB"));
    const auto k = v.speicherdaten();
    ASSERT_EQ(k.size(), 3u);
    EXPECT_EQ(k[2].l(1, 1), "BeB ");   // as the cell shows it, four characters
    EXPECT_EQ(k[2].l(1, 0), "ZZ");
    EXPECT_EQ(k[0].l(1, 3), "");       // not taught: no row, teacher gone
    EXPECT_EQ(k[1].l(1, 2), "ZZ");     // hidden 0-hour lesson keeps its teacher
    EXPECT_EQ(k[1].l(3, 2), "BeB");
    // Hours and extra texts are written back as loaded.
    for (std::size_t c = 0; c < 3; ++c) {
        EXPECT_EQ(k[c].stunden, klassen()[c].stunden);
        EXPECT_EQ(k[c].zusatz, klassen()[c].zusatz);
    }
}

TEST(Verteilung, DruckdatenWieDasFensterZeigt) {
    kernhilfe::Ordner o;
    nux::jahrsetzen("2026 1");
    Verteilung v = geladen();
    v.lehrerein(0, zeile(v, 1, 1), zeileVon(v, "BeB"));
    const nux::Druckdaten d = v.druckdaten();
    nux::jahrsetzen("");
    EXPECT_EQ(d.jahr, "2026 1");
    EXPECT_EQ(d.klassen, (std::vector<std::string>{"1a", "1b", "2a"}));
    EXPECT_EQ(d.zeilen, v.zeilen());
    ASSERT_EQ(d.zellen.size(), 3u);
    const auto& z = d.zellen[0][static_cast<std::size_t>(zeile(v, 1, 1))];
    EXPECT_EQ(z.stunden, " 4,0");
    EXPECT_EQ(z.lehrer, "BeB ");
    EXPECT_TRUE(z.sichtbar);
    const auto& versteckt = d.zellen[1][static_cast<std::size_t>(zeile(v, 2, 1))];
    EXPECT_FALSE(versteckt.sichtbar);
    EXPECT_EQ(versteckt.lehrer, "ZZ");
    EXPECT_EQ(d.zellen[1][static_cast<std::size_t>(zeile(v, 1, 1))].zusatz, "Förderkurs");
    EXPECT_EQ(d.verfuegbar, v.verfuegbar());
}

class VerteilungDateien : public ::testing::Test {
protected:
    kernhilfe::Ordner ordner;
    void SetUp() override {
        std::filesystem::create_directory("2026 1");
        nux::jahrsetzen("2026 1");
    }
    void TearDown() override { nux::jahrsetzen(""); }
    static void alleschreiben() {
        nux::neuschreiben("2026 1/klassen", klassen());
        nux::neuschreiben("2026 1/faecher", faecher());
        nux::neuschreiben("2026 1/lehrer", kollegium());
    }
};

TEST_F(VerteilungDateien, FehlendeDateienInDerReihenfolgeDerHinweise) {
    EXPECT_EQ(Verteilung::fehlendedateien(), (std::vector<std::string>{"klassen", "faecher", "lehrer"}));
    nux::neuschreiben("2026 1/faecher", faecher());
    EXPECT_EQ(Verteilung::fehlendedateien(), (std::vector<std::string>{"klassen", "lehrer"}));
    alleschreiben();
    EXPECT_TRUE(Verteilung::fehlendedateien().empty());
}

TEST_F(VerteilungDateien, SpeichernZweimalGleicheBytesUndWiederLadbar) {
    alleschreiben();
    Verteilung v;
    v.laden();
    v.lehrerein(0, zeile(v, 1, 1), zeileVon(v, "AnnA"));
    v.speichern();
    const auto erst = nux::dateilesen("2026 1/klassen");
    v.speichern();
    EXPECT_EQ(nux::dateilesen("2026 1/klassen"), erst);
    ASSERT_EQ(erst.size(), 3 * Klassensatz::groesse);
    // The teacher code of M in 1a: length 4, "AnnA".
    const std::size_t o = nux::klassenLehrerOffset(1, 1);
    EXPECT_EQ(erst[o], 4);
    EXPECT_EQ(std::string(erst.begin() + static_cast<long>(o) + 1, erst.begin() + static_cast<long>(o) + 5), "AnnA");
    Verteilung w;
    w.laden();
    EXPECT_EQ(w.zelle(0, zeile(w, 1, 1)).lehrer, "AnnA");
    EXPECT_FALSE(w.zelle(0, zeile(w, 1, 1)).gruen);
    EXPECT_EQ(w.AssignedHours, 120 - 30 + 40);  // the not-taught lesson lost its teacher
}

TEST_F(VerteilungDateien, OhneKlassenWirdNichtsGeschrieben) {
    Verteilung v;
    v.speichern();
    EXPECT_FALSE(std::filesystem::exists("2026 1/klassen"));
}

TEST_F(VerteilungDateien, GrenzenUndDefekteDateienLadenNichts) {
    struct Fall {
        const char* name;
        std::function<void()> vorbereiten;
        const char* meldung;
    };
    const Fall faelle[] = {
        {"102 Klassen",
         [] { nux::neuschreiben("2026 1/klassen", std::vector<Klassensatz>(102, klasse("1a", {{1, 0, 10}}))); },
         nux::kBereich},
        {"102 Faecher",
         [] {
             std::vector<Fachsatz> f(102, fach("F", "F", 0));
             nux::neuschreiben("2026 1/faecher", f);
         },
         nux::kBereich},
        {"leere Klassendatei", [] { std::ofstream("2026 1/klassen", std::ios::trunc); }, nux::kDateiende},
        {"leere Lehrerdatei", [] { std::ofstream("2026 1/lehrer", std::ios::trunc); }, nux::kDateiende},
        {"abgeschnittene Faecher", [] { std::ofstream("2026 1/faecher", std::ios::trunc) << "abc"; }, nux::kDateiende},
    };
    for (const Fall& f : faelle) {
        SCOPED_TRACE(f.name);
        alleschreiben();
        Verteilung v;
        v.aufbauen(klassen(), faecher(), kollegium());  // something loaded before
        f.vorbereiten();
        try {
            v.laden();
            ADD_FAILURE() << "kein Fehler";
        } catch (const nux::Dateifehler& e) {
            EXPECT_STREQ(e.what(), f.meldung);
        }
        EXPECT_EQ(v.LastClass, -1);
        EXPECT_EQ(v.LastRow, -1);
        EXPECT_TRUE(v.verfuegbar().empty());
        const auto vorher = nux::dateilesen("2026 1/klassen");
        v.speichern();  // writes nothing after a failed load
        EXPECT_EQ(nux::dateilesen("2026 1/klassen"), vorher);
    }
}

TEST(Verteilung, GroessteSchuleMitGleicherGeometrie) {
    // 101 classes, 51 subjects with three slots: 153 rows, subject index 100 reachable.
    std::vector<Fachsatz> f;
    for (int s = 0; s < 101; ++s) f.push_back(fach((s < 50 ? "#" : "") + std::string("F"), "F", s));
    std::vector<Klassensatz> k;
    for (int c = 0; c < 101; ++c) {
        std::vector<Stunde> st;
        for (int s = 50; s <= 100; ++s)
            for (int j = 1; j <= 3; ++j) st.push_back({j, s, 10});
        k.push_back(klasse(std::to_string(c), st));
    }
    Verteilung v;
    v.aufbauen(k, f, std::nullopt);
    EXPECT_EQ(v.LastClass, 100);
    EXPECT_EQ(v.LastRow, 152);
    EXPECT_EQ(v.RowKeys[100][152], 1003);
    EXPECT_EQ(v.TotalHours, 101 * 153 * 10);
    EXPECT_EQ(nux::raster::zeileY(152), 20 + 12 * 152);
    EXPECT_EQ(nux::raster::breite(101), 75 * 101 + 92);
    const auto gespeichert = v.speicherdaten();
    EXPECT_EQ(gespeichert.size(), 101u);
}

TEST(Verteilung, ZehntelganzSchneidetNie) {
    EXPECT_EQ(nux::zehntelganz(15, 4), " 1,5");
    EXPECT_EQ(nux::zehntelganz(-1000, 5), "-100,0");
    EXPECT_EQ(nux::zehntelganz(12345, 4), "1234,5");
    EXPECT_EQ(nux::zehntelganz(-5, 5), " -0,5");
    for (std::int64_t w : {0, 1, -1, -19, 999, -999, 1000, -1001, 123456789})
        EXPECT_EQ(nux::zehntellesen(nux::zehntelganz(w, 5)), w) << w;
}
