#include <fstream>

#include "editors/kern/faecher.h"
#include "fenster/listenzeichner.h"
#include "testhilfe.h"

// The editors of teachers, subjects and classes: much alike, so their tests
// share the lookups of the editor in front.
namespace {

using nux::Fachsatz;
using nux::Lehrersatz;
const std::string kLehrer = "2026 1/lehrer";
const std::string kFaecher = "2026 1/faecher";
const std::string kKlassen = "2026 1/klassen";
constexpr Qt::KeyboardModifiers kAlle = Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier;

nux::Fenster* editor = nullptr;
template <class T>
T* teil(const char* name) { return testhilfe::teil<T>(editor, name); }
QListWidget* liste() { return teil<QListWidget>("ListBox1"); }
QLineEdit* namefeld() { return teil<QLineEdit>("Edit1"); }
QLineEdit* kurzfeld() { return teil<QLineEdit>(editor == lehrerfenster ? "Edit3" : "Edit2"); }
QLineEdit* stundenfeld() { return teil<QLineEdit>("Edit2"); }
QCheckBox* heuer() { return teil<QCheckBox>("CheckBox1"); }
QPushButton* speichern() { return teil<QPushButton>("Button1"); }
QString zahl() { return teil<QLabel>("Label2")->text(); }

// Activates an editor in the current year, with these records if any.
template <class S>
void zeigen(nux::Fenster* fenster, const std::string& datei, const std::vector<S>& saetze) {
    testhilfe::jahranlegen();
    if (!saetze.empty()) nux::neuschreiben(datei, saetze);
    testhilfe::zeigen(editor = fenster);
}
void lehrerzeigen(const std::vector<Lehrersatz>& s = {}) { zeigen(lehrerfenster, kLehrer, s); }
void faecherzeigen(const std::vector<Fachsatz>& s = {}) { zeigen(faecherfenster, kFaecher, s); }

// Subjects Fach0 .. Fachn-1 (short names F0 ..) in file order.
std::vector<Fachsatz> faecher(int n) {
    std::vector<Fachsatz> s;
    for (int i = 0; i < n; ++i) s.push_back({"Fach" + std::to_string(i), "F" + std::to_string(i), i});
    return s;
}

QPoint mitte(int zeile) { return testhilfe::mitte(liste(), zeile); }
void klicken(int zeile, Qt::KeyboardModifiers m = {}) { testhilfe::zeileklicken(liste(), zeile, m); }

void tippen(QLineEdit* feld, const QString& text) { testhilfe::ueberschreiben(feld, text); }

void ziehen(int von, int nach, Qt::KeyboardModifiers m = {}) {
    QWidget* v = liste()->viewport();
    QTest::mousePress(v, Qt::LeftButton, m, mitte(von));
    const int schritt = von < nach ? 1 : -1;
    for (int z = von; z != nach + schritt; z += schritt) QTest::mouseMove(v, mitte(z));
    QTest::mouseRelease(v, Qt::LeftButton, m, mitte(nach));
}

void eingeben(const QString& name, const QString& kurz) { tippen(namefeld(), name), tippen(kurzfeld(), kurz); }



// The classes editor in the current year with these classes; subject indexes
// 0..4 shown in the order E (1), M (3), D (0); Mu (2) is not taught this year
// and Lat (4) is withdrawn.
void klassenzeigen(const std::vector<nux::Klassensatz>& klassen = {}) {
    testhilfe::jahranlegen();
    nux::neuschreiben<Fachsatz>(kFaecher, {{"Deutsch", "D", 2}, {"Englisch", "E", 0}, {"Musik", "Mu", 3, false},
                                           {"Mathematik", "M", 1}, {"#Latein", "Lat", 4}});
    zeigen(klassenfenster, kKlassen, klassen);
}
QLineEdit* feld(const char* name) { return teil<QLineEdit>(name); }
QListWidget* tabelle() { return teil<QListWidget>("ListBox2"); }
bool sichtbar(const char* name) { return teil<QWidget>(name)->isVisible(); }
bool kopieScharf() { return klassenfenster->modell().CopyPending; }
std::vector<nux::Klassensatz> klassendatei() { return nux::laden<nux::Klassensatz>(kKlassen); }
std::string zeile(int i) { return nux::cp(tabelle()->item(i)->text()); }
void reihe(int zeile) { testhilfe::zeileklicken(tabelle(), zeile); }
void eintragen(const char* name, const QString& wert) { tippen(feld(name), wert); }
// Types into the name box and leaves it for the class list.
void tippen(const QString& name) {
    eintragen("Edit1", name);
    liste()->setFocus();
}
void knopf(const char* name) { QTest::mouseClick(teil<QPushButton>(name), Qt::LeftButton); }
void ok() { knopf("Button3"); }
void kopieren() { knopf("Button1"); }

}  // namespace

