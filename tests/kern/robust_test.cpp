// Damaged files and failing writes: every reader answers with its German
// message and no file changes; every failed write leaves the old file whole.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <linux/fs.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "app/kern/code.h"
#include "kernhilfe.h"
#include "storage/datei.h"
#include "storage/jahr.h"
#include "storage/satz.h"
#include "storage/text.h"
#include "years/kern/jahre.h"

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

namespace {

void rohschreiben(const std::string& pfad, const Bytes& b) {
    std::ofstream f(pfad, std::ios::binary | std::ios::trunc);
    f.write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size()));
}

// Every file and folder below the program folder with its bytes.
std::map<std::string, Bytes> schnappschuss() {
    std::map<std::string, Bytes> alles;
    std::error_code ec;
    for (fs::recursive_directory_iterator it(".", ec), ende; !ec && it != ende; it.increment(ec)) {
        const auto pfad = it->path().string();
        if (it->is_regular_file()) {
            std::ifstream f(pfad, std::ios::binary);
            alles[pfad] = Bytes(std::istreambuf_iterator<char>(f), {});
        } else {
            alles[pfad] = {};
        }
    }
    return alles;
}

nux::Fachsatz fach(const std::string& name, int ordnung) { return {name, name.substr(0, 3), ordnung}; }

nux::Klassensatz klasse(const std::string& name) {
    return kernhilfe::klasse(name, {{1, 3, 15, "M\xDCL"}, {3, 100, 0, "", "Zusatz"}});
}

// A year with every file, a second year with subjects only, code and jahrakt.
void schuleanlegen() {
    ASSERT_TRUE(nux::codestimmt(nux::kStandardcode));
    fs::create_directory("2006 1");
    fs::create_directory("2007 1");
    nux::jahraktschreiben("2006 1");
    nux::neuschreiben<nux::Fachsatz>("2006 1/faecher", {fach("Deutsch", 0), fach("Mathematik", 1)});
    nux::neuschreiben<nux::Lehrersatz>("2006 1/lehrer", {nux::Lehrersatz{"Müller", "M\xDCL", 225}, nux::Lehrersatz{"Bauer", "BA", 0}});
    nux::neuschreiben<nux::Klassensatz>("2006 1/klassen", {klasse("1a")});
    nux::neuschreiben<nux::Fachsatz>("2007 1/faecher", {fach("Englisch", 0)});
}

template <class Satz>
Bytes mehrfach(const Satz& s, std::size_t n) {
    return nux::kodieren(std::vector<Satz>(n, s));
}

Bytes mit(Bytes b, std::size_t offset, std::uint8_t wert) {
    b.at(offset) = wert;
    return b;
}

Bytes gekuerzt(Bytes b, std::size_t weg) {
    b.resize(b.size() - weg);
    return b;
}

Bytes verlaengert(Bytes b, std::size_t dazu) {
    b.resize(b.size() + dazu, 0);
    return b;
}

// A failure must not leave a descriptor open: the program runs for hours.
std::size_t offeneDeskriptoren() {
    return static_cast<std::size_t>(std::distance(fs::directory_iterator("/proc/self/fd"), {}));
}

// ---------------------------------------------------------------- reading

struct Ladefall {
    const char* name;
    std::string pfad;
    std::function<Bytes()> inhalt;
    std::function<void()> lesen;
    const char* meldung;
};

const auto zweiFaecher = [] { return nux::kodieren<nux::Fachsatz>({fach("Deutsch", 0), fach("Mathematik", 1)}); };
const auto zweiLehrer = [] { return nux::kodieren<nux::Lehrersatz>({nux::Lehrersatz{"Müller", "M\xDCL", 225}, nux::Lehrersatz{"Bauer", "BA", 0}}); };
const auto eineKlasse = [] { return nux::kodieren<nux::Klassensatz>({klasse("1a")}); };
const auto faecherLaden = [] { nux::laden<nux::Fachsatz>("2006 1/faecher", 51); };
const auto lehrerLaden = [] { nux::laden<nux::Lehrersatz>("2006 1/lehrer"); };
const auto klassenLaden = [] { nux::laden<nux::Klassensatz>("2006 1/klassen", 101); };
const auto codePruefen = [] { nux::codestimmt(nux::kStandardcode); };

