
#include "testhilfe.h"

namespace {

template <class T = QWidget>
T* teil(const char* name) { return testhilfe::teil<T>(jahrfenster, name); }
QListWidget* liste() { return teil<QListWidget>("ListBox1"); }
QStringList eintraege() {
    QStringList r;
    for (int i = 0; i < liste()->count(); ++i) r << liste()->item(i)->text();
    return r;
}
// Shows the window afresh, as a visit from the menu does.
void oeffnen() {
    menuform->vorholen();
    jahrfenster->hide();
    jahrfenster->vorholen();
    testhilfe::warten();
}
void druecken(const QString& eintrag, Qt::KeyboardModifiers tasten = Qt::NoModifier) {
    const auto treffer = liste()->findItems(eintrag, Qt::MatchExactly);
    QVERIFY2(treffer.size() == 1, qPrintable(eintrag));
    QTest::mouseClick(liste()->viewport(), Qt::LeftButton, tasten, liste()->visualItemRect(treffer[0]).center());
}
void eingeben(QLineEdit* feld, const char* text) {
    feld->setFocus();
    feld->selectAll();
    *text ? QTest::keyClicks(feld, text) : QTest::keyClick(feld, Qt::Key_Backspace);
}
void ordner(const char* name) { QVERIFY(QDir().mkdir(QString::fromLatin1(name))); }
std::string inhalt(const std::string& pfad) {
    const auto b = nux::dateida(pfad) ? nux::dateilesen(pfad) : std::vector<std::uint8_t>{};
    return std::string(b.begin(), b.end());
}
QString menuejahr() { return menuform->findChild<QLabel*>("Label1")->text(); }
QString jahr() { return QString::fromStdString(nux::jahrordner()); }

// 2005 1 with a teacher, a subject and a class with hours, teacher and extra text; 2006 1 empty.
nux::Klassensatz zweijahre() {
    ordner("2005 1");
    ordner("2006 1");
    nux::neuschreiben<nux::Lehrersatz>("2005 1/lehrer", {{"Maria Huber", "MarH", 220}});
    nux::neuschreiben<nux::Fachsatz>("2005 1/faecher", {{"Deutsch", "D"}});
    nux::Klassensatz k;
    k.name = "1a";
    k.h(1, 0) = 40;
    k.l(1, 0) = "MarH";
    k.z(1, 0) = "F\xF6rderunterricht";
    nux::neuschreiben<nux::Klassensatz>("2005 1/klassen", {k});
    return k;
}

}  // namespace

class JahrTest : public QObject {
    Q_OBJECT

private slots:
    void jahrWaehlen() {
        testhilfe::Programm p;
        for (const char* o : {"2006 1", "2005 1", "abc", "2005 12"}) ordner(o);
        QFile("jahrakt").open(QIODevice::WriteOnly);  // an empty jahrakt: chosen years rewrite it
        nux::jahrsetzen("2006 1");
        oeffnen();
        QCOMPARE(eintraege(), QStringList({"--> neues Jahr", "2005 1", "2006 1"}));
        // The current year chosen again: jahrakt is still rewritten.
        druecken("2006 1");
        QCOMPARE(inhalt("jahrakt"), std::string("2006 1\r\n"));
        QVERIFY(!jahrfenster->isVisible());
        QCOMPARE(menuejahr(), QString("2006-1"));
        // A failed write keeps the old year and the window.
        oeffnen();
        nux::schreibfehlerSetzen(ENOSPC);
        druecken("2005 1");
        nux::schreibfehlerSetzen(0);
        QCOMPARE(nux::fehlerliste().size(), 1);
        QCOMPARE(inhalt("jahrakt"), std::string("2006 1\r\n"));
        QCOMPARE(jahr(), QString("2006 1"));
        QVERIFY(jahrfenster->isVisible());
        druecken("2005 1");
        QCOMPARE(inhalt("jahrakt"), std::string("2005 1\r\n"));
        QCOMPARE(jahr(), QString("2005 1"));
        QCOMPARE(menuejahr(), QString("2005-1"));
    }

