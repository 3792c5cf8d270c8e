
#include "testhilfe.h"

namespace {

void aktivieren();

// testhilfe's small school, shown.
void schule() {
    testhilfe::kleineschule();
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

void waehlen(int p, Qt::KeyboardModifiers tasten = {}, Qt::MouseButton knopf = Qt::LeftButton) {
    QTest::mouseClick(liste()->viewport(), knopf, tasten, testhilfe::mitte(liste(), p));
}

// The menu unlocked on the year of schule(), the assignment window loaded again.
void entsperren() {
    nux::jahraktschreiben("2026 1");
    menuform->vorholen();
    testhilfe::warten();
    auto* code = menuform->findChild<QLineEdit*>("Edit2");
    code->setFocus();
    QTest::keyClicks(code, "8153");
    menuform->findChild<QPushButton*>("Button6")->setFocus();
    aktivieren();
}

// Clicks at the pixel place of a teacher or hours cell.
QPoint lehrerpunkt(int c, int r) { return QPoint(65 + 75 * c + 20, 20 + 12 * r + 6); }
void lehrerzelle(int c, int r) { QTest::mouseClick(gitter(), Qt::LeftButton, {}, lehrerpunkt(c, r)); }
void stundenzelle(int c, int r) { QTest::mouseClick(gitter(), Qt::LeftButton, {}, QPoint(35 + 75 * c + 10, 20 + 12 * r + 6)); }

// What a double click delivers: press, release, double click, release.
void doppelklick(QWidget* w, QPoint p) {
    QTest::mousePress(w, Qt::LeftButton, {}, p);
    QTest::mouseRelease(w, Qt::LeftButton, {}, p);
    QTest::mouseDClick(w, Qt::LeftButton, {}, p);
    QTest::mouseRelease(w, Qt::LeftButton, {}, p);
}

}  // namespace

class VerteilungTest : public QObject {
    Q_OBJECT

private slots:
    void klickenTraegtEinErsetztNimmtZurueckUndSpeichert() {
        testhilfe::Programm p;
        schule();
        const auto& m = verteilfenster->modell();
        const auto jetzt = [&] { return stand() + QString::fromStdString("|" + lehrer(0, 0) + (m.zelle(0, 0).gruen ? "+" : "") + lehrer(1, 1)); };
        const QString geladen = jetzt();
        QCOMPARE(geladen, QString("AnnA 22,0  22,0|Ra   10,0   7,0|30|--Ra"));
        QCOMPARE(zeile(4) + teil<QLabel>("Label4")->text(), QString("Summe   32,0   11,5"));
        QCOMPARE(teil<QProgressBar>("ProgressBar1")->maximum(), 115);
        waehlen(1);  // AnnA
        lehrerzelle(1, 1);  // M 1b held by Ra: replaced, the sum stays
        const QString ersetzt = jetzt();
        QCOMPARE(ersetzt, QString("AnnA 22,0  19,0|Ra   10,0  10,0|30|--AnnA"));
        lehrerzelle(0, 0);  // D 1a, 2,0
        const QString beide = jetzt();
        QCOMPARE(beide, QString("AnnA 22,0  17,0|Ra   10,0  10,0|50|AnnA+AnnA"));
        // Ctrl+Z, Ctrl+Y and Ctrl+Shift+Z wherever the focus is; a beep when nothing is left.
        const int piepse = nux::piepszahl();
        struct Taste { QWidget* w; Qt::Key k; Qt::KeyboardModifiers mit; QString danach; };
        const Taste tasten[] = {{liste(), Qt::Key_Z, Qt::ControlModifier, ersetzt}, {gitter(), Qt::Key_Z, Qt::ControlModifier, geladen},
                                {gitter(), Qt::Key_Z, Qt::ControlModifier, geladen}, {liste(), Qt::Key_Y, Qt::ControlModifier, ersetzt},
                                {teil("Button1"), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier, beide},
                                {liste(), Qt::Key_Z, Qt::ControlModifier, ersetzt}};
        for (const Taste& t : tasten) {
            t.w->setFocus();
            QTest::keyClick(t.w, t.k, t.mit);
            QCOMPARE(jetzt(), t.danach);
        }
        QCOMPARE(nux::piepszahl(), piepse + 1);
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
        QVERIFY(nux::fehlerliste().isEmpty() && !verteilfenster->ungespeichert());
        // Behind the saved state the grid is unsaved again; back at it, a reload asks nothing.
        QTest::keyClick(liste(), Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(verteilfenster->ungespeichert());
        QTest::keyClick(liste(), Qt::Key_Y, Qt::ControlModifier);
        aktivieren();
        QCOMPARE(verteilfenster->verlauf()->count(), 0);
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
        doppelklick(liste()->viewport(), testhilfe::mitte(liste(), 0));
        QVERIFY(!m.zelle(1, 1).gruen);
        QCOMPARE(liste()->selectedItems().value(0), liste()->item(0));
        waehlen(3);  // the blank line is never selected
        QVERIFY(liste()->selectedItems().isEmpty());
        // A double click on a teacher cell is one click: entered, not entered and taken off again.
        waehlen(1);  // AnnA
        doppelklick(gitter(), lehrerpunkt(0, 0));
        doppelklick(gitter(), lehrerpunkt(1, 1));  // held by Ra: replaced
        QCOMPARE(stand(), QString("AnnA 22,0  17,0|Ra   10,0  10,0|50"));
    }

    void notizGanzSichtbarBisZumFeldwechsel() {
        testhilfe::Programm p;
        QList<int> schritte;
        connect(teil<QProgressBar>("ProgressBar2"), &QProgressBar::valueChanged, this, [&](int v) { schritte << v; });
        schule();
        QCOMPARE(schritte, (QList<int>{0, 1, 2}));  // the loading bar steps once per class
        QWidget* notiz = teil("Panel1");
        stundenzelle(0, 0);  // black: no extra text
        QVERIFY(!notiz->isVisible());
        for (int c : {0, 1}) {  // blue, in the first and the last class of a small school
            stundenzelle(c, 1);
            QCOMPARE(teil<QLabel>("Label3")->text(), QString(c ? "Gruppe" : "  Förderkurs  "));
            QCOMPARE(notiz->geometry(), QRect(35 + 75 * c + 100, 32, 313, 33));
            QCOMPARE(notiz->visibleRegion().boundingRect(), notiz->rect());
        }
        // Another program taking the front is no exit; a field of the window is.
        for (const auto& [grund, bleibt] : {std::pair{Qt::ActiveWindowFocusReason, true}, {Qt::TabFocusReason, false}}) {
            QFocusEvent weg(QEvent::FocusOut, grund);
            QApplication::sendEvent(notiz, &weg);
            QCOMPARE(notiz->isVisible(), bleibt);
        }
    }

    void hilfeUndKlassenstunden() {
        testhilfe::Programm p;
        schule();
        QTest::mouseClick(teil("Button2"), Qt::LeftButton);
        QVERIFY(teil("Panel2")->isVisible());
        QTest::mouseClick(teil("Memo2"), Qt::LeftButton);
        QVERIFY(!teil("Panel2")->isVisible());
        QTest::mouseClick(teil("Label1"), Qt::LeftButton);
        auto* stunden = teil<QListWidget>("ListBox3");
        QCOMPARE(stunden->item(stunden->count() - 1)->text(), QString("Ges.   11,5"));
        QTest::mouseClick(stunden->viewport(), Qt::LeftButton);  // the list does not close the panel
        QVERIFY(teil("Panel5")->isVisible());
        QTest::mouseClick(teil("Panel5"), Qt::LeftButton, {}, QPoint(5, 540));
        QVERIFY(!teil("Panel5")->isVisible());
    }

    void fehlendeDateienFuehrenZumEditor() {
        const struct { std::vector<const char*> da; const char* hinweis; int piepse; const char* vorn; } faelle[] = {
            {{"faecher"}, "keine LehrerInnen angelegt", 4, "Tlehrerfenster"},  // two hints, the last editor in front
            {{"klassen", "lehrer"}, "keine Fächer angelegt", 2, "Tfaecherfenster"},
            {{"faecher", "lehrer"}, "keine Klassen angelegt", 2, "Tklassenfenster"},
        };
        for (const auto& f : faelle) {
            testhilfe::Programm p;
            testhilfe::jahranlegen();
            for (const char* datei : f.da) {
                if (!strcmp(datei, "faecher")) nux::neuschreiben<nux::Fachsatz>(nux::jahrdatei(datei), {{"Deutsch", "D", 0}});
                if (!strcmp(datei, "lehrer")) nux::neuschreiben<nux::Lehrersatz>(nux::jahrdatei(datei), {{"Anna", "A", 10}});
                if (!strcmp(datei, "klassen")) nux::neuschreiben(nux::jahrdatei(datei), std::vector<nux::Klassensatz>(1));
            }
            const int vorher = nux::piepszahl();
            aktivieren();
            QCOMPARE(teil<QLabel>("Label6")->text(), QString(f.hinweis));
            QCOMPARE(nux::piepszahl() - vorher, f.piepse);
            QCOMPARE(nux::Fenster::aktivesFenster()->objectName(), QString(f.vorn));
            QVERIFY(teil("Panel3")->isVisible() && !teil("Panel4")->isVisible());
            teil<QPushButton>("Button1")->click();  // nothing loaded, nothing written
            QCOMPARE(nux::fehlerliste(), QStringList());
        }
    }

    void druckgestenDerListe() {
        // A right or middle press selects nothing and acts on the line selected before.
        const struct { int vorher; Qt::MouseButton knopf; int zeile; Qt::KeyboardModifiers tasten; int dokumente; } faelle[] = {
            {-1, Qt::LeftButton, 2, Qt::AltModifier, 1},                      // one sheet
            {-1, Qt::LeftButton, 0, Qt::AltModifier, 1},                      // delete line: an empty sheet
            {-1, Qt::LeftButton, 0, Qt::AltModifier | Qt::ControlModifier, 2},  // every teacher line
            {-1, Qt::LeftButton, 1, Qt::ControlModifier, 1},                  // the school on one page
            {-1, Qt::LeftButton, 4, Qt::ControlModifier, 0},                  // sum line: nothing
            {-1, Qt::RightButton, 2, Qt::AltModifier, 0},
            {2, Qt::RightButton, 1, Qt::AltModifier, 1},
            {2, Qt::MiddleButton, 4, Qt::ControlModifier, 1},
        };
        for (const auto& f : faelle) {
            testhilfe::Programm p;
            nux::druckzielsetzen(nux::Druckziel::pdf);
            schule();
            if (f.vorher >= 0) waehlen(f.vorher);
            waehlen(f.zeile, f.tasten, f.knopf);
            testhilfe::warten();
            QVERIFY2(nux::fehlerliste().isEmpty(), qPrintable(nux::fehlerliste().join("; ")));
            QCOMPARE(QDir(nux::kDruckordner).entryList({"*.pdf"}, QDir::Files).size(), f.dokumente);
            if (f.vorher >= 0) QCOMPARE(liste()->currentRow(), f.vorher);
            QCOMPARE(balken(), 30);  // printing changes nothing of the grid
        }
    }

    void groessteSchuleMitGleicherGeometrie() {
        // 101 classes; subjects 50 to 100 with three slots (0 to 49 withdrawn):
        // 153 rows, clickable at the far corner as at the first cell.
        testhilfe::Programm p;
        testhilfe::jahranlegen();
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
        QCOMPARE(lehrer(100, 152) + lehrer(0, 0) + zeile(1).left(15).toStdString(), std::string("AnnAAnnAAnnA 22,0  20,0"));
    }

    // Every way of leaving with unsaved assignments, every answer, against the file.
    void ungespeichertVerlassen_data() {
        QTest::addColumn<QString>("weg");
        QTest::addColumn<int>("antwort");
        for (const char* weg : {"Klassen", "Verteilung", "Ende", "schliessen", "aktivieren"})
            for (int a : {0, 1, 2}) QTest::newRow(qPrintable(QString("%1 %2").arg(weg).arg(a))) << QString(weg) << a;
    }
    void ungespeichertVerlassen() {
        QFETCH(QString, weg);
        QFETCH(int, antwort);
        const auto a = static_cast<nux::Antwort>(antwort);
        testhilfe::Programm p;
        schule();
        entsperren();
        waehlen(1);
        lehrerzelle(0, 0);
        QStringList fragen;
        nux::antworthaken() = [&](const QString& text, bool abbrechbar) {
            fragen << text + (abbrechbar ? "" : " (ohne Abbrechen)");
            return a;
        };
        const auto knopf = [](const char* name) { menuform->findChild<QPushButton*>(name)->click(); };
        if (weg == "Klassen") knopf("Button2");
        if (weg == "Verteilung") knopf("Button1");
        if (weg == "Ende") knopf("Button6");
        if (weg == "schliessen") menuform->close();
        if (weg == "aktivieren") aktivieren();
        QCOMPARE(fragen, QStringList{"Die Zuordnungen sind noch nicht gespeichert. Jetzt speichern?"});
        QCOMPARE(nux::laden<nux::Klassensatz>(nux::jahrdatei("klassen"))[0].l(1, 0), std::string(a == nux::Antwort::ja ? "AnnA" : ""));
        QVERIFY(nux::fehlerliste().isEmpty());
        const bool bleibt = a == nux::Antwort::abbrechen;
        QCOMPARE(verteilfenster->ungespeichert(), bleibt);
        if (bleibt)  // back in the assignment window as it was, green cell and all
            QVERIFY(nux::Fenster::aktivesFenster() == verteilfenster && verteilfenster->modell().zelle(0, 0).gruen);
        if (weg == "Klassen") QCOMPARE(reinterpret_cast<QWidget*>(klassenfenster)->isVisible(), !bleibt);
        if (weg == "Ende" || weg == "schliessen") QCOMPARE(menuform->isVisible(), bleibt);
        if (weg == "Verteilung" || weg == "aktivieren")
            QCOMPARE(lehrer(0, 0), std::string(a == nux::Antwort::nein ? "--" : "AnnA"));
    }

    // "Ja" that cannot save keeps the assignments; an end that cannot be
    // stopped asks until they are saved or given up.
    void speichernMisslingtBeimVerlassen() {
        testhilfe::Programm p;
        schule();
        entsperren();
        waehlen(1);
        lehrerzelle(0, 0);
        std::filesystem::remove(nux::jahrdatei("klassen"));
        std::filesystem::create_directories(nux::jahrdatei("klassen") + "/x");
        QString fragen;  // A: with "Abbrechen", J: without
        nux::antworthaken() = [&](const QString&, bool abbrechbar) {
            fragen += abbrechbar ? "A" : "J";
            return fragen.size() < 4 ? nux::Antwort::ja : nux::Antwort::nein;
        };
        menuform->findChild<QPushButton*>("Button6")->click();
        QVERIFY(fragen == "A" && nux::fehlerliste().size() == 1 && menuform->isVisible() && verteilfenster->ungespeichert());
        QMetaObject::invokeMethod(qApp, "aboutToQuit", Qt::DirectConnection);
        QCOMPARE(fragen, QString("AJJJ"));
        QVERIFY(!verteilfenster->ungespeichert());
    }
};

QTEST_MAIN(VerteilungTest)
#include "verteilung_test.moc"
