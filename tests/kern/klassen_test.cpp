#include "editors/kern/klassen.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "kernhilfe.h"
#include "storage/datei.h"
#include "storage/jahr.h"
#include "storage/text.h"

namespace {

using nux::teil;
using nux::Fachsatz;

// A year folder as the current year.
struct Jahr {
    kernhilfe::Ordner ordner;
    Jahr() {
        std::filesystem::create_directory("2026 1");
        nux::jahrsetzen("2026 1");
    }
    ~Jahr() { nux::jahrsetzen(""); }
};

}  // namespace

TEST(Klassen, KlassenzeileUndFacheintrag) {
    EXPECT_EQ(nux::klassenzeile("1a", 7), "1a" + std::string(198, ' ') + "7");
    const std::string lang = nux::klassenzeile("abcd", 100);
    EXPECT_EQ(teil(lang, 1, 4), "abc ");
    EXPECT_EQ(nux::zeilenindex(lang), 100);
    EXPECT_EQ(nux::zeilenname(nux::klassenzeile("1 a", 0)), "1 a");

    EXPECT_EQ(nux::facheintrag({"Deutsch", "Deu", 12}, 4), "Deu  4 12    ");
    EXPECT_EQ(nux::facheintrag({"Mathematik", "Mathe", 0, false}, 50), "Mat 50  0X   ");
    EXPECT_EQ(nux::facheintrag({"#Latein", "L", 3}, 2), "");
    EXPECT_FALSE(nux::eintragunterrichtet(nux::facheintrag({"Deutsch", "D", 1, false}, 0)));
    // An order number too wide for its columns must not move the taught flag.
    for (int ordnung : {1234, -500}) {
        const std::string e = nux::facheintrag({"Sport", "Spo", ordnung}, 9);
        EXPECT_EQ(e.size(), 13u) << ordnung;
        EXPECT_TRUE(nux::eintragunterrichtet(e)) << ordnung;
    }
}

TEST(Klassen, TabellenzeileInIhrenSpalten) {
    nux::Klassensatz k = nux::neueklasse("1a");
    k.h(1, 3) = 15;
    k.h(2, 3) = 225;
    k.l(1, 3) = "MEI";
    k.l(3, 3) = "ABCD";
    k.z(2, 3) = "Gruppe B";
    k.z(3, 3) = std::string(30, 'z');
    const std::string z = nux::tabellenzeile("M    3  2    ", k, 3);
    EXPECT_EQ(z, "  2   M     1,5 22,5  0,0 MEI       ABCD   " + std::string(35, ' ') + "Gruppe B" +
                     std::string(27, ' ') + std::string(30, 'z') + std::string(57, ' ') + "3");
    const auto f = nux::zeilenfelder(z);
    EXPECT_EQ(f.kurz, "M");
    EXPECT_EQ(f.stunden, (std::array<std::string, 3>{"1,5", "22,5", "0,0"}));
    EXPECT_EQ(f.zusatz, (std::array<std::string, 3>{"", "Gruppe B", std::string(30, 'z')}));

    // The hours flag: no hours, or a sum of zero or less, is grey.
    EXPECT_EQ(teil(nux::tabellenzeile("M    3  2    ", nux::neueklasse("x"), 3), 4, 4), "X");
    k.h(1, 3) = -240;
    EXPECT_EQ(teil(nux::tabellenzeile("M    3  2    ", k, 3), 4, 4), "X");
    k.h(1, 3) = INT64_MAX;
    k.h(2, 3) = INT64_MAX;
    EXPECT_EQ(teil(nux::tabellenzeile("M    3  2    ", k, 3), 4, 4), " ");
}

TEST(Klassen, StundenfeldTasten) {
    // Digits, backspace, and one separator of either kind; leaving the field
    // normalises as the teacher editor does.
    EXPECT_EQ(nux::stundennormalisieren("1,5."), " 1,5");
    const std::tuple<const char*, char, bool> tasten[] = {
        {"", '0', true},   {"", '9', true},    {"", '/', false},  {"", ':', false}, {"", '\b', true}, {"", '-', false},
        {"1", ',', true},  {"1", '.', true},   {"1.", ',', false}, {"1,", '.', false}};
    for (const auto& [rest, c, nimmt] : tasten) EXPECT_EQ(nux::stundenzeichen(rest, c), nimmt) << rest << c;
}

