#include <fstream>

#include "testhilfe.h"

namespace {

using nux::Lehrersatz;
const std::string kDatei = "2026 1/lehrer";

template <class T>
T* teil(const char* name) { return testhilfe::teil<T>(reinterpret_cast<QWidget*>(lehrerfenster), name); }
QListWidget* liste() { return teil<QListWidget>("ListBox1"); }
QLineEdit* namefeld() { return teil<QLineEdit>("Edit1"); }
QLineEdit* kurzfeld() { return teil<QLineEdit>("Edit3"); }
QLineEdit* stundenfeld() { return teil<QLineEdit>("Edit2"); }
QPushButton* speichern() { return teil<QPushButton>("Button1"); }
QString zahl() { return teil<QLabel>("Label2")->text(); }

// Activates the window in the current year, with these teachers if any.
void zeigen(const std::vector<Lehrersatz>& saetze = {}) {
    testhilfe::jahranlegen();
    if (!saetze.empty()) nux::neuschreiben(kDatei, saetze);
    testhilfe::zeigen(lehrerfenster);
}

QPoint mitte(int zeile) { return testhilfe::mitte(liste(), zeile); }
void klicken(int zeile, Qt::KeyboardModifiers m = {}) { testhilfe::zeileklicken(liste(), zeile, m); }

// Types into a field that has the focus, as a user would after clicking it.
void tippen(QLineEdit* feld, const QString& text) {
    feld->setFocus(Qt::MouseFocusReason);
    feld->selectAll();
    QTest::keyClick(feld, Qt::Key_Backspace);
    QTest::keyClicks(feld, text);
}

}  // namespace

class LehrerTest : public QObject {
    Q_OBJECT

private slots:
    void ersterLehrerByteGenau() {
        testhilfe::Programm p;
        zeigen({});
        std::ofstream(kDatei).flush();  // an empty file: the first teacher is appended to it
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(namefeld()));
        QTest::keyClicks(namefeld(), "Maria Huber");
        QTest::keyClick(namefeld(), Qt::Key_Tab);  // leaving the name proposes the short name
        QCOMPARE(kurzfeld()->text(), QString("MarH"));
        QTest::keyClick(kurzfeld(), Qt::Key_Tab);
        QTest::keyClicks(stundenfeld(), "x22.5");
        QTest::keyClick(stundenfeld(), Qt::Key_Tab);
        QCOMPARE(stundenfeld()->text(), QString("22,5"));
        QTest::mouseClick(speichern(), Qt::LeftButton);

