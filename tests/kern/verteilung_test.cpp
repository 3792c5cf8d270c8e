#include <gtest/gtest.h>

#include <fstream>
#include <random>

#include "assignment/kern/verteilung.h"
#include "kernhilfe.h"
#include "storage/text.h"

using namespace nux;

namespace {

using kernhilfe::klasse;
using kernhilfe::Stunde;

// Subjects: 0 D (order 1), 1 M (order 0), 2 E (order 2, slot 3 only in 1b),
// 3 L not taught, 4 #S withdrawn.
std::vector<Fachsatz> faecher() {
    return {{"Deutsch", "D", 1}, {"Mathematik", "Mat", 0}, {"Englisch", "E", 2},
            {"Latein", "L", 3, false}, {"#Stenografie", "S", 4}};
}

// Listed as 1 AnnA, 2 BeB, 3 ZZ; withdrawn and 0-hour teachers are not.
std::vector<Lehrersatz> kollegium() {
    return {{"Zora Zeh", "ZZ", 220}, {"Anna Alt", "AnnA", 200}, {"#Weg", "WW", 100},
            {"Null Stunden", "NN", 0}, {"Bea Bu", "BeB", 150}};
}
enum { kLoeschen = 0, kAnnA = 1, kBeB = 2, kZZ = 3, kLeer = 4, kSumme = 5 };

// ZZ in 2a is stored without the padding this window writes, as another writer
// may; a blank code and one starting with "--" name no teacher.
std::vector<Klassensatz> klassen() {
    return {klasse("1a", {{1, 0, 40, "AnnA"}, {2, 0, 10}, {1, 1, 40, "    "}, {1, 3, 30, "ZZ"}, {1, 4, 20}}),
            klasse("1b", {{1, 0, 40}, {1, 1, 40, "", "Förderkurs"}, {3, 2, 15, "BeB"}, {1, 2, 0, "ZZ"}}),
            klasse("2a", {{1, 0, 35, "ZZ"}, {1, 1, 20, "--x", "   "}})};
}

Verteilung geladen() {
    Verteilung v;
    v.aufbauen(klassen(), faecher(), kollegium());
    return v;
}

// The grid row of subject index s, slot j.
int zeile(const Verteilung& v, int s, int j) {
    for (int r = 0; r <= v.LastRow; ++r)
        if (v.RowKeys[0][static_cast<std::size_t>(r)] == s * 10 + j) return r;
    return -1;
}

}  // namespace

TEST(Verteilung, LadenBautZeilenZellenUndSummen) {
    const Verteilung v = geladen();
    // M (order 0) before D; D has slot 2 hours in 1a; E has hours only in slot 3; L is not taught.
    for (int c = 0; c <= v.LastClass; ++c)
        EXPECT_EQ(v.RowKeys[static_cast<std::size_t>(c)], (std::vector<std::int32_t>{11, 1, 2, 21, 23}));
    EXPECT_EQ(v.zeilen(), (std::vector<std::string>{"Mat", "D", "D", "E", "E"}));
    EXPECT_EQ(v.zelle(0, zeile(v, 0, 1)).stundentext + v.zelle(0, zeile(v, 0, 2)).lehrer, " 4,0--");
    // Blanks alone are no extra text, but kept. A lesson of 0 hours keeps its stored teacher, hidden.
    EXPECT_TRUE(v.zelle(1, zeile(v, 1, 1)).blau && !v.zelle(2, zeile(v, 1, 1)).blau &&
                v.ExtraTexts[2][static_cast<std::size_t>(zeile(v, 1, 1))] == "   ");
    EXPECT_TRUE(!v.zelle(1, zeile(v, 2, 1)).sichtbar() && v.zelle(1, zeile(v, 2, 1)).lehrer == "ZZ");
    // Subjects not taught or withdrawn count: 1a 40+10+40+30+20.
    // AssignedHours: AnnA 40, ZZ 30 (L) and 35, BeB 15; "    " and "--x" none.
    EXPECT_EQ(std::make_tuple(v.ClassHours, v.TotalHours, v.AssignedHours),
              std::make_tuple(std::vector<std::int64_t>{140, 95, 55}, std::int64_t{290}, std::int64_t{120}));
    EXPECT_EQ(v.klassenstunden(), (std::vector<std::string>{"1a   14,0", "1b    9,5", "  Su   23,5", "2a    5,5",
                                                            "  Su    5,5", " ", "Ges.   29,0"}));
    // Above index 50 lie another program's hours: they count nowhere; index 50 still does.
    Verteilung w;
    w.aufbauen({klasse("1a", {{1, 50, 5, "ZZ"}, {1, 51, 7, "ZZ"}, {2, 70, 9, "ZZ"}, {3, 100, 11}})}, faecher(), kollegium());
    EXPECT_EQ((std::vector<std::int64_t>{w.TotalHours, w.AssignedHours, w.ClassHours[0]}), (std::vector<std::int64_t>{5, 5, 5}));
}

