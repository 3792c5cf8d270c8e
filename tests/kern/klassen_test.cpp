#include "editors/kern/klassen.h"

#include <gtest/gtest.h>

#include "kernhilfe.h"
#include "storage/text.h"

using nux::teil;
using nux::Fachsatz;
using kernhilfe::Jahr;

TEST(Klassen, KlassenzeileUndFacheintrag) {
    EXPECT_EQ(nux::klassenzeile("1a", 7), "1a" + std::string(198, ' ') + "7");
    const std::string lang = nux::klassenzeile("abcd", 100);
    EXPECT_EQ(teil(lang, 1, 4) + "|" + std::to_string(nux::zeilenindex(lang)), "abc |100");
    EXPECT_EQ(nux::zeilenname(nux::klassenzeile("1 a", 0)), "1 a");
    // An order number too wide for its columns must not move the taught flag.
    const std::tuple<Fachsatz, int, const char*, bool> faelle[] = {
        {{"Deutsch", "Deu", 12}, 4, "Deu  4 12    ", true}, {{"Mathematik", "Mathe", 0, false}, 50, "Mat 50  0X   ", false},
        {{"#Latein", "L", 3}, 2, "", false}, {{"Sport", "Spo", 1234}, 9, "Spo  9999    ", true},
        {{"Sport", "Spo", -500}, 9, "Spo  9-99    ", true}};
    for (const auto& [fach, index, eintrag, unterrichtet] : faelle) {
        EXPECT_EQ(nux::facheintrag(fach, index), eintrag);
        EXPECT_EQ(nux::eintragunterrichtet(eintrag), unterrichtet) << eintrag;
    }
}

// The row of a subject from the stored record, and the row rebuilt from the
// edit panel: it must read like the row the stored record gives afterwards.
TEST(Klassen, TabellenzeileUndErneuerteZeile) {
    const std::string eintrag = "M    3  2    ";
    nux::Klassensatz k = nux::neueklasse("1a");
    std::tie(k.h(1, 3), k.h(2, 3), k.l(1, 3), k.l(3, 3), k.z(2, 3), k.z(3, 3)) =
        std::make_tuple(15, 225, "MEI", "ABCD", "Gruppe B", std::string(30, 'z'));
    const std::string alt = nux::tabellenzeile(eintrag, k, 3);
    EXPECT_EQ(alt, "  2   M     1,5 22,5  0,0 MEI       ABCD   " + std::string(35, ' ') + "Gruppe B" +
                       std::string(27, ' ') + std::string(30, 'z') + std::string(57, ' ') + "3");
    nux::Zeilenfelder f = nux::zeilenfelder(alt);
    EXPECT_EQ(f, (nux::Zeilenfelder{"M", {"1,5", "22,5", "0,0"}, {"", "Gruppe B", std::string(30, 'z')}}));

    f.stunden = {"0", "2.5", "4"};
    f.zusatz = {"  Teilung", "", std::string(30, 'x')};
    f = nux::lueckenschliessen(nux::stundenaufbereiten(f));
    const std::string neu = nux::zeileerneuern(alt, f);
    nux::zeileuebernehmen(k, 3, f);
    EXPECT_EQ(neu, nux::tabellenzeile(eintrag, k, 3));
    EXPECT_EQ((std::array{k.h(1, 3), k.h(2, 3), k.h(3, 3)}), (std::array<std::int64_t, 3>{25, 0, 40}));
    EXPECT_EQ(k.l(1, 3) + "|" + k.z(1, 3), "MEI|  Teilung");  // teacher codes stay in their slots
    f.stunden = {"0,0", "0,0", "0,0"};
    EXPECT_EQ(teil(nux::zeileerneuern(neu, f), 4, 4), "X");

    // The hours flag: no hours, or a sum of zero or less, is grey; a sum beyond 64 bits is not.
    const std::tuple<std::int64_t, std::int64_t, const char*> flaggen[] = {
        {0, 0, "X"}, {-240, 225, "X"}, {INT64_MAX, INT64_MAX, " "}};
    for (const auto& [h1, h2, flagge] : flaggen) {
        std::tie(k.h(1, 3), k.h(2, 3), k.h(3, 3)) = std::make_tuple(h1, h2, 0);
        EXPECT_EQ(teil(nux::tabellenzeile(eintrag, k, 3), 4, 4), flagge) << h1;
    }
}

