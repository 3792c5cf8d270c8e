// The qualifications of the large school: 100 teachers x 51 subjects, read
// and written as the dialog and the analysis do (goal: under 5 ms each), with
// a common density (3 subjects a teacher) and the densest file (every pair).
// The first fill from the grid of 101 classes x 153 rows is measured beside it.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "assignment/kern/matrix.h"
#include "storage/datei.h"
#include "storage/jahr.h"
#include "storage/planung.h"
#include "storage/satz.h"

namespace {

constexpr int kLehrer = 100, kFaecher = 51, kKlassen = 101;

std::string kurz(int l) { return "L" + std::to_string(l); }
std::string fach(int s) { return "F" + std::to_string(s); }

nux::Befaehigungen befaehigungen(int jeLehrer) {
    nux::Befaehigungen b;
    for (int l = 0; l < kLehrer; ++l)
        for (int i = 0; i < jeLehrer; ++i)
            b.setzen(kurz(l), fach((l * 7 + i * 13) % kFaecher), i % 5 == 0 ? nux::Stufe::wunsch : nux::Stufe::befaehigt);
    return b;
}

// A program folder of its own with the year "2026 1".
struct Ordner {
    std::filesystem::path alt = std::filesystem::current_path(), basis;
    Ordner() {
        char muster[] = "/tmp/nuxbenchXXXXXX";
        basis = ::mkdtemp(muster);
        std::filesystem::create_directories(basis / "nux" / "2026 1");
        std::filesystem::current_path(basis / "nux");
        nux::jahrsetzen("2026 1");
    }
    ~Ordner() {
        std::filesystem::current_path(alt);
        std::filesystem::remove_all(basis);
    }
};

void lesen(benchmark::State& st) {
    Ordner o;
    const auto b = befaehigungen(static_cast<int>(st.range(0)));
    nux::befaehigungenspeichern("2026 1", b);
    for (auto _ : st) benchmark::DoNotOptimize(nux::befaehigungenladen("2026 1"));
    st.counters["Eintraege"] = static_cast<double>(b.eintraege().size());
}

void schreiben(benchmark::State& st) {
    Ordner o;
    const auto b = befaehigungen(static_cast<int>(st.range(0)));
    // Atomic rewrite with fsync and a backup of the old file, as every save.
    for (auto _ : st) nux::befaehigungenspeichern("2026 1", b);
    st.counters["Eintraege"] = static_cast<double>(b.eintraege().size());
}

// The floor of every save on this disk: one byte through the same atomic
// rewrite (two fsyncs), no backup.
void einbyte(benchmark::State& st) {
    Ordner o;
    const std::uint8_t byte = 1;
    for (auto _ : st) nux::atomarschreiben("2026 1/probe", std::span<const std::uint8_t>(&byte, 1));
}

void ausverteilung(benchmark::State& st) {
    std::vector<nux::Fachsatz> faecher;
    for (int s = 0; s < kFaecher; ++s) faecher.push_back({"Fach " + std::to_string(s), fach(s), s});
    std::vector<nux::Lehrersatz> lehrer;
    for (int l = 0; l < kLehrer; ++l) lehrer.push_back({"Lehrer " + std::to_string(l), kurz(l), 220});
    std::vector<nux::Klassensatz> klassen(kKlassen);
    for (int c = 0; c < kKlassen; ++c) {
        klassen[static_cast<std::size_t>(c)].name = std::to_string(c);
        for (int s = 0; s < kFaecher; ++s)
            for (int j = 1; j <= 3; ++j) {
                klassen[static_cast<std::size_t>(c)].h(j, s) = 10;
                if ((c + s + j) % 3) klassen[static_cast<std::size_t>(c)].l(j, s) = kurz((c * 3 + s + j) % kLehrer);
            }
    }
    nux::Verteilung v;
    v.aufbauen(klassen, faecher, lehrer);
    const auto b = befaehigungen(3);
    for (auto _ : st) {
        nux::Matrix m;
        m.aufbauen(v, b);
        const auto w = m.ausverteilung(v, nullptr);
        m.anwenden(w, true);
        benchmark::DoNotOptimize(w.size());
    }
}

BENCHMARK(lesen)->Arg(3)->Arg(kFaecher)->Unit(benchmark::kMillisecond);
BENCHMARK(schreiben)->Arg(3)->Arg(kFaecher)->Unit(benchmark::kMillisecond);
BENCHMARK(einbyte)->Unit(benchmark::kMillisecond);
BENCHMARK(ausverteilung)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
