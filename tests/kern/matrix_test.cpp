// The qualifications file and the matrix over it.
#include <gtest/gtest.h>

#include "kernhilfe.h"
#include "assignment/kern/matrix.h"
#include "storage/planung.h"
#include "storage/sicherung.h"
#include "years/kern/jahre.h"

namespace {

using kernhilfe::klasse;
using nux::Stufe;

// Subjects D, M, Ph (taught), Mus (not taught), #Alt (withdrawn), and "Mathe
// Kurs" sharing the column of M; teachers AnnA, Bo, Ce (0 hours: not listed).
// Class 1a: D by AnnA, M by Bo, Ph open; 1b: Mus by AnnA (no row).
nux::Verteilung schule() {
    std::vector<nux::Fachsatz> f = {{"Deutsch", "D", 0},   {"Mathematik", "M", 1},      {"Physik", "Ph", 2},
                                    {"Musik", "Mus", 3, false}, {"#Alt", "Alt", 4}, {"Mathe Kurs", "M", 5}};
    std::vector<nux::Lehrersatz> l = {{"Bo Berg", "Bo", 100}, {"Anna Alt", "AnnA", 220}, {"Ce", "Ce", 0}};
    std::vector<nux::Klassensatz> k = {
        klasse("1a", {{1, 0, 40, "AnnA"}, {1, 1, 50, "Bo"}, {1, 2, 20}}),
        klasse("1b", {{1, 3, 20, "AnnA"}}),
    };
    nux::Verteilung v;
    v.aufbauen(k, f, l);
    return v;
}

std::string zustand(const nux::Matrix& m) {
    std::string t;
    for (int z = 0; z < m.zeilen(); ++z) {
        for (int s = 0; s < m.spalten(); ++s) t += "-xw"[static_cast<int>(m.stufe(z, s))];
        t += '|';
    }
    return t;
}

TEST(Matrix, ZeilenUndSpaltenWieDieVerteilung) {
    nux::Befaehigungen b;
    b.setzen("AnnA", "M", Stufe::wunsch);
    b.setzen("Ce", "D", Stufe::befaehigt);
    b.setzen("AnnA", "Mus", Stufe::befaehigt);
    nux::Matrix m;
    m.aufbauen(schule(), b);
    ASSERT_EQ(m.zeilen(), 2);
    EXPECT_EQ(m.lehrer()[0].kurz, "AnnA");  // the availability list is sorted
    EXPECT_EQ(m.lehrer()[0].name, "Anna Alt");
    EXPECT_EQ(m.lehrer()[0].soll, 220);
    EXPECT_EQ(m.lehrer()[0].frei, 180);
    ASSERT_EQ(m.spalten(), 3);
    EXPECT_EQ(m.faecher()[1].kurz, "M");
    EXPECT_EQ(m.faecher()[1].namen, "Mathematik, Mathe Kurs");
    EXPECT_EQ(zustand(m), "-w-|---|");
    EXPECT_EQ(m.unbekanntelehrer(), std::vector<std::string>{"Ce"});
    EXPECT_EQ(m.unbekanntefaecher(), std::vector<std::string>{"Mus"});
}

TEST(Matrix, GestenUndRueckgaengig) {
    struct Fall {
        const char* name;
        std::function<nux::Wechsel(const nux::Matrix&)> geste;
        const char* nachher;
        std::string fehler = {};
    };
    const std::vector<Fall> faelle = {
        {"schalten", [](auto& m) { return m.weiterschalten(0, 2); }, "-wx|x--|"},
        {"zeile", [](auto& m) { return m.zeilesetzen(1, Stufe::wunsch); }, "-w-|www|"},
        {"spalte", [](auto& m) { return m.spaltesetzen(1, Stufe::keine); }, "---|x--|"},
        {"einfuegen", [](auto& m) { return m.einfuegen(0, 1, "*\t.\r\n\xC2\xB7\tBEF\xC3\x84HIGT\r\n").wechsel; }, "-wx|xxx|"},
        {"alle woerter",
         [](auto& m) { return m.einfuegen(0, 0, "Wunschfach\tbef\xE4higt\t2\n-\t\t1").wechsel; }, "wxw|--x|"},
        {"kopiert ein", [](auto& m) { return m.einfuegen(1, 0, m.kopieren(0, 0, 0, 2)).wechsel; }, "-w-|-w-|"},
    };
    for (const auto& f : faelle) {
        SCOPED_TRACE(f.name);
        nux::Befaehigungen b;
        b.setzen("AnnA", "M", Stufe::wunsch);
        b.setzen("Bo", "D", Stufe::befaehigt);
        nux::Matrix m;
        m.aufbauen(schule(), b);
        const auto w = f.geste(m);
        m.anwenden(w, true);
        EXPECT_EQ(zustand(m), f.nachher);
        m.anwenden(w, false);
        EXPECT_EQ(zustand(m), "-w-|x--|");
        EXPECT_EQ(m.befaehigungen(), b);
    }
}

TEST(Matrix, EinfuegenVerweigertOhneAenderung) {
    nux::Matrix m;
    m.aufbauen(schule(), {});
    const auto schlecht = m.einfuegen(0, 0, "x\tx\nx\tvielleicht\n");
    EXPECT_TRUE(schlecht.wechsel.empty());
    EXPECT_EQ(schlecht.fehler, "Zeile 2, Spalte 2 (Bo, M): \"vielleicht\" ist keine Stufe (leer, bef\xE4higt oder "
                               "Wunschfach). Es wurde nichts eingef\xFCgt.");
    const auto zuweit = m.einfuegen(1, 2, "x\tx");
    EXPECT_TRUE(zuweit.wechsel.empty());
    EXPECT_NE(zuweit.fehler.find("Rand der Tabelle"), std::string::npos);
    EXPECT_EQ(zustand(m), "---|---|");
}

TEST(Matrix, AusDerVerteilungMitQuelljahr) {
    kernhilfe::Jahr jahr;
    std::filesystem::create_directory("2025 1");
    // The source year keeps physics at another index; Bo held it, and a
    // teacher who is gone (Xa) held German. AnnA's lesson in a withdrawn
    // subject counts for nothing.
    nux::neuschreiben<nux::Fachsatz>("2025 1/faecher", {{"Physik", "Ph", 0}, {"Deutsch", "D", 1}, {"#Mathe", "M", 2}});
    nux::neuschreiben("2025 1/klassen",
                      std::vector{klasse("4a", {{1, 0, 20, "Bo"}, {2, 1, 30, "Xa"}, {1, 1, 0, "Bo"}, {1, 2, 20, "AnnA"}})});
    nux::herkunftspeichern("2026 1", {"2025 1"});
    const auto quelle = nux::quelljahrladen("2026 1");
    ASSERT_TRUE(quelle);
    nux::Befaehigungen b;
    b.setzen("AnnA", "D", Stufe::wunsch);
    nux::Matrix m;
    const auto v = schule();
    m.aufbauen(v, b);
    EXPECT_EQ(m.ausverteilung(v, nullptr).size(), 1u);  // Bo M; AnnA keeps her Wunschfach
    const auto w = m.ausverteilung(v, &*quelle);
    m.anwenden(w, true);
    EXPECT_EQ(zustand(m), "w--|-xx|");
    m.anwenden(w, false);
    EXPECT_EQ(zustand(m), "w--|---|");

    // A source that is no year folder, or the year itself, is not read.
    for (const char* q : {"../2025 1", "2026 1", "2024 1"}) {
        nux::herkunftspeichern("2026 1", {q});
        EXPECT_FALSE(nux::quelljahrladen("2026 1")) << q;
    }
}

TEST(Befaehigungen, BeschaedigteDatei) {
    kernhilfe::Jahr jahr;
    std::filesystem::create_directory("2026 1/planung");
    const std::string text =
        "\xEF\xBB\xBF" "AnnA\tM\tWunschfach\r\n"
        "# ein Kommentar\n"
        "Bo D befähigt\n"
        "Xa\tPh\tbef\xE4higt\n"
        "Bo\tM\tvielleicht\n"
        "\n"
        "Langname\tD\t1\n"
        "Bo\tPh\tBEF\xC3\xA4HIGT";
    std::vector<std::uint8_t> bytes(text.begin(), text.end());
    nux::atomarschreiben("2026 1/planung/befaehigungen", bytes);
    auto b = nux::befaehigungenladen("2026 1");
    std::vector<int> nummern;
    for (const auto& f : b.fehler) nummern.push_back(f.zeile);
    EXPECT_EQ(nummern, (std::vector<int>{3, 5, 7}));
    EXPECT_EQ(b.fehler[1].text, "Bo\tM\tvielleicht");
    EXPECT_EQ(b.eintraege().size(), 3u);
    EXPECT_EQ(b.stufe("Bo", "Ph"), Stufe::befaehigt);

    // Unknown teachers stay, unreadable lines are written back as they were,
    // and the old file goes into the backups first.
    nux::Matrix m;
    m.aufbauen(schule(), b);
    EXPECT_EQ(m.unbekanntelehrer(), std::vector<std::string>{"Xa"});
    m.anwenden(m.weiterschalten(1, 0), true);
    nux::befaehigungenspeichern("2026 1", m.befaehigungen());
    const auto wieder = nux::befaehigungenladen("2026 1");
    EXPECT_EQ(wieder.eintraege(), m.befaehigungen().eintraege());
    ASSERT_EQ(wieder.fehler.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) EXPECT_EQ(wieder.fehler[i].text, b.fehler[i].text);
    const auto s = nux::sicherungen("2026 1");
    ASSERT_EQ(s.size(), 1u);
    EXPECT_EQ(nux::dateilesen(s[0].pfad), bytes);
}

TEST(Befaehigungen, GehenMitDenLehrerInnenInsNeueJahr) {
    kernhilfe::Jahr jahr;
    std::filesystem::create_directories("2025 1/planung");
    auto schreiben = [](const std::string& j, const std::string& t) {
        nux::atomarschreiben(nux::planungspfad(j, nux::kBefaehigungsdatei), std::vector<std::uint8_t>(t.begin(), t.end()));
    };
    schreiben("2025 1", "A\tM\tx\nB\tD\t*\nkaputt\n");
    const nux::Uebernahmewahl ohne{}, mit{.lehrer = true};
    nux::uebernehmen({"2026 1", "2025 1"}, ohne);
    EXPECT_FALSE(nux::dateida(nux::planungspfad("2026 1", nux::kBefaehigungsdatei)));

    // What the new year holds already wins over the old year.
    std::filesystem::create_directories("2026 1/planung");
    schreiben("2026 1", "A\tM\tWunschfach\nanders\n");
    nux::uebernehmen({"2026 1", "2025 1"}, mit);
    const auto b = nux::befaehigungenladen("2026 1");
    EXPECT_EQ(b.stufe("A", "M"), Stufe::wunsch);
    EXPECT_EQ(b.stufe("B", "D"), Stufe::wunsch);
    ASSERT_EQ(b.fehler.size(), 2u);
    EXPECT_EQ(b.fehler[0].text + b.fehler[1].text, "anderskaputt");
    const auto stand = nux::dateilesen(nux::planungspfad("2026 1", nux::kBefaehigungsdatei));
    nux::uebernehmen({"2026 1", "2025 1"}, mit);  // again: nothing new, nothing written
    EXPECT_EQ(nux::sicherungen("2026 1").size(), 1u);
    EXPECT_EQ(nux::dateilesen(nux::planungspfad("2026 1", nux::kBefaehigungsdatei)), stand);
}

TEST(Befaehigungen, SchluesselDieDieDateiNichtHaltenKann) {
    nux::Befaehigungen b;
    for (const char* k : {"#Ab", "A\rb", ""}) b.setzen(k, "M", Stufe::befaehigt);
    b.setzen("Ab", "M\nx", Stufe::befaehigt);
    EXPECT_TRUE(b.leer());
    b.setzen("Ab", "  Mathe", Stufe::befaehigt);  // cut as the subject records are
    EXPECT_EQ(b.stufe("Ab", "M"), Stufe::befaehigt);
}

}  // namespace