    void neuesJahrAnlegen() {
        testhilfe::Programm p;
        for (const char* o : {"2005 1", "2030 1"}) ordner(o);
        oeffnen();
        auto* zahl = teil<teditzahl>("teditzahl1");
        auto* speichern = teil<QPushButton>("Button1");
        druecken("--> neues Jahr");
        QVERIFY(zahl->hasFocus());
        QTest::keyClicks(zahl, "2027");
        eingeben(teil<teditnummer>("teditnummer1"), "1");
        QTest::mouseClick(speichern, Qt::LeftButton);
        QCOMPARE(eintraege(), QStringList({"--> neues Jahr", "2005 1", "2027 1", "2030 1"}));
        // Four digits that lose their leading zero are three: refused with a beep.
        const int piepser = nux::piepszahl();
        eingeben(zahl, "0207");
        QTest::mouseClick(speichern, Qt::LeftButton);
        QCOMPARE(nux::piepszahl(), piepser + 1);
        eingeben(zahl, "2028");
        // A file where the folder should go: a German message.
        QFile("2028 2").open(QIODevice::WriteOnly);
        eingeben(teil<teditnummer>("teditnummer1"), "2");
        QTest::mouseClick(speichern, Qt::LeftButton);
        QCOMPARE(nux::fehlerliste(), QStringList{"Datei oder Ordner gleichen Namens ist schon vorhanden"});
        oeffnen();
        QCOMPARE(eintraege(), QStringList({"--> neues Jahr", "2005 1", "2027 1", "2030 1"}));
    }

    void uebernahme() {
        testhilfe::Programm p;
        nux::Klassensatz soll = zweijahre();
        nux::jahrsetzen("2005 1");
        oeffnen();
        druecken("2006 1", Qt::AltModifier);
        druecken("2005 1");
        QCOMPARE(teil<QLabel>("Label4")->text(), QString("2006 1  übernimmt Daten von   2005 1"));
        for (const char* r : {"RadioButton5", "RadioButton6", "RadioButton2"}) teil<QRadioButton>(r)->click();
        teil<QPushButton>("Button2")->click();
        QCOMPARE(inhalt("2006 1/lehrer"), inhalt("2005 1/lehrer"));
        QCOMPARE(inhalt("2006 1/faecher"), inhalt("2005 1/faecher"));
        soll.l(1, 0).clear();  // with hours, without extra text
        soll.z(1, 0).clear();
        QVERIFY(nux::laden<nux::Klassensatz>("2006 1/klassen") == std::vector{soll});
        QCOMPARE(jahr(), QString("2005 1"));

        // While a takeover is set up, "--> neues Jahr" is a source like any
        // entry (no such year: nothing copied), and never opens the new-year panel.
        oeffnen();
        druecken("2006 1", Qt::AltModifier);
        druecken("--> neues Jahr");
        QCOMPARE(teil<QLabel>("Label4")->text(), QString("2006 1  übernimmt Daten von   --> neues Jahr"));
        QVERIFY(teil<QPushButton>("Button2")->isEnabled() && !teil("Panel1")->isVisible());
        teil<QPushButton>("Button2")->click();
        QVERIFY(nux::fehlerliste().isEmpty());

        // After the takeover a plain click chooses a year again, and the
        // window that was in front before comes back.
        reinterpret_cast<nux::Fenster*>(lehrerfenster)->vorholen();
        jahrfenster->vorholen();
        druecken("2006 1");
        QCOMPARE(jahr(), QString("2006 1"));
        QCOMPARE(nux::Fenster::aktivesFenster(), reinterpret_cast<nux::Fenster*>(lehrerfenster));

    }

    void uebernahmeInSichSelbstWirdAbgelehnt() {
        testhilfe::Programm p;
        zweijahre();
        oeffnen();
        for (const char* r : {"RadioButton5", "RadioButton6", "RadioButton1"}) teil<QRadioButton>(r)->click();
        // Into itself the classes would lose their hours; without a source the target gets teachers.
        const auto dateien = [] { return inhalt("2005 1/klassen") + "|" + inhalt("2006 1/lehrer"); };
        const auto vorher = dateien();
        druecken("2005 1", Qt::AltModifier);
        druecken("2005 1");
        const int piepser = nux::piepszahl();
        teil<QPushButton>("Button2")->click();
        QCOMPARE(nux::piepszahl(), piepser + 1);
        QVERIFY(dateien() == vorher);
        // A second ALT-press before a new source: "Start" changes nothing.
        druecken("2006 1", Qt::AltModifier);
        teil<QPushButton>("Button2")->click();
        QVERIFY(!jahrfenster->isVisible());
        QVERIFY(dateien() == vorher);
    }

    void radiogruppenNachBehaelter() {
        testhilfe::Programm p;
        oeffnen();
        auto rb = [](int n) { return teil<QRadioButton>(qPrintable(QString("RadioButton%1").arg(n))); };
        for (int n : {1, 7, 5, 3}) rb(n)->click();
        // 1-4 are the class choices, 5-7 the teaching assignment.
        QVERIFY(rb(3)->isChecked() && !rb(1)->isChecked() && rb(5)->isChecked() && !rb(7)->isChecked());
    }
};

QTEST_MAIN(JahrTest)
#include "jahr_test.moc"
