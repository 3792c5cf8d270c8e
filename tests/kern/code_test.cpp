#include <gtest/gtest.h>

#include <fstream>

#include "app/kern/code.h"
#include "kernhilfe.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

// "codes" files as earlier installations wrote them: they must keep opening
// the program, so the scrambling can never change.
const std::pair<const char*, Bytes> kCodedateien[] = {
    {"8153", {4, 0x83, 0x58, 0x43, 0x8D, 0, 0, 0, 0}},
    {"ABCDEFGH", {8, 0x8C, 0x69, 0x51, 0x9E, 0x78, 0xA7, 0x59, 0x65}},
    // Sums beyond 255 wrap.
    {"\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF", {8, 0x4A, 0x26, 0x0D, 0x59, 0x32, 0x60, 0x11, 0x1C}},
};

}  // namespace

TEST(Code, DateienFruehererInstallationenGeltenWeiter) {
    {  // A new code needs the file; the first start writes the standard code.
        kernhilfe::Ordner o;
        EXPECT_THROW(nux::codeschreiben("X"), nux::Dateifehler);
        EXPECT_FALSE(std::filesystem::exists("codes"));
        EXPECT_FALSE(nux::codestimmt("8154"));
        EXPECT_EQ(nux::dateilesen("codes"), kCodedateien[0].second);
    }
    for (const auto& [code, bytes] : kCodedateien) {
        kernhilfe::Ordner o;
        std::ofstream("codes", std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), 9);
        EXPECT_TRUE(nux::codestimmt(code)) << code;
        EXPECT_FALSE(nux::codestimmt(std::string(code) + " ")) << code;
        // Writing the same code gives the same bytes, cut to eight characters.
        nux::codeschreiben(std::string(code) + (std::string(code).size() == 8 ? "IJ" : ""));
        EXPECT_EQ(nux::dateilesen("codes"), bytes) << code;
    }
    // The ninth character reuses the key byte of the first.
    EXPECT_EQ(nux::codieren(std::string(9, 'A')).substr(8), nux::codieren("A"));
    EXPECT_EQ(nux::codieren(""), "");
}
