// The dialog "Wer unterrichtet was" on the large school, offscreen: 100
// teachers x 51 subjects over 101 classes x 153 rows, every teacher qualified
// for three subjects. Loading, a full repaint of the visible table, a page of
// scrolling with its repaint, and one cycled cell with its repaint.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <QApplication>
#include <QHeaderView>
#include <QImage>
#include <QKeyEvent>
#include <QScrollBar>
#include <filesystem>

#include "fenster/shell.h"
#include "assignment/nux_befaehigungen.h"
#include "storage/datei.h"
#include "storage/jahr.h"
#include "storage/planung.h"
#include "storage/satz.h"

namespace {

void schuleschreiben() {
    std::filesystem::create_directory("2026 1");
    nux::jahrsetzen("2026 1");
    std::vector<nux::Fachsatz> f;
    for (int s = 0; s < 51; ++s) f.push_back({"Fach " + std::to_string(s), "F" + std::to_string(s), s});
    std::vector<nux::Lehrersatz> l;
    for (int p = 0; p < 100; ++p) l.push_back({"Lehrkraft " + std::to_string(p), "L" + std::to_string(p), 220});
    std::vector<nux::Klassensatz> k(101);
    for (int c = 0; c < 101; ++c)
        for (int s = 0; s < 51; ++s)
            for (int j = 1; j <= 3; ++j) {
                k[static_cast<std::size_t>(c)].h(j, s) = 10;
                if ((c + j) % 2) k[static_cast<std::size_t>(c)].l(j, s) = "L" + std::to_string((c + s * 3 + j) % 100);
            }
    nux::neuschreiben("2026 1/faecher", f);
    nux::neuschreiben("2026 1/lehrer", l);
    nux::neuschreiben("2026 1/klassen", k);
    nux::Befaehigungen b;
    for (int p = 0; p < 100; ++p)
        for (int i = 0; i < 3; ++i) b.setzen("L" + std::to_string(p), "F" + std::to_string((p + i * 17) % 51), nux::Stufe::befaehigt);
    nux::befaehigungenspeichern("2026 1", b);
}

Tbefaehigungen* dialog() {
    static Tbefaehigungen* d = [] {
        auto* x = new Tbefaehigungen;
        x->holen();
        x->show();
        return x;
    }();
    return d;
}

void malen() {
    QWidget* v = dialog()->StringGrid1->viewport();
    static QImage bild(v->size(), QImage::Format_ARGB32_Premultiplied);
    v->render(&bild);
}

void BM_Laden(benchmark::State& st) {
    for (auto _ : st) dialog()->holen();
}

void BM_Malen(benchmark::State& st) {
    for (auto _ : st) malen();
}

void BM_BlaetternUndMalen(benchmark::State& st) {
    QScrollBar* leiste = dialog()->StringGrid1->verticalScrollBar();
    int n = 0;
    for (auto _ : st) {
        leiste->setValue(++n % 2 ? leiste->maximum() : 0);
        malen();
    }
}

void BM_SchaltenUndMalen(benchmark::State& st) {
    QWidget* grid = dialog()->StringGrid1;
    for (auto _ : st) {
        QKeyEvent taste(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "));
        QApplication::sendEvent(grid, &taste);
        malen();
    }
}

BENCHMARK(BM_Laden)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Malen)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BlaetternUndMalen)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SchaltenUndMalen)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    char muster[] = "/tmp/nuxbenchXXXXXX";
    const std::filesystem::path basis = ::mkdtemp(muster);
    std::filesystem::create_directory(basis / "nux");
    std::filesystem::current_path(basis / "nux");
    QApplication app(argc, argv);
    nux::schriftenzuordnen();
    schuleschreiben();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    std::filesystem::current_path("/");
    std::filesystem::remove_all(basis);
    return 0;
}
