// Speed of the assignment window, offscreen, on two generated years:
//   A: 51 classes x 51 grid rows (51 subjects, one teacher slot each)
//   B: 101 classes x 153 grid rows (51 subjects, three anteile each)
// The Excel export is measured on B, the school the window handles at most.
// Reading the three files of a year is measured beside the window's work as
// the baseline of the same run.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <QApplication>
#include <QImage>
#include <QListWidget>
#include <QScrollArea>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "fenster/frage.h"
#include "fenster/shell.h"
#include "app/start.h"
#include "assignment/excel.h"
#include "assignment/kern/excel.h"
#include "assignment/nux_verteilung.h"
#include "assignment/kern/engpass.h"
#include "assignment/kern/marken.h"
#include "storage/datei.h"
#include "storage/planung.h"
#include "storage/jahr.h"
#include "storage/satz.h"
#include "storage/sicherung.h"

namespace {

const char* const kJahrA = "2026 1";
const char* const kJahrB = "2026 2";

void jahrschreiben(const std::string& ordner, int klassen, int anteile, int lehrerzahl) {
    std::filesystem::create_directory(ordner);
    std::vector<nux::Fachsatz> faecher;
    for (int s = 0; s < 51; ++s) {
        nux::Fachsatz f;
        f.name = "Fach " + std::to_string(s);
        f.kurz = "F" + std::to_string(s);
        f.ordnung = (s * 7) % 51;
        faecher.push_back(f);
    }
    std::vector<nux::Lehrersatz> lehrer;
    for (int p = 0; p < lehrerzahl; ++p) {
        nux::Lehrersatz l;
        l.name = "Lehrkraft " + std::to_string(p);
        l.kurz = "L" + std::to_string(p);
        l.stunden = 220;
        lehrer.push_back(l);
    }
    std::vector<nux::Klassensatz> k;
    int n = 0;
    for (int c = 0; c < klassen; ++c) {
        nux::Klassensatz ks;
        ks.name = std::to_string(1 + c / 10) + static_cast<char>('a' + c % 10);
        for (int s = 0; s < 51; ++s)
            for (int j = 1; j <= anteile; ++j, ++n) {
                ks.h(j, s) = 5 + (n % 4) * 5;
                if (n % 2 == 0) ks.l(j, s) = lehrer[static_cast<std::size_t>(n % lehrerzahl)].kurz;
                if (n % 9 == 0) ks.z(j, s) = "Zusatz " + std::to_string(n);
            }
        k.push_back(ks);
    }
    nux::neuschreiben(ordner + "/faecher", faecher);
    nux::neuschreiben(ordner + "/lehrer", lehrer);
    nux::neuschreiben(ordner + "/klassen", k);
    // Two to four subjects a teacher, the first a preferred one.
    nux::Befaehigungen b;
    for (int p = 0; p < lehrerzahl; ++p)
        for (int i = 0; i < 2 + p % 3; ++i)
            b.setzen(lehrer[static_cast<std::size_t>(p)].kurz, faecher[static_cast<std::size_t>((p * 3 + i * 17) % 51)].kurz,
                     i == 0 ? nux::Stufe::wunsch : nux::Stufe::befaehigt);
    nux::befaehigungenspeichern(ordner, b);
}

const char* jahr(const benchmark::State& state) { return state.range(0) == 0 ? kJahrA : kJahrB; }

void aktivieren() {
    nux::Fenster::aktivesFensterVergessen();
    verteilfenster->vorholen();
}

// One full paint of the visible part of the grid.
void malen() {
    static QImage bild(849, 585, QImage::Format_ARGB32_Premultiplied);
    verteilfenster->ScrollBox1->viewport()->render(&bild);
}

long residentKB() {
    long seiten = 0, resident = 0;
    std::ifstream statm("/proc/self/statm");
    statm >> seiten >> resident;
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

void BM_SpeicherJahrB(benchmark::State& state) {
    for (auto _ : state) {
        nux::jahrsetzen(kJahrA);
        aktivieren();
        const long vorher = residentKB();
        nux::jahrsetzen(kJahrB);
        aktivieren();
        malen();
        state.counters["MB"] = static_cast<double>(residentKB() - vorher) / 1024.0;
    }
}

void BM_Dateilesen(benchmark::State& state) {
    nux::jahrsetzen(jahr(state));
    for (auto _ : state) {
        auto k = nux::laden<nux::Klassensatz>(nux::jahrdatei("klassen"));
        auto f = nux::laden<nux::Fachsatz>(nux::jahrdatei("faecher"));
        auto l = nux::laden<nux::Lehrersatz>(nux::jahrdatei("lehrer"));
        benchmark::DoNotOptimize(k.data());
        benchmark::DoNotOptimize(f.data());
        benchmark::DoNotOptimize(l.data());
    }
}

void BM_AktivierungUndMalen(benchmark::State& state) {
    nux::jahrsetzen(jahr(state));
    for (auto _ : state) {
        aktivieren();
        malen();
    }
    if (!nux::fehlerliste().isEmpty()) state.SkipWithError("Fehler beim Laden");
}

void BM_Lehrerein(benchmark::State& state) {
    nux::jahrsetzen(kJahrB);
    aktivieren();
    verteilfenster->ListBox1->setCurrentRow(3);
    const auto& m = verteilfenster->modell();
    const int c = m.LastClass / 2, r = m.LastRow / 2;
    long n = 0;
    for (auto _ : state) {
        verteilfenster->lehrerein(c, r);  // enters, removes, enters ...
        if (++n % 4096 == 0) {  // the history of a long working day, not of millions of clicks
            state.PauseTiming();
            verteilfenster->verlauf()->clear();
            state.ResumeTiming();
        }
    }
}

// One step back and forward again, as Ctrl+Z and Ctrl+Y do it.
void BM_Rueckgaengig(benchmark::State& state) {
    nux::jahrsetzen(kJahrB);
    aktivieren();
    verteilfenster->ListBox1->setCurrentRow(3);
    const auto& m = verteilfenster->modell();
    verteilfenster->lehrerein(m.LastClass / 2, m.LastRow / 2);
    for (auto _ : state) {
        verteilfenster->verlauf()->undo();
        verteilfenster->verlauf()->redo();
    }
}

void BM_Hervorheben(benchmark::State& state) {
    nux::jahrsetzen(kJahrB);
    aktivieren();
    int p = 1;
    for (auto _ : state) {
        verteilfenster->ListBox1->setCurrentRow(p);
        verteilfenster->ListBox1MouseDown(Qt::LeftButton, {});
        if (state.range(0)) malen();
        p = p % 100 + 1;
    }
}

// The exact bottleneck analysis on the large school as the window has it.
void BM_Pruefung(benchmark::State& state) {
    nux::jahrsetzen(kJahrB);
    aktivieren();
    for (auto _ : state)
        benchmark::DoNotOptimize(nux::pruefen(verteilfenster->modell(), verteilfenster->befaehigungen()));
}

// The marks of the grid for a selected teacher, in the core alone.
void BM_Marken(benchmark::State& state) {
    nux::jahrsetzen(kJahrB);
    aktivieren();
    for (auto _ : state)
        benchmark::DoNotOptimize(nux::marken(verteilfenster->modell(), verteilfenster->befaehigungen(), "L7"));
}

void BM_Speichern(benchmark::State& state) {
    nux::jahrsetzen(kJahrB);
    aktivieren();
    for (auto _ : state) verteilfenster->Button1Click();
}

// Baseline of "speichern": the storage layer's atomic rewrite of the same
// records (temporary file, fsync, rename) without the window's work; with
// argument 0 under a name that keeps no backup, with 1 as "klassen", whose
// old version is linked into "sicherung" and pruned to the newest 30.
void BM_Dateischreiben(benchmark::State& state) {
    nux::jahrsetzen(kJahrB);
    const auto klassen = nux::laden<nux::Klassensatz>(nux::jahrdatei("klassen"));
    const std::string pfad = nux::jahrdatei(state.range(0) ? "klassen" : "vergleich");
    nux::neuschreiben(pfad, klassen);
    for (auto _ : state) nux::neuschreiben(pfad, klassen);
}

// The Excel export of the large school: the five sheets built, written and
// renamed into place. Each workbook is removed again outside the timing.
void BM_Excelexport(benchmark::State& state) {
    nux::jahrsetzen(kJahrB);
    aktivieren();
    for (auto _ : state) {
        const std::string pfad = nux::excelexport(verteilfenster->modell(), verteilfenster->befaehigungen());
        state.PauseTiming();
        std::filesystem::remove(pfad);
        state.ResumeTiming();
    }
}

// Its part in the core: the content of the sheets alone.
void BM_Exportmappe(benchmark::State& state) {
    nux::jahrsetzen(kJahrB);
    aktivieren();
    for (auto _ : state) benchmark::DoNotOptimize(nux::exportmappe(verteilfenster->modell(), {kJahrB, "", true}));
}

// The backup alone, in its steady state of 30 kept versions: a hard link of
// "klassen" before a rename (0), a copy of "lehrer" before a write in place (1).
void BM_Sicherung(benchmark::State& state) {
    nux::jahrsetzen(kJahrB);
    const std::string pfad = nux::jahrdatei(state.range(0) ? "lehrer" : "klassen");
    for (auto _ : state) nux::sichern(pfad, state.range(0) != 0);
}

}  // namespace

BENCHMARK(BM_SpeicherJahrB)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Dateilesen)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AktivierungUndMalen)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Lehrerein)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Rueckgaengig)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Hervorheben)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Dateischreiben)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Sicherung)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Speichern)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Pruefung)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Marken)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Exportmappe)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Excelexport)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);

    // A program folder of its own, removed at the end.
    char muster[] = "/tmp/nuxbenchXXXXXX";
    const std::filesystem::path basis = ::mkdtemp(muster);
    std::filesystem::create_directory(basis / "nux");
    std::filesystem::current_path(basis / "nux");
    jahrschreiben(kJahrA, 51, 1, 60);
    jahrschreiben(kJahrB, 101, 3, 130);

    nux::fehlerboxen(false);
    // Reloads drop the gestures measured before them without a question box.
    nux::antworthaken() = [](const QString&, bool) { return nux::Antwort::nein; };
    fenstererzeugen();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    fensterfreigeben();
    std::filesystem::current_path(basis.parent_path());
    std::filesystem::remove_all(basis);
    return 0;
}
