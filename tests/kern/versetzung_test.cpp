#include <gtest/gtest.h>

#include "kernhilfe.h"
#include "storage/planung.h"
#include "years/kern/versetzung.h"

namespace fs = std::filesystem;
using kernhilfe::klasse;
using nux::Klassensatz;
using nux::Versetzungszeile;

namespace {

// A school known by hand. Subjects D (0), M (1), E (2); teachers AnnA, Ra, Bo
// and the withdrawn Weg. Grade 7 is the top grade, Kurs has no grade.
const std::vector<Klassensatz> kSchule = {
    klasse("5a", {{1, 0, 40, "AnnA"}, {1, 1, 40, "Ra"}}),
    klasse("5b", {{1, 0, 40, "Bo"}, {1, 1, 40}}),
    klasse("6a", {{1, 0, 30, "AnnA", "Lesen"}, {1, 1, 40, "Weg"}, {1, 2, 30, "Ra"}}),
    klasse("7a", {{1, 0, 30, "Ra"}, {1, 1, 40}}),
    klasse("Kur", {{1, 1, 20, "Ra"}}),
};
const std::vector<nux::Lehrersatz> kLehrer = {{"Anna", "AnnA", 220}, {"Rudi", "Ra", 100}, {"Bodo", "Bo", 50},
                                              {"#Weg", "Weg", 10}};

nux::Versetzungsvorschau berechnen(const std::vector<Versetzungszeile>& zeilen, bool wandern = true) {
    return nux::versetzungberechnen(kSchule, zeilen, kLehrer, {nux::Klassenwahl::mitStundenMitZusatz, wandern});
}

const Klassensatz& neu(const nux::Versetzungsvorschau& v, const std::string& name) {
    for (const auto& k : v.klassen)
        if (k.name == name) return k;
    throw std::runtime_error("keine Klasse " + name);
}

}  // namespace

TEST(Versetzung, NamenUndStufen) {
    const std::tuple<const char*, int, const char*> faelle[] = {
        {"5a", 5, "6a"}, {"9c", 9, "10c"}, {"10", 10, "11"}, {"Kur", 0, "Kur"}, {"a5", 0, "a5"}, {"05a", 5, "6a"}};
    for (const auto& [alt, stufe, neu] : faelle) {
        EXPECT_EQ(nux::stufevon(alt).value_or(0), stufe) << alt;
        EXPECT_EQ(nux::hochstufen(alt), neu) << alt;
    }
    EXPECT_EQ(nux::hoechstestufe(kSchule), 7);
    EXPECT_EQ(nux::eingangsstufe(kSchule), 5);
}

TEST(Versetzung, KleineSchuleVonHandGerechnet) {
    auto zeilen = nux::versetzungsvorschlag(kSchule, 7);
    EXPECT_EQ(zeilen, (std::vector<Versetzungszeile>{
                          {"5a", "6a"}, {"5b", "6b"}, {"6a", "7a"}, {"7a", ""}, {"Kur", "Kur"}, {"", "5a"}, {"", "5b"}}));
    zeilen.push_back({" ", " "});  // a line the user blanked
    const auto v = berechnen(zeilen);
    ASSERT_TRUE(v.gut());
    std::vector<std::string> status, von;
    for (const auto& z : v.zeilen) status.push_back(z.status), von.push_back(z.stundenvon);
    EXPECT_EQ(status, (std::vector<std::string>{"versetzt", "versetzt", "versetzt", "verl\xE4sst die Schule", "bleibt",
                                                "neue Klasse", "neue Klasse", "leer"}));
    // 6b takes the hours of the only grade-6 class; the class that leaves takes none.
    EXPECT_EQ(von, (std::vector<std::string>{"6a", "6a", "7a", "", "Kur", "5a", "5b", ""}));
    // The new classes, sorted, with the hours of their grade and the
    // teachers who stay: Weg has left, E in 6a had nobody, 7a has no E.
    const std::vector<Klassensatz> soll = {
        klasse("5a", {{1, 0, 40}, {1, 1, 40}}),
        klasse("5b", {{1, 0, 40}, {1, 1, 40}}),
        klasse("6a", {{1, 0, 30, "AnnA", "Lesen"}, {1, 1, 40, "Ra"}, {1, 2, 30}}),
        klasse("6b", {{1, 0, 30, "Bo", "Lesen"}, {1, 1, 40}, {1, 2, 30}}),
        klasse("7a", {{1, 0, 30, "AnnA"}, {1, 1, 40}}),
        klasse("Kur", {{1, 1, 20, "Ra"}}),
    };
    EXPECT_EQ(v.klassen, soll);
    EXPECT_EQ(std::make_pair(v.behalten, v.offen), std::make_pair(5, 8));
    // Without wandering teachers every lesson is open.
    const auto ohne = berechnen(zeilen, false);
    EXPECT_EQ(std::make_pair(ohne.behalten, ohne.offen), std::make_pair(0, 13));
}