TEST(Klassen, OkSchliesstLueckenNurMitDenStunden) {
    const std::pair<std::array<std::string, 3>, std::array<std::int64_t, 3>> faelle[] = {
        {{"0", "0", "4,0"}, {40, 0, 0}}, {{"0", "2,0", "4,0"}, {20, 0, 40}}, {{"1", "0", "3"}, {10, 30, 0}},
        {{"1", "2", "3"}, {10, 20, 30}}, {{"", "", ""}, {0, 0, 0}},          {{"0", "1,5", "0"}, {15, 0, 0}},
    };
    for (const auto& [ein, aus] : faelle) {
        nux::Zeilenfelder f;
        f.stunden = ein;
        f.zusatz = {"eins", "zwei", "drei"};
        const auto g = nux::lueckenschliessen(nux::stundenaufbereiten(f));
        std::array<std::int64_t, 3> zehntel;
        for (int j = 0; j < 3; ++j) zehntel[j] = nux::zehntellesen(g.stunden[j]);
        EXPECT_EQ(zehntel, aus) << ein[0] << "/" << ein[1] << "/" << ein[2];
        EXPECT_EQ(g.zusatz, f.zusatz);
    }
}

TEST(Klassen, ErneuerteZeileGleichtDerGespeicherten) {
    // The row rebuilt from the edit panel must read like the row that the
    // stored record gives when the class is chosen again.
    nux::Klassensatz k = nux::neueklasse("5c");
    k.l(1, 7) = "HUB";
    k.h(3, 7) = 99;
    const std::string eintrag = "E    7 14    ";
    const std::string alt = nux::tabellenzeile(eintrag, k, 7);
    nux::Zeilenfelder f = nux::zeilenfelder(alt);
    f.stunden = {"0", "2.5", "4"};
    f.zusatz = {"  Teilung", "", std::string(30, 'x')};
    f = nux::lueckenschliessen(nux::stundenaufbereiten(f));
    const std::string neu = nux::zeileerneuern(alt, f);
    nux::zeileuebernehmen(k, 7, f);
    EXPECT_EQ(neu, nux::tabellenzeile(eintrag, k, 7));
    EXPECT_EQ((std::array{k.h(1, 7), k.h(2, 7), k.h(3, 7)}), (std::array<std::int64_t, 3>{25, 0, 40}));
    EXPECT_EQ(k.l(1, 7), "HUB");  // teacher codes stay in their slots
    EXPECT_EQ(k.z(1, 7), "  Teilung");
    f.stunden = {"0,0", "0,0", "0,0"};
    EXPECT_EQ(teil(nux::zeileerneuern(neu, f), 4, 4), "X");
}

TEST(Klassenmodell, AnlegenSortiertUndSchreibtInListenfolge) {
    Jahr j;
    nux::Klassenmodell m;
    m.starten();
    for (const char* n : {"2b", "1a ", "1A", "10", "\xC4" "1", "1b"}) m.anlegen(n);
    std::vector<std::string> liste, datei;
    for (const auto& z : m.zeilen()) liste.push_back(nux::zeilenname(z));
    for (const auto& s : nux::laden<nux::Klassensatz>("2026 1/klassen")) datei.push_back(s.name);
    EXPECT_EQ(liste, (std::vector<std::string>{"10", "1a", "1A", "1b", "2b", "\xC4" "1"}));
    EXPECT_EQ(datei, liste);
    EXPECT_EQ(m.suchen("1A"), 2);
    EXPECT_EQ(m.suchen("1c"), -1);
    // After the reload the indexes follow the sorted list.
    m.starten();
    for (std::size_t i = 0; i < m.zeilen().size(); ++i) EXPECT_EQ(nux::zeilenindex(m.zeilen()[i]), int(i));
}

