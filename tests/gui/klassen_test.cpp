
#include "testhilfe.h"

namespace {

const char* const kKlassen = "2026 1/klassen";
const char* const kFaecher = "2026 1/faecher";

}  // namespace

class KlassenTest : public QObject {
    Q_OBJECT

    template <class T>
    static T* c(const char* name) { return testhilfe::teil<T>(klassenfenster, name); }
    static QLineEdit* feld(const char* name) { return c<QLineEdit>(name); }
    static QListWidget* liste() { return c<QListWidget>("ListBox1"); }
    static QListWidget* tabelle() { return c<QListWidget>("ListBox2"); }
    static bool sichtbar(const char* name) { return c<QWidget>(name)->isVisible(); }
    static bool kopieScharf() { return klassenfenster->modell().CopyPending; }

    // The current year with these classes; subject indexes 0..4 shown in the
    // order E (1), M (3), D (0); Mu (2) is not taught this year and Lat (4)
    // is withdrawn.
    static void oeffnen(const std::vector<nux::Klassensatz>& klassen = {}) {
        testhilfe::jahranlegen();
        nux::neuschreiben<nux::Fachsatz>(kFaecher, {{"Deutsch", "D", 2}, {"Englisch", "E", 0},
                                                        {"Musik", "Mu", 3, false}, {"Mathematik", "M", 1},
                                                        {"#Latein", "Lat", 4}});
        if (!klassen.empty()) nux::neuschreiben(kKlassen, klassen);
        testhilfe::zeigen(klassenfenster);
    }
    // Types into the name box and leaves it for the class list.
    static void tippen(const QString& name) {
        eintragen("Edit1", name);
        liste()->setFocus();
    }
    static void druecken(int zeile, Qt::KeyboardModifiers tasten = {}) { testhilfe::zeileklicken(liste(), zeile, tasten); }
    static void reihe(int zeile) { testhilfe::zeileklicken(tabelle(), zeile); }
    static void eintragen(const char* name, const QString& wert) {
        feld(name)->setFocus();
        feld(name)->selectAll();
        QTest::keyClicks(feld(name), wert);
    }
    static void knopf(const char* name) { QTest::mouseClick(c<QPushButton>(name), Qt::LeftButton); }
    static void ok() { knopf("Button3"); }
    static void kopieren() { knopf("Button1"); }
    static std::vector<nux::Klassensatz> datei() { return nux::laden<nux::Klassensatz>(kKlassen); }
    static std::string zeile(int i) { return nux::cp(tabelle()->item(i)->text()); }

private slots:
    void init() { nux::jahrsetzen(""); }

    void anlegenSchreibtDenNeuenSatz() {
        testhilfe::Programm p;
        oeffnen();
        tippen(QStringLiteral(" 1a"));
        nux::Klassensatz neu;  // the record's defaults are the core's to check
        neu.name = "1a";
        QVERIFY(datei() == std::vector{neu});
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
        oeffnen({a, nux::neueklasse("2b")});
        tippen(QStringLiteral("2b"));
        tippen(QStringLiteral(" 1a "));
        QCOMPARE(feld("Edit1")->text(), QString("1a"));
        QCOMPARE(nux::teil(zeile(0), 12, 15), std::string(" 3,0"));
        QCOMPARE(liste()->currentRow(), 0);
        tippen(QStringLiteral("1A"));
        QCOMPARE(datei().at(1).name, std::string("1A"));  // a class of its own
        QCOMPARE(nux::teil(zeile(0), 12, 15), std::string(" 0,0"));
        // A name box left empty creates nothing; Enter leaves the box.
        tippen(QString());
        QCOMPARE(datei().size(), std::size_t(3));
        eintragen("Edit1", QStringLiteral("5c"));
        QTest::keyClick(feld("Edit1"), Qt::Key_Return);
        QCOMPARE(datei().back().name, std::string("5c"));
        QCOMPARE(feld("Edit1")->text(), QString("5c"));
    }

    void pfeiltastenWaehlenNichtLeerenLegtTrotzdemAn() {
        testhilfe::Programm p;
        auto b = nux::neueklasse("2b");
        b.h(1, 3) = 20;
        oeffnen({nux::neueklasse("1a"), b});
        druecken(0);
        const std::string vorher = zeile(1);
        liste()->setFocus();
        QTest::keyClick(liste(), Qt::Key_Down);
        QCOMPARE(liste()->currentRow(), 1);
        QCOMPARE(zeile(1), vorher);
        QCOMPARE(feld("Edit1")->text(), QString("1a"));
        QCOMPARE(klassenfenster->modell().CurrentClass, 0);

        eintragen("Edit1", QStringLiteral("3c"));
        knopf("Button2");
        QCOMPARE(datei().back().name, std::string("3c"));
        QCOMPARE(feld("Edit1")->text(), QString());
        QVERIFY(feld("Edit1")->hasFocus());
        QCOMPARE(tabelle()->count(), 0);
    }

