#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollArea>
#include <QtTest>
#include <filesystem>
#include <fstream>

#include "app/nux_menue.h"
#include "assignment/drucken.h"
#include "assignment/nux_verteilung.h"
#include "editors/nux_faecher.h"
#include "editors/nux_klassen.h"
#include "editors/nux_lehrer.h"
#include "storage/jahr.h"
#include "storage/satz.h"
#include "storage/text.h"
#include "testhilfe.h"
#include "years/nux_jahr.h"

namespace {

const char* const kJahr = "2026 1";

nux::Klassensatz klasse(const std::string& name) {
    nux::Klassensatz k;
    k.name = name;
    return k;
}

// Two classes; subjects D (index 0) and M (index 1); D has 2,0 hours in both
// classes, M 4,5 in 1a with an extra text and teacher "Ra" in 1b.
void schuleschreiben() {
    std::filesystem::create_directory(kJahr);
    nux::jahrsetzen(kJahr);
    nux::Fachsatz d, m;
    d.name = "Deutsch";
    d.kurz = "D";
    d.ordnung = 0;
    m.name = "Mathematik";
    m.kurz = "M";
    m.ordnung = 1;
    nux::neuschreiben<nux::Fachsatz>(nux::jahrdatei("faecher"), {d, m});
    nux::Lehrersatz a, b;
    a.name = "Anna Alt";
    a.kurz = "AnnA";
    a.stunden = 220;
    b.name = "Rudi Rau";
    b.kurz = "Ra";
    b.stunden = 100;
    nux::neuschreiben<nux::Lehrersatz>(nux::jahrdatei("lehrer"), {a, b});
    auto k1 = klasse("1a"), k2 = klasse("1b");
    k1.h(1, 0) = 20;
    k1.h(1, 1) = 45;
    k1.z(1, 1) = "  F\xF6rderkurs  ";
    k2.h(1, 0) = 20;
    k2.h(1, 1) = 30;
    k2.l(1, 1) = "Ra";
    nux::neuschreiben<nux::Klassensatz>(nux::jahrdatei("klassen"), {k1, k2});
}

QListWidget* liste() { return verteilfenster->findChild<QListWidget*>("ListBox1"); }
QString zeile(int p) { return liste()->item(p)->text(); }
int balken() { return verteilfenster->findChild<QProgressBar*>("ProgressBar1")->value(); }
QWidget* gitter() { return verteilfenster->findChild<QScrollArea*>("ScrollBox1")->widget(); }

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

std::string gespeicherterLehrer(int klasse, int j, int s) {
    return nux::laden<nux::Klassensatz>(nux::jahrdatei("klassen"))[static_cast<std::size_t>(klasse)].l(j, s);
}

}  // namespace

class VerteilungTest : public QObject {
    Q_OBJECT

private slots:
    void ladenZeigtListeSummeUndBalken() {
        testhilfe::Programm p;
        schuleschreiben();
        aktivieren();
        QVERIFY(nux::fehlerliste().isEmpty());
        QCOMPARE(liste()->count(), 5);
        QCOMPARE(zeile(0).left(4), QString("----"));
        QCOMPARE(zeile(1).left(15), QString("AnnA 22,0  22,0"));
        QCOMPARE(zeile(2).left(15), QString("Ra   10,0   7,0"));
        QCOMPARE(zeile(4), QString("Summe   32,0"));
        QCOMPARE(verteilfenster->findChild<QLabel*>("Label4")->text(), QString("   11,5"));
        QCOMPARE(verteilfenster->findChild<QProgressBar*>("ProgressBar1")->maximum(), 115);
        QCOMPARE(balken(), 30);
        QVERIFY(liste()->selectedItems().isEmpty());
        QVERIFY(!verteilfenster->findChild<QWidget*>("Panel3")->isVisible());
        // The grid is as large as its geometry: two classes, rows 0 and 1.
        QCOMPARE(gitter()->size(), QSize(75 * 2 + 92, 12 * 1 + 60));
    }