        QVERIFY(nux::laden<Lehrersatz>(kDatei) == (std::vector<Lehrersatz>{{"Maria Huber", "MarH", 225}}));
        QCOMPARE(zahl(), QString("eingetragene LehrerInnen: 1"));
        QVERIFY(namefeld()->text().isEmpty());
        QCOMPARE(stundenfeld()->text(), QString("0,0"));
    }

    void speichernFreigabe() {
        testhilfe::Programm p;
        zeigen({{"Maria Huber", "MarH", 225}, {"Otto Ko", "Ko", 100}, {"Bea Zett", "Zet", 0}});
        tippen(namefeld(), "Martha Rainer");
        tippen(kurzfeld(), "Mar");
        QVERIFY(!speichern()->isEnabled());  // begins MarH
        // leaving the name replaces a hand-made short name by the proposal
        namefeld()->setFocus(Qt::MouseFocusReason);
        kurzfeld()->setFocus(Qt::MouseFocusReason);
        QCOMPARE(kurzfeld()->text(), QString("MarR"));

        // loaded by keyboard: its own line holds the short name
        klicken(0);
        liste()->setFocus(Qt::MouseFocusReason);
        QTest::keyClick(liste(), Qt::Key_Down);
        QCOMPARE(namefeld()->text(), QString("Maria Huber"));
        QVERIFY(!speichern()->isEnabled());
        // loaded with the mouse: enabled although its own line holds it
        klicken(1);
        QCOMPARE(stundenfeld()->text(), QString("22,5"));
        QVERIFY(speichern()->isEnabled());
        tippen(namefeld(), "Maria Huber-Lang");
        QVERIFY(!speichern()->isEnabled());  // its own line counts
        tippen(kurzfeld(), "MHL");
        // Pasted hours lose what could not be typed: no negative hours.
        QGuiApplication::clipboard()->setText("-5");
        tippen(stundenfeld(), "");
        QTest::keyClick(stundenfeld(), Qt::Key_Insert, Qt::ShiftModifier);
        QTest::mouseClick(speichern(), Qt::LeftButton);
        const auto saetze = nux::laden<Lehrersatz>(kDatei);
        QCOMPARE(saetze.size(), std::size_t(3));
        QVERIFY(saetze[0] == (Lehrersatz{"Maria Huber-Lang", "MHL", 50}));
    }

    void namenNurInWindows1252() {
        // What the file cannot hold is refused as it is typed, not dropped on saving.
        testhilfe::Programm p;
        zeigen({});
        reinterpret_cast<nux::Fenster*>(faecherfenster)->vorholen();
        for (const auto& [fenster, name] : {std::pair<QWidget*, const char*>{lehrerfenster, "Edit1"}, {lehrerfenster, "Edit3"},
                                            {faecherfenster, "Edit1"}, {faecherfenster, "Edit2"}, {klassenfenster, "Edit1"}}) {
            auto* feld = fenster->findChild<QLineEdit*>(name);
            feld->setFocus();
            feld->selectAll();
            for (const QChar ch : QString("\u0141uk\u00E9")) QTest::sendKeyEvent(QTest::Click, feld, Qt::Key_unknown, QString(ch), {});
            QCOMPARE(feld->text(), QString("uk\u00E9"));
        }
    }

    void dreiTastenLeereStelleUndZiehenLadenNicht() {
        testhilfe::Programm p;
        zeigen({{"Anton Berger", "AntB", 70}, {"Otto Ko", "Ko", 100}});
        klicken(1, Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
        QTest::mouseClick(liste()->viewport(), Qt::LeftButton, {}, QPoint(20, 300));
        QVERIFY(namefeld()->text().isEmpty());
        QVERIFY(liste()->selectedItems().isEmpty());
        // a drag does not carry the selection away from the loaded teacher
        QTest::mousePress(liste()->viewport(), Qt::LeftButton, {}, mitte(0));
        QTest::mouseMove(liste()->viewport(), mitte(1));
        QTest::mouseRelease(liste()->viewport(), Qt::LeftButton, {}, mitte(1));
        QVERIFY(liste()->item(0)->isSelected());
        QCOMPARE(namefeld()->text(), QString("Anton Berger"));
        // a blank name is refused with a beep
        const auto vorher = testhilfe::bytes(kDatei);
        const int piepse = nux::piepszahl();
        namefeld()->setText("   ");
        kurzfeld()->setText("Abc");
        QTest::mouseClick(speichern(), Qt::LeftButton);
        QCOMPARE(nux::piepszahl(), piepse + 1);
        QCOMPARE(testhilfe::bytes(kDatei), vorher);
    }

    void zurueckziehenMitRaute() {
        testhilfe::Programm p;
        zeigen({{"Anton Berger", "AntB", 70}, {"Otto Ko", "Ko", 100}});
        klicken(0);
        namefeld()->setFocus(Qt::MouseFocusReason);
        QTest::keyClick(namefeld(), Qt::Key_Home);
        QTest::keyClick(namefeld(), '#');
        QVERIFY(!speichern()->isEnabled());  // "AntB" still begins its own line
        QTest::keyClick(namefeld(), Qt::Key_Tab);
        QCOMPARE(kurzfeld()->text(), QString("#anB"));
        QTest::mouseClick(speichern(), Qt::LeftButton);
        QCOMPARE(liste()->count(), 2);  // until the next activation
        zeigen();
        QCOMPARE(liste()->count(), 1);
        QCOMPARE(zahl(), QString("eingetragene LehrerInnen: 1"));
    }
};

QTEST_MAIN(LehrerTest)
#include "lehrer_test.moc"
