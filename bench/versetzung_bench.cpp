// Speed of the new school year and of the comparison on the large school
// (101 classes x 153 grid rows: 51 subjects, three shares each; 130
// teachers): the promotion's preview as its window opens it, the write of
// the new year, and the comparison of two such years.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "storage/datei.h"
#include "storage/planung.h"
#include "storage/satz.h"
#include "years/kern/vergleich.h"
#include "years/kern/versetzung.h"

namespace {

const char* const kQuelle = "2026 1";
const char* const kZiel = "2027 1";

// Grades 1 to 11 with up to ten classes each ("11a" still fits).
void jahrschreiben(const std::string& ordner) {
    std::filesystem::create_directory(ordner);
    std::vector<nux::Fachsatz> faecher;
    for (int s = 0; s < 51; ++s) faecher.push_back({"Fach " + std::to_string(s), "F" + std::to_string(s), s});
    std::vector<nux::Lehrersatz> lehrer;
    nux::Befaehigungen b;
    for (int p = 0; p < 130; ++p) {
        lehrer.push_back({(p % 17 == 0 ? "#" : "") + std::string("Lehrkraft ") + std::to_string(p), "L" + std::to_string(p), 220});
        for (int s = p % 7; s < 51; s += 7) b.setzen("L" + std::to_string(p), "F" + std::to_string(s), nux::Stufe::befaehigt);
    }
    std::vector<nux::Klassensatz> k;
    int n = 0;
    for (int c = 0; c < 101; ++c) {
        nux::Klassensatz ks;
        ks.name = std::to_string(1 + c / 10) + static_cast<char>('a' + c % 10);
        for (int s = 0; s < 51; ++s)
            for (int j = 1; j <= 3; ++j, ++n) {
                ks.h(j, s) = 5 + (n % 4) * 5;
                if (n % 3 != 0) ks.l(j, s) = lehrer[static_cast<std::size_t>(n % 130)].kurz;
                if (n % 9 == 0) ks.z(j, s) = "Zusatz " + std::to_string(n);
            }
        k.push_back(ks);
    }
    nux::neuschreiben(ordner + "/faecher", faecher);
    nux::neuschreiben(ordner + "/lehrer", lehrer);
    nux::neuschreiben(ordner + "/klassen", k);
    nux::befaehigungenspeichern(ordner, b);
}

const nux::Uebernahmewahl kWahl{true, true, nux::Klassenwahl::mitStundenMitZusatz, false};

// What the preview does when it opens: read, propose, compute.
nux::Versetzungsvorschau vorschau(std::vector<nux::Versetzungszeile>& zeilen) {
    const auto d = nux::versetzungladen({kZiel, kQuelle}, kWahl);
    zeilen = nux::versetzungsvorschlag(d.klassen, 10);  // 10 and 11 leave: 100 classes again
    return nux::versetzungberechnen(d.klassen, zeilen, d.lehrer, {kWahl.klassen, true});
}

void BM_Versetzungsvorschau(benchmark::State& state) {
    std::vector<nux::Versetzungszeile> zeilen;
    for (auto _ : state) benchmark::DoNotOptimize(vorschau(zeilen));
    state.counters["behalten"] = vorschau(zeilen).behalten;
}

// One edited line computed anew, as every change in the table does.
void BM_Versetzungszeile(benchmark::State& state) {
    const auto d = nux::versetzungladen({kZiel, kQuelle}, kWahl);
    auto zeilen = nux::versetzungsvorschlag(d.klassen, 10);
    for (auto _ : state) {
        zeilen[3].neu = zeilen[3].neu == "1d" ? "2d" : "1d";
        benchmark::DoNotOptimize(nux::versetzungberechnen(d.klassen, zeilen, d.lehrer, {kWahl.klassen, true}));
    }
}

// "Übernehmen": teachers with their qualifications, subjects, the classes
// and the mapping written; the old files of the target go to its backups.
void BM_Versetzungschreiben(benchmark::State& state) {
    std::vector<nux::Versetzungszeile> zeilen;
    const auto v = vorschau(zeilen);
    for (auto _ : state) nux::versetzungschreiben({kZiel, kQuelle}, kWahl, zeilen, v);
}

// The preview and the write together: one takeover with promotion.
void BM_Versetzungganz(benchmark::State& state) {
    std::vector<nux::Versetzungszeile> zeilen;
    for (auto _ : state) {
        const auto v = vorschau(zeilen);
        nux::versetzungschreiben({kZiel, kQuelle}, kWahl, zeilen, v);
    }
}

// Two large years read and compared, classes matched by the promotion.
void BM_Vergleich(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(nux::jahrevergleichen(kQuelle, kZiel));
    state.counters["Unterschiede"] = nux::jahrevergleichen(kQuelle, kZiel).geaendert();
}

// The comparison alone, the plans in hand.
void BM_Vergleichen(benchmark::State& state) {
    const auto a = nux::planladen(kQuelle), b = nux::planladen(kZiel);
    for (auto _ : state) benchmark::DoNotOptimize(nux::vergleichen(a, b));
}

// Reading one year as the comparison reads it: the baseline of BM_Vergleich.
void BM_Planladen(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(nux::planladen(state.range(0) ? kZiel : kQuelle));
    state.counters["Klassen"] = static_cast<double>(nux::planladen(kQuelle).klassen.size());
}

}  // namespace

BENCHMARK(BM_Planladen)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Versetzungsvorschau)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Versetzungszeile)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Versetzungschreiben)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Versetzungganz)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Vergleich)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Vergleichen)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    char muster[] = "/tmp/nuxbenchXXXXXX";
    const std::filesystem::path basis = ::mkdtemp(muster);
    std::filesystem::create_directory(basis / "nux");
    std::filesystem::current_path(basis / "nux");
    jahrschreiben(kQuelle);
    std::filesystem::create_directory(kZiel);
    {
        std::vector<nux::Versetzungszeile> zeilen;
        nux::versetzungschreiben({kZiel, kQuelle}, kWahl, zeilen, vorschau(zeilen));
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::filesystem::current_path(basis.parent_path());
    std::filesystem::remove_all(basis);
    return 0;
}
