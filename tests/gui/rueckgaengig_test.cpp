#include <QtTest>
#include <QtWidgets>
#include <filesystem>

#include "app/nux_menue.h"
#include "assignment/nux_verteilung.h"
#include "editors/nux_klassen.h"
#include "fenster/frage.h"
#include "storage/jahr.h"
#include "testhilfe.h"

namespace {

// One class with D (2,0 hours, free) and M (4,5 hours, held by Ra); teachers
// AnnA and Ra. The menu is unlocked and the assignment window loaded.
void schule() {
    std::filesystem::create_directory("2026 1");
    nux::jahraktschreiben("2026 1");
    nux::neuschreiben<nux::Fachsatz>("2026 1/faecher", {{"Deutsch", "D", 0}, {"Mathematik", "M", 1}});
    nux::neuschreiben<nux::Lehrersatz>("2026 1/lehrer", {{"Anna Alt", "AnnA", 220}, {"Rudi Rau", "Ra", 100}});
    std::vector<nux::Klassensatz> k(1);
    k[0].name = "1a";
    k[0].h(1, 0) = 20;
    k[0].h(1, 1) = 45;
    k[0].l(1, 1) = "Ra";
    nux::neuschreiben("2026 1/klassen", k);
    menuform->vorholen();
    testhilfe::warten();
    menuform->findChild<QLineEdit*>("Edit2")->setFocus();
    QTest::keyClicks(menuform->findChild<QLineEdit*>("Edit2"), "8153");
    menuform->findChild<QPushButton*>("Button6")->setFocus();
    menuform->findChild<QPushButton*>("Button1")->click();
    testhilfe::warten();
}

template <class T = QWidget> T* teil(const char* name) { return verteilfenster->findChild<T*>(name); }
QListWidget* liste() { return teil<QListWidget>("ListBox1"); }
QWidget* gitter() { return teil<QScrollArea>("ScrollBox1")->widget(); }
void waehlen(int p) { QTest::mouseClick(liste()->viewport(), Qt::LeftButton, {}, liste()->visualItemRect(liste()->item(p)).center()); }
void lehrerzelle(int c, int r) { QTest::mouseClick(gitter(), Qt::LeftButton, {}, QPoint(65 + 75 * c + 20, 20 + 12 * r + 6)); }
// The cells, the two teacher lines and the progress bar as the user sees them.
QString stand() {
    const auto& m = verteilfenster->modell();
    return QString::fromStdString(m.zelle(0, 0).lehrer + (m.zelle(0, 0).gruen ? "+" : "") + "|" + m.zelle(0, 1).lehrer +
                                  (m.zelle(0, 1).gruen ? "+" : "") + "|") +
           liste()->item(1)->text().left(15) + "|" + liste()->item(2)->text().left(15) + "|" +
           QString::number(teil<QProgressBar>("ProgressBar1")->value());
}
std::string gespeichert() { return nux::laden<nux::Klassensatz>("2026 1/klassen")[0].l(1, 0); }

void tasten(QWidget* w, Qt::Key taste, Qt::KeyboardModifiers mit) {
    w->setFocus();
    QTest::keyClick(w, taste, mit);
}

}  // namespace