    void klickenTraegtEinErsetztUndSpeichert() {
        testhilfe::Programm p;
        schuleschreiben();
        aktivieren();
        waehlen(1);  // AnnA
        lehrerzelle(0, 0);  // D 1a, 2,0
        QCOMPARE(zeile(1).left(15), QString("AnnA 22,0  20,0"));
        QCOMPARE(balken(), 50);
        QCOMPARE(verteilfenster->modell().zelle(0, 0).lehrer, std::string("AnnA"));
        lehrerzelle(1, 1);  // M 1b held by Ra: replaced, the sum stays
        QCOMPARE(zeile(1).left(15), QString("AnnA 22,0  17,0"));
        QCOMPARE(zeile(2).left(15), QString("Ra   10,0  10,0"));
        QCOMPARE(balken(), 50);
        lehrerzelle(0, 0);  // again: removed
        QCOMPARE(zeile(1).left(15), QString("AnnA 22,0  19,0"));
        QCOMPARE(balken(), 30);
        waehlen(2);
        lehrerzelle(0, 1);  // M 1a, 4,5
        QCOMPARE(zeile(2).left(15), QString("Ra   10,0   5,5"));
        // Between cells and on a row label nothing happens.
        QTest::mouseClick(gitter(), Qt::LeftButton, {}, QPoint(10, 26));
        QTest::mouseClick(gitter(), Qt::LeftButton, {}, QPoint(107, 26));
        QCOMPARE(balken(), 75);

        verteilfenster->findChild<QPushButton*>("Button1")->click();
        QVERIFY(nux::fehlerliste().isEmpty());
        QCOMPARE(gespeicherterLehrer(0, 1, 1), std::string("Ra  "));
        QCOMPARE(gespeicherterLehrer(1, 1, 1), std::string("AnnA"));
        QCOMPARE(gespeicherterLehrer(0, 1, 0), std::string());
        const auto erst = testhilfe::bytes(nux::jahrdatei("klassen"));
        verteilfenster->findChild<QPushButton*>("Button1")->click();
        QCOMPARE(testhilfe::bytes(nux::jahrdatei("klassen")), erst);
    }

    void neueAktivierungVerwirftUngespeichertes() {
        testhilfe::Programm p;
        schuleschreiben();
        aktivieren();
        waehlen(1);
        lehrerzelle(0, 0);
        QCOMPARE(balken(), 50);
        aktivieren();
        QCOMPARE(balken(), 30);
        QCOMPARE(zeile(1).left(15), QString("AnnA 22,0  22,0"));
        QCOMPARE(verteilfenster->modell().zelle(0, 0).lehrer, std::string("--"));
    }

    void leerzeileUndSummenzeileWaehlenNichts() {
        testhilfe::Programm p;
        schuleschreiben();
        aktivieren();
        waehlen(3);
        QVERIFY(liste()->selectedItems().isEmpty());
        waehlen(4, Qt::ControlModifier);
        QVERIFY(liste()->selectedItems().isEmpty());
        // Selected by keyboard, the sum line enters nothing.
        liste()->setCurrentRow(4);
        lehrerzelle(0, 0);
        QCOMPARE(verteilfenster->modell().zelle(0, 0).lehrer, std::string("--"));
        QCOMPARE(balken(), 30);
        QCOMPARE(zeile(4), QString("Summe   32,0"));
    }

    void hervorhebenFaerbtDieStundenDesLehrers() {
        testhilfe::Programm p;
        schuleschreiben();
        aktivieren();
        const auto& m = verteilfenster->modell();
        QVERIFY(!m.zelle(1, 1).gruen);
        waehlen(2);  // Ra
        QVERIFY(m.zelle(1, 1).gruen);
        QCOMPARE(liste()->selectedItems().size(), 1);
        // Delete line, by double click: every assigned cell black, and the
        // line stays selected.
        QTest::mouseDClick(liste()->viewport(), Qt::LeftButton, {}, liste()->visualItemRect(liste()->item(0)).center());
        QVERIFY(!m.zelle(1, 1).gruen);
        QCOMPARE(liste()->selectedItems().value(0), liste()->item(0));
        // The painted grid shows the green name at its place.
        waehlen(2);
        const QImage bild = gitter()->grab().toImage();
        bool gruen = false;
        for (int x = 65 + 75; x < 65 + 75 + 40; ++x)
            for (int y = 32; y < 45; ++y) gruen = gruen || bild.pixelColor(x, y) == QColor(0, 255, 0);
        QVERIFY(gruen);
    }

