#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>

#include "kernhilfe.h"
#include "storage/datei.h"
#include "storage/jahr.h"
#include "storage/satz.h"

namespace {

std::int64_t le64(const std::vector<std::uint8_t>& b, std::size_t off) {
    std::uint64_t v = 0;
    for (int i = 7; i >= 0; --i) v = (v << 8) | b[off + i];
    return static_cast<std::int64_t>(v);
}

TEST(Satz, KlassensatzLiegtByteGenau) {
    kernhilfe::Ordner o;
    nux::Klassensatz k;
    k.name = "1a";
    k.h(1, 3) = 15;
    k.h(3, 100) = -7;
    k.l(2, 50) = "MarH";
    k.z(3, 100) = std::string(30, 'z');
    nux::neuschreiben<nux::Klassensatz>("klassen", {k});
    const auto b = nux::dateilesen("klassen");
    ASSERT_EQ(b.size(), 13376u);
    EXPECT_EQ(b[0], 2);
    EXPECT_EQ(b[1], '1');
    EXPECT_EQ(le64(b, 32), 15);  // slot 1, subject 3
    EXPECT_EQ(le64(b, 8 + 2 * 808 + 8 * 100), -7);
    EXPECT_EQ(b[2432 + 505 + 250], 4);
    EXPECT_EQ(std::string(b.begin() + 2432 + 505 + 251, b.begin() + 2432 + 505 + 255), "MarH");
    EXPECT_EQ(b[3947 + 2 * 3131 + 3100], 30);
    EXPECT_EQ(b[13340], 3);  // reserved text of a new class: three spaces
    EXPECT_EQ(b[13341], ' ');
    EXPECT_EQ(nux::laden<nux::Klassensatz>("klassen").at(0), k);
}

TEST(Satz, FachUndLehrerLiegenByteGenau) {
    kernhilfe::Ordner o;
    nux::Fachsatz f;
    f.name = "Deutsch";
    f.kurz = "DEUTS";
    f.ordnung = 0x01020304;
    f.unterrichtet = false;
    nux::Lehrersatz l;
    l.name = std::string(40, 'N');
    l.kurz = "HubM";
    l.stunden = 225;
    nux::neuschreiben<nux::Fachsatz>("faecher", {f, f});
    nux::neuschreiben<nux::Lehrersatz>("lehrer", {l});
    const auto bf = nux::dateilesen("faecher");
    ASSERT_EQ(bf.size(), 176u);
    EXPECT_EQ(std::vector<int>({bf[31], bf[40], bf[43], bf[44], bf[45], bf[49]}), std::vector<int>({5, 4, 1, 0, 3, 36}));
    const auto bl = nux::dateilesen("lehrer");
    ASSERT_EQ(bl.size(), 104u);
    EXPECT_EQ(std::vector<int>({bl[0], bl[41]}), std::vector<int>({40, 4}));
    EXPECT_EQ(le64(bl, 48), 225);
}

// Every significant byte of a record, reserved ones included, comes back
// unchanged through loading and writing; filler bytes come back as zeros.
// Every byte differs from its neighbours, so a field read one byte off shows.
struct Satzart {
    const char* name;
    std::size_t groesse;
    std::vector<std::pair<std::size_t, std::uint8_t>> festebytes;  // length bytes at capacity, flags
    std::vector<std::pair<std::size_t, std::size_t>> fueller;      // [von, bis)
    std::function<void()> rundlauf;                                // "alt" -> "neu"
};

template <class Satz>
void rundlauf() {
    nux::neuschreiben("neu", nux::laden<Satz>("alt"));
}

TEST(Satz, JedesBedeutsameByteKommtUnveraendertZurueck) {
    std::vector<std::pair<std::size_t, std::uint8_t>> klassenlaengen = {{0, 3}, {13340, 3}};
    for (int j = 1; j <= nux::kSlots; ++j)
        for (int s = 0; s < nux::kFaecherMax; ++s) {
            klassenlaengen.push_back({nux::klassenLehrerOffset(j, s), 4});
            klassenlaengen.push_back({nux::klassenZusatzOffset(j, s), 30});
        }
    const Satzart arten[] = {
        {"Fach", 88, {{0, 30}, {31, 5}, {44, 1}, {45, 3}, {49, 36}}, {{37, 40}, {86, 88}}, rundlauf<nux::Fachsatz>},
        {"Lehrer", 104, {{0, 40}, {41, 4}}, {{46, 48}}, rundlauf<nux::Lehrersatz>},
        {"Klasse", 13376, klassenlaengen, {{4, 8}}, rundlauf<nux::Klassensatz>},
        {"Code", 9, {{0, 8}}, {}, rundlauf<nux::Codesatz>},
    };
    for (const auto& art : arten) {
        kernhilfe::Ordner o;
        std::vector<std::uint8_t> alt(2 * art.groesse), erwartet;
        for (std::size_t i = 0; i < alt.size(); ++i) alt[i] = static_cast<std::uint8_t>(i * 131 + i / 256 + 7);
        for (std::size_t satz = 0; satz < 2; ++satz)
            for (const auto& [stelle, wert] : art.festebytes) alt[satz * art.groesse + stelle] = wert;
        erwartet = alt;
        for (std::size_t satz = 0; satz < 2; ++satz)
            for (const auto& [von, bis] : art.fueller)
                std::fill(erwartet.begin() + long(satz * art.groesse + von), erwartet.begin() + long(satz * art.groesse + bis), 0);
        std::ofstream("alt", std::ios::binary).write(reinterpret_cast<const char*>(alt.data()), long(alt.size()));
        art.rundlauf();
        EXPECT_EQ(nux::dateilesen("neu"), erwartet) << art.name;
    }
}

TEST(Satz, EinzelnerSatzAnSeinerStelle) {
    kernhilfe::Ordner o;
    nux::Lehrersatz a, b;
    a.kurz = "A";
    b.kurz = "B";
    EXPECT_THROW(nux::satzschreiben("lehrer", 0, a), nux::Dateifehler);  // no file, no creation
    nux::satzschreiben("lehrer", 0, a, true);
    nux::satzschreiben("lehrer", 1, b);
    nux::satzschreiben("lehrer", 0, b);
    EXPECT_EQ(nux::satzlesen<nux::Lehrersatz>("lehrer", 1).kurz, "B");
    EXPECT_EQ(nux::satzlesen<nux::Lehrersatz>("lehrer", 0).kurz, "B");
    EXPECT_EQ(nux::satzanzahl("lehrer", 104), 2u);
    EXPECT_THROW(nux::satzlesen<nux::Lehrersatz>("lehrer", 2), nux::Dateifehler);
}

TEST(Jahr, JahraktUndAnzeige) {
    kernhilfe::Ordner o;
    EXPECT_FALSE(nux::jahraktlesen().has_value());
    nux::jahraktschreiben("2007 2");
    const auto b = nux::dateilesen("jahrakt");
    EXPECT_EQ(std::string(b.begin(), b.end()), "2007 2\r\n");
    EXPECT_EQ(nux::jahraktlesen().value(), "2007 2");
    EXPECT_EQ(nux::jahranzeige("2007 2"), "2007-2");
    EXPECT_EQ(nux::jahranzeige("207"), "207");
    EXPECT_EQ(nux::jahranzeige(""), "");
    EXPECT_EQ(nux::jahranzeige("2007 "), "2007");
    nux::jahrsetzen("");
    EXPECT_THROW(nux::jahrdatei("faecher"), nux::Dateifehler);
    for (const char* ausserhalb : {"/etc", "../2007 2", "..", ".", "a/b"}) {
        nux::jahrsetzen(ausserhalb);
        EXPECT_FALSE(nux::jahrgesetzt()) << ausserhalb;
        EXPECT_THROW(nux::jahrdatei("faecher"), nux::Dateifehler) << ausserhalb;
    }
    nux::jahrsetzen("2007 2");
    EXPECT_TRUE(nux::jahrgesetzt());
    EXPECT_EQ(nux::jahrdatei("faecher"), "2007 2/faecher");
    nux::jahrsetzen("");
}

}  // namespace
