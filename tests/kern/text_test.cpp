#include <gtest/gtest.h>

#include "kernhilfe.h"
#include "storage/text.h"

TEST(Text, SpaltenFuellenSchneidenUndTrimmen) {
    const struct { const char *text; int breite; const char *links, *rechts; } faelle[] = {
        {"Deutsch", 3, "Deu", "Deu"}, {"M", 3, "M  ", "  M"}, {"egal", 0, "", ""},
        {"", 4, "    ", "    "},      {"abc", -2, "", ""},    {"abc", 3, "abc", "abc"}, {"abc", 1, "a", "a"},
    };
    for (const auto& f : faelle) {
        EXPECT_EQ(nux::linksbuendig(f.text, f.breite), f.links) << f.text << "/" << f.breite;
        EXPECT_EQ(nux::rechtsbuendig(f.text, f.breite), f.rechts) << f.text << "/" << f.breite;
    }
    EXPECT_EQ(nux::trimmen("\t  a b \r\n") + "|" + nux::trimmen("   "), "a b|");
    EXPECT_EQ(nux::teil("abcdef", 2, 4) + "|" + nux::teil("abc", 2, 10) + "|" + nux::teil("abc", 5, 10) + "|" +
                  nux::teil("abc", 0, 2), "bcd|bc||ab");
}

TEST(Text, ZahlrechtsUndZahllesen) {
    const struct { std::int32_t n; int w; const char* erwartet; } rechts[] = {
        {1234, 3, "1234"}, {-5, 3, " -5"}, {7, 3, "  7"}, {0, 1, "0"}, {-2147483647 - 1, 3, "-2147483648"},
    };
    for (const auto& f : rechts) EXPECT_EQ(nux::zahlrechts(f.n, f.w), f.erwartet) << f.n;
    const struct { const char* text; std::int32_t wert; } faelle[] = {
        {" 42 ", 42}, {"4 2", 42}, {"12-", -12}, {"-12", -12}, {"-", 0},
        {"", 0},      {"abc", 0},  {"007", 7},   {"2147483647", 2147483647}, {"000000000000042", 42},
    };
    for (const auto& f : faelle) EXPECT_EQ(nux::zahllesen(f.text), f.wert) << '"' << f.text << '"';
    for (const std::string zulang : {"2147483648", "99999999999", "-2147483648"})
        EXPECT_EQ(kernhilfe::meldung([&] { nux::zahllesen(zulang); }),
                  "'" + zulang.substr(zulang[0] == '-') + "' ist kein gültiger Integerwert");
}

TEST(Text, ZehntelzeigenUndZurueck) {
    const struct { std::int64_t v; int w; const char* text; } faelle[] = {
        {225, 4, "22,5"}, {5, 4, " 0,5"}, {0, 4, " 0,0"}, {1234, 4, "23,4"}, {-123, 6, " -12,3"}, {-5, 5, " -0,5"},
        {-19, 5, " -1,9"}, {-1, 4, "-0,1"}, {-20, 5, " -2,0"}, {2250, 7, "  225,0"}, {10, 2, ",0"},
    };
    for (const auto& f : faelle) {
        EXPECT_EQ(nux::zehntelzeigen(f.v, f.w), f.text) << f.v << "/" << f.w;
        const std::string t = nux::zehntelzeigen(f.v, 12);
        EXPECT_EQ(nux::zehntellesen(t), f.v) << t;
    }
    EXPECT_EQ(nux::zehntelzeigen(INT64_MIN, 30).size(), 30u);
    EXPECT_EQ(nux::zehntellesen(nux::zehntelzeigen(INT64_MIN, 30)), INT64_MIN);
    // Reading takes every digit and any minus sign, wherever they stand.
    const std::pair<const char*, std::int64_t> gelesen[] = {
        {"22,5", 225}, {"22", 22}, {"--1,5", -15}, {"", 0}, {"2,25", 225}, {"a1b2", 12}, {" 0,0", 0}};
    for (const auto& [text, wert] : gelesen) EXPECT_EQ(nux::zehntellesen(text), wert) << text;
}

TEST(Text, SortierungFaltetGrossUndKleinUndUmlaute) {
    // Lower and upper case of one Windows-1252 letter are equal until the
    // rest decides; other characters, even close neighbours, keep their order.
    const std::pair<const char*, const char*> gleich[] = {
        {"a", "A"}, {"z", "Z"}, {"\xE0", "\xC0"}, {"\xE4", "\xC4"}, {"\xFE", "\xDE"},
        {"\x9A", "\x8A"}, {"\x9C", "\x8C"}, {"\x9E", "\x8E"}, {"\xFF", "\x9F"},
    };
    for (const auto& [klein, gross] : gleich) {
        EXPECT_LT(nux::textvergleich(std::string(gross) + "a", std::string(klein) + "b"), 0) << klein;
        EXPECT_GT(nux::textvergleich(std::string(gross) + "b", std::string(klein) + "a"), 0) << klein;
        // Equal when folded: the bytes decide, upper case first, in both directions.
        EXPECT_TRUE(nux::textvergleich(gross, klein) < 0 && nux::textvergleich(klein, gross) > 0) << klein;
    }
    const std::pair<const char*, const char*> verschieden[] = {
        {"@", "`"}, {"[", "{"}, {"\xD7", "\xF7"}, {"\xE0", "\xDF"}, {"\x7F", "\x9F"}, {"\x80", "\xA0"},
        {"--> neues Jahr", "2006 1"}, {"ABC", "abd"},
    };
    for (const auto& [vorne, hinten] : verschieden)
        EXPECT_LT(nux::textvergleich(std::string(vorne) + "b", std::string(hinten) + "a"), 0) << vorne;
    EXPECT_EQ(nux::textvergleich("gleich", "gleich"), 0);
    EXPECT_LT(nux::textvergleich("X", "xa"), 0);
}
