#include "editors/kern/klassen.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "kernhilfe.h"
#include "storage/datei.h"
#include "storage/jahr.h"
#include "storage/text.h"

namespace {

using nux::teil;

// A year folder as the current year, with subjects and classes as given.
struct Jahr {
    kernhilfe::Ordner ordner;
    Jahr() {
        std::filesystem::create_directory("2026 1");
        nux::jahrsetzen("2026 1");
    }
    ~Jahr() { nux::jahrsetzen(""); }
};

nux::Fachsatz fach(const std::string& name, const std::string& kurz, int ordnung, bool unterrichtet = true) {
    nux::Fachsatz f;
    f.name = name;
    f.kurz = kurz;
    f.ordnung = ordnung;
    f.unterrichtet = unterrichtet;
    return f;
}

std::vector<std::string> namen(const std::vector<nux::Klassensatz>& saetze) {
    std::vector<std::string> n;
    for (const auto& s : saetze) n.push_back(s.name);
    return n;
}

std::vector<std::string> dateinamen() { return namen(nux::laden<nux::Klassensatz>("2026 1/klassen")); }

}  // namespace

TEST(Klassen, KlassenzeileHatNameUndIndexInIhrenSpalten) {
    const std::string z = nux::klassenzeile("1a", 7);
    EXPECT_EQ(z.size(), 201u);
    EXPECT_EQ(teil(z, 1, 3), "1a ");
    EXPECT_EQ(z.find_first_not_of(' ', 2), 200u);
    EXPECT_EQ(nux::zeilenname(z), "1a");
    EXPECT_EQ(nux::zeilenindex(z), 7);
    const std::string lang = nux::klassenzeile("abcd", 100);
    EXPECT_EQ(teil(lang, 1, 4), "abc ");
    EXPECT_EQ(nux::zeilenindex(lang), 100);
    EXPECT_EQ(nux::zeilenname(nux::klassenzeile("1 a", 0)), "1 a");
}

