#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

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

TEST(Satz, FachUndLehrerUndCode) {
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
    EXPECT_EQ(bf[31], 5);
    EXPECT_EQ(bf[40], 0x04);
    EXPECT_EQ(bf[43], 0x01);
    EXPECT_EQ(bf[44], 0);
    EXPECT_EQ(bf[45], 3);
    EXPECT_EQ(bf[49], 36);
    const auto bl = nux::dateilesen("lehrer");
    ASSERT_EQ(bl.size(), 104u);
    EXPECT_EQ(bl[0], 40);
    EXPECT_EQ(bl[41], 4);
    EXPECT_EQ(le64(bl, 48), 225);
    EXPECT_EQ(nux::laden<nux::Fachsatz>("faecher").at(1), f);
    EXPECT_EQ(nux::laden<nux::Lehrersatz>("lehrer").at(0), l);
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

TEST(Satz, LeereOderKrummeDateiIstDasDateiende) {
    kernhilfe::Ordner o;
    for (std::size_t groesse : {0u, 87u, 89u, 175u}) {
        std::ofstream("faecher", std::ios::binary | std::ios::trunc) << std::string(groesse, '\0');
        try {
            nux::laden<nux::Fachsatz>("faecher");
            ADD_FAILURE() << groesse;
        } catch (const nux::Dateifehler& e) {
            EXPECT_STREQ(e.what(), nux::kDateiende);
        }
        EXPECT_EQ(std::filesystem::file_size("faecher"), groesse);
    }
    EXPECT_THROW(nux::laden<nux::Fachsatz>("fehlt"), nux::Dateifehler);
}

TEST(Satz, ZuVieleSaetzeSindEinBereichsfehler) {
    kernhilfe::Ordner o;
    nux::neuschreiben("klassen", std::vector<nux::Klassensatz>(3));
    EXPECT_EQ(nux::laden<nux::Klassensatz>("klassen", 3).size(), 3u);
    try {
        nux::laden<nux::Klassensatz>("klassen", 2);
        ADD_FAILURE();
    } catch (const nux::Dateifehler& e) {
        EXPECT_STREQ(e.what(), nux::kBereich);
    }
}

TEST(Satz, NeuschreibenLaesstBeiFehlerDieAlteDateiGanz) {
    kernhilfe::Ordner o;
    nux::Fachsatz f;
    f.name = "alt";
    nux::neuschreiben<nux::Fachsatz>("faecher", {f});
    const auto vorher = nux::dateilesen("faecher");
    f.name = "neu";
    const struct {
        int fehler;
        const char* meldung;
    } faelle[] = {{ENOSPC, nux::kDatentraegerVoll}, {EIO, "E/A-Fehler 5"}, {EACCES, nux::kZugriffVerweigert}};
    for (const auto& fall : faelle) {
        nux::schreibfehlerSetzen(fall.fehler);
        try {
            nux::neuschreiben<nux::Fachsatz>("faecher", {f, f});
            ADD_FAILURE();
        } catch (const nux::Dateifehler& e) {
            EXPECT_STREQ(e.what(), fall.meldung);
        }
        nux::schreibfehlerSetzen(0);
        EXPECT_EQ(nux::dateilesen("faecher"), vorher);
        EXPECT_FALSE(std::filesystem::exists(".faecher.neu"));
    }
    // An append that fails leaves no half record behind.
    nux::schreibfehlerSetzen(ENOSPC);
    EXPECT_THROW(nux::satzschreiben("faecher", 1, f), nux::Dateifehler);
    EXPECT_THROW(nux::satzschreiben("neu", 0, f, true), nux::Dateifehler);
    nux::schreibfehlerSetzen(0);
    EXPECT_EQ(nux::dateilesen("faecher"), vorher);
    EXPECT_FALSE(std::filesystem::exists("neu"));
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