TEST(Klassen, StundenfeldTastenUndLueckenschluss) {
    // Digits, backspace, and one separator of either kind.
    const std::tuple<const char*, char, bool> tasten[] = {
        {"", '0', true}, {"", '9', true}, {"", '/', false}, {"", ':', false}, {"", '\b', true}, {"", '-', false},
        {"1", ',', true}, {"1", '.', true}, {"1.", ',', false}, {"1,", '.', false}};
    for (const auto& [rest, c, nimmt] : tasten) EXPECT_EQ(nux::stundenzeichen(rest, c), nimmt) << rest << c;

    // OK closes gaps with the hours only; the extra texts stay in their slots.
    const std::pair<std::array<std::string, 3>, std::array<std::int64_t, 3>> faelle[] = {
        {{"0", "0", "4,0"}, {40, 0, 0}}, {{"0", "2,0", "4,0"}, {20, 0, 40}}, {{"1", "0", "3"}, {10, 30, 0}},
        {{"1", "2", "3"}, {10, 20, 30}}, {{"", "", ""}, {0, 0, 0}},          {{"0", "1,5", "0"}, {15, 0, 0}},
    };
    for (const auto& [ein, aus] : faelle) {
        const nux::Zeilenfelder f{"", ein, {"eins", "zwei", "drei"}};
        const auto g = nux::lueckenschliessen(nux::stundenaufbereiten(f));
        std::array<std::int64_t, 3> zehntel;
        for (int j = 0; j < 3; ++j) zehntel[j] = nux::zehntellesen(g.stunden[j]);
        EXPECT_EQ(zehntel, aus) << ein[0] << "/" << ein[1] << "/" << ein[2];
        EXPECT_EQ(g.zusatz, f.zusatz);
    }
}

TEST(Klassenmodell, AnlegenKopierenEntfernenSchreibenInListenfolge) {
    Jahr j;
    nux::Klassenmodell m;
    m.starten();
    // Records 0, 1, ... in the order made, the file in list order, until the model reads it again.
    for (const char* n : {"2b", "1a ", "1A", "10", "\xC4" "1", "1b"}) m.anlegen(n);
    const auto namen = [] {
        std::string n;
        for (const auto& s : nux::laden<nux::Klassensatz>("2026 1/klassen")) n += s.name + " ";
        return n;
    };
    std::string liste;
    for (const auto& z : m.zeilen()) liste += nux::zeilenname(z) + " ";
    EXPECT_EQ(liste, "10 1a 1A 1b 2b \xC4" "1 ");
    EXPECT_EQ(namen(), liste);
    EXPECT_EQ(std::make_pair(m.suchen("1A"), m.suchen("1c")), std::make_pair(2, -1));

    // "10", record 3 but listed first, onto "2b", record 0
    std::tie(m.Classes[3].h(2, 5), m.Classes[3].l(2, 5), m.CopyTarget, m.CopyPending) = std::make_tuple(35, "HUB", 0, true);
    m.kopieren(m.suchen("10"));
    auto datei = nux::laden<nux::Klassensatz>("2026 1/klassen");
    ASSERT_EQ(datei.size(), 6u);
    // the target keeps its name, loses the teacher
    EXPECT_EQ(datei[4].name + datei[4].l(2, 5) + std::to_string(datei[4].h(2, 5)), "2b35");
    EXPECT_TRUE(m.Classes == datei && nux::zeilenindex(m.zeilen()[4]) == 4 && !m.CopyPending);
    m.CopyTarget = 6;
    EXPECT_THROW(m.kopieren(0), nux::Dateifehler);

    std::tie(m.CopyPending, m.CurrentClass) = std::make_tuple(true, 2);
    m.entfernen(m.suchen("1a"));
    EXPECT_EQ(namen(), "10 1A 1b 2b \xC4" "1 ");
    EXPECT_EQ(m.Classes, nux::laden<nux::Klassensatz>("2026 1/klassen"));
    EXPECT_FALSE(m.CopyPending || m.CurrentClass != -1);  // they would hit another class after renumbering
    for (std::size_t i = 0; i < m.zeilen().size(); ++i) EXPECT_EQ(nux::zeilenindex(m.zeilen()[i]), int(i));
    // The last class gone: no class file is left.
    while (!m.zeilen().empty()) m.entfernen(0);
    EXPECT_FALSE(nux::dateida("2026 1/klassen"));

    // The 102nd class is refused and the file stays as it was.
    nux::neuschreiben("2026 1/klassen", std::vector<nux::Klassensatz>(101, nux::neueklasse("k")));
    m.starten();
    const auto voll = nux::dateilesen("2026 1/klassen");
    EXPECT_THROW(m.anlegen("neu"), nux::Dateifehler);
    EXPECT_EQ(m.zeilen().size(), 101u);
    EXPECT_EQ(nux::dateilesen("2026 1/klassen"), voll);
}