// Hours and extra texts follow the class choice; teachers stay only on lessons with hours.
TEST(Versetzung, KlassenwahlGiltAuchBeimVersetzen) {
    using K = nux::Klassenwahl;
    const std::tuple<K, std::int64_t, const char*, const char*> faelle[] = {
        {K::ohneStundenOhneZusatz, 0, "", ""}, {K::mitStundenOhneZusatz, 30, "", "AnnA"},
        {K::ohneStundenMitZusatz, 0, "Lesen", ""}, {K::mitStundenMitZusatz, 30, "Lesen", "AnnA"},
        {K::keine, 30, "Lesen", "AnnA"},
    };
    for (const auto& [wahl, stunden, zusatz, lehrer] : faelle) {
        const auto v = nux::versetzungberechnen(kSchule, {{"5a", "6a"}}, kLehrer, {wahl, true});
        const Klassensatz& k = neu(v, "6a");
        EXPECT_EQ(std::make_tuple(k.h(1, 0), k.z(1, 0), k.l(1, 0)), std::make_tuple(stunden, zusatz, lehrer));
        EXPECT_EQ(v.behalten + v.offen, stunden ? 3 : 0);
    }
}

TEST(Versetzung, WiederholendeKlasseImVorschauBerichtigt) {
    auto zeilen = nux::versetzungsvorschlag(kSchule, 7);
    zeilen[1].neu = "5b";  // 5b repeats: the new entry class 5b now collides
    auto v = berechnen(zeilen);
    ASSERT_EQ(v.fehler, std::vector<std::string>{
                            "Die Klasse \x84" "5b\x93 und die neue Klasse \x84" "5b\x93 w\xFCrden beide zu \x84" "5b\x93."});
    EXPECT_TRUE(v.zeilen[6].fehler);
    zeilen[6].neu = "5c";
    v = berechnen(zeilen);
    ASSERT_TRUE(v.gut());
    EXPECT_EQ(v.zeilen[1].status, "wiederholt");
    EXPECT_EQ(neu(v, "5b"), klasse("5b", {{1, 0, 40, "Bo"}, {1, 1, 40}}));
    EXPECT_EQ(neu(v, "5c"), klasse("5c", {{1, 0, 40}, {1, 1, 40}}));  // hours of a grade-5 class
}

TEST(Versetzung, FalscheZeilenWerdenGemeldet) {
    const std::vector<std::pair<std::vector<Versetzungszeile>, std::string>> faelle = {
        {{{"5a", "6a"}, {"5b", "6a"}}, "Die Klasse \x84" "5a\x93 und die Klasse \x84" "5b\x93 w\xFCrden beide zu \x84" "6a\x93."},
        {{{"5a", "100z"}}, "Die Klasse \x84" "5a\x93 w\xFCrde \x84" "100z\x93: ein Klassenname hat h\xF6" "chstens 3 Zeichen."},
        {{{"", "5abc"}}, "Die neue Klasse \x84" "5abc\x93: ein Klassenname hat h\xF6" "chstens 3 Zeichen."},
        {{{"8x", "9x"}}, "Die Klasse \x84" "8x\x93 gibt es im bisherigen Jahr nicht."},
    };
    for (const auto& [zeilen, meldung] : faelle) {
        const auto v = berechnen(zeilen);
        EXPECT_EQ(v.fehler, std::vector<std::string>{meldung});
        EXPECT_EQ(v.zeilen.back().status, meldung);  // the preview shows it on the line at fault
    }
    // "99z" at the top grade is no error when it leaves, and too long when it moves up.
    const std::vector<Klassensatz> hoch = {klasse("99z", {})};
    EXPECT_TRUE(nux::versetzungberechnen(hoch, nux::versetzungsvorschlag(hoch, 99), {}, {}).gut());
    EXPECT_FALSE(nux::versetzungberechnen(hoch, nux::versetzungsvorschlag(hoch, 100), {}, {}).gut());
}

struct Versetzungsjahre : ::testing::Test {
    kernhilfe::Ordner ordner;
    void SetUp() override {
        fs::create_directory("2026 1");
        fs::create_directory("2027 1");
        nux::neuschreiben("2026 1/klassen", kSchule);
        nux::neuschreiben("2026 1/lehrer", kLehrer);
        nux::Befaehigungen b;
        b.setzen("Ra", "M", nux::Stufe::wunsch);
        nux::befaehigungenspeichern("2026 1", b);
    }
    static std::size_t eintraege(const char* ordner) {
        return static_cast<std::size_t>(std::distance(fs::directory_iterator(ordner), fs::directory_iterator()));
    }
};