class EditorenTest : public QObject {
    Q_OBJECT

private slots:
    void init() { nux::jahrsetzen(""); }

    void ersterLehrerInLeereDatei() {
        testhilfe::Programm p;
        lehrerzeigen();
        std::ofstream(kLehrer).flush();  // an empty file: the first teacher is appended to it
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(namefeld()));
        QTest::keyClicks(namefeld(), "Maria Huber");
        QTest::keyClick(namefeld(), Qt::Key_Tab);  // leaving the name proposes the short name
        QCOMPARE(kurzfeld()->text(), QString("MarH"));
        QTest::keyClick(kurzfeld(), Qt::Key_Tab);
        QTest::keyClicks(stundenfeld(), "x22.5");
        QTest::keyClick(stundenfeld(), Qt::Key_Tab);
        QCOMPARE(stundenfeld()->text(), QString("22,5"));
        QTest::mouseClick(speichern(), Qt::LeftButton);

        QVERIFY(nux::laden<Lehrersatz>(kLehrer) == (std::vector<Lehrersatz>{{"Maria Huber", "MarH", 225}}));
        QCOMPARE(zahl(), QString("eingetragene LehrerInnen: 1"));
        QVERIFY(namefeld()->text().isEmpty() && stundenfeld()->text() == "0,0");  // ready for the next
    }

    void speichernFreigabe() {
        testhilfe::Programm p;
        lehrerzeigen({{"Maria Huber", "MarH", 225}, {"Otto Ko", "Ko", 100}, {"Bea Zett", "Zet", 0}});
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
        const auto saetze = nux::laden<Lehrersatz>(kLehrer);
        QCOMPARE(saetze.size(), std::size_t(3));
        QVERIFY(saetze[0] == (Lehrersatz{"Maria Huber-Lang", "MHL", 50}));
    }

    void namenNurInWindows1252() {
        // What the file cannot hold is refused as it is typed, not dropped on saving.
        testhilfe::Programm p;
        lehrerzeigen();
        reinterpret_cast<nux::Fenster*>(faecherfenster)->vorholen();
        for (const auto& [fenster, name] : {std::pair<QWidget*, const char*>{lehrerfenster, "Edit1"}, {lehrerfenster, "Edit3"},
                                            {faecherfenster, "Edit1"}, {faecherfenster, "Edit2"}, {klassenfenster, "Edit1"}}) {
            auto* feld = fenster->findChild<QLineEdit*>(name);
            feld->selectAll();
            testhilfe::tippen(feld, "\u0141uk\u00E9");
            QCOMPARE(feld->text(), QString("uk\u00E9"));
        }
    }

    void dreiTastenLeereStelleUndZiehenLadenNicht() {
        testhilfe::Programm p;
        lehrerzeigen({{"Anton Berger", "AntB", 70}, {"Otto Ko", "Ko", 100}});
        klicken(1, kAlle);
        QTest::mouseClick(liste()->viewport(), Qt::LeftButton, {}, QPoint(20, 300));
        QVERIFY(namefeld()->text().isEmpty() && liste()->selectedItems().isEmpty());
        // a drag does not carry the selection away from the loaded teacher
        ziehen(0, 1);
        QVERIFY(liste()->item(0)->isSelected());
        QCOMPARE(namefeld()->text(), QString("Anton Berger"));
    }

    void zurueckziehenMitRaute() {
        testhilfe::Programm p;
        lehrerzeigen({{"Anton Berger", "AntB", 70}, {"Otto Ko", "Ko", 100}});
        klicken(0);
        namefeld()->setFocus(Qt::MouseFocusReason);
        QTest::keyClick(namefeld(), Qt::Key_Home);
        QTest::keyClick(namefeld(), '#');
        QVERIFY(!speichern()->isEnabled());  // "AntB" still begins its own line
        QTest::keyClick(namefeld(), Qt::Key_Tab);
        QCOMPARE(kurzfeld()->text(), QString("#anB"));
        QTest::mouseClick(speichern(), Qt::LeftButton);
        QCOMPARE(liste()->count(), 2);  // until the next activation
        lehrerzeigen();
        QCOMPARE(liste()->count(), 1);
        QCOMPARE(zahl(), QString("eingetragene LehrerInnen: 1"));
    }

    void neueFaecherUndIhreFelder() {
        testhilfe::Programm p;
        faecherzeigen();
        QTest::keyClicks(namefeld(), "Deutsch");
        QVERIFY(!speichern()->isEnabled());
        QTest::keyClicks(kurzfeld(), "D");
        QTest::mouseClick(speichern(), Qt::LeftButton);

        QVERIFY(nux::laden<Fachsatz>(kFaecher) == (std::vector<Fachsatz>{{"Deutsch", "D", 0}}));  // the defaults are the core's
        // the fields are emptied and the focus is back in the name field
        QVERIFY(namefeld()->text().isEmpty() && kurzfeld()->text().isEmpty());
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(namefeld()));

        eingeben("Mathematik", "MATHE");
        heuer()->setChecked(false);
        QTest::mouseClick(speichern(), Qt::LeftButton);
        QVERIFY(heuer()->isChecked());
        QVERIFY(nux::laden<Fachsatz>(kFaecher).at(1) == (Fachsatz{"Mathematik", "MAT", 1, false}));
        QVERIFY(nux::faecher::grau(nux::zeilevon(liste(), 1)));
    }

    void abgelehntPiepstUndSchreibtNichts() {
        // Blank names in both editors, a short name taken among the subjects.
        const struct { bool lehrer; const char *name, *kurz; } faelle[] = {
            {true, "   ", "Abc"}, {false, "   ", "X"}, {false, "Darstellen", "F1"}};
        for (const auto& f : faelle) {
            testhilfe::Programm p;
            f.lehrer ? lehrerzeigen({{"Anton Berger", "AntB", 70}}) : faecherzeigen(faecher(3));
            const std::string datei = f.lehrer ? kLehrer : kFaecher;
            const auto vorher = testhilfe::bytes(datei);
            const int piepse = nux::piepszahl();
            eingeben(f.name, f.kurz);
            QVERIFY(speichern()->isEnabled());  // blanks count as text for the button
            QTest::mouseClick(speichern(), Qt::LeftButton);
            QCOMPARE(namefeld()->text(), QString(f.name));  // the fields stay
            QCOMPARE(nux::piepszahl(), piepse + 1);
            QCOMPARE(testhilfe::bytes(datei), vorher);
        }
    }

    void unlesbareDateiWirdNichtUeberschrieben() {
        // In both editors of this kind: a file that is not a whole number of
        // records is reported on loading and never written over.
        for (const bool lehrer : {true, false}) {
            testhilfe::Programm p;
            testhilfe::kleineschule();
            const std::string datei = lehrer ? kLehrer : kFaecher;
            std::filesystem::resize_file(datei, 100);
            const auto vorher = testhilfe::bytes(datei);
            lehrer ? lehrerzeigen() : faecherzeigen();
            QCOMPARE(nux::fehlerliste(), QStringList{"Versuch hinter dem Dateiende zu lesen"});
            QCOMPARE(liste()->count(), 0);
            eingeben("Neu", "Neu");
            QTest::mouseClick(speichern(), Qt::LeftButton);
            QCOMPARE(nux::fehlerliste().size(), 2);
            QCOMPARE(testhilfe::bytes(datei), vorher);
        }
        // Once the file is whole again, the save reads it first.
        testhilfe::Programm p;
        std::filesystem::create_directory("2026 1");
        nux::neuschreiben(kFaecher, faecher(3));
        std::filesystem::resize_file(kFaecher, 200);
        faecherzeigen();
        nux::neuschreiben<Fachsatz>(kFaecher, {{"Fach0", "F0", 0}});
        eingeben("Deutsch", "D");
        QTest::mouseClick(speichern(), Qt::LeftButton);
        QCOMPARE(nux::fehlerliste().size(), 1);
        QCOMPARE(liste()->count(), 2);
        QVERIFY(nux::laden<Fachsatz>(kFaecher) == (std::vector<Fachsatz>{{"Fach0", "F0", 0}, {"Deutsch", "D", 1}}));
    }

    void klickUndTastaturLadenDenGewaehlten() {
        testhilfe::Programm p;
        faecherzeigen({{"Deutsch", "DEUTS", 0}, {"Englisch", "E", 1, false}, {"Musik", "M", 2}});
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
        QVERIFY(nux::laden<Fachsatz>(kFaecher) ==
                (std::vector<Fachsatz>{{"Deutsch", "DEU", 0}, {"Englisch", "E", 1, false}, {"Mu", "E", 2}}));
    }

    void ziehenOrdnetUm() {
        testhilfe::Programm p;
        faecherzeigen(faecher(5));
        const auto vorher = testhilfe::bytes(kFaecher);
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
        QCOMPARE(testhilfe::bytes(kFaecher), vorher);
        // A move that fails leaves no selection and no fields that a save
        // could write over the subject where the drag ended.
        nux::schreibfehlerSetzen(ENOSPC);
        ziehen(1, 3);
        nux::schreibfehlerSetzen(0);
        QCOMPARE(nux::fehlerliste(), QStringList{"Datenträger voll"});
        QVERIFY(namefeld()->text().isEmpty() && liste()->selectedItems().isEmpty());
        QCOMPARE(testhilfe::bytes(kFaecher), vorher);
    }

    void ziehenUeberDenRandRollt() {
        testhilfe::Programm p;
        faecherzeigen(faecher(51));
        QWidget* v = liste()->viewport();
        QVERIFY(liste()->visualItemRect(liste()->item(50)).top() > v->height());  // not all visible
        QTest::mousePress(v, Qt::LeftButton, {}, mitte(1));
        QTest::mouseMove(v, QPoint(100, v->height() + 20));
        QTRY_VERIFY_WITH_TIMEOUT(liste()->item(50)->isSelected(), 10000);
        QTest::mouseRelease(v, Qt::LeftButton, {}, QPoint(100, v->height() + 20));
        // Onto the last entry: second to last; nothing stays selected for a save to write over.
        QCOMPARE(nux::faecher::name(nux::zeilevon(liste(), 49)) + "|" + nux::faecher::name(nux::zeilevon(liste(), 50)), "Fach1|Fach50");
        QCOMPARE(nux::laden<Fachsatz>(kFaecher).at(1).ordnung, 49);
        QVERIFY(namefeld()->text().isEmpty() && liste()->selectedItems().isEmpty());
    }

    void anlegenSchreibtDenNeuenSatz() {
        testhilfe::Programm p;
        klassenzeigen();
        tippen(QStringLiteral(" 1a"));
        QVERIFY(klassendatei() == std::vector{nux::neueklasse("1a")});  // its defaults are the core's to check
        // The line keeps the name as typed; the list shows one name per 20 pixels, 49 wide.
        QCOMPARE(liste()->item(0)->text().left(4), QString(" 1a "));
        QCOMPARE(liste()->geometry(), QRect(20, 106, 49, 380));
        QVERIFY(liste()->visualItemRect(liste()->item(0)).height() == 20 && liste()->font().pixelSize() == 16 &&
                liste()->font().bold());
        // The new class is chosen at once, with every taught subject.
        QCOMPARE(feld("Edit1")->text(), QString("1a"));
        QCOMPARE(tabelle()->count(), 3);
        QVERIFY(!sichtbar("Panel1"));  // one class: nothing to copy from
        QVERIFY(nux::fehlerliste().isEmpty());
    }

    void waehlenMitLeerzeichenUndGrossKlein() {
        testhilfe::Programm p;
        auto a = nux::neueklasse("1a");
        a.h(1, 1) = 30;
        klassenzeigen({a, nux::neueklasse("2b")});
        tippen(QStringLiteral("2b"));
        tippen(QStringLiteral(" 1a "));
        QCOMPARE(feld("Edit1")->text(), QString("1a"));
        QCOMPARE(nux::teil(zeile(0), 12, 15), std::string(" 3,0"));
        QCOMPARE(liste()->currentRow(), 0);
        // A name box left empty creates nothing; Enter leaves the box.
        tippen(QString());
        QCOMPARE(klassendatei().size(), std::size_t(2));
        eintragen("Edit1", QStringLiteral("5c"));
        QTest::keyClick(feld("Edit1"), Qt::Key_Return);
        QCOMPARE(klassendatei().back().name, std::string("5c"));
        QCOMPARE(feld("Edit1")->text(), QString("5c"));
    }

    void pfeiltastenWaehlenNichtLeerenLegtTrotzdemAn() {
        testhilfe::Programm p;
        auto b = nux::neueklasse("2b");
        b.h(1, 3) = 20;
        klassenzeigen({nux::neueklasse("1a"), b});
        klicken(0);
        const std::string vorher = zeile(1);
        liste()->setFocus();
        QTest::keyClick(liste(), Qt::Key_Down);
        QCOMPARE(liste()->currentRow(), 1);
        QCOMPARE(zeile(1), vorher);
        QCOMPARE(feld("Edit1")->text(), QString("1a"));

        eintragen("Edit1", QStringLiteral("3c"));
        knopf("Button2");
        QCOMPARE(klassendatei().back().name, std::string("3c"));
        QVERIFY(feld("Edit1")->text().isEmpty() && feld("Edit1")->hasFocus() && tabelle()->count() == 0);
    }

    void okSpeichertUndGehtZurNaechstenReihe() {
        testhilfe::Programm p;
        klassenzeigen();
        tippen(QStringLiteral("1a"));
        reihe(0);
        QCOMPARE(feld("Edit2")->text(), QString("0,0"));
        QVERIFY(feld("Edit2")->hasFocus());
        QTest::keyClicks(feld("Edit2"), "2.5");  // replaces what the box showed
        reihe(0);  // the open row clicked again keeps what was typed
        eintragen("Edit5", QStringLiteral("  Gruppe Ä"));
        ok();
        auto s = klassendatei().at(0);
        QCOMPARE(s.h(1, 1), std::int64_t(25));
        QCOMPARE(s.z(1, 1), std::string("  Gruppe \xC4"));
        QCOMPARE(nux::teil(zeile(0), 4, 25), std::string("   E     2,5  0,0  0,0"));  // black now
        // On to the next subject.
        QCOMPARE(tabelle()->currentRow(), 1);
        QCOMPARE(teil<QLabel>("Label4")->text(), QString("M"));
        QCOMPARE(feld("Edit5")->text(), QString());

        // The last row keeps the panel open with what was stored; all slots
        // back to 0 make a row grey again.
        reihe(2);
        eintragen("Edit3", QStringLiteral("1"));
        eintragen("Edit7", QString(40, QChar('z')));
        ok();
        QCOMPARE(tabelle()->currentRow(), 2);
        QVERIFY(sichtbar("Panel2"));
        QCOMPARE(feld("Edit2")->text() + feld("Edit3")->text(), QString(" 1,00,0"));
        QCOMPARE(klassendatei().at(0).z(3, 0), std::string(30, 'z'));
        eintragen("Edit2", QStringLiteral("0"));
        ok();
        QCOMPARE(nux::teil(zeile(2), 4, 4), std::string("X"));
        QCOMPARE(klassendatei().at(0).h(1, 0), std::int64_t(0));
        // The box takes what the core's key filter lets through and normalises on leaving.
        eintragen("Edit2", QStringLiteral("-1a,,.5"));
        feld("Edit5")->setFocus();
        QCOMPARE(feld("Edit2")->text(), QString(" 1,5"));
        QVERIFY(nux::fehlerliste().isEmpty());
    }

    void vollePlatteLaesstDieDateiGanz() {
        testhilfe::Programm p;
        klassenzeigen({nux::neueklasse("1a")});
        klicken(0);
        const auto vorher = testhilfe::bytes(kKlassen);
        reihe(0);
        eintragen("Edit2", QStringLiteral("4"));
        nux::schreibfehlerSetzen(ENOSPC);
        ok();
        nux::schreibfehlerSetzen(0);
        QCOMPARE(nux::fehlerliste(), QStringList{"Datenträger voll"});
        QCOMPARE(testhilfe::bytes(kKlassen), vorher);
        // The stored row stays in memory and goes into the file with the next change.
        reihe(1);
        eintragen("Edit2", QStringLiteral("3"));
        ok();
        QCOMPARE(klassendatei().at(0).h(1, 1), std::int64_t(40));
        QCOMPARE(klassendatei().at(0).h(1, 3), std::int64_t(30));
    }

    void kopierenVonKlasse() {
        testhilfe::Programm p;
        auto a = nux::neueklasse("1a");
        a.h(1, 0) = 40;
        a.l(1, 0) = "MEI";  // set by the assignment window
        a.z(1, 0) = "Chor";
        klassenzeigen({a, nux::neueklasse("2b")});

        // Without a chosen class the button arms nothing.
        tippen(QString());
        QVERIFY(sichtbar("Panel1"));
        kopieren();
        QVERIFY(!kopieScharf());

        klicken(1);
        tippen(QString());  // leaving the name box shows the copy panel
        klicken(1);
        kopieren();
        QVERIFY(kopieScharf());
        klicken(0);
        QVERIFY(!kopieScharf());
        QVERIFY(!sichtbar("Panel1"));
        QCOMPARE(tabelle()->count(), 0);
        auto kopie = a;
        kopie.name = "2b";
        kopie.l(1, 0) = kopie.z(1, 0) = "";
        QVERIFY(klassendatei() == (std::vector{a, kopie}));

        // Onto itself: hours kept, teacher codes and extra texts gone.
        klicken(0);
        kopieren();
        klicken(0);
        kopie.name = "1a";
        QVERIFY(klassendatei().at(0) == kopie);
        QVERIFY(nux::fehlerliste().isEmpty());
    }

    void loeschenMitUmschaltStrgAlt() {
        testhilfe::Programm p;
        klassenzeigen({nux::neueklasse("1a"), nux::neueklasse("2b"), nux::neueklasse("3c")});
        klicken(0, Qt::ControlModifier | Qt::AltModifier);  // not enough: only chooses
        QCOMPARE(klassendatei().size(), std::size_t(3));
        klicken(0, kAlle);
        QCOMPARE(klassendatei().front().name + klassendatei().back().name, std::string("2b3c"));
    }

    void ohneJahrKommtDasJahrfenster() {
        testhilfe::Programm p;
        klassenfenster->vorholen();
        testhilfe::warten();
        QVERIFY(reinterpret_cast<QWidget*>(jahrfenster)->isVisible());
        QVERIFY(nux::fehlerliste().isEmpty());
        QCOMPARE(QDir().entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList());
    }
};

QTEST_MAIN(EditorenTest)
#include "editoren_test.moc"