const Ladefall kLadefaelle[] = {
    {"FaecherLeer", "2006 1/faecher", [] { return Bytes{}; }, faecherLaden, nux::kDateiende},
    {"FaecherAbgeschnitten", "2006 1/faecher", [] { return gekuerzt(zweiFaecher(), 1); }, faecherLaden,
     nux::kDateiende},
    {"FaecherEinByteZuviel", "2006 1/faecher", [] { return verlaengert(zweiFaecher(), 1); }, faecherLaden,
     nux::kDateiende},
    {"FaecherMehrAlsErlaubt", "2006 1/faecher", [] { return mehrfach(fach("Kunst", 0), 52); }, faecherLaden,
     nux::kBereich},
    {"FaecherNamenslaengeZuGross", "2006 1/faecher", [] { return mit(zweiFaecher(), 88 + 0, 31); }, faecherLaden,
     nux::kBereich},
    {"FaecherKurzlaengeZuGross", "2006 1/faecher", [] { return mit(zweiFaecher(), 31, 6); }, faecherLaden,
     nux::kBereich},
    {"FaecherFlagZwei", "2006 1/faecher", [] { return mit(zweiFaecher(), 44, 2); }, faecherLaden, nux::kBereich},
    {"FaecherFlagFF", "2006 1/faecher", [] { return mit(zweiFaecher(), 88 + 44, 0xFF); }, faecherLaden,
     nux::kBereich},
    {"FaecherSatzHinterDemEnde", "2006 1/faecher", zweiFaecher,
     [] { nux::satzlesen<nux::Fachsatz>("2006 1/faecher", 2); }, nux::kDateiende},
    {"FaecherSatzAusAbgeschnittenerDatei", "2006 1/faecher", [] { return gekuerzt(zweiFaecher(), 1); },
     [] { nux::satzlesen<nux::Fachsatz>("2006 1/faecher", 0); }, nux::kDateiende},
    {"FaecherSatzMitFalschemFlag", "2006 1/faecher", [] { return mit(zweiFaecher(), 88 + 44, 7); },
     [] { nux::satzlesen<nux::Fachsatz>("2006 1/faecher", 1); }, nux::kBereich},
    {"LehrerFalscheGroesse", "2006 1/lehrer", [] { return mehrfach(fach("Kunst", 0), 12); }, lehrerLaden,
     nux::kDateiende},
    {"LehrerNamenslaengeZuGross", "2006 1/lehrer", [] { return mit(zweiLehrer(), 104, 41); }, lehrerLaden,
     nux::kBereich},
    {"LehrerKurzlaengeZuGross", "2006 1/lehrer", [] { return mit(zweiLehrer(), 104 + 41, 5); }, lehrerLaden,
     nux::kBereich},
    {"KlassenMehrAlsErlaubt", "2006 1/klassen", [] { return mehrfach(klasse("1a"), 102); }, klassenLaden,
     nux::kBereich},
    {"KlassenNamenslaengeZuGross", "2006 1/klassen", [] { return mit(eineKlasse(), 0, 4); }, klassenLaden,
     nux::kBereich},
    {"KlassenLehrerlaengeZuGross", "2006 1/klassen",
     [] { return mit(eineKlasse(), nux::klassenLehrerOffset(3, 100), 5); }, klassenLaden, nux::kBereich},
    {"KlassenZusatzlaengeZuGross", "2006 1/klassen",
     [] { return mit(eineKlasse(), nux::klassenZusatzOffset(3, 100), 31); }, klassenLaden, nux::kBereich},
    {"KlassenErsterZusatzZuLang", "2006 1/klassen",
     [] { return mit(eineKlasse(), nux::klassenZusatzOffset(1, 0), 0xFF); }, klassenLaden, nux::kBereich},
    {"CodesLeer", "codes", [] { return Bytes{}; }, codePruefen, nux::kDateiende},
    {"CodesFalscheGroesse", "codes", [] { return Bytes(10, 0); }, codePruefen, nux::kDateiende},
    {"CodesLaengeZuGross", "codes", [] { return mit(Bytes(9, 'A'), 0, 9); }, codePruefen, nux::kBereich},
};

void PrintTo(const Ladefall& f, std::ostream* os) { *os << f.name; }

class Laden : public ::testing::TestWithParam<Ladefall> {};

TEST_P(Laden, GibtMeldungUndAendertNichts) {
    const Ladefall& f = GetParam();
    kernhilfe::Ordner o;
    schuleanlegen();
    rohschreiben(f.pfad, f.inhalt());
    const auto vorher = schnappschuss();
    const auto deskriptoren = offeneDeskriptoren();
    EXPECT_EQ(kernhilfe::meldung(f.lesen), f.meldung);
    EXPECT_EQ(offeneDeskriptoren(), deskriptoren);
    EXPECT_EQ(schnappschuss(), vorher);
}