TEST(Klassenmodell, KopierenUndEntfernenSchreibenUndLesenNeu) {
    Jahr j;
    nux::Klassenmodell m;
    m.starten();
    for (const char* n : {"2b", "1a", "3c"}) m.anlegen(n);  // records 0, 1, 2 until read again in list order
    m.Classes[1].h(2, 5) = 35;
    m.Classes[1].l(2, 5) = "HUB";
    m.CopyTarget = 0;
    m.CopyPending = true;
    m.kopieren(m.suchen("1a"));
    auto datei = nux::laden<nux::Klassensatz>("2026 1/klassen");
    ASSERT_EQ(datei.size(), 3u);
    EXPECT_EQ(datei[1].name + datei[1].l(2, 5), "2b");  // the target keeps its name, loses the teacher
    EXPECT_EQ(datei[1].h(2, 5), 35);
    EXPECT_EQ(m.Classes, datei);
    EXPECT_EQ(nux::zeilenindex(m.zeilen()[1]), 1);
    EXPECT_FALSE(m.CopyPending);
    m.CopyTarget = 3;
    EXPECT_THROW(m.kopieren(0), nux::Dateifehler);

    m.CopyPending = true;
    m.CurrentClass = 2;
    m.entfernen(m.suchen("1a"));
    datei = nux::laden<nux::Klassensatz>("2026 1/klassen");
    EXPECT_EQ(datei.size(), 2u);
    EXPECT_EQ(datei[0].name + datei[1].name, "2b3c");
    EXPECT_EQ(m.Classes, datei);
    EXPECT_EQ(nux::zeilenindex(m.zeilen()[1]), 1);
    EXPECT_FALSE(m.CopyPending || m.CurrentClass != -1);  // they would hit another class after renumbering
    // The last class gone: no class file is left.
    m.entfernen(0);
    m.entfernen(0);
    EXPECT_TRUE(m.zeilen().empty() && !nux::dateida("2026 1/klassen"));
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
            m.CopyPending = true;
            m.CurrentClass = 1;
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

TEST(Klassenmodell, HundertzweiteKlasseWirdAbgelehnt) {
    Jahr j;
    std::vector<nux::Klassensatz> saetze;
    for (int i = 0; i < 101; ++i) saetze.push_back(nux::neueklasse(std::to_string(i)));
    nux::neuschreiben("2026 1/klassen", saetze);
    const auto vorher = nux::dateilesen("2026 1/klassen");
    nux::Klassenmodell m;
    m.starten();
    EXPECT_THROW(m.anlegen("neu"), nux::Dateifehler);
    EXPECT_EQ(m.zeilen().size(), 101u);
    EXPECT_EQ(nux::dateilesen("2026 1/klassen"), vorher);
}

TEST(Klassenmodell, FaecherFuellenDieTabelleStundenAndererBleiben) {
    Jahr j;
    nux::neuschreiben<Fachsatz>("2026 1/faecher", {{"Deutsch", "D", 2}, {"Englisch", "E", 0}, {"#Latein", "L", 1},
                                                   {"Musik", "Mu", 3, false}, {"Mathematik", "Mathe", 1}});
    nux::Klassenmodell m;
    m.starten();
    m.anlegen("1a");
    m.Classes[0].h(1, 3) = 20;  // hours of a subject not taught this year
    m.Classes[0].h(1, 2) = 10;  // and of a withdrawn one
    const auto reihen = m.klassenfuellen(0);
    ASSERT_EQ(reihen.size(), 3u);
    EXPECT_EQ(teil(reihen[0], 1, 9) + teil(reihen[1], 1, 9) + teil(reihen[2], 1, 9), "  0X  E    1X  Mat  2X  D  ");
    EXPECT_EQ(nux::zeilenindex(reihen[1]), 4);
    m.speichern();
    const auto satz = nux::laden<nux::Klassensatz>("2026 1/klassen")[0];
    EXPECT_EQ(satz.h(1, 3), 20);
    EXPECT_EQ(satz.h(1, 2), 10);
}