    void zusatztextNurBeiBlauenStunden() {
        testhilfe::Programm p;
        schuleschreiben();
        aktivieren();
        auto* panel = verteilfenster->findChild<QWidget*>("Panel1");
        stundenzelle(0, 0);  // black
        QVERIFY(!panel->isVisible());
        stundenzelle(0, 1);  // blue
        QVERIFY(panel->isVisible());
        QCOMPARE(verteilfenster->findChild<QLabel*>("Label3")->text(), QString("  Förderkurs  "));
        QCOMPARE(panel->pos(), QPoint(35 + 100, 32));
        QTest::mouseClick(panel, Qt::LeftButton);
        QVERIFY(!panel->isVisible());
    }

    void hilfeUndKlassenstunden() {
        testhilfe::Programm p;
        schuleschreiben();
        aktivieren();
        verteilfenster->findChild<QPushButton*>("Button2")->click();
        auto* hilfe = verteilfenster->findChild<QWidget*>("Panel2");
        QVERIFY(hilfe->isVisible());
        QCOMPARE(hilfe->geometry(), QRect(32, 439, 801, 162));
        QVERIFY(verteilfenster->findChild<QLabel*>("Memo2")->text().endsWith("In diesen Text klicken."));
        QTest::mouseClick(verteilfenster->findChild<QWidget*>("Memo2"), Qt::LeftButton);
        QVERIFY(!hilfe->isVisible());

        QTest::mouseClick(verteilfenster->findChild<QWidget*>("Label1"), Qt::LeftButton);
        auto* klassen = verteilfenster->findChild<QWidget*>("Panel5");
        QVERIFY(klassen->isVisible());
        auto* l3 = verteilfenster->findChild<QListWidget*>("ListBox3");
        QStringList zeilen;
        for (int i = 0; i < l3->count(); ++i) zeilen << l3->item(i)->text();
        QCOMPARE(zeilen, QStringList({"1a    6,5", "1b    5,0", "  Su   11,5", " ", "Ges.   11,5"}));
        QTest::mouseClick(klassen, Qt::LeftButton, {}, QPoint(2, 2));
        QVERIFY(!klassen->isVisible());
    }

    void fehlendeDateienFuehrenZumEditor() {
        testhilfe::Programm p;
        std::filesystem::create_directory(kJahr);
        nux::jahrsetzen(kJahr);
        nux::Fachsatz d;
        d.name = "Deutsch";
        d.kurz = "D";
        nux::neuschreiben<nux::Fachsatz>(nux::jahrdatei("faecher"), {d});
        const int vorher = nux::piepszahl();
        aktivieren();
        // klassen and lehrer missing: two hints, two beeps each, the last editor in front.
        QCOMPARE(nux::piepszahl() - vorher, 4);
        QVERIFY(klassenfenster->isVisible());
        QVERIFY(lehrerfenster->isVisible());
        QVERIFY(!faecherfenster->isVisible());
        QCOMPARE(nux::Fenster::aktivesFenster(), static_cast<nux::Fenster*>(lehrerfenster));
        QVERIFY(verteilfenster->findChild<QWidget*>("Panel3")->isVisible());
        QVERIFY(!verteilfenster->findChild<QWidget*>("Panel4")->isVisible());
        verteilfenster->findChild<QPushButton*>("Button1")->click();
        QVERIFY(!QFile::exists(QString::fromStdString(nux::jahrdatei("klassen"))));
        QVERIFY(nux::fehlerliste().isEmpty());
    }

    void ohneJahrKommtDasJahrfenster() {
        testhilfe::Programm p;
        const int vorher = nux::piepszahl();
        aktivieren();
        QCOMPARE(nux::Fenster::aktivesFenster(), static_cast<nux::Fenster*>(jahrfenster));
        QCOMPARE(nux::piepszahl(), vorher);
        QVERIFY(nux::fehlerliste().isEmpty());
    }

