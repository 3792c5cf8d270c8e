#include <gtest/gtest.h>

#include <fstream>

#include "kernhilfe.h"

namespace {

TEST(Satz, FelderLiegenByteGenau) {
    kernhilfe::Ordner o;
    nux::neuschreiben<nux::Klassensatz>(
        "klassen", {kernhilfe::klasse("1a", {{1, 3, 15}, {3, 100, -7, "", std::string(30, 'z')}, {2, 50, 0, "MarH"}})});
    nux::neuschreiben<nux::Fachsatz>("faecher", {{}, {"Deutsch", "DEUTS", 0x01020304, false}});
    nux::neuschreiben<nux::Lehrersatz>("lehrer", {{std::string(40, 'N'), "HubM", 225}});
    // File, offset and the bytes found there; integers are little-endian.
    const std::tuple<const char*, std::size_t, std::string> faelle[] = {
        {"klassen", 0, "\x02" "1a"}, {"klassen", 8 + 8 * 3, std::string("\x0F\0\0\0\0\0\0\0", 8)},
        {"klassen", 8 + 2 * 808 + 8 * 100, "\xF9\xFF\xFF\xFF\xFF\xFF\xFF\xFF"}, {"klassen", 2432 + 505 + 5 * 50, "\x04MarH"},
        {"klassen", 3947 + 2 * 3131 + 31 * 100, "\x1Ezzz"}, {"klassen", 13340, "\x03   "},  // reserved text of a new class
        {"faecher", 88 + 31, "\x05" "DEUTS"}, {"faecher", 88 + 40, std::string("\x04\x03\x02\x01\0\x03   \x24", 10)},
        {"lehrer", 0, "\x28NNN"}, {"lehrer", 41, "\x04HubM"}, {"lehrer", 48, std::string("\xE1\0\0\0\0\0\0\0", 8)},
    };
    for (const auto& [datei, stelle, bytes] : faelle) {
        const auto b = nux::dateilesen(datei);
        ASSERT_GE(b.size(), stelle + bytes.size());
        EXPECT_EQ(std::string(b.begin() + long(stelle), b.begin() + long(stelle + bytes.size())), bytes) << datei << stelle;
    }
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

// Record by record, each from a buffer of its own: no byte of an earlier
// content may leak into the file.
template <class Satz>
void rundlauf() {
    for (std::size_t i = 0; i < 2; ++i) nux::satzschreiben("neu", i, nux::satzlesen<Satz>("alt", i), i == 0);
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

TEST(Jahr, JahraktUndAnzeige) {
    kernhilfe::Ordner o;
    EXPECT_FALSE(nux::jahraktlesen().has_value());
    nux::jahraktschreiben("2007 2");
    const auto b = nux::dateilesen("jahrakt");
    EXPECT_EQ(std::string(b.begin(), b.end()) + "|" + nux::jahraktlesen().value(), "2007 2\r\n|2007 2");
    EXPECT_EQ(nux::jahranzeige("2007 2") + "|" + nux::jahranzeige("207 1") + "|" + nux::jahranzeige(""), "2007-2|207 -|-");
    // Only a folder inside the program folder can be the current year.
    for (const char* jahr : {"", "/etc", "../2007 2", "..", ".", "a/b"}) {
        nux::jahrsetzen(jahr);
        EXPECT_FALSE(nux::jahrgesetzt()) << jahr;
        EXPECT_THROW(nux::jahrdatei("faecher"), nux::Dateifehler) << jahr;
    }
    nux::jahrsetzen("2007 2");
    EXPECT_EQ(nux::jahrgesetzt() ? nux::jahrdatei("faecher") : "", "2007 2/faecher");
    nux::jahrsetzen("");
}

}  // namespace
