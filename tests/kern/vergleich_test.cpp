#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>

#include "kernhilfe.h"
#include "years/kern/vergleich.h"

using kernhilfe::klasse;
using nux::Stundenvergleich;

namespace {

// A: subjects D, M, E; B has them in another order, without E, with PH.
nux::Jahresplan planA() {
    return {"2026 1",
            {{"Deutsch", "D", 0}, {"Mathematik", "M", 1}, {"Englisch", "E", 2}},
            {{"Anna", "AnnA", 220}, {"Rudi", "Ra", 100}, {"Alma", "Alt", 50}, {"#Weg", "Weg", 10}},
            {klasse("1a", {{1, 0, 40, "AnnA"}, {1, 1, 40, "Ra"}, {1, 2, 20}}), klasse("1b", {{1, 0, 40, "Ra"}, {1, 2, 0, "Ra"}}),
             klasse("3c", {{1, 1, 20, "AnnA"}})},
            std::nullopt};
}
nux::Jahresplan planB() {
    return {"2026 2",
            {{"Mathematik", "M", 0}, {"Deutsch", "D", 1}, {"Physik", "PH", 3}},
            {{"Anna", "AnnA", 200}, {"Rudi", "Ra", 100}, {"Nora", "Neu", 80}},
            {klasse("1a", {{1, 0, 40, "Neu"}, {1, 1, 30, "AnnA"}, {1, 2, 10}}), klasse("1b", {{1, 1, 40, "Ra"}}),
             klasse("2x", {{1, 1, 20}})},
            std::nullopt};
}

}  // namespace

TEST(Vergleich, JedeArtVonUnterschied) {
    const auto v = nux::vergleichen(planA(), planB());
    // Teacher changed, hours changed, a lesson only in B, a lesson only in A;
    // 1b is the same although D has another subject index, and a teacher
    // without hours in E is no lesson.
    EXPECT_EQ(v.stunden, (std::vector<Stundenvergleich>{{"1a", "1a", "M", 1, "Ra", "Neu", 40, 40},
                                                       {"1a", "1a", "D", 1, "AnnA", "AnnA", 40, 30},
                                                       {"1a", "1a", "PH", 1, "", "", 0, 10},
                                                       {"1a", "1a", "E", 1, "", "", 20, 0}}));
    EXPECT_EQ(v.nurA, std::vector<std::string>{"3c"});
    EXPECT_EQ(v.nurB, std::vector<std::string>{"2x"});
    std::vector<std::tuple<std::string, std::int64_t, std::int64_t, std::int64_t, bool, bool>> lehrer;
    for (const auto& l : v.lehrer) lehrer.emplace_back(l.kurz, l.soll, l.a, l.b, l.nurA, l.nurB);
    EXPECT_EQ(lehrer, (decltype(lehrer){{"Neu", 80, 0, 40, false, true},
                                        {"Ra", 100, 80, 40, false, false},
                                        {"AnnA", 200, 60, 30, false, false},
                                        {"Alt", 50, 0, 0, true, false}}));
    EXPECT_EQ(std::make_tuple(v.geaendert(), v.lehrergeaendert, v.offenA, v.offenB), std::make_tuple(4, 3, 20, 30));
    EXPECT_EQ(v.zusammenfassung(), "4 Unterrichte ge\xE4ndert, 3 LehrerInnen mit ge\xE4nderten Stunden, offen: "
                                   "2,0 Std. in 2026-1, 3,0 Std. in 2026-2");
    const auto m = nux::vergleichsmappe(v, "07.12.2026 23:40:00");
    ASSERT_EQ(m.blaetter.size(), 2u);
    EXPECT_EQ(m.blaetter[0].name + "|" + m.blaetter[1].name, "LehrerInnen|\xC4nderungen");
    EXPECT_EQ(m.blaetter[0].zelle(4, 0).text + m.blaetter[1].zelle(4, 5).text, "NeuNeu");
    EXPECT_EQ(m.blaetter[1].zelle(9, 1).text + m.blaetter[1].zelle(10, 1).text, "3c2x");
}