TEST(Klassenmodell, GesperrtZeigtNichtsUndAendertNichts) {
    // An unreadable class file (too many records, an empty file, half a
    // record), or the year gone while the window was open: nothing is listed,
    // and every change is refused with the reason, so nothing overwrites the file.
    const std::tuple<std::size_t, std::size_t, const char*, std::string> faelle[] = {
        {102, 0, nullptr, nux::kBereich}, {0, 0, nullptr, nux::kDateiende}, {1, 100, nullptr, nux::kDateiende},
        {2, 0, "Jahr fehlt", "Jahr fehlt"}, {2, 0, "", nux::kBereich}};
    for (const auto& [saetze, rest, grund, meldung] : faelle) {
        Jahr j;
        nux::neuschreiben<Fachsatz>("2026 1/faecher", {{"Deutsch", "D", 0}});
        auto bytes = nux::kodieren(std::vector<nux::Klassensatz>(saetze, nux::neueklasse("x")));
        bytes.resize(bytes.size() + rest, 0);
        nux::atomarschreiben("2026 1/klassen", bytes);
        nux::Klassenmodell m;
        try {
            m.starten();
            std::tie(m.CopyPending, m.CurrentClass) = std::make_tuple(true, 1);
            ASSERT_TRUE(grund) << meldung;
            m.sperren(grund);
        } catch (const nux::Dateifehler& e) {
            EXPECT_EQ(e.what(), meldung);
        }
        EXPECT_TRUE(m.gesperrt() && m.zeilen().empty() && m.Classes.empty() && m.klassenfuellen(0).empty());
        EXPECT_EQ(std::make_tuple(m.LastClass, m.CurrentClass, m.CopyPending, m.hoechsterfach, m.SubjectEntries[0]),
                  std::make_tuple(-1, -1, false, -1, std::string()));
        const std::function<void()> aenderungen[] = {
            [&] { m.anlegen("2a"); }, [&] { m.entfernen(0); }, [&] { m.kopieren(0); }, [&] { m.speichern(); }};
        for (const auto& aendern : aenderungen) {
            EXPECT_EQ(kernhilfe::meldung(aendern), meldung);
            EXPECT_TRUE(m.zeilen().empty());
        }
        EXPECT_EQ(nux::dateilesen("2026 1/klassen"), bytes);
    }
}

TEST(Klassenmodell, FaecherFuellenDieTabelleStundenAndererBleiben) {
    Jahr j;
    nux::neuschreiben<Fachsatz>("2026 1/faecher", {{"Deutsch", "D", 2}, {"Englisch", "E", 0}, {"#Latein", "L", 1},
                                                   {"Musik", "Mu", 3, false}, {"Mathematik", "Mathe", 1}});
    nux::Klassenmodell m;
    m.starten();
    m.anlegen("1a");
    // hours of a subject not taught this year, and of a withdrawn one
    std::tie(m.Classes[0].h(1, 3), m.Classes[0].h(1, 2)) = std::make_tuple(20, 10);
    const auto reihen = m.klassenfuellen(0);
    ASSERT_EQ(reihen.size(), 3u);
    EXPECT_EQ(teil(reihen[0], 1, 9) + teil(reihen[1], 1, 9) + teil(reihen[2], 1, 9), "  0X  E    1X  Mat  2X  D  ");
    EXPECT_EQ(nux::zeilenindex(reihen[1]), 4);
    m.speichern();
    const auto satz = nux::laden<nux::Klassensatz>("2026 1/klassen")[0];
    EXPECT_EQ(std::make_pair(satz.h(1, 3), satz.h(1, 2)), std::make_pair(std::int64_t{20}, std::int64_t{10}));
}