INSTANTIATE_TEST_SUITE_P(Robust, Laden, ::testing::ValuesIn(kLadefaelle),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Robust, FehlendeUndFalscheDateiarten) {
    kernhilfe::Ordner o;
    schuleanlegen();
    fs::remove("2006 1/lehrer");
    fs::create_directory("2006 1/lehrer");
    fs::remove("codes");
    fs::create_directory("codes");
    const auto vorher = schnappschuss();
    const std::pair<std::function<void()>, const char*> faelle[] = {
        {[] { nux::laden<nux::Klassensatz>("2005 1/klassen"); }, nux::kNichtGefunden},
        {[] { nux::satzlesen<nux::Fachsatz>("2006 1/fehlt", 0); }, nux::kNichtGefunden},
        {[] { nux::laden<nux::Lehrersatz>("2006 1/lehrer"); }, nux::kZugriffVerweigert},
        {[] { nux::satzlesen<nux::Lehrersatz>("2006 1/lehrer", 0); }, nux::kZugriffVerweigert},
        // A folder named "codes" is not replaced by a new code file.
        {codePruefen, nux::kZugriffVerweigert},
        {[] { nux::neuschreiben<nux::Lehrersatz>("2006 1/lehrer", {nux::Lehrersatz{"A", "A", 1}}); }, nux::kZugriffVerweigert},
        {[] { nux::dateikopieren("2006 1/faecher", "2006 1/lehrer"); }, nux::kZugriffVerweigert},
        // A regular file whose reading fails halfway (EIO).
        {[] { nux::dateilesen("/proc/self/mem"); }, "Ein-/Ausgabefehler des Datenträgers"},
        {[] { nux::dateikopieren("/proc/self/mem", "2006 1/faecher"); }, "Ein-/Ausgabefehler des Datenträgers"},
        // Writing beyond the end would leave a hole of zeros.
        {[] { nux::satzschreiben<nux::Fachsatz>("2006 1/faecher", 3, fach("Neu", 3)); }, nux::kBereich},
    };
    for (const auto& [tun, meldung] : faelle) EXPECT_EQ(kernhilfe::meldung(tun), meldung);
    EXPECT_EQ(schnappschuss(), vorher);
}

TEST(Robust, JahraktMitBeliebigemInhalt) {
    const std::pair<std::string, std::string> faelle[] = {  // content, the line read
        {"2006 1\r\n2007 1\r\n", "2006 1"},
        {"2006 1", "2006 1"},
        {"\r\n", ""},
        {"", ""},
        {"2006 1\n", "2006 1"},
        {std::string("20\0" "6 1\r\n", 8), std::string("20\0" "6 1", 6)},
        {std::string(5000, 'x') + "\r\n", std::string(5000, 'x')},
        {"\xFF\xFE\x80\r", "\xFF\xFE\x80"},
    };
    for (const auto& [inhalt, zeile] : faelle) {
        kernhilfe::Ordner o;
        rohschreiben("jahrakt", Bytes(inhalt.begin(), inhalt.end()));
        const auto vorher = schnappschuss();
        EXPECT_EQ(nux::jahraktlesen(), zeile);
        EXPECT_EQ(schnappschuss(), vorher);
    }
}

// ------------------------------------------------ names of full length

TEST(Robust, ZuLangeNamenWerdenGekuerztOhneInsNaechsteFeldZuReichen) {
    kernhilfe::Ordner o;
    const std::string s41 = "\xC4" + std::string(39, 'x') + "\xFF";
    nux::Fachsatz f = fach(s41, -7);
    f.kurz = "\xC4\xD6\xDC\xDF\xE4\xF6";
    nux::Lehrersatz l{s41, "ABCDE", INT64_MIN};
    nux::Klassensatz k = klasse("10bc");
    k.l(3, 100) = "ABCDE";
    k.z(3, 100) = s41;
    nux::neuschreiben<nux::Fachsatz>("faecher", {f});
    nux::neuschreiben<nux::Lehrersatz>("lehrer", {l});
    nux::neuschreiben<nux::Klassensatz>("klassen", {k});
    f.name.resize(30);
    f.kurz.resize(5);
    l.name.resize(40);
    l.kurz.resize(4);
    k.name.resize(3);
    k.l(3, 100).resize(4);
    k.z(3, 100).resize(30);
    EXPECT_EQ(nux::satzlesen<nux::Fachsatz>("faecher", 0), f);
    EXPECT_EQ(nux::satzlesen<nux::Lehrersatz>("lehrer", 0), l);
    EXPECT_EQ(nux::satzlesen<nux::Klassensatz>("klassen", 0), k);
}