TEST(Verteilung, VerfuegbarkeitslisteBeiJederLadungSortiert) {
    Verteilung v = geladen();
    v.lehrerein(0, zeile(v, 1, 1), kZZ);
    v.aufbauen(klassen(), faecher(), kollegium());
    EXPECT_EQ(v, geladen());  // a new load forgets every gesture before it
    const std::string r(185, ' ');
    // Withdrawn and 0-hour teachers are not listed; the not-taught lesson takes nothing.
    EXPECT_EQ(v.verfuegbar(), (std::vector<std::string>{std::string("----") + std::string(196, ' ') + "-1",
                                                        "AnnA 20,0  16,0" + r + "1", "BeB  15,0  13,5" + r + "4",
                                                        "ZZ   22,0  18,5" + r + "0", " ", "Summe   57,0"}));
    v.aufbauen(klassen(), faecher(), std::nullopt);
    EXPECT_EQ(v.verfuegbar(), (std::vector<std::string>{std::string("----") + std::string(196, ' ') + "-1", " ",
                                                        "Summe    0,0"}));
    EXPECT_EQ(v.AssignedHours, 120);  // teachers not listed still count, and can be removed
    ASSERT_TRUE(v.lehrerein(0, zeile(v, 0, 1), kLoeschen));
    EXPECT_EQ(v.AssignedHours, 80);
}

TEST(Verteilung, EintragenAustragenErsetzen) {
    // The lesson of class c, subject s, slot j clicked with line p selected (-1: none); the teacher
    // cell afterwards, AssignedHours and the available hours of AnnA, BeB and ZZ afterwards.
    struct Fall { const char* name; int c, s, j, p; const char* danach; std::int64_t zugewiesen, annA, beB, zz; bool geaendert; };
    // Start: AssignedHours 120; AnnA 160, BeB 135, ZZ 185. M 1a (4,0) is free, D 1a (4,0) AnnA's.
    const Fall faelle[] = {
        {"frei eintragen", 0, 1, 1, kBeB, "BeB ", 160, 160, 95, 185, true},
        {"eigene Stunde wieder frei", 0, 0, 1, kAnnA, "--", 80, 200, 135, 185, true},
        {"fremde Stunde ersetzen", 0, 0, 1, kZZ, "ZZ  ", 120, 200, 135, 145, true},
        {"Loeschzeile auf Lehrer", 0, 0, 1, kLoeschen, "--", 80, 200, 135, 185, true},
        {"ungefuelltes ZZ austragen", 2, 0, 1, kLoeschen, "--", 85, 160, 135, 220, true},
        {"Loeschzeile auf frei", 0, 1, 1, kLoeschen, "--", 120, 160, 135, 185, false},
        {"versteckte Stunde", 1, 2, 1, kBeB, "ZZ", 120, 160, 135, 185, false},
        {"nichts gewaehlt", 0, 0, 1, -1, "AnnA", 120, 160, 135, 185, false},
        {"Leerzeile gewaehlt", 0, 1, 1, kLeer, "--", 120, 160, 135, 185, false},
        {"Summenzeile gewaehlt", 0, 0, 1, kSumme, "AnnA", 120, 160, 135, 185, false},
    };
    for (const Fall& f : faelle) {
        SCOPED_TRACE(f.name);
        Verteilung v = geladen();
        const int r = zeile(v, f.s, f.j);
        EXPECT_EQ(v.lehrerein(f.c, r, f.p).has_value(), f.geaendert);
        EXPECT_EQ(std::make_pair(v.zelle(f.c, r).lehrer, v.zelle(f.c, r).gruen),
                  std::make_pair(std::string(f.danach), f.geaendert && std::string(f.danach) != "--"));
        EXPECT_EQ(std::make_tuple(v.AssignedHours, v.verfuegbarestunden(kAnnA), v.verfuegbarestunden(kBeB),
                                  v.verfuegbarestunden(kZZ)), std::make_tuple(f.zugewiesen, f.annA, f.beB, f.zz));
        EXPECT_EQ(v.verfuegbar()[kSumme], "Summe   57,0");
    }
}

