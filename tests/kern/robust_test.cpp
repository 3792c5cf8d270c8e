// Damaged files and failing writes: every reader answers with its German
// message and no file changes; every failed write leaves the old file whole.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "app/kern/code.h"
#include "kernhilfe.h"
#include "storage/datei.h"
#include "storage/jahr.h"
#include "storage/satz.h"
#include "storage/sicherung.h"
#include "storage/text.h"
#include "years/kern/jahre.h"

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

namespace {

void rohschreiben(const std::string& pfad, const Bytes& b) {
    std::ofstream(pfad, std::ios::binary).write(reinterpret_cast<const char*>(b.data()), std::streamsize(b.size()));
}

// Every file and folder below the program folder with its bytes.
std::map<std::string, Bytes> schnappschuss() {
    std::map<std::string, Bytes> alles;
    std::error_code ec;
    for (fs::recursive_directory_iterator it(".", ec), ende; !ec && it != ende; it.increment(ec))
        alles[it->path().string()] = it->is_regular_file() ? nux::dateilesen(it->path().string()) : Bytes{};
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

// A failure must not leave a descriptor open: the program runs for hours.
std::size_t offeneDeskriptoren() {
    return static_cast<std::size_t>(std::distance(fs::directory_iterator("/proc/self/fd"), {}));
}

// ---------------------------------------------------------------- reading

struct Ladefall {
    const char* name;
    const char* datei;  // in "2006 1", but "codes" in the program folder
    Bytes inhalt;
    int satz;  // the record read alone; -1: the whole file is loaded
    const char* meldung;
};

void lesen(const Ladefall& f) {
    const std::string d = f.datei, pfad = "2006 1/" + d;
    if (d == "codes") nux::codestimmt(nux::kStandardcode);
    else if (d == "lehrer") nux::laden<nux::Lehrersatz>(pfad);
    else if (d == "klassen") nux::laden<nux::Klassensatz>(pfad, 101);
    else if (f.satz < 0) nux::laden<nux::Fachsatz>(pfad, 51);
    else nux::satzlesen<nux::Fachsatz>(pfad, static_cast<std::size_t>(f.satz));
}

std::vector<Ladefall> ladefaelle() {
    const Bytes faecher = nux::kodieren<nux::Fachsatz>({fach("Deutsch", 0), fach("Mathematik", 1)});
    const Bytes lehrer = nux::kodieren<nux::Lehrersatz>({{"Müller", "M\xDCL", 225}, {"Bauer", "BA", 0}});
    const Bytes klassen = nux::kodieren<nux::Klassensatz>({klasse("1a")});
    const Bytes abgeschnitten(faecher.begin(), faecher.end() - 1), kunst = nux::kodieren(std::vector(52, fach("Kunst", 0)));
    const auto mit = [](Bytes b, std::size_t stelle, std::uint8_t wert) { b.at(stelle) = wert; return b; };
    using nux::kBereich, nux::kDateiende;
    return {
        {"FaecherLeer", "faecher", {}, -1, kDateiende},
        {"FaecherAbgeschnitten", "faecher", abgeschnitten, -1, kDateiende},
        {"FaecherMehrAlsErlaubt", "faecher", kunst, -1, kBereich},
        {"FaecherNamenslaengeZuGross", "faecher", mit(faecher, 88, 31), -1, kBereich},
        {"FaecherKurzlaengeZuGross", "faecher", mit(faecher, 31, 6), -1, kBereich},
        {"FaecherFlagZwei", "faecher", mit(faecher, 44, 2), -1, kBereich},
        {"FaecherSatzHinterDemEnde", "faecher", faecher, 2, kDateiende},
        {"FaecherSatzAusAbgeschnittenerDatei", "faecher", abgeschnitten, 0, kDateiende},
        {"FaecherSatzMitFalschemFlag", "faecher", mit(faecher, 88 + 44, 7), 1, kBereich},
        {"LehrerFalscheGroesse", "lehrer", Bytes(kunst.begin(), kunst.begin() + 12 * 88), -1, kDateiende},
        {"LehrerNamenslaengeZuGross", "lehrer", mit(lehrer, 104, 41), -1, kBereich},
        {"LehrerKurzlaengeZuGross", "lehrer", mit(lehrer, 104 + 41, 5), -1, kBereich},
        {"KlassenNamenslaengeZuGross", "klassen", mit(klassen, 0, 4), -1, kBereich},
        {"KlassenLehrerlaengeZuGross", "klassen", mit(klassen, nux::klassenLehrerOffset(3, 100), 5), -1, kBereich},
        {"KlassenZusatzlaengeZuGross", "klassen", mit(klassen, nux::klassenZusatzOffset(3, 100), 31), -1, kBereich},
        {"CodesLeer", "codes", {}, 0, kDateiende},
        {"CodesLaengeZuGross", "codes", mit(Bytes(9, 'A'), 0, 9), 0, kBereich},
    };
}

TEST(Robust, BeschaedigteDateienGebenMeldungUndAendernNichts) {
    for (const Ladefall& f : ladefaelle()) {
        SCOPED_TRACE(f.name);
        kernhilfe::Ordner o;
        schuleanlegen();
        rohschreiben(f.datei == std::string("codes") ? "codes" : std::string("2006 1/") + f.datei, f.inhalt);
        const auto vorher = schnappschuss();
        const auto deskriptoren = offeneDeskriptoren();
        EXPECT_EQ(kernhilfe::meldung([&] { lesen(f); }), f.meldung);
        EXPECT_EQ(offeneDeskriptoren(), deskriptoren);
        EXPECT_EQ(schnappschuss(), vorher);
    }
}

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
        {[] { nux::laden<nux::Lehrersatz>("2006 1/lehrer"); }, nux::kZugriffVerweigert},
        // A folder named "codes" is not replaced by a new code file.
        {[] { nux::codestimmt(nux::kStandardcode); }, nux::kZugriffVerweigert},
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

// ------------------------------------------------ names of full length

TEST(Robust, ZuLangeNamenWerdenGekuerztOhneInsNaechsteFeldZuReichen) {
    kernhilfe::Ordner o;
    const std::string s41 = "\xC4" + std::string(39, 'x') + "\xFF", kurz = "\xC4\xD6\xDC\xDF\xE4\xF6";
    nux::Klassensatz k = klasse("10bc"), gekuerzt = klasse("10b");
    std::tie(k.l(3, 100), k.z(3, 100), gekuerzt.l(3, 100), gekuerzt.z(3, 100)) =
        std::tuple("ABCDE", s41, "ABCD", s41.substr(0, 30));
    nux::neuschreiben<nux::Fachsatz>("faecher", {{s41, kurz, -7}});
    nux::neuschreiben<nux::Lehrersatz>("lehrer", {{s41, "ABCDE", INT64_MIN}});
    nux::neuschreiben<nux::Klassensatz>("klassen", {k});
    EXPECT_EQ(nux::satzlesen<nux::Fachsatz>("faecher", 0), (nux::Fachsatz{s41.substr(0, 30), kurz.substr(0, 5), -7}));
    EXPECT_EQ(nux::satzlesen<nux::Lehrersatz>("lehrer", 0), (nux::Lehrersatz{s41.substr(0, 40), "ABCD", INT64_MIN}));
    EXPECT_EQ(nux::satzlesen<nux::Klassensatz>("klassen", 0), gekuerzt);
}

// ---------------------------------------------------------------- writing

enum class Stoerung { Voll, Teilweise, OrdnerSchreibgeschuetzt, DateiSchreibgeschuetzt, OrdnerWeg };

struct Schreibfall {
    const char* name;
    std::string pfad;  // the written file
    std::function<void()> schreiben;
    rlim_t grenze;  // file size limit that stops the write halfway; 0: none
};

std::string ordnervon(const std::string& pfad) {
    const std::string o = fs::path(pfad).parent_path().string();
    return o.empty() ? "." : o;
}

const nux::Lehrersatz kNeuerLehrer = nux::Lehrersatz{"Neumann", "NEU", 185};

const Schreibfall kSchreibfaelle[] = {
    {"FaecherNeu", "2006 1/faecher",
     [] { nux::neuschreiben<nux::Fachsatz>("2006 1/faecher", {fach("A", 0), fach("B", 1), fach("C", 2)}); }, 100},
    {"LehrerErsetzen", "2006 1/lehrer", [] { nux::satzschreiben("2006 1/lehrer", 1, kNeuerLehrer); }, 0},
    {"LehrerAnhaengen", "2006 1/lehrer", [] { nux::satzschreiben("2006 1/lehrer", 2, kNeuerLehrer); }, 2 * 104 + 50},
    // Allowed to create the file, which is there: an append all the same.
    {"LehrerAnhaengenMitAnlegen", "2006 1/lehrer", [] { nux::satzschreiben("2006 1/lehrer", 2, kNeuerLehrer, true); },
     2 * 104 + 50},
    {"LehrerAnlegen", "2007 1/lehrer", [] { nux::satzschreiben("2007 1/lehrer", 0, kNeuerLehrer, true); }, 50},
    {"Kopieren", "2007 1/faecher", [] { nux::dateikopieren("2006 1/klassen", "2007 1/faecher"); }, 10000},
    {"Jahrakt", "jahrakt", [] { nux::jahraktschreiben("2007 1"); }, 3},
};

// The written file after the write went through undisturbed.
Bytes ungestoert(const Schreibfall& f) {
    kernhilfe::Ordner o;
    schuleanlegen();
    f.schreiben();
    return nux::dateilesen(f.pfad);
}

struct Schreibtest {
    Schreibfall fall;
    Stoerung stoerung;
    const char* meldung;  // nullptr: the write succeeds in spite of the fault
};

std::vector<Schreibtest> schreibtests() {
    std::vector<Schreibtest> t;
    for (const auto& f : kSchreibfaelle) {
        const std::string n = f.name;
        const bool anOrt = n == "LehrerErsetzen" || n.starts_with("LehrerAnhaengen");
        t.push_back({f, Stoerung::Voll, nux::kDatentraegerVoll});
        if (f.grenze != 0) t.push_back({f, Stoerung::Teilweise, nux::kDatentraegerVoll});
        // A write-protected folder still lets a file in it be changed in place.
        t.push_back({f, Stoerung::OrdnerSchreibgeschuetzt, anOrt ? nullptr : nux::kZugriffVerweigert});
        if (n != "LehrerAnlegen") t.push_back({f, Stoerung::DateiSchreibgeschuetzt, nux::kZugriffVerweigert});
        t.push_back({f, Stoerung::OrdnerWeg, nux::kNichtGefunden});
    }
    return t;
}

const char* stoerungsname(Stoerung s) {
    constexpr const char* namen[] = {"Voll", "Teilweise", "OrdnerSchreibgeschuetzt", "DateiSchreibgeschuetzt", "OrdnerWeg"};
    return namen[static_cast<int>(s)];
}

// Sets up a fault and takes it back, also when the test fails halfway.
struct Stoerer {
    const Schreibtest& t;
    std::optional<rlimit> grenze = {};
    ~Stoerer() { aufheben(); }
    // False where write protection does not hold: root writes through it.
    bool einrichten() {
        const std::string ordner = ordnervon(t.fall.pfad);
        switch (t.stoerung) {
            case Stoerung::Voll: nux::schreibfehlerSetzen(ENOSPC); return true;
            case Stoerung::Teilweise: {
                ::signal(SIGXFSZ, SIG_IGN);
                rlimit r{};
                ::getrlimit(RLIMIT_FSIZE, &r);
                grenze = r;
                r.rlim_cur = t.fall.grenze;
                return ::setrlimit(RLIMIT_FSIZE, &r) == 0;
            }
            case Stoerung::OrdnerWeg: fs::remove_all(ordner == "." ? fs::current_path() : fs::path(ordner)); return true;
            default: {
                const std::string p = t.stoerung == Stoerung::DateiSchreibgeschuetzt ? t.fall.pfad : ordner;
                fs::permissions(p, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                                fs::perm_options::remove);
                return ::access(p.c_str(), W_OK) != 0;
            }
        }
    }
    void aufheben() {
        nux::schreibfehlerSetzen(0);
        if (grenze) ::setrlimit(RLIMIT_FSIZE, &*grenze), grenze.reset();
        std::error_code ec;
        for (const auto& p : {t.fall.pfad, ordnervon(t.fall.pfad)})
            fs::permissions(p, fs::perms::owner_write, fs::perm_options::add, ec);
    }
};

void PrintTo(const Schreibtest& t, std::ostream* os) { *os << t.fall.name << " " << stoerungsname(t.stoerung); }

class Schreiben : public ::testing::TestWithParam<Schreibtest> {};

TEST_P(Schreiben, AlteDateiBleibtGanz) {
    const Schreibtest& t = GetParam();
    const Bytes erwartet = ungestoert(t.fall);
    kernhilfe::Ordner o;
    schuleanlegen();
    Stoerer stoerer{t};
    if (!stoerer.einrichten()) GTEST_SKIP() << "Schreibschutz wirkt nicht für root: nux_kerntests_als_nutzer prüft ihn";
    const auto vorher = schnappschuss();
    const auto deskriptoren = offeneDeskriptoren();
    const std::string meldung = kernhilfe::meldung(t.fall.schreiben);
    stoerer.aufheben();
    EXPECT_EQ(meldung, t.meldung ? t.meldung : "kein Fehler");
    EXPECT_EQ(offeneDeskriptoren(), deskriptoren);
    if (!t.meldung) {
        EXPECT_EQ(nux::dateilesen(t.fall.pfad), erwartet);
        return;
    }
    // Byte for byte as before, and no temporary file left behind.
    EXPECT_EQ(schnappschuss(), vorher);
    if (t.stoerung == Stoerung::OrdnerWeg) return;
    // Nothing is lost: once the fault is gone the same write succeeds.
    t.fall.schreiben();
    EXPECT_EQ(nux::dateilesen(t.fall.pfad), erwartet);
    EXPECT_EQ(offeneDeskriptoren(), deskriptoren);
}

INSTANTIATE_TEST_SUITE_P(Robust, Schreiben, ::testing::ValuesIn(schreibtests()), [](const auto& info) {
    return std::string(info.param.fall.name) + "_" + stoerungsname(info.param.stoerung);
});

// A backup that fails leaves no file, folder or descriptor behind and names
// its cause, whether it links or copies; where links fail for good it must
// not try name after name for ever.
TEST(Robust, MisslungeneSicherungHinterlaesstNichts) {
    kernhilfe::Ordner o;
    std::string meldung;
    nux::sicherungsfehler() = [&](const std::string& m) { meldung = m; };
    const struct { const char* jahr; bool kopieren, geschuetzt; const char* grund; } faelle[] = {
        {"2008 1", true, false, nux::kDatentraegerVoll},
        {"2009 1", true, true, nux::kZugriffVerweigert},
        {"2010 1", false, true, nux::kZugriffVerweigert},
    };
    for (const auto& f : faelle) {
        SCOPED_TRACE(f.jahr);
        const std::string pfad = std::string(f.jahr) + "/lehrer", ordner = std::string(f.jahr) + "/sicherung";
        fs::create_directory(f.jahr);
        nux::neuschreiben<nux::Lehrersatz>(pfad, {nux::Lehrersatz{"Bauer", "BA", 0}});
        if (f.geschuetzt) {
            fs::create_directory(ordner);
            fs::permissions(ordner, fs::perms::owner_read | fs::perms::owner_exec);
            if (::access(ordner.c_str(), W_OK) == 0) continue;  // root: the run as an ordinary user checks it
        }
        nux::schreibfehlerSetzen(f.geschuetzt ? 0 : ENOSPC);
        meldung.clear();
        const auto deskriptoren = offeneDeskriptoren();
        const std::string gemacht = nux::sichern(pfad, f.kopieren);
        nux::schreibfehlerSetzen(0);
        EXPECT_EQ(gemacht, "");
        EXPECT_EQ(offeneDeskriptoren(), deskriptoren);
        EXPECT_TRUE(f.geschuetzt ? fs::is_empty(ordner) : !fs::exists(ordner));
        EXPECT_NE(meldung.find(f.grund), std::string::npos) << meldung;
    }
    nux::sicherungsfehler() = nullptr;

    // An append that fails in a write-protected folder leaves the file as it
    // was, so the copy kept before it is no version and goes again.
    fs::create_directories("2011 1/sicherung");
    nux::neuschreiben<nux::Lehrersatz>("2011 1/lehrer", {nux::Lehrersatz{"Bauer", "BA", 0}});
    fs::permissions("2011 1", fs::perms::owner_read | fs::perms::owner_exec);
    if (::access("2011 1", W_OK) != 0) {
        ::signal(SIGXFSZ, SIG_IGN);
        rlimit alt{};
        ::getrlimit(RLIMIT_FSIZE, &alt);
        rlimit r = alt;
        r.rlim_cur = nux::Lehrersatz::groesse;  // the copy fits, the appended record does not
        ::setrlimit(RLIMIT_FSIZE, &r);
        const auto m = kernhilfe::meldung([] { nux::satzschreiben("2011 1/lehrer", 1, nux::Lehrersatz{"Neu", "NE", 1}); });
        ::setrlimit(RLIMIT_FSIZE, &alt);
        EXPECT_EQ(m, nux::kDatentraegerVoll);
        EXPECT_TRUE(fs::is_empty("2011 1/sicherung"));
    }
    fs::permissions("2011 1", fs::perms::owner_all, fs::perm_options::add);
}

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
            const rlimit grenze{20, 20};
            ::setrlimit(RLIMIT_FSIZE, &grenze);
            f.schreiben();  // an error ends the child through terminate()
            ::_exit(0);
        }
        int status = 0;
        ASSERT_EQ(::waitpid(kind, &status, 0), kind);
        if (WIFEXITED(status) && WEXITSTATUS(status) == 0) {
            EXPECT_EQ(nux::dateilesen(f.pfad), ungestoert(f)) << f.name;
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
    const std::tuple<std::function<void()>, const char*, mode_t> faelle[] = {  // what, path, rights before (0: new)
        {[] { std::string n; nux::jahranlegen("2026", "1", n); }, "2026 1", 0},
        {[] { nux::neuschreiben<nux::Fachsatz>("2006 1/neu", {fach("A", 0)}); }, "2006 1/neu", 0},
        {[] { nux::dateikopieren("2006 1/lehrer", "2007 1/lehrer"); }, "2007 1/lehrer", 0},
        {[] { nux::neuschreiben<nux::Fachsatz>("2006 1/faecher", {fach("A", 0)}); }, "2006 1/faecher", 0640},
        {[] { nux::dateikopieren("2006 1/lehrer", "2006 1/faecher"); }, "2006 1/faecher", 0604},
        {[] { nux::codeschreiben("1"); }, "codes", 0660},
    };
    for (const mode_t maske : {022, 077}) {
        for (const auto& [tun, pfad, vorher] : faelle) {
            kernhilfe::Ordner o;
            schuleanlegen();
            if (vorher) fs::permissions(pfad, fs::perms(vorher));
            const mode_t alt = ::umask(maske);
            tun();
            ::umask(alt);
            const mode_t neu = (fs::is_directory(pfad) ? 0777 : 0666) & ~maske;
            EXPECT_EQ(fs::status(pfad).permissions(), fs::perms(vorher ? vorher : neu)) << pfad << " " << vorher << " " << maske;
        }
    }
}

}  // namespace