class RueckgaengigTest : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { nux::antworthaken() = nullptr; }

    void tastenNehmenZurueckUndWiederholen() {
        testhilfe::Programm p;
        schule();
        const QString geladen = stand();
        QCOMPARE(geladen, QString("--|Ra|AnnA 22,0  22,0|Ra   10,0   5,5|45"));
        waehlen(1);
        lehrerzelle(0, 0);  // enters AnnA
        const QString eins = stand();
        lehrerzelle(0, 1);  // replaces Ra
        const QString zwei = stand();
        QCOMPARE(zwei, QString("AnnA+|AnnA+|AnnA 22,0  15,5|Ra   10,0  10,0|65"));

        const int piepse = nux::piepszahl();
        tasten(liste(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(stand(), eins);
        tasten(gitter(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(stand(), geladen);
        QVERIFY(!verteilfenster->ungespeichert());
        tasten(gitter(), Qt::Key_Z, Qt::ControlModifier);  // nothing left: a beep
        QCOMPARE(nux::piepszahl(), piepse + 1);
        tasten(liste(), Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(stand(), eins);
        tasten(teil("Button1"), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(stand(), zwei);

        teil<QPushButton>("Button1")->click();  // the saved state is the clean one
        QVERIFY(!verteilfenster->ungespeichert());
        QCOMPARE(gespeichert(), std::string("AnnA"));
        tasten(liste(), Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(verteilfenster->ungespeichert());
        nux::antworthaken() = [](const QString&, bool) { return nux::Antwort::nein; };
        nux::Fenster::aktivesFensterVergessen();
        verteilfenster->vorholen();  // a reload starts a new history
        QCOMPARE(verteilfenster->verlauf()->count(), 0);
        QCOMPARE(stand(), QString("AnnA|AnnA|AnnA 22,0  15,5|Ra   10,0  10,0|65"));
    }

    void ungespeichertVerlassen_data() {
        QTest::addColumn<QString>("weg");
        QTest::addColumn<int>("antwort");
        for (const char* weg : {"Klassen", "Verteilung", "Ende", "schliessen", "aktivieren"})
            for (auto [name, a] : {std::pair{"ja", nux::Antwort::ja}, {"nein", nux::Antwort::nein}, {"abbrechen", nux::Antwort::abbrechen}})
                QTest::newRow(qPrintable(QString("%1 %2").arg(weg, name))) << QString(weg) << static_cast<int>(a);
    }
    void ungespeichertVerlassen() {
        QFETCH(QString, weg);
        QFETCH(int, antwort);
        const auto a = static_cast<nux::Antwort>(antwort);
        testhilfe::Programm p;
        schule();
        waehlen(1);
        lehrerzelle(0, 0);
        QStringList fragen;
        nux::antworthaken() = [&](const QString& text, bool abbrechbar) {
            fragen << text + (abbrechbar ? "" : " (ohne Abbrechen)");
            return a;
        };
        if (weg == "Klassen")
            menuform->findChild<QPushButton*>("Button2")->click();
        else if (weg == "Verteilung")
            menuform->findChild<QPushButton*>("Button1")->click();
        else if (weg == "Ende")
            menuform->findChild<QPushButton*>("Button6")->click();
        else if (weg == "schliessen")
            menuform->close();
        else {
            nux::Fenster::aktivesFensterVergessen();
            verteilfenster->vorholen();
        }
        QCOMPARE(fragen, QStringList{"Die Zuordnungen sind noch nicht gespeichert. Jetzt speichern?"});
        QCOMPARE(gespeichert(), std::string(a == nux::Antwort::ja ? "AnnA" : ""));
        QVERIFY(nux::fehlerliste().isEmpty());
        const bool bleibt = a == nux::Antwort::abbrechen;
        QCOMPARE(verteilfenster->ungespeichert(), bleibt);
        if (bleibt) {  // back in the assignment window, nothing reloaded
            QCOMPARE(nux::Fenster::aktivesFenster(), static_cast<nux::Fenster*>(verteilfenster));
            QVERIFY(verteilfenster->modell().zelle(0, 0).gruen);
        }
        if (weg == "Klassen") QCOMPARE(reinterpret_cast<QWidget*>(klassenfenster)->isVisible(), !bleibt);
        if (weg == "Ende" || weg == "schliessen") QCOMPARE(menuform->isVisible(), bleibt);
        if (weg == "Verteilung" || weg == "aktivieren")  // reloaded from the file unless kept
            QCOMPARE(verteilfenster->modell().zelle(0, 0).lehrer, std::string(a == nux::Antwort::nein ? "--" : "AnnA"));
    }

    void nichtsZuFragen() {
        testhilfe::Programm p;
        schule();
        int gefragt = 0;
        nux::antworthaken() = [&](const QString&, bool) { ++gefragt; return nux::Antwort::abbrechen; };
        waehlen(1);
        lehrerzelle(0, 0);
        lehrerzelle(0, 0);  // in and out again: changed, unsaved
        QVERIFY(verteilfenster->ungespeichert());
        tasten(liste(), Qt::Key_Z, Qt::ControlModifier);
        tasten(liste(), Qt::Key_Z, Qt::ControlModifier);  // all undone: nothing to lose
        menuform->findChild<QPushButton*>("Button2")->click();
        QCOMPARE(gefragt, 0);
        QVERIFY(reinterpret_cast<QWidget*>(klassenfenster)->isVisible());
    }

    void endeOhneAbbrechenUndMisslungenesSpeichern() {
        testhilfe::Programm p;
        schule();
        waehlen(1);
        lehrerzelle(0, 0);
        // "klassen" cannot be replaced: "Ja" shows the failure and keeps the grid.
        std::filesystem::remove("2026 1/klassen");
        std::filesystem::create_directories("2026 1/klassen/x");
        QStringList fragen;
        nux::antworthaken() = [&](const QString&, bool abbrechbar) {
            fragen << (abbrechbar ? "abbrechbar" : "nicht abbrechbar");
            return fragen.size() < 3 ? nux::Antwort::ja : nux::Antwort::nein;
        };
        menuform->findChild<QPushButton*>("Button6")->click();
        QCOMPARE(fragen, QStringList{"abbrechbar"});
        QCOMPARE(nux::fehlerliste().size(), 1);
        QVERIFY(menuform->isVisible() && verteilfenster->ungespeichert());
        // An end that cannot be stopped asks again after a failed save, until "Nein".
        fragen.clear();
        QMetaObject::invokeMethod(qApp, "aboutToQuit", Qt::DirectConnection);
        QCOMPARE(fragen, (QStringList{"nicht abbrechbar", "nicht abbrechbar", "nicht abbrechbar"}));
        QVERIFY(!verteilfenster->ungespeichert());
    }
};

QTEST_MAIN(RueckgaengigTest)
#include "rueckgaengig_test.moc"