    void druckgestenDerListe_data() {
        QTest::addColumn<int>("zeile");
        QTest::addColumn<int>("tasten");
        QTest::addColumn<int>("dokumente");
        QTest::newRow("ALT: ein Blatt") << 2 << int(Qt::AltModifier) << 1;
        QTest::newRow("ALT auf Loeschzeile: leeres Blatt") << 0 << int(Qt::AltModifier) << 1;
        QTest::newRow("ALT-STRG: jede Lehrerzeile") << 0 << int(Qt::AltModifier | Qt::ControlModifier) << 2;
        QTest::newRow("STRG: Schule auf einer Seite") << 1 << int(Qt::ControlModifier) << 1;
        QTest::newRow("STRG auf Summenzeile: nichts") << 4 << int(Qt::ControlModifier) << 0;
    }
    void druckgestenDerListe() {
        QFETCH(int, zeile);
        QFETCH(int, tasten);
        QFETCH(int, dokumente);
        testhilfe::Programm p;
        nux::druckzielsetzen(nux::Druckziel::pdf);
        schuleschreiben();
        aktivieren();
        waehlen(zeile, Qt::KeyboardModifiers(tasten));
        testhilfe::warten();
        QVERIFY2(nux::fehlerliste().isEmpty(), qPrintable(nux::fehlerliste().join("; ")));
        const QStringList pdf = QDir(nux::kDruckordner).entryList({"*.pdf"}, QDir::Files);
        QCOMPARE(pdf.size(), dokumente);
        // Printing changes nothing of the grid.
        QCOMPARE(balken(), 30);
    }

    void groessteSchuleMitGleicherGeometrie() {
        // 101 classes and 51 subjects with three slots: 153 rows, clickable
        // at the far corner as at the first cell.
        testhilfe::Programm p;
        std::filesystem::create_directory(kJahr);
        nux::jahrsetzen(kJahr);
        std::vector<nux::Fachsatz> f(51);
        for (int s = 0; s < 51; ++s) {
            f[static_cast<std::size_t>(s)].name = "F" + std::to_string(s);
            f[static_cast<std::size_t>(s)].kurz = "F" + std::to_string(s);
            f[static_cast<std::size_t>(s)].ordnung = s;
        }
        std::vector<nux::Klassensatz> k(101);
        for (auto& ks : k)
            for (int s = 0; s < 51; ++s)
                for (int j = 1; j <= 3; ++j) ks.h(j, s) = 10;
        nux::Lehrersatz l;
        l.name = "Anna Alt";
        l.kurz = "AnnA";
        l.stunden = 220;
        nux::neuschreiben(nux::jahrdatei("faecher"), f);
        nux::neuschreiben(nux::jahrdatei("klassen"), k);
        nux::neuschreiben<nux::Lehrersatz>(nux::jahrdatei("lehrer"), {l});
        aktivieren();
        QVERIFY(nux::fehlerliste().isEmpty());
        QCOMPARE(gitter()->size(), QSize(75 * 101 + 92, 12 * 152 + 60));
        waehlen(1);
        lehrerzelle(100, 152);
        lehrerzelle(0, 0);
        QCOMPARE(verteilfenster->modell().zelle(100, 152).lehrer, std::string("AnnA"));
        QCOMPARE(verteilfenster->modell().zelle(0, 0).lehrer, std::string("AnnA"));
        QCOMPARE(zeile(1).left(15), QString("AnnA 22,0  20,0"));
        verteilfenster->findChild<QPushButton*>("Button1")->click();
        const auto gespeichert = nux::laden<nux::Klassensatz>(nux::jahrdatei("klassen"));
        QCOMPARE(gespeichert.size(), std::size_t(101));
        QCOMPARE(gespeichert[100].l(3, 50), std::string("AnnA"));
    }

    void leereKlassendateiMeldetUndSchreibtNichts() {
        testhilfe::Programm p;
        schuleschreiben();
        std::ofstream(nux::jahrdatei("klassen"), std::ios::trunc);
        aktivieren();
        QCOMPARE(nux::fehlerliste(), QStringList({QString::fromUtf8("Versuch hinter dem Dateiende zu lesen")}));
        QCOMPARE(liste()->count(), 0);
        verteilfenster->findChild<QPushButton*>("Button1")->click();
        QCOMPARE(testhilfe::bytes(nux::jahrdatei("klassen")).size(), std::size_t(0));
    }
};

QTEST_MAIN(VerteilungTest)
#include "verteilung_test.moc"