// ---------------------------------------------------------------- writing

enum class Stoerung { Voll, Teilweise, OrdnerSchreibgeschuetzt, DateiSchreibgeschuetzt, OrdnerWeg };

struct Schreibfall {
    const char* name;
    std::string ordner;  // folder holding the written file
    std::string pfad;    // the written file
    std::function<void()> schreiben;
    std::function<void()> pruefen;  // the new content is in place
    rlim_t grenze;                   // file size limit that stops the write halfway
};

const nux::Lehrersatz kNeuerLehrer = nux::Lehrersatz{"Neumann", "NEU", 185};

const Schreibfall kSchreibfaelle[] = {
    {"FaecherNeu", "2006 1", "2006 1/faecher",
     [] { nux::neuschreiben<nux::Fachsatz>("2006 1/faecher", {fach("A", 0), fach("B", 1), fach("C", 2)}); },
     [] { EXPECT_EQ(nux::laden<nux::Fachsatz>("2006 1/faecher").size(), 3u); }, 100},
    {"LehrerErsetzen", "2006 1", "2006 1/lehrer",
     [] { nux::satzschreiben("2006 1/lehrer", 1, kNeuerLehrer); },
     [] { EXPECT_EQ(nux::satzlesen<nux::Lehrersatz>("2006 1/lehrer", 1), kNeuerLehrer); }, 0},
    {"LehrerAnhaengen", "2006 1", "2006 1/lehrer",
     [] { nux::satzschreiben("2006 1/lehrer", 2, kNeuerLehrer); },
     [] { EXPECT_EQ(nux::laden<nux::Lehrersatz>("2006 1/lehrer").at(2), kNeuerLehrer); }, 2 * 104 + 50},
    // Allowed to create the file, which is there: an append all the same.
    {"LehrerAnhaengenMitAnlegen", "2006 1", "2006 1/lehrer",
     [] { nux::satzschreiben("2006 1/lehrer", 2, kNeuerLehrer, true); },
     [] { EXPECT_EQ(nux::laden<nux::Lehrersatz>("2006 1/lehrer").at(2), kNeuerLehrer); }, 2 * 104 + 50},
    {"LehrerAnlegen", "2007 1", "2007 1/lehrer",
     [] { nux::satzschreiben("2007 1/lehrer", 0, kNeuerLehrer, true); },
     [] { EXPECT_EQ(nux::laden<nux::Lehrersatz>("2007 1/lehrer"), std::vector<nux::Lehrersatz>{kNeuerLehrer}); },
     50},
    {"Kopieren", "2007 1", "2007 1/faecher", [] { nux::dateikopieren("2006 1/klassen", "2007 1/faecher"); },
     [] { EXPECT_EQ(nux::dateilesen("2007 1/faecher"), nux::dateilesen("2006 1/klassen")); }, 10000},
    {"Code", ".", "codes", [] { nux::codeschreiben("4711"); },
     [] { EXPECT_TRUE(nux::codestimmt("4711")); }, 0},
    {"Jahrakt", ".", "jahrakt", [] { nux::jahraktschreiben("2007 1"); },
     [] { EXPECT_EQ(nux::jahraktlesen(), "2007 1"); }, 3},
};

struct Schreibtest {
    Schreibfall fall;
    Stoerung stoerung;
    const char* meldung;  // nullptr: the write succeeds in spite of the fault
};

std::vector<Schreibtest> schreibtests() {
    std::vector<Schreibtest> t;
    for (const auto& f : kSchreibfaelle) {
        const std::string n = f.name;
        const bool anOrt = n == "LehrerErsetzen" || n == "Code";
        const bool anhaengen = n.starts_with("LehrerAnhaengen");
        t.push_back({f, Stoerung::Voll, nux::kDatentraegerVoll});
        if (f.grenze != 0) t.push_back({f, Stoerung::Teilweise, nux::kDatentraegerVoll});
        // A write-protected folder still lets a file in it be changed in place.
        t.push_back({f, Stoerung::OrdnerSchreibgeschuetzt, anOrt || anhaengen ? nullptr : nux::kZugriffVerweigert});
        if (n != "LehrerAnlegen") t.push_back({f, Stoerung::DateiSchreibgeschuetzt, nux::kZugriffVerweigert});
        t.push_back({f, Stoerung::OrdnerWeg, nux::kNichtGefunden});
    }
    return t;
}

