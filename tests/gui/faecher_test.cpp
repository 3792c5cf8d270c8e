
#include "editors/kern/faecher.h"
#include "fenster/listenzeichner.h"
#include "testhilfe.h"

namespace {

using nux::Fachsatz;
const std::string kDatei = "2026 1/faecher";
constexpr Qt::KeyboardModifiers kAlle = Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier;

template <class T>
T* teil(const char* name) { return testhilfe::teil<T>(reinterpret_cast<QWidget*>(faecherfenster), name); }
QListWidget* liste() { return teil<QListWidget>("ListBox1"); }
QLineEdit* namefeld() { return teil<QLineEdit>("Edit1"); }
QLineEdit* kurzfeld() { return teil<QLineEdit>("Edit2"); }
QCheckBox* heuer() { return teil<QCheckBox>("CheckBox1"); }
QPushButton* speichern() { return teil<QPushButton>("Button1"); }

// Subjects Fach0 .. Fachn-1 (short names F0 ..) in file order.
std::vector<Fachsatz> faecher(int n) {
    std::vector<Fachsatz> s;
    for (int i = 0; i < n; ++i) s.push_back({"Fach" + std::to_string(i), "F" + std::to_string(i), i});
    return s;
}

// Activates the window in the current year, with these subjects if any.
void zeigen(const std::vector<Fachsatz>& s = {}) {
    testhilfe::jahranlegen();
    if (!s.empty()) nux::neuschreiben(kDatei, s);
    testhilfe::zeigen(faecherfenster);
}

QPoint mitte(int zeile) { return testhilfe::mitte(liste(), zeile); }
void klicken(int zeile, Qt::KeyboardModifiers m = {}) { testhilfe::zeileklicken(liste(), zeile, m); }

void ziehen(int von, int nach, Qt::KeyboardModifiers m = {}) {
    QWidget* v = liste()->viewport();
    QTest::mousePress(v, Qt::LeftButton, m, mitte(von));
    const int schritt = von < nach ? 1 : -1;
    for (int z = von; z != nach + schritt; z += schritt) QTest::mouseMove(v, mitte(z));
    QTest::mouseRelease(v, Qt::LeftButton, m, mitte(nach));
}

void eingeben(const QString& name, const QString& kurz) {
    namefeld()->clear();
    kurzfeld()->clear();
    QTest::keyClicks(namefeld(), name);
    QTest::keyClicks(kurzfeld(), kurz);
}

// The names in the list, then the order numbers in the file.
std::string folge() {
    std::string r;
    for (const auto& z : nux::zeilenvon(liste())) r += nux::faecher::name(z) + " ";
    for (const auto& s : nux::laden<Fachsatz>(kDatei)) r += "|" + std::to_string(s.ordnung);
    return r;
}

}  // namespace

class FaecherTest : public QObject {
    Q_OBJECT

private slots:
    void neueFaecherByteGenau() {
        testhilfe::Programm p;
        zeigen();
        QTest::keyClicks(namefeld(), "Deutsch");
        QVERIFY(!speichern()->isEnabled());
        QTest::keyClicks(kurzfeld(), "D");
        QTest::mouseClick(speichern(), Qt::LeftButton);

        QVERIFY(nux::laden<Fachsatz>(kDatei) == (std::vector<Fachsatz>{{"Deutsch", "D", 0}}));  // the defaults are the core's
        // the fields are emptied and the focus is back in the name field
        QVERIFY(namefeld()->text().isEmpty() && kurzfeld()->text().isEmpty());
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(namefeld()));

