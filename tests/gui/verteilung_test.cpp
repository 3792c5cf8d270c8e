#include <QtWidgets>
#include <QtTest>
#include <filesystem>

#include "assignment/drucken.h"
#include "assignment/nux_verteilung.h"
#include "editors/nux_klassen.h"
#include "editors/nux_lehrer.h"
#include "fenster/frage.h"
#include "storage/jahr.h"
#include "testhilfe.h"

namespace {

void jahranlegen() {
    std::filesystem::create_directory("2026 1");
    nux::jahrsetzen("2026 1");
}

void aktivieren();

// Two classes; subjects D (index 0) and M (index 1); D has 2,0 hours in both
// classes, M 4,5 in 1a with an extra text and teacher "Ra" in 1b; shown.
void schule() {
    jahranlegen();
    nux::neuschreiben<nux::Fachsatz>(nux::jahrdatei("faecher"), {{"Deutsch", "D", 0}, {"Mathematik", "M", 1}});
    nux::neuschreiben<nux::Lehrersatz>(nux::jahrdatei("lehrer"), {{"Anna Alt", "AnnA", 220}, {"Rudi Rau", "Ra", 100}});
    std::vector<nux::Klassensatz> k(2);
    k[0].name = "1a";
    k[1].name = "1b";
    k[0].h(1, 0) = k[1].h(1, 0) = 20;
    k[0].h(1, 1) = 45;
    k[0].z(1, 1) = "  F\xF6rderkurs  ";
    k[1].h(1, 1) = 30;
    k[1].l(1, 1) = "Ra";
    nux::neuschreiben(nux::jahrdatei("klassen"), k);
    aktivieren();
}

template <class T = QWidget> T* teil(const char* name) { return verteilfenster->findChild<T*>(name); }
QListWidget* liste() { return teil<QListWidget>("ListBox1"); }
QString zeile(int p) { return liste()->item(p)->text(); }
int balken() { return teil<QProgressBar>("ProgressBar1")->value(); }
QWidget* gitter() { return teil<QScrollArea>("ScrollBox1")->widget(); }
// The two teacher lines and the progress bar.
QString stand() { return zeile(1).left(15) + "|" + zeile(2).left(15) + "|" + QString::number(balken()); }
std::string lehrer(int c, int r) { return verteilfenster->modell().zelle(c, r).lehrer; }

void aktivieren() {
    // Another window was active in between: the next activation reloads.
    nux::Fenster::aktivesFensterVergessen();
    verteilfenster->vorholen();
    testhilfe::warten();
}

void waehlen(int p, Qt::KeyboardModifiers tasten = {}) {
    QTest::mouseClick(liste()->viewport(), Qt::LeftButton, tasten, liste()->visualItemRect(liste()->item(p)).center());
}

// Clicks at the pixel place of a teacher or hours cell.
void lehrerzelle(int c, int r) { QTest::mouseClick(gitter(), Qt::LeftButton, {}, QPoint(65 + 75 * c + 20, 20 + 12 * r + 6)); }
void stundenzelle(int c, int r) { QTest::mouseClick(gitter(), Qt::LeftButton, {}, QPoint(35 + 75 * c + 10, 20 + 12 * r + 6)); }

}  // namespace

class VerteilungTest : public QObject {
    Q_OBJECT

private slots:
    void klickenTraegtEinErsetztUndSpeichert() {
        testhilfe::Programm p;
        schule();
        QCOMPARE(stand(), QString("AnnA 22,0  22,0|Ra   10,0   7,0|30"));
        QCOMPARE(zeile(4) + teil<QLabel>("Label4")->text(), QString("Summe   32,0   11,5"));
        QCOMPARE(teil<QProgressBar>("ProgressBar1")->maximum(), 115);
        waehlen(1);  // AnnA
        lehrerzelle(0, 0);  // D 1a, 2,0
        QCOMPARE(stand(), QString("AnnA 22,0  20,0|Ra   10,0   7,0|50"));
        nux::antworthaken() = [](const QString&, bool) { return nux::Antwort::nein; };
        aktivieren();  // a new activation drops what was not saved, when the user says so
        QCOMPARE(stand(), QString("AnnA 22,0  22,0|Ra   10,0   7,0|30"));
        waehlen(1);
        lehrerzelle(1, 1);  // M 1b held by Ra: replaced, the sum stays
        QCOMPARE(stand(), QString("AnnA 22,0  19,0|Ra   10,0  10,0|30"));
        waehlen(2);
        lehrerzelle(0, 1);  // M 1a, 4,5
        lehrerzelle(0, 0);
        lehrerzelle(0, 0);  // again: removed
        // Between cells and on a row label nothing happens.
        QTest::mouseClick(gitter(), Qt::LeftButton, {}, QPoint(10, 26));
        QTest::mouseClick(gitter(), Qt::LeftButton, {}, QPoint(107, 26));
        QCOMPARE(stand(), QString("AnnA 22,0  19,0|Ra   10,0   5,5|75"));
        // With the blank or the sum line selected by keyboard a click enters nothing.
        for (int z : {3, 4}) {
            liste()->setCurrentRow(z);
            lehrerzelle(0, 0);
            QCOMPARE(lehrer(0, 0), std::string("--"));
        }
        teil<QPushButton>("Button1")->click();
        QVERIFY(nux::fehlerliste().isEmpty());
        const auto k = nux::laden<nux::Klassensatz>(nux::jahrdatei("klassen"));
        QCOMPARE(k[0].l(1, 1) + "|" + k[1].l(1, 1) + "|" + k[0].l(1, 0), std::string("Ra  |AnnA|"));
    }

