// Writes the seed inputs of the fuzz targets: a few valid files, made by the
// storage layer, below the folder given as argument (fuzz/corpus).
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "app/kern/code.h"
#include "storage/datei.h"
#include "storage/planung.h"
#include "storage/satz.h"

namespace fs = std::filesystem;

namespace {

fs::path ziel;

void ablegen(const std::string& korpus, const std::string& name, const std::vector<std::uint8_t>& b) {
    fs::create_directories(ziel / korpus);
    std::ofstream f(ziel / korpus / name, std::ios::binary | std::ios::trunc);
    f.write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size()));
}

void ablegen(const std::string& korpus, const std::string& name, const std::string& s) {
    ablegen(korpus, name, std::vector<std::uint8_t>(s.begin(), s.end()));
}

nux::Fachsatz fach(const std::string& name, const std::string& kurz, int ordnung, bool heuer) {
    nux::Fachsatz f;
    f.name = name;
    f.kurz = kurz;
    f.ordnung = ordnung;
    f.unterrichtet = heuer;
    return f;
}

nux::Lehrersatz lehrer(const std::string& name, const std::string& kurz, std::int64_t stunden) {
    nux::Lehrersatz l;
    l.name = name;
    l.kurz = kurz;
    l.stunden = stunden;
    return l;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "Aufruf: nux_fuzzkorpus <Ordner>\n";
        return 2;
    }
    ziel = argv[1];

    ablegen("fuzz_faecher", "ein_fach", nux::kodieren<nux::Fachsatz>({fach("Deutsch", "D", 0, true)}));
    ablegen("fuzz_faecher", "drei_faecher",
            nux::kodieren<nux::Fachsatz>({fach("Mathematik", "M", 1, true), fach("#Latein", "L", 2, true),
                                          fach("Bildnerische Erziehung\xE4\xF6\xFC", "BE", 0, false)}));

    ablegen("fuzz_lehrer", "ein_lehrer", nux::kodieren<nux::Lehrersatz>({lehrer("M\xFCller Anna", "M\xDC", 225)}));
    ablegen("fuzz_lehrer", "zwei_lehrer",
            nux::kodieren<nux::Lehrersatz>({lehrer(std::string(40, 'N'), "ABCD", 0), lehrer("#Bauer", "BA", -15)}));

    nux::Klassensatz k;
    k.name = "1a";
    k.h(1, 3) = 15;
    k.l(1, 3) = "M\xDC";
    k.h(2, 3) = 20;
    k.z(2, 3) = "Schularbeit";
    k.h(3, 100) = 225;
    k.l(3, 100) = "ABCD";
    k.z(3, 100) = std::string(30, 'z');
    ablegen("fuzz_klassen", "eine_klasse", nux::kodieren<nux::Klassensatz>({k}));

    // The code target reads the typed entry first, ended by a backslash and
    // one more character, then the file.
    const auto standard = nux::kodieren<nux::Codesatz>({nux::Codesatz{nux::codieren(nux::kStandardcode)}});
    auto mitEingabe = [](const std::string& eingabe, std::vector<std::uint8_t> datei) {
        std::vector<std::uint8_t> b(eingabe.begin(), eingabe.end());
        b.push_back('\\');
        b.push_back('x');
        b.insert(b.end(), datei.begin(), datei.end());
        return b;
    };
    ablegen("fuzz_codes", "standardcode", mitEingabe(nux::kStandardcode, standard));
    ablegen("fuzz_codes", "acht_zeichen",
            mitEingabe("ABCDEFGH", nux::kodieren<nux::Codesatz>({nux::Codesatz{nux::codieren("ABCDEFGH")}})));

    ablegen("fuzz_jahrakt", "jahr", std::string("2006 1\r\n"));
    ablegen("fuzz_jahrakt", "zwei_zeilen", std::string("2007 2\r\n2006 1\r\n"));

    nux::Befaehigungen b;
    b.setzen("AndE", "D", nux::Stufe::befaehigt);
    b.setzen("AndE", "E", nux::Stufe::wunsch);
    b.setzen("MarH", "M", nux::Stufe::befaehigt);
    ablegen("fuzz_befaehigungen", "drei_eintraege", b.text());
    ablegen("fuzz_befaehigungen", "beschaedigt",
            std::string("\xEF\xBB\xBF" "Bo\tPh\tBEF\xC3\x84HIGT\nkaputt\nXa\t\t1\nLangname\tD\tx\r\nBo\tM\tvielleicht"));

    int nummer = 0;
    for (const char* s : {" 42 ", "-12", "4 2", "2147483647", "12-"})
        ablegen("fuzz_zahllesen", "zahl" + std::to_string(++nummer), std::string(s));
    nummer = 0;
    for (const char* s : {"22,5", " 1,5", "--1,5", "2,25", "123456789012345678,9"})
        ablegen("fuzz_zehntellesen", "zehntel" + std::to_string(++nummer), std::string(s));
    ablegen("fuzz_zehntel", "wert", std::vector<std::uint8_t>{4, 0xE1, 0, 0, 0, 0, 0, 0, 0});
    ablegen("fuzz_zehntel", "negativ", std::vector<std::uint8_t>{6, 0xF1, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF});
    return 0;
}
