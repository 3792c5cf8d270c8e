#include <gtest/gtest.h>

#include <filesystem>

#include "app/kern/code.h"
#include "kernhilfe.h"
#include "storage/datei.h"
#include "storage/satz.h"

TEST(Code, CodierenVerschiebtJedeStelleUmIhrSchluesselbyte) {
    // Position i uses key byte i mod 8: so the 8th character uses the same
    // key as a 16th would, and equal characters at positions 1 and 9 match.
    const std::string a = nux::codieren("AAAAAAAAA");
    ASSERT_EQ(a.size(), 9u);
    EXPECT_EQ(a[0], a[8]);
    EXPECT_EQ(nux::codieren(""), "");
    const std::string b = nux::codieren("ABCDEFGH");
    for (int i = 0; i < 8; ++i) {
        const int schluessel = static_cast<unsigned char>(a[i]) - 'A';
        EXPECT_EQ(static_cast<unsigned char>(b[i]), static_cast<unsigned char>(('A' + i + schluessel) & 0xFF));
    }
    // Wraps modulo 256 instead of failing.
    EXPECT_EQ(nux::codieren(std::string(1, '\xFF')).size(), 1u);
}

TEST(Code, ErsterStartLegtStandardcodeAn) {
    kernhilfe::Ordner o;
    EXPECT_FALSE(nux::codestimmt("8154"));
    const auto b = nux::dateilesen("codes");
    ASSERT_EQ(b.size(), 9u);
    EXPECT_EQ(b[0], 4);
    EXPECT_TRUE(nux::codestimmt("8153"));
    EXPECT_FALSE(nux::codestimmt(" 8153"));
}

TEST(Code, NeuerCodeWirdAufAchtGekuerzt) {
    kernhilfe::Ordner o;
    ASSERT_TRUE(nux::codestimmt("8153"));
    nux::codeschreiben("ABCDEFGHIJ");
    EXPECT_TRUE(nux::codestimmt("ABCDEFGH"));
    EXPECT_EQ(nux::dateilesen("codes").size(), 9u);
}

TEST(Code, FehlendeCodedateiBeimSchreiben) {
    kernhilfe::Ordner o;
    EXPECT_THROW(nux::codeschreiben("X"), nux::Dateifehler);
    EXPECT_FALSE(std::filesystem::exists("codes"));
}