    void okSpeichertUndGehtZurNaechstenReihe() {
        testhilfe::Programm p;
        oeffnen();
        tippen(QStringLiteral("1a"));
        reihe(0);
        QCOMPARE(feld("Edit2")->text(), QString("0,0"));
        QVERIFY(feld("Edit2")->hasFocus());
        QTest::keyClicks(feld("Edit2"), "2.5");  // replaces what the box showed
        reihe(0);  // the open row clicked again keeps what was typed
        eintragen("Edit5", QStringLiteral("  Gruppe Ä"));
        ok();
        auto s = datei().at(0);
        QCOMPARE(s.h(1, 1), std::int64_t(25));
        QCOMPARE(s.z(1, 1), std::string("  Gruppe \xC4"));
        QCOMPARE(nux::teil(zeile(0), 4, 25), std::string("   E     2,5  0,0  0,0"));  // black now
        // On to the next subject.
        QCOMPARE(tabelle()->currentRow(), 1);
        QCOMPARE(c<QLabel>("Label4")->text(), QString("M"));
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
        QCOMPARE(datei().at(0).z(3, 0), std::string(30, 'z'));
        eintragen("Edit2", QStringLiteral("0"));
        ok();
        QCOMPARE(nux::teil(zeile(2), 4, 4), std::string("X"));
        QCOMPARE(datei().at(0).h(1, 0), std::int64_t(0));
        // What the hours boxes let through, and how leaving them rounds it.
        for (const auto& [getippt, gezeigt, zehntel] : {std::tuple{"100", "00,0", 0}, {"-1a,,.5", " 1,5", 15}}) {
            eintragen("Edit2", QString::fromLatin1(getippt));
            feld("Edit5")->setFocus();
            QCOMPARE(feld("Edit2")->text(), QString::fromLatin1(gezeigt));
            ok();
            QCOMPARE(datei().at(0).h(1, 0), std::int64_t(zehntel));
        }
        QVERIFY(nux::fehlerliste().isEmpty());
    }

    void vollePlatteLaesstDieDateiGanz() {
        testhilfe::Programm p;
        oeffnen({nux::neueklasse("1a")});
        druecken(0);
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
        QCOMPARE(datei().at(0).h(1, 1), std::int64_t(40));
        QCOMPARE(datei().at(0).h(1, 3), std::int64_t(30));
    }

    void kopierenVonKlasse() {
        testhilfe::Programm p;
        auto a = nux::neueklasse("1a");
        a.h(1, 0) = 40;
        a.l(1, 0) = "MEI";  // set by the assignment window
        a.z(1, 0) = "Chor";
        oeffnen({a, nux::neueklasse("2b")});

        // Without a chosen class the button arms nothing.
        tippen(QString());
        QVERIFY(sichtbar("Panel1"));
        kopieren();
        QVERIFY(!kopieScharf());

        druecken(1);
        tippen(QString());  // leaving the name box shows the copy panel
        druecken(1);
        kopieren();
        QVERIFY(kopieScharf());
        druecken(0);
        QVERIFY(!kopieScharf());
        QVERIFY(!sichtbar("Panel1"));
        QCOMPARE(tabelle()->count(), 0);
        auto kopie = a;
        kopie.name = "2b";
        kopie.l(1, 0) = kopie.z(1, 0) = "";
        QVERIFY(datei() == (std::vector{a, kopie}));

        // Onto itself: hours kept, teacher codes and extra texts gone.
        druecken(0);
        kopieren();
        druecken(0);
        kopie.name = "1a";
        QVERIFY(datei().at(0) == kopie);
        QVERIFY(nux::fehlerliste().isEmpty());
    }

    void loeschenMitUmschaltStrgAlt() {
        testhilfe::Programm p;
        oeffnen({nux::neueklasse("1a"), nux::neueklasse("2b"), nux::neueklasse("3c")});
        const Qt::KeyboardModifiers alle = Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier;
        druecken(0, Qt::ControlModifier | Qt::AltModifier);  // not enough: only chooses
        QCOMPARE(datei().size(), std::size_t(3));
        druecken(0, alle);
        QCOMPARE(datei().front().name + datei().back().name, std::string("2b3c"));
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

QTEST_MAIN(KlassenTest)
#include "klassen_test.moc"