TEST(Klassen, FacheintragHatDreizehnZeichen) {
    EXPECT_EQ(nux::facheintrag(fach("Deutsch", "Deu", 12), 4), "Deu  4 12    ");
    EXPECT_EQ(nux::facheintrag(fach("Mathematik", "Mathe", 0, false), 50), "Mat 50  0X   ");
    EXPECT_EQ(nux::facheintrag(fach("#Latein", "L", 3), 2), "");
    EXPECT_EQ(nux::facheintrag(fach("Musik", "", 3), 2), "     2  3    ");
    EXPECT_TRUE(nux::eintragunterrichtet(nux::facheintrag(fach("Deutsch", "D", 1), 0)));
    EXPECT_FALSE(nux::eintragunterrichtet(nux::facheintrag(fach("Deutsch", "D", 1, false), 0)));
    EXPECT_FALSE(nux::eintragunterrichtet(""));
    // An order number too wide for its columns must not move the taught flag.
    for (int ordnung : {1234, -500}) {
        const std::string e = nux::facheintrag(fach("Sport", "Spo", ordnung), 9);
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
    ASSERT_EQ(z.size(), 201u);
    EXPECT_EQ(teil(z, 1, 11), "  2   M    ");
    EXPECT_EQ(teil(z, 12, 26), " 1,5 22,5  0,0 ");
    EXPECT_EQ(teil(z, 27, 43), "MEI       ABCD   ");
    EXPECT_EQ(teil(z, 44, 78), std::string(35, ' '));
    EXPECT_EQ(teil(z, 79, 113), "Gruppe B" + std::string(27, ' '));
    EXPECT_EQ(teil(z, 114, 148), std::string(30, 'z') + "     ");
    EXPECT_EQ(teil(z, 149, 200), std::string(52, ' '));
    EXPECT_EQ(teil(z, 201, 210), "3");

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

TEST(Klassen, StundenfeldBeimVerlassen) {
    const std::pair<const char*, const char*> faelle[] = {
        {"3", " 3,0"},    {"1.5", " 1,5"},  {",5", " 0,5"},   {"2,75", " 2,7"},  {"", " 0,0"},
        {"100", "00,0"},  {"12,", "12,0"},  {"99,9", "99,9"}, {"0", " 0,0"},     {".", " 0,0"},
        {" 1,5", " 1,5"}, {"1,5.", " 1,5"}, {"-5", " 5,0"},   {"abc", " 0,0"},   {"9999", "99,0"},
    };
    for (const auto& [ein, aus] : faelle) {
        EXPECT_EQ(nux::stundennormalisieren(ein), aus) << ein;
        EXPECT_EQ(nux::stundennormalisieren(aus), aus) << ein;
    }
}

TEST(Klassen, OkSchliesstLueckenNurMitDenStunden) {
    struct Fall {
        std::array<const char*, 3> ein;
        std::array<std::int64_t, 3> aus;
    };
    const Fall faelle[] = {
        {{"0", "0", "4,0"}, {40, 0, 0}},   {{"0", "2,0", "4,0"}, {20, 0, 40}}, {{"1", "0", "3"}, {10, 30, 0}},
        {{"1", "2", "3"}, {10, 20, 30}},   {{"", "", ""}, {0, 0, 0}},          {{"0,5", "0", "0"}, {5, 0, 0}},
        {{"0", "1,5", "0"}, {15, 0, 0}},
    };
    for (const auto& fall : faelle) {
        nux::Zeilenfelder f;
        for (int j = 0; j < 3; ++j) f.stunden[j] = fall.ein[j];
        f.zusatz = {"eins", "zwei", "drei"};
        const auto g = nux::lueckenschliessen(nux::stundenaufbereiten(f));
        for (int j = 0; j < 3; ++j) EXPECT_EQ(nux::zehntellesen(g.stunden[j]), fall.aus[j]) << fall.ein[0] << j;
        EXPECT_EQ(g.zusatz, f.zusatz);
    }
}

TEST(Klassen, ErneuerteZeileGleichtDerGespeicherten) {
    // The row rebuilt from the edit panel must read like the row that the
    // stored record gives when the class is chosen again.
    nux::Klassensatz k = nux::neueklasse("5c");
    k.l(1, 7) = "HUB";
    k.l(2, 7) = "X";
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
    EXPECT_EQ(k.h(1, 7), 25);
    EXPECT_EQ(k.h(2, 7), 0);
    EXPECT_EQ(k.h(3, 7), 40);
    EXPECT_EQ(k.l(1, 7), "HUB");  // teacher codes stay in their slots
    EXPECT_EQ(k.z(1, 7), "  Teilung");
    EXPECT_EQ(k.z(3, 7), std::string(30, 'x'));

    f.stunden = {"0,0", "0,0", "0,0"};
    EXPECT_EQ(teil(nux::zeileerneuern(neu, f), 4, 4), "X");
}

TEST(Klassenmodell, AnlegenSortiertUndSchreibtInListenfolge) {
    Jahr j;
    nux::Klassenmodell m;
    m.starten();
    EXPECT_FALSE(m.gesperrt());
    EXPECT_TRUE(m.zeilen().empty());
    for (const char* n : {"2b", " 1a ", "1A", "10", "\xC4" "1", "1b"}) m.anlegen(n);
    std::vector<std::string> liste;
    for (const auto& z : m.zeilen()) liste.push_back(nux::zeilenname(z));
    EXPECT_EQ(liste, (std::vector<std::string>{"10", "1a", "1A", "1b", "2b", "\xC4" "1"}));
    EXPECT_EQ(dateinamen(), liste);
    EXPECT_EQ(m.LastClass, 5);
    EXPECT_EQ(m.suchen("1a"), 1);
    EXPECT_EQ(m.suchen("1A"), 2);
    EXPECT_EQ(m.suchen("1c"), -1);
    // After the reload the indexes follow the sorted list.
    m.starten();
    for (std::size_t i = 0; i < m.zeilen().size(); ++i) EXPECT_EQ(nux::zeilenindex(m.zeilen()[i]), int(i));
}

TEST(Klassenmodell, UnlesbareKlassendateiWirdNieUeberschrieben) {
    struct Fall {
        const char* name;
        std::size_t saetze;
        std::size_t rest;
        const char* meldung;
    };
    const Fall faelle[] = {
        {"zu viele", 102, 0, nux::kBereich},
        {"leer", 0, 0, nux::kDateiende},
        {"halber Satz", 1, 100, nux::kDateiende},
    };
    for (const auto& f : faelle) {
        Jahr j;
        std::vector<nux::Klassensatz> saetze(f.saetze, nux::neueklasse("x"));
        auto bytes = nux::kodieren(saetze);
        bytes.resize(bytes.size() + f.rest, 0);
        nux::atomarschreiben("2026 1/klassen", bytes);
        nux::Klassenmodell m;
        try {
            m.starten();
            ADD_FAILURE() << f.name;
        } catch (const nux::Dateifehler& e) {
            EXPECT_STREQ(e.what(), f.meldung) << f.name;
        }
        EXPECT_TRUE(m.gesperrt()) << f.name;
        EXPECT_TRUE(m.zeilen().empty()) << f.name;
        EXPECT_THROW(m.anlegen("1a"), nux::Dateifehler) << f.name;
        EXPECT_THROW(m.speichern(), nux::Dateifehler) << f.name;
        EXPECT_EQ(nux::dateilesen("2026 1/klassen"), bytes) << f.name;
    }
}

TEST(Klassenmodell, FaecherFuellenDieTabelle) {
    Jahr j;
    nux::neuschreiben<nux::Fachsatz>("2026 1/faecher", {
                                                           fach("Deutsch", "D", 2),
                                                           fach("Englisch", "E", 0),
                                                           fach("#Latein", "L", 1),
                                                           fach("Musik", "Mu", 3, false),
                                                           fach("Mathematik", "Mathe", 1),
                                                       });
    nux::Klassenmodell m;
    m.starten();
    EXPECT_EQ(m.hoechsterfach, 4);
    m.anlegen("1a");
    m.Classes[0].h(1, 3) = 20;  // hours of a subject not taught this year
    m.Classes[0].h(1, 2) = 10;  // and of a withdrawn one
    const auto reihen = m.klassenfuellen(0);
    ASSERT_EQ(reihen.size(), 3u);
    EXPECT_EQ(teil(reihen[0], 1, 9), "  0X  E  ");
    EXPECT_EQ(teil(reihen[1], 1, 9), "  1X  Mat");
    EXPECT_EQ(teil(reihen[2], 1, 9), "  2X  D  ");
    EXPECT_EQ(nux::zeilenindex(reihen[1]), 4);
    m.speichern();
    const auto satz = nux::laden<nux::Klassensatz>("2026 1/klassen")[0];
    EXPECT_EQ(satz.h(1, 3), 20);
    EXPECT_EQ(satz.h(1, 2), 10);
    EXPECT_TRUE(m.klassenfuellen(1).empty());
}