TEST_F(Versetzungsjahre, SchreibtKlassenLehrerBefaehigungenUndHerkunft) {
    nux::Uebernahmewahl wahl;
    wahl.lehrer = true;
    const nux::Uebernahmepaar paar{"2027 1", "2026 1"};
    const auto d = nux::versetzungladen(paar, wahl);
    const auto zeilen = nux::versetzungsvorschlag(d.klassen, 7);
    const auto v = nux::versetzungberechnen(d.klassen, zeilen, d.lehrer, {wahl.klassen, true});
    nux::versetzungschreiben(paar, wahl, zeilen, v);
    EXPECT_EQ(nux::laden<Klassensatz>("2027 1/klassen"), v.klassen);
    EXPECT_EQ(nux::dateilesen("2027 1/lehrer"), nux::dateilesen("2026 1/lehrer"));
    EXPECT_EQ(nux::befaehigungenladen("2027 1"), nux::befaehigungenladen("2026 1"));
    const auto h = nux::herkunftladen("2027 1");
    ASSERT_TRUE(h);
    EXPECT_EQ(h->quelle + (h->versetzt ? " versetzt" : ""), "2026 1 versetzt");
    EXPECT_EQ(h->nachfolger("5a"), "6a");
    EXPECT_EQ(h->nachfolger("7a"), std::nullopt);
    EXPECT_EQ(h->vorgaenger("5a"), std::nullopt);  // a new class has no predecessor
}

TEST_F(Versetzungsjahre, AblehnungSchreibtNichts) {
    const nux::Uebernahmewahl wahl{true, true, nux::Klassenwahl::mitStundenMitZusatz, false};
    const auto d = nux::versetzungladen({"2027 1", "2026 1"}, wahl);
    const auto v = nux::versetzungberechnen(d.klassen, {{"5a", "6a"}, {"5b", "6a"}}, d.lehrer, {});
    EXPECT_EQ(kernhilfe::meldung([&] { nux::versetzungschreiben({"2027 1", "2026 1"}, wahl, {}, v); }),
              "Die Klasse \xE2\x80\x9E" "5a\xE2\x80\x9C und die Klasse \xE2\x80\x9E" "5b\xE2\x80\x9C w\xC3\xBC" "rden beide zu "
              "\xE2\x80\x9E" "6a\xE2\x80\x9C.");
    EXPECT_EQ(eintraege("2027 1"), 0u);
    const std::pair<nux::Uebernahmepaar, std::string> jahre[] = {
        {{"2026 1", "2026 1"}, "Ein Jahr kann keine Daten von sich selbst \xC3\xBC" "bernehmen."},
        {{"2028 1", "2026 1"}, "\xE2\x80\x9E" "2028 1\xE2\x80\x9C ist kein Jahresordner (Jahreszahl, Leerzeichen, Nummer)."},
        {{"2027 1", "planung"}, "\xE2\x80\x9E" "planung\xE2\x80\x9C ist kein Jahresordner (Jahreszahl, Leerzeichen, Nummer)."},
    };
    for (const auto& [paar, meldung] : jahre) {
        EXPECT_EQ(kernhilfe::meldung([&] { nux::versetzungladen(paar, wahl); }), meldung);
        EXPECT_EQ(kernhilfe::meldung([&] { nux::versetzungschreiben(paar, wahl, {}, {}); }), meldung);
    }
    EXPECT_EQ(eintraege("2027 1"), 0u);
    EXPECT_EQ(nux::laden<Klassensatz>("2026 1/klassen"), kSchule);
}

// The takeover without promotion takes the qualifications with the teachers
// and notes where the classes came from.
TEST_F(Versetzungsjahre, UebernahmeNimmtBefaehigungenUndHerkunftMit) {
    const std::tuple<nux::Uebernahmewahl, bool, bool> faelle[] = {
        {{true, false, nux::Klassenwahl::keine, false}, true, false},
        {{false, false, nux::Klassenwahl::ohneStundenOhneZusatz, false}, false, true},
        {{false, false, nux::Klassenwahl::keine, true}, false, true},
    };
    for (const auto& [wahl, befaehigungen, herkunft] : faelle) {
        fs::remove_all("2027 1");
        fs::create_directory("2027 1");
        ASSERT_EQ(nux::uebernehmen({"2027 1", "2026 1"}, wahl), nux::Uebernahmeergebnis::erledigt);
        EXPECT_EQ(nux::befaehigungenladen("2027 1").leer(), !befaehigungen);
        EXPECT_EQ(nux::herkunftladen("2027 1"), herkunft ? std::optional(nux::Herkunft{"2026 1", false, {}}) : std::nullopt);
    }
}