TEST(Verteilung, HervorhebenFaerbtDieStundenDesGewaehltenLehrers) {
    Verteilung v = geladen();
    const auto gruen = [&v] {
        std::vector<std::pair<int, int>> g;
        for (int c = 0; c <= v.LastClass; ++c)
            for (int r = 0; r <= v.LastRow; ++r)
                if (v.zelle(c, r).gruen) g.push_back({c, r});
        return g;
    };
    using Zellen = std::vector<std::pair<int, int>>;
    const Zellen zz = {{1, zeile(v, 2, 1)}, {2, zeile(v, 0, 1)}};  // the hidden 0-hour lesson too
    // Applied one after the other; a position outside the list changes nothing.
    const std::pair<int, Zellen> faelle[] = {
        {kZZ, zz}, {6, zz}, {-1, zz}, {kAnnA, {{0, zeile(v, 0, 1)}}}, {kBeB, {{1, zeile(v, 2, 3)}}},
        {kLoeschen, {}}, {kZZ, zz}, {kLeer, {}}, {kZZ, zz}, {kSumme, {}},
    };
    for (const auto& [p, erwartet] : faelle) {
        v.hervorheben(p);
        EXPECT_EQ(gruen(), erwartet) << p;
    }
    // A press on a line with Alt and Ctrl; the blank and the sum line only clear the selection.
    using A = Listenaktion;
    const std::tuple<int, bool, bool, A> aktionen[] = {
        {kZZ, false, false, A::hervorheben}, {kAnnA, true, false, A::drucken}, {kBeB, false, true, A::gesamtdruck},
        {kZZ, true, true, A::druckenalle},   {kLeer, false, false, A::auswahlweg}, {kSumme, true, true, A::auswahlweg},
        {-1, false, false, A::nichts},       {kLoeschen, false, false, A::hervorheben}};
    for (const auto& [p, alt, strg, aktion] : aktionen) EXPECT_EQ(v.listenaktion(p, alt, strg), aktion) << p;
}

TEST(Verteilung, GleicherKurznameBeiZweiLehrern) {
    Verteilung v;
    v.aufbauen({klasse("1a", {{1, 0, 40, "Ma"}, {1, 1, 20}})}, {{"Deutsch", "D", 0}, {"Mathe", "M", 1}},
               std::vector<Lehrersatz>{{"Max Maier", "Ma", 200}, {"Martha Mai", "Ma", 100}});
    // Sorted by the whole text: "Ma   10,0" before "Ma   20,0". Loading takes from both.
    ASSERT_EQ(std::make_pair(v.verfuegbarestunden(1), v.verfuegbarestunden(2)), std::make_pair(60L, 160L));
    // Entering uses the selected line, removing gives back to the first one.
    ASSERT_TRUE(v.lehrerein(0, 1, 2));
    ASSERT_TRUE(v.lehrerein(0, 1, 0));
    EXPECT_EQ(std::make_pair(v.verfuegbarestunden(1), v.verfuegbarestunden(2)), std::make_pair(80L, 140L));
}

TEST(Verteilung, NegativeVerfuegbareStundenBleibenExakt) {
    std::vector<Stunde> stunden;
    std::vector<Fachsatz> f;
    for (int s = 0; s < 40; ++s) stunden.push_back({1, s, 35}), f.push_back({"F" + std::to_string(s), "F", s});
    Verteilung v;
    v.aufbauen({klasse("1a", stunden)}, f, std::vector<Lehrersatz>{{"Kurz", "K", 5}});
    for (int r = 0; r <= v.LastRow; ++r) ASSERT_TRUE(v.lehrerein(0, r, 1));
    // 0,5 - 140,0: the text keeps its sign and reads back to the value.
    EXPECT_EQ(v.verfuegbarestunden(1), 5 - 1400);
    EXPECT_EQ(v.verfuegbar()[1], "K     0,5 -139,5 " + std::string(183, ' ') + "0");
}

// Random schools (short names repeated with and without padding, stored
// teachers without a line, lessons of 0 hours) and gestures at random places,
// valid or not: every step back meets the state before it, every step forward
// again the state after it, and a gesture that reports nothing changed nothing.
TEST(Verteilung, ZufaelligeGestenVorUndZurueck) {
    const char* const kurz[] = {"AB", "AB  ", "Cd", "X", "Lang", "--", ""};
    for (unsigned saat = 1; saat <= 200; ++saat) {
        SCOPED_TRACE(saat);
        std::mt19937 zufall(saat);
        const auto von = [&](int a, int b) { return a + static_cast<int>(zufall() % static_cast<unsigned>(b - a + 1)); };
        std::vector<Fachsatz> faecher(static_cast<std::size_t>(von(2, 7)));
        for (std::size_t s = 0; s < faecher.size(); ++s)
            faecher[s] = {von(0, 4) ? "Fach" : "#weg", std::string(1, static_cast<char>('A' + s)), von(0, 3), von(0, 5) != 0};
        std::vector<Lehrersatz> lehrer(static_cast<std::size_t>(von(1, 5)));
        for (auto& l : lehrer) l = {von(0, 5) ? "Name" : "#weg", kurz[von(0, 4)], von(0, 299)};
        std::vector<Klassensatz> klassen(static_cast<std::size_t>(von(1, 4)));
        for (auto& k : klassen)
            for (int j = 1; j <= kSlots; ++j)
                for (int s = 0; s < static_cast<int>(faecher.size()); ++s)
                    if (von(0, 2)) std::tie(k.h(j, s), k.l(j, s)) = std::make_tuple(von(0, 4) ? von(0, 59) : 0, kurz[von(0, 6)]);
        Verteilung v;
        v.aufbauen(std::move(klassen), faecher, von(0, 7) ? std::optional(lehrer) : std::nullopt);

        std::vector<Verteilung> staende{v};
        std::vector<Aenderung> schritte;
        for (int i = 0; i < 60; ++i) {
            auto a = v.lehrerein(von(-1, v.LastClass + 1), von(-1, v.LastRow + 1), von(-1, static_cast<int>(v.verfuegbar().size())));
            ASSERT_EQ(v == staende.back(), !a);
            if (a) schritte.push_back(std::move(*a)), staende.push_back(v);
        }
        for (std::size_t i = schritte.size(); i-- > 0;) {
            v.zuruecknehmen(schritte[i]);
            ASSERT_EQ(v, staende[i]) << "back to step " << i;
        }
        for (std::size_t i = 0; i < schritte.size(); ++i) {
            v.wiederholen(schritte[i]);
            ASSERT_EQ(v, staende[i + 1]) << "forward to step " << i + 1;
        }
    }
}