const char* stoerungsname(Stoerung s) {
    switch (s) {
        case Stoerung::Voll: return "Voll";
        case Stoerung::Teilweise: return "Teilweise";
        case Stoerung::OrdnerSchreibgeschuetzt: return "OrdnerSchreibgeschuetzt";
        case Stoerung::DateiSchreibgeschuetzt: return "DateiSchreibgeschuetzt";
        case Stoerung::OrdnerWeg: return "OrdnerWeg";
    }
    return "";
}

// Root writes through any permission bits; the immutable flag stops it too.
bool unveraenderlich(const std::string& pfad, bool an) {
    const int fd = ::open(pfad.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return false;
    int flags = 0;
    bool ok = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    if (ok) {
        flags = an ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
        ok = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    }
    ::close(fd);
    return ok;
}

// Sets up a fault and takes it back, also when the test fails halfway.
class Stoerer {
public:
    Stoerer(Stoerung s, const Schreibfall& f) : s_(s), f_(f) {}
    ~Stoerer() { aufheben(); }
    // False when the fault cannot be made here (chmod has no effect for root).
    bool einrichten() {
        switch (s_) {
            case Stoerung::Voll:
                nux::schreibfehlerSetzen(ENOSPC);
                return true;
            case Stoerung::Teilweise: {
                ::signal(SIGXFSZ, SIG_IGN);
                ::getrlimit(RLIMIT_FSIZE, &alt_);
                rlimit neu = alt_;
                neu.rlim_cur = f_.grenze;
                grenzeGesetzt_ = ::setrlimit(RLIMIT_FSIZE, &neu) == 0;
                return grenzeGesetzt_;
            }
            case Stoerung::OrdnerSchreibgeschuetzt:
                return schuetzen(f_.ordner);
            case Stoerung::DateiSchreibgeschuetzt:
                return schuetzen(f_.pfad);
            case Stoerung::OrdnerWeg:
                fs::remove_all(f_.ordner == "." ? fs::current_path() : fs::path(f_.ordner));
                return true;
        }
        return false;
    }
    void aufheben() {
        nux::schreibfehlerSetzen(0);
        if (grenzeGesetzt_) ::setrlimit(RLIMIT_FSIZE, &alt_);
        grenzeGesetzt_ = false;
        if (!geschuetzt_.empty()) {
            if (immun_) unveraenderlich(geschuetzt_, false);
            std::error_code ec;
            fs::permissions(geschuetzt_, fs::perms::owner_write, fs::perm_options::add, ec);
        }
        geschuetzt_.clear();
        immun_ = false;
    }

private:
    bool schuetzen(const std::string& pfad) {
        fs::permissions(pfad, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                        fs::perm_options::remove);
        geschuetzt_ = pfad;
        if (::access(pfad.c_str(), W_OK) != 0) return true;
        immun_ = unveraenderlich(pfad, true);
        return immun_ && ::access(pfad.c_str(), W_OK) != 0;
    }

    bool immun_ = false;
    Stoerung s_;
    const Schreibfall& f_;
    rlimit alt_{};
    bool grenzeGesetzt_ = false;
    std::string geschuetzt_;
};

void PrintTo(const Schreibtest& t, std::ostream* os) { *os << t.fall.name << " " << stoerungsname(t.stoerung); }

class Schreiben : public ::testing::TestWithParam<Schreibtest> {};

TEST_P(Schreiben, AlteDateiBleibtGanz) {
    const Schreibtest& t = GetParam();
    kernhilfe::Ordner o;
    schuleanlegen();
    Stoerer stoerer(t.stoerung, t.fall);
    if (!stoerer.einrichten()) GTEST_SKIP() << "Schreibschutz hier nicht herstellbar (root ohne Attribut i)";
    const auto vorher = schnappschuss();
    const auto deskriptoren = offeneDeskriptoren();
    try {
        t.fall.schreiben();
        stoerer.aufheben();
        if (t.meldung) ADD_FAILURE() << "kein Fehler";
        else t.fall.pruefen();
        EXPECT_EQ(offeneDeskriptoren(), deskriptoren);
        return;
    } catch (const nux::Dateifehler& e) {
        stoerer.aufheben();
        if (!t.meldung) {
            ADD_FAILURE() << "unerwartet: " << e.what();
            return;
        }
        EXPECT_STREQ(e.what(), t.meldung);
    }
    // Byte for byte as before, and no temporary file or descriptor left behind.
    EXPECT_EQ(schnappschuss(), vorher);
    EXPECT_EQ(offeneDeskriptoren(), deskriptoren);
    if (t.stoerung != Stoerung::OrdnerWeg) {
        // Nothing is lost: once the fault is gone the same write succeeds.
        t.fall.schreiben();
        t.fall.pruefen();
        EXPECT_EQ(offeneDeskriptoren(), deskriptoren);
    }
}

INSTANTIATE_TEST_SUITE_P(Robust, Schreiben, ::testing::ValuesIn(schreibtests()), [](const auto& info) {
    return std::string(info.param.fall.name) + "_" + stoerungsname(info.param.stoerung);
});

TEST(Robust, TodMittenImSchreiben) {
    // The process dies at its first write beyond 20 bytes (SIGXFSZ, as a
    // power cut would stop it): the file is the old one, or, when the write
    // never came that far, the new one; a temporary file may stay behind.
    for (const auto& f : kSchreibfaelle) {
        kernhilfe::Ordner o;
        schuleanlegen();
        auto vorher = schnappschuss();
        const pid_t kind = ::fork();
        if (kind == 0) {
            ::signal(SIGXFSZ, SIG_DFL);
            rlimit grenze{20, 20};
            ::setrlimit(RLIMIT_FSIZE, &grenze);
            try {
                f.schreiben();
            } catch (...) {
                ::_exit(2);
            }
            ::_exit(0);
        }
        int status = 0;
        ASSERT_EQ(::waitpid(kind, &status, 0), kind);
        if (WIFEXITED(status) && WEXITSTATUS(status) == 0) {
            f.pruefen();
            continue;
        }
        ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGXFSZ) << f.name << " Status " << status;
        auto nachher = schnappschuss();
        std::erase_if(nachher, [](const auto& e) { return e.first.ends_with(".neu"); });
        EXPECT_EQ(nachher, vorher) << f.name;
    }
}