        eingeben("Mathematik", "MATHE");
        heuer()->setChecked(false);
        QTest::mouseClick(speichern(), Qt::LeftButton);
        QVERIFY(heuer()->isChecked());
        QVERIFY(nux::laden<Fachsatz>(kDatei).at(1) == (Fachsatz{"Mathematik", "MAT", 1, false}));
        QVERIFY(nux::faecher::grau(nux::zeilevon(liste(), 1)));
    }

    void abgelehntPiepstUndSchreibtNichts() {
        testhilfe::Programm p;
        zeigen(faecher(3));
        const auto vorher = testhilfe::bytes(kDatei);
        const int piepse = nux::piepszahl();
        for (const auto& [name, kurz] : {std::pair{"   ", "X"}, {"Darstellen", "F1"}}) {
            eingeben(name, kurz);
            QVERIFY(speichern()->isEnabled());  // blanks count as text for the button
            QTest::mouseClick(speichern(), Qt::LeftButton);
            QCOMPARE(namefeld()->text(), QString(name));  // the fields stay
        }
        QCOMPARE(nux::piepszahl(), piepse + 2);
        QCOMPARE(testhilfe::bytes(kDatei), vorher);
        QCOMPARE(liste()->count(), 3);
    }

    void unlesbareDateiWirdNichtUeberschrieben() {
        // In both editors of this kind: a file that is not a whole number of
        // records is reported on loading and never written over.
        for (const char* art : {"lehrer", "faecher"}) {
            testhilfe::Programm p;
            testhilfe::kleineschule();
            const std::string datei = nux::jahrdatei(art);
            std::filesystem::resize_file(datei, 100);
            const auto vorher = testhilfe::bytes(datei);
            nux::Fenster* fenster = *art == 'l' ? static_cast<nux::Fenster*>(lehrerfenster) : faecherfenster;
            testhilfe::zeigen(fenster);
            QCOMPARE(nux::fehlerliste(), QStringList{"Versuch hinter dem Dateiende zu lesen"});
            QCOMPARE(testhilfe::teil<QListWidget>(fenster, "ListBox1")->count(), 0);
            testhilfe::teil<QLineEdit>(fenster, "Edit1")->setText("Neu");
            testhilfe::teil<QLineEdit>(fenster, *art == 'l' ? "Edit3" : "Edit2")->setText("Neu");
            QTest::mouseClick(testhilfe::teil<QPushButton>(fenster, "Button1"), Qt::LeftButton);
            QCOMPARE(nux::fehlerliste().size(), 2);
            QCOMPARE(testhilfe::bytes(datei), vorher);
        }
        // Once the file is whole again, the save reads it first.
        testhilfe::Programm p;
        std::filesystem::create_directory("2026 1");
        nux::neuschreiben(kDatei, faecher(3));
        std::filesystem::resize_file(kDatei, 200);
        zeigen();
        nux::neuschreiben<Fachsatz>(kDatei, {{"Fach0", "F0", 0}});
        eingeben("Deutsch", "D");
        QTest::mouseClick(speichern(), Qt::LeftButton);
        QCOMPARE(nux::fehlerliste().size(), 1);
        QCOMPARE(liste()->count(), 2);
        QVERIFY(nux::laden<Fachsatz>(kDatei) == (std::vector<Fachsatz>{{"Fach0", "F0", 0}, {"Deutsch", "D", 1}}));
    }

    void klickUndTastaturLadenDenGewaehlten() {
        testhilfe::Programm p;
        zeigen({{"Deutsch", "DEUTS", 0}, {"Englisch", "E", 1, false}, {"Musik", "M", 2}});
        klicken(1, Qt::ControlModifier);  // a modifier does not deselect
        QCOMPARE(namefeld()->text() + kurzfeld()->text(), QString("EnglischE"));
        QVERIFY(!heuer()->isChecked());
        QVERIFY(liste()->item(1)->isSelected());
        // SHIFT, CTRL and ALT together: neither loaded nor selected
        klicken(2, kAlle);
        QCOMPARE(namefeld()->text(), QString("Englisch"));
        QVERIFY(liste()->item(1)->isSelected());
        QTest::keyClick(liste(), Qt::Key_Down);
        QCOMPARE(namefeld()->text(), QString("Musik"));

        eingeben("Mu", "E");  // taken by Englisch: changes are not checked
        QTest::mouseClick(speichern(), Qt::LeftButton);
        // the whole file is rebuilt from the lines
        QVERIFY(nux::laden<Fachsatz>(kDatei) ==
                (std::vector<Fachsatz>{{"Deutsch", "DEU", 0}, {"Englisch", "E", 1, false}, {"Mu", "E", 2}}));
    }

    void ziehenOrdnetUm() {
        testhilfe::Programm p;
        zeigen(faecher(5));
        const auto vorher = testhilfe::bytes(kDatei);
        // press and release on the same entry only loads it; so does a
        // drag away and back again
        klicken(2);
        QCOMPARE(namefeld()->text(), QString("Fach2"));
        QWidget* v = liste()->viewport();
        QTest::mousePress(v, Qt::LeftButton, {}, mitte(2));
        QTest::mouseMove(v, mitte(3));
        QVERIFY(liste()->item(3)->isSelected());
        QTest::mouseMove(v, mitte(2));
        QTest::mouseRelease(v, Qt::LeftButton, {}, mitte(2));
        ziehen(0, 3, kAlle);  // a gesture started with all three modifiers moves nothing
        QCOMPARE(testhilfe::bytes(kDatei), vorher);
        // A move that fails leaves no selection and no fields that a save
        // could write over the subject where the drag ended.
        nux::schreibfehlerSetzen(ENOSPC);
        ziehen(1, 3);
        nux::schreibfehlerSetzen(0);
        QCOMPARE(nux::fehlerliste(), QStringList{"Datenträger voll"});
        QVERIFY(namefeld()->text().isEmpty() && liste()->selectedItems().isEmpty());
        QCOMPARE(testhilfe::bytes(kDatei), vorher);

        ziehen(0, 4);  // onto the last entry: second to last
        QCOMPARE(folge(), std::string("Fach1 Fach2 Fach3 Fach0 Fach4 |3|0|1|2|4"));
        QVERIFY(namefeld()->text().isEmpty() && liste()->selectedItems().isEmpty());
    }

    void ziehenUeberDenRandRollt() {
        testhilfe::Programm p;
        zeigen(faecher(51));
        QWidget* v = liste()->viewport();
        QVERIFY(liste()->visualItemRect(liste()->item(50)).top() > v->height());  // not all visible
        QTest::mousePress(v, Qt::LeftButton, {}, mitte(1));
        QTest::mouseMove(v, QPoint(100, v->height() + 20));
        QTRY_VERIFY_WITH_TIMEOUT(liste()->item(50)->isSelected(), 10000);
        QTest::mouseRelease(v, Qt::LeftButton, {}, QPoint(100, v->height() + 20));
        QVERIFY(folge().find("Fach49 Fach1 Fach50 |0|49|1|") != std::string::npos);
    }
};

QTEST_MAIN(FaecherTest)
#include "faecher_test.moc"