class VerteilungDateien : public ::testing::Test {
protected:
    kernhilfe::Jahr jahr;
    void SetUp() override {
        nux::neuschreiben("2026 1/klassen", klassen());
        nux::neuschreiben("2026 1/faecher", faecher());
        nux::neuschreiben("2026 1/lehrer", kollegium());
    }
};

TEST_F(VerteilungDateien, LadenSpeichernUndDruckdatenWieDasFensterZeigt) {
    Verteilung v;
    v.laden();
    EXPECT_EQ(v, geladen());
    v.lehrerein(2, zeile(v, 1, 1), kBeB);
    const auto k = v.speicherdaten();
    // As the cell shows it, four characters; not taught: no row, teacher gone;
    // the hidden 0-hour lesson keeps its teacher. Hours and extra texts as loaded.
    EXPECT_EQ(k[2].l(1, 1) + "|" + k[0].l(1, 3) + "|" + k[1].l(1, 2), "BeB ||ZZ");
    for (std::size_t c = 0; c < 3; ++c)
        EXPECT_TRUE(k[c].stunden == klassen()[c].stunden && k[c].zusatz == klassen()[c].zusatz) << c;
    v.speichern();
    EXPECT_EQ(nux::laden<Klassensatz>("2026 1/klassen"), k);

    const nux::Druckdaten d = v.druckdaten();
    EXPECT_EQ(d.jahr + ":" + d.klassen[0] + d.klassen[1] + d.klassen[2], "2026 1:1a1b2a");
    EXPECT_TRUE(d.zeilen == v.zeilen() && d.verfuegbar == v.verfuegbar() && d.zellen.size() == 3u);
    const auto& z = d.zellen[1][static_cast<std::size_t>(zeile(v, 1, 1))];
    const auto& verborgen = d.zellen[1][static_cast<std::size_t>(zeile(v, 2, 1))];
    EXPECT_EQ(std::tie(z.stunden, z.lehrer, z.sichtbar, z.zusatz, verborgen.sichtbar, verborgen.lehrer),
              std::make_tuple(" 4,0", "--", true, "Förderkurs", false, "ZZ"));
    std::filesystem::remove("2026 1/lehrer");
    std::filesystem::remove("2026 1/klassen");
    EXPECT_EQ(Verteilung::fehlendedateien(), (std::vector<std::string>{"klassen", "lehrer"}));
}

TEST_F(VerteilungDateien, GrenzenUndDefekteDateienLadenNichts) {
    const std::pair<std::function<void()>, const char*> faelle[] = {
        {[] { nux::neuschreiben("2026 1/klassen", std::vector<Klassensatz>(102)); }, nux::kBereich},
        {[] { nux::neuschreiben("2026 1/faecher", std::vector<Fachsatz>(102)); }, nux::kBereich},
        {[] { std::ofstream("2026 1/lehrer"); }, nux::kDateiende},
    };
    for (const auto& [vorbereiten, meldung] : faelle) {
        SetUp();
        Verteilung v;
        v.aufbauen(klassen(), faecher(), kollegium());  // something loaded before
        vorbereiten();
        EXPECT_EQ(kernhilfe::meldung([&v] { v.laden(); }), meldung);
        EXPECT_TRUE(v.LastClass == -1 && v.LastRow == -1 && v.verfuegbar().empty());
        const auto vorher = nux::dateilesen("2026 1/klassen");
        v.speichern();  // writes nothing after a failed load
        EXPECT_EQ(nux::dateilesen("2026 1/klassen"), vorher);
    }
}