    void hervorhebenUndZusatztext() {
        testhilfe::Programm p;
        schule();
        const auto& m = verteilfenster->modell();
        waehlen(2);  // Ra
        QVERIFY(m.zelle(1, 1).gruen);
        const QImage bild = gitter()->grab(QRect(65 + 75, 32, 40, 12)).toImage();  // painted at its place
        bool gruen = false;
        for (int i = 0; i < 40 * 12; ++i) gruen = gruen || bild.pixelColor(i % 40, i / 40) == QColor(0, 255, 0);
        QVERIFY(gruen);
        // Delete line, by double click: every cell black, the line stays selected.
        QTest::mouseDClick(liste()->viewport(), Qt::LeftButton, {}, liste()->visualItemRect(liste()->item(0)).center());
        QVERIFY(!m.zelle(1, 1).gruen);
        QCOMPARE(liste()->selectedItems().value(0), liste()->item(0));
        waehlen(3);  // the blank line is never selected
        QVERIFY(liste()->selectedItems().isEmpty());

        stundenzelle(0, 0);  // black: no extra text
        QVERIFY(!teil("Panel1")->isVisible());
        stundenzelle(0, 1);  // blue
        QVERIFY(teil("Panel1")->isVisible());
        QCOMPARE(teil<QLabel>("Label3")->text(), QString("  Förderkurs  "));
    }

    void fehlendeDateienFuehrenZumEditor() {
        testhilfe::Programm p;
        const int vorher = nux::piepszahl();
        jahranlegen();
        nux::neuschreiben<nux::Fachsatz>(nux::jahrdatei("faecher"), {{"Deutsch", "D", 0}});
        aktivieren();
        // klassen and lehrer missing: two hints, two beeps each, the last editor in front.
        QCOMPARE(nux::piepszahl() - vorher, 4);
        QVERIFY(klassenfenster->isVisible() && nux::Fenster::aktivesFenster() == lehrerfenster);
        QVERIFY(teil("Panel3")->isVisible());
        teil<QPushButton>("Button1")->click();
        QVERIFY(!QFile::exists(QString::fromStdString(nux::jahrdatei("klassen"))));
        QVERIFY(nux::fehlerliste().isEmpty());
    }

    void druckgestenDerListe() {
        const struct { int zeile; Qt::KeyboardModifiers tasten; int dokumente; } faelle[] = {
            {2, Qt::AltModifier, 1},                      // one sheet
            {0, Qt::AltModifier, 1},                      // delete line: an empty sheet
            {0, Qt::AltModifier | Qt::ControlModifier, 2},  // every teacher line
            {1, Qt::ControlModifier, 1},                  // the school on one page
            {4, Qt::ControlModifier, 0},                  // sum line: nothing
        };
        for (const auto& f : faelle) {
            testhilfe::Programm p;
            nux::druckzielsetzen(nux::Druckziel::pdf);
            schule();
            waehlen(f.zeile, f.tasten);
            testhilfe::warten();
            QVERIFY2(nux::fehlerliste().isEmpty(), qPrintable(nux::fehlerliste().join("; ")));
            QCOMPARE(QDir(nux::kDruckordner).entryList({"*.pdf"}, QDir::Files).size(), f.dokumente);
            QCOMPARE(balken(), 30);  // printing changes nothing of the grid
        }
    }

    void groessteSchuleMitGleicherGeometrie() {
        // 101 classes; subjects 50 to 100 with three slots (0 to 49 withdrawn):
        // 153 rows, clickable at the far corner as at the first cell.
        testhilfe::Programm p;
        jahranlegen();
        std::vector<nux::Fachsatz> f;
        for (int s = 0; s < 101; ++s) f.push_back({(s < 50 ? "#F" : "F") + std::to_string(s), "F", s});
        std::vector<nux::Klassensatz> k(101);
        for (auto& ks : k)
            for (int s = 50; s <= 100; ++s)
                for (int j = 1; j <= 3; ++j) ks.h(j, s) = 10;
        nux::neuschreiben(nux::jahrdatei("faecher"), f);
        nux::neuschreiben(nux::jahrdatei("klassen"), k);
        nux::neuschreiben<nux::Lehrersatz>(nux::jahrdatei("lehrer"), {{"Anna Alt", "AnnA", 220}});
        aktivieren();
        QVERIFY(nux::fehlerliste().isEmpty());
        QCOMPARE(gitter()->size(), QSize(75 * 101 + 92, 12 * 152 + 60));
        waehlen(1);
        lehrerzelle(100, 152);
        lehrerzelle(0, 0);
        QCOMPARE(zeile(1).left(15), QString("AnnA 22,0  20,0"));
        teil<QPushButton>("Button1")->click();
        const auto gespeichert = nux::laden<nux::Klassensatz>(nux::jahrdatei("klassen"));
        QCOMPARE(gespeichert.size(), std::size_t(101));
        QCOMPARE(gespeichert[100].l(3, 100) + gespeichert[0].l(1, 50), std::string("AnnAAnnA"));
    }
};

QTEST_MAIN(VerteilungTest)
#include "verteilung_test.moc"