// ---------------------------------------------------------------- rights

TEST(Robust, RechteNeuerUndErsetzterDateien) {
    // New files and year folders get the usual rights less the umask; a file
    // that is replaced or copied over keeps the rights its owner gave it.
    struct Fall { const char* was; std::function<void()> tun; const char* pfad; mode_t vorher, nachher; };  // vorher 0: new
    const Fall faelle[] = {
        {"neues Jahr", [] { std::string n; nux::jahranlegen("2026", "1", n); }, "2026 1", 0, 0755},
        {"neue Datei", [] { nux::neuschreiben<nux::Fachsatz>("2006 1/neu", {fach("A", 0)}); }, "2006 1/neu", 0, 0644},
        {"neuer Satz", [] { nux::satzschreiben("2007 1/lehrer", 0, kNeuerLehrer, true); }, "2007 1/lehrer", 0, 0644},
        {"neue Kopie", [] { nux::dateikopieren("2006 1/lehrer", "2007 1/lehrer"); }, "2007 1/lehrer", 0, 0644},
        {"ersetzt", [] { nux::neuschreiben<nux::Fachsatz>("2006 1/faecher", {fach("A", 0)}); }, "2006 1/faecher",
         0640, 0640},
        {"ueberkopiert", [] { nux::dateikopieren("2006 1/lehrer", "2006 1/faecher"); }, "2006 1/faecher", 0604, 0604},
        {"an Ort", [] { nux::satzschreiben("2006 1/lehrer", 0, kNeuerLehrer); }, "2006 1/lehrer", 0600, 0600},
        {"Code", [] { nux::codeschreiben("1"); }, "codes", 0660, 0660},
    };
    for (const mode_t maske : {022, 077}) {
        for (const auto& f : faelle) {
            kernhilfe::Ordner o;
            schuleanlegen();
            if (f.vorher) fs::permissions(f.pfad, static_cast<fs::perms>(f.vorher));
            const mode_t alt = ::umask(maske);
            f.tun();
            ::umask(alt);
            struct stat st {};
            ASSERT_EQ(::stat(f.pfad, &st), 0) << f.was;
            EXPECT_EQ(st.st_mode & 07777, f.vorher ? f.nachher : f.nachher & ~maske) << f.was << " " << maske;
        }
    }
}

}  // namespace