// Last year's 1a against this year's 2a is continuity, in either direction.
TEST(Vergleich, NachVersetzungNachDerZuordnung) {
    auto a = planA();
    a.klassen.pop_back();
    nux::Jahresplan c = a;
    c.jahr = "2027 1";
    c.klassen = {klasse("1a", {{1, 0, 40}}), klasse("2a", {{1, 0, 40, "AnnA"}, {1, 1, 40, "Ra"}, {1, 2, 20}}),
                 klasse("2b", {{1, 0, 40, "Ra"}})};
    c.herkunft = nux::Herkunft{"2026 1", true, {{"1a", "2a"}, {"1b", "2b"}}};
    const auto v = nux::vergleichen(a, c);
    EXPECT_TRUE(v.versetzt);
    EXPECT_TRUE(v.stunden.empty());
    EXPECT_EQ(v.nurA.size() + v.nurB.size(), 1u);
    EXPECT_EQ(v.nurB, std::vector<std::string>{"1a"});
    const auto r = nux::vergleichen(c, a);
    EXPECT_TRUE(r.stunden.empty());
    EXPECT_EQ(r.nurA, std::vector<std::string>{"1a"});
    // Without the mapping the names meet: 1a against 1a differs, 2a and 2b are new.
    c.herkunft->versetzt = false;
    EXPECT_EQ(nux::vergleichen(a, c).nurB, (std::vector<std::string>{"2a", "2b"}));
}

TEST(Vergleich, NurZweiVerschiedeneJahresordner) {
    kernhilfe::Ordner ordner;
    std::filesystem::create_directory("2026 1");
    std::filesystem::create_directory("2027 1");
    EXPECT_EQ(nux::vergleichpruefen("2026 1", "2027 1"), "");
    EXPECT_EQ(kernhilfe::meldung([] { nux::jahrevergleichen("2026 1", "2026 1"); }),
              "Ein Jahr wird mit sich selbst verglichen: bitte zwei verschiedene Jahre w\xC3\xA4hlen.");
    EXPECT_EQ(kernhilfe::meldung([] { nux::jahrevergleichen("2026 1", "2030 1"); }),
              "\xE2\x80\x9E" "2030 1\xE2\x80\x9C ist kein Jahresordner dieses Programmordners.");
    // Years without files compare as empty plans.
    EXPECT_EQ(nux::jahrevergleichen("2026 1", "2027 1").geaendert(), 0);

    // Read from the bytes: every share up to the last subject counted, and
    // the mapping of a promotion.
    const auto k = klasse("1a", {{1, 0, 40, "AnnA"}, {2, 7, 15, "Ra"}, {nux::kSlots, 50, 5, "Bo"}, {1, 51, 20, "Ra"}});
    nux::neuschreiben("2026 1/klassen", std::vector{k});
    const nux::Herkunft h{"2026 1", true, {{"1a", "2a"}}};
    nux::herkunftspeichern("2027 1", h);
    const auto p = nux::planladen("2026 1");
    ASSERT_EQ(p.klassen.size(), 1u);
    EXPECT_EQ(p.klassen[0].name, "1a");
    EXPECT_EQ(p.klassen[0].h, nux::Klassenauszug(k).h);
    EXPECT_EQ(p.klassen[0].l, nux::Klassenauszug(k).l);
    EXPECT_EQ(p.klassen[0].h[nux::kSlots - 1][50], 5);
    EXPECT_EQ(nux::planladen("2027 1").herkunft, h);
}

// A small comparison prints on one page; every heading stands over its
// column, and the summary at the margin of the title.
TEST(Vergleich, DruckInSpalten) {
    const auto seiten = nux::vergleichsdruck(nux::vergleichen(planA(), planB()), "07.12.2026");
    ASSERT_EQ(seiten.size(), 1u);
    const auto t = nux::texte(seiten[0]);
    std::map<int, std::set<int>> spalten;  // y -> x of the texts of one line
    for (const auto& x : t) spalten[x.y].insert(x.x);
    int koepfe = 0;
    for (const auto& x : t)
        if (x.fett && x.x == t[0].x && x.y > t[0].y) {
            const auto naechste = spalten.upper_bound(x.y);
            ASSERT_NE(naechste, spalten.end());
            EXPECT_TRUE(std::includes(naechste->second.begin(), naechste->second.end(), spalten[x.y].begin(),
                                      spalten[x.y].end())) << x.text;
            ++koepfe;
        }
    EXPECT_EQ(koepfe, 2);
    const auto summe = std::find_if(t.begin(), t.end(), [](const auto& x) { return x.text.starts_with("4 Unterrichte"); });
    ASSERT_NE(summe, t.end());
    EXPECT_EQ(summe->x, t[0].x);
}
