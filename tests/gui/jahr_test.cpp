#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>
#include <cerrno>

#include "app/nux_menue.h"
#include "editors/newcomps.h"
#include "storage/datei.h"
#include "storage/jahr.h"
#include "storage/satz.h"
#include "testhilfe.h"
#include "years/nux_jahr.h"

namespace {

QWidget* fenster() { return jahrfenster; }
template <class T>
T* teil(const char* name) {
    T* t = jahrfenster->findChild<T*>(QString::fromLatin1(name));
    Q_ASSERT(t);
    return t;
}
QListWidget* liste() { return teil<QListWidget>("ListBox1"); }

QStringList eintraege() {
    QStringList r;
    for (int i = 0; i < liste()->count(); ++i) r << liste()->item(i)->text();
    return r;
}

void oeffnen() {
    jahrfenster->vorholen();
    testhilfe::warten();
}

// Hides the window and brings it back, as a visit from the menu does.
void wiederoeffnen() {
    menuform->vorholen();
    fenster()->hide();
    oeffnen();
}

void druecken(const QString& eintrag, Qt::KeyboardModifiers tasten = Qt::NoModifier,
              Qt::MouseButton knopf = Qt::LeftButton) {
    const auto treffer = liste()->findItems(eintrag, Qt::MatchExactly);
    QVERIFY2(treffer.size() == 1, qPrintable(eintrag));
    QTest::mouseClick(liste()->viewport(), knopf, tasten, liste()->visualItemRect(treffer[0]).center());
}

void ordner(const char* name) { QVERIFY(QDir().mkdir(QString::fromLatin1(name))); }

std::string inhalt(const std::string& pfad) {
    if (!nux::dateida(pfad)) return "(fehlt)";
    const auto b = nux::dateilesen(pfad);
    return std::string(b.begin(), b.end());
}

// Every file of the two years, to see that nothing changed.
std::vector<std::string> alledateien() {
    std::vector<std::string> r;
    for (const char* j : {"2005 1", "2006 1"})
        for (const char* d : {"lehrer", "faecher", "klassen"}) r.push_back(inhalt(std::string(j) + "/" + d));
    return r;
}

// 2005 1 with a class that has hours, a teacher and an extra text; 2006 1 empty.
void zweijahre() {
    ordner("2005 1");
    ordner("2006 1");
    nux::Lehrersatz l;
    l.name = "Maria Huber";
    l.kurz = "MarH";
    l.stunden = 220;
    nux::neuschreiben<nux::Lehrersatz>("2005 1/lehrer", {l});
    nux::Fachsatz f;
    f.name = "Deutsch";
    f.kurz = "D";
    nux::neuschreiben<nux::Fachsatz>("2005 1/faecher", {f});
    nux::Klassensatz k;
    k.name = "1a";
    k.h(1, 0) = 40;
    k.l(1, 0) = "MarH";
    k.z(1, 0) = "F\xF6rderunterricht";
    nux::neuschreiben<nux::Klassensatz>("2005 1/klassen", {k});
}

const QString kNeu = QStringLiteral("--> neues Jahr");

}  // namespace

class JahrTest : public QObject {
    Q_OBJECT

private slots:
    void listeUndJahrWaehlen() {
        testhilfe::Programm p;
        for (const char* o : {"2006 1", "2005 1", "abc", "2005 12"}) ordner(o);
        QFile f("jahrakt");
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("2006 1");
        f.close();
        nux::jahrsetzen("2006 1");
        oeffnen();
        QCOMPARE(eintraege(), QStringList({kNeu, "2005 1", "2006 1"}));
        QVERIFY(!teil<QWidget>("Panel1")->isVisible());
        QVERIFY(!teil<QWidget>("Panel2")->isVisible());

        // The current year chosen again: jahrakt is still rewritten.
        druecken("2006 1");
        QCOMPARE(inhalt("jahrakt"), std::string("2006 1\r\n"));
        QVERIFY(!fenster()->isVisible());
        QCOMPARE(menuform->findChild<QLabel*>("Label1")->text(), QString("2006-1"));

        oeffnen();
        QVERIFY(liste()->selectedItems().isEmpty());
        druecken("2005 1");
        QCOMPARE(inhalt("jahrakt"), std::string("2005 1\r\n"));
        QCOMPARE(QString::fromStdString(nux::jahrordner()), QString("2005 1"));
        QCOMPARE(menuform->findChild<QLabel*>("Label1")->text(), QString("2005-1"));
        QVERIFY(!fenster()->isVisible());
        QVERIFY(nux::fehlerliste().isEmpty());
    }

    void jahraktSchreibfehlerBrichtAb() {
        testhilfe::Programm p;
        ordner("2005 1");
        nux::jahraktschreiben("2004 1");
        nux::jahrsetzen("2004 1");
        oeffnen();
        nux::schreibfehlerSetzen(ENOSPC);
        druecken("2005 1");
        nux::schreibfehlerSetzen(0);
        QCOMPARE(nux::fehlerliste().size(), 1);
        QCOMPARE(inhalt("jahrakt"), std::string("2004 1\r\n"));
        QCOMPARE(QString::fromStdString(nux::jahrordner()), QString("2004 1"));
        QVERIFY(fenster()->isVisible());
    }

    void neuesJahrAnlegen() {
        testhilfe::Programm p;
        for (const char* o : {"2005 1", "2030 1"}) ordner(o);
        oeffnen();
        auto* jahr = teil<teditzahl>("teditzahl1");
        auto* nummer = teil<teditnummer>("teditnummer1");
        auto* speichern = teil<QPushButton>("Button1");
        QVERIFY(!speichern->isEnabled());
        druecken(kNeu);
        QVERIFY(teil<QWidget>("Panel1")->isVisible());
        QVERIFY(jahr->hasFocus());
        QTest::keyClicks(jahr, "2027");
        QCOMPARE(jahr->text(), QString("2027"));
        QVERIFY(speichern->isEnabled());
        nummer->setFocus();
        nummer->selectAll();
        QTest::keyClicks(nummer, "1");
        QTest::mouseClick(speichern, Qt::LeftButton);
        QVERIFY(QDir("2027 1").exists());
        QCOMPARE(eintraege(), QStringList({kNeu, "2005 1", "2027 1", "2030 1"}));
        QVERIFY(teil<QWidget>("Panel1")->isVisible());
        QCOMPARE(QString::fromStdString(nux::jahrordner()), QString());

        // The same name again: nothing, and no beep.
        int piepser = nux::piepszahl();
        QTest::mouseClick(speichern, Qt::LeftButton);
        QCOMPARE(nux::piepszahl(), piepser);
        QCOMPARE(liste()->count(), 4);

        // A year of three digits would make a folder the list drops: refused.
        jahr->setFocus();
        jahr->selectAll();
        QTest::keyClicks(jahr, "207");
        QTest::mouseClick(speichern, Qt::LeftButton);
        QCOMPARE(nux::piepszahl(), piepser + 1);
        QVERIFY(!QDir("207 1").exists());
        QCOMPARE(liste()->count(), 4);

        // Leading zeros go when the field is left, so 0207 is no year either.
        jahr->setFocus();
        jahr->selectAll();
        QTest::keyClicks(jahr, "0207");
        QCOMPARE(jahr->text(), QString("0207"));
        QTest::mouseClick(speichern, Qt::LeftButton);
        QCOMPARE(jahr->text(), QString("207"));
        QCOMPARE(nux::piepszahl(), piepser + 2);

        // An empty number is refused as well.
        jahr->setFocus();
        jahr->selectAll();
        QTest::keyClicks(jahr, "2028");
        nummer->setFocus();
        nummer->selectAll();
        QTest::keyClick(nummer, Qt::Key_Backspace);
        QTest::mouseClick(speichern, Qt::LeftButton);
        QCOMPARE(nux::piepszahl(), piepser + 3);
        QVERIFY(!QDir("2028 ").exists());

        wiederoeffnen();
        QVERIFY(!teil<QWidget>("Panel1")->isVisible());
        QCOMPARE(eintraege(), QStringList({kNeu, "2005 1", "2027 1", "2030 1"}));
    }

    void uebernahme() {
        testhilfe::Programm p;
        zweijahre();
        nux::jahrsetzen("2005 1");
        oeffnen();
        druecken("2006 1", Qt::AltModifier);
        QVERIFY(teil<QWidget>("Panel2")->isVisible());
        QVERIFY(!teil<QPushButton>("Button2")->isEnabled());
        QCOMPARE(teil<QLabel>("Label4")->text(), QString("2006 1  übernimmt Daten von (anklicken): "));
        druecken("2005 1");
        QCOMPARE(teil<QLabel>("Label4")->text(), QString("2006 1  übernimmt Daten von   2005 1"));
        QVERIFY(teil<QPushButton>("Button2")->isEnabled());
        QVERIFY(fenster()->isVisible());
        QVERIFY(!QFile::exists("jahrakt"));

        teil<QRadioButton>("RadioButton5")->click();
        teil<QRadioButton>("RadioButton6")->click();
        teil<QRadioButton>("RadioButton2")->click();  // with hours, without extra text
        teil<QPushButton>("Button2")->click();
        QVERIFY(!fenster()->isVisible());
        QCOMPARE(inhalt("2006 1/lehrer"), inhalt("2005 1/lehrer"));
        QCOMPARE(inhalt("2006 1/faecher"), inhalt("2005 1/faecher"));
        const auto klassen = nux::laden<nux::Klassensatz>("2006 1/klassen");
        QCOMPARE(klassen.size(), std::size_t(1));
        QCOMPARE(klassen[0].name, std::string("1a"));
        QCOMPARE(klassen[0].h(1, 0), std::int64_t(40));
        QCOMPARE(klassen[0].l(1, 0), std::string());
        QCOMPARE(klassen[0].z(1, 0), std::string());
        QCOMPARE(QString::fromStdString(nux::jahrordner()), QString("2005 1"));

        // After the takeover a plain click chooses a year again; the heading
        // and the choices wait for the next ALT-click.
        wiederoeffnen();
        QVERIFY(!teil<QWidget>("Panel2")->isVisible());
        QVERIFY(!teil<QPushButton>("Button2")->isEnabled());
        QVERIFY(teil<QRadioButton>("RadioButton2")->isChecked());
        QVERIFY(teil<QRadioButton>("RadioButton5")->isChecked());
        druecken("2006 1");
        QCOMPARE(QString::fromStdString(nux::jahrordner()), QString("2006 1"));
        QVERIFY(!fenster()->isVisible());

        // While the panel is shown, "--> neues Jahr" opens nothing and marks nothing.
        wiederoeffnen();
        druecken("2006 1", Qt::AltModifier);
        druecken("2005 1");
        druecken(kNeu);
        druecken(kNeu, Qt::AltModifier);
        QVERIFY(teil<QWidget>("Panel2")->isVisible());
        QVERIFY(!teil<QWidget>("Panel1")->isVisible());
        QCOMPARE(teil<QLabel>("Label4")->text(), QString("2006 1  übernimmt Daten von   2005 1"));
        QVERIFY(nux::fehlerliste().isEmpty());
    }

    void uebernahmeInSichSelbstWirdAbgelehnt() {
        testhilfe::Programm p;
        zweijahre();
        nux::neuschreiben<nux::Klassensatz>("2006 1/klassen", {nux::Klassensatz{}});
        oeffnen();
        for (const char* r : {"RadioButton5", "RadioButton6", "RadioButton1"}) teil<QRadioButton>(r)->click();
        const auto vorher = alledateien();
        druecken("2005 1", Qt::AltModifier);
        druecken("2005 1");
        const int piepser = nux::piepszahl();
        teil<QPushButton>("Button2")->click();
        QCOMPARE(nux::piepszahl(), piepser + 1);
        QVERIFY(fenster()->isVisible());
        QVERIFY(alledateien() == vorher);

        // A second ALT-press before a new source: "Start" changes nothing.
        druecken("2006 1", Qt::AltModifier);
        QVERIFY(teil<QPushButton>("Button2")->isEnabled());
        teil<QPushButton>("Button2")->click();
        QVERIFY(!fenster()->isVisible());
        QVERIFY(alledateien() == vorher);
        QVERIFY(nux::fehlerliste().isEmpty());
    }

    void radiogruppenNachBehaelter() {
        testhilfe::Programm p;
        oeffnen();
        auto rb = [](int n) { return teil<QRadioButton>(qPrintable(QString("RadioButton%1").arg(n))); };
        for (int n = 1; n <= 7; ++n) QVERIFY(!rb(n)->isChecked());
        rb(1)->click();
        rb(7)->click();
        QVERIFY(rb(1)->isChecked() && rb(7)->isChecked());
        rb(5)->click();
        QVERIFY(rb(5)->isChecked() && !rb(7)->isChecked() && rb(1)->isChecked());
        rb(3)->click();
        QVERIFY(rb(3)->isChecked() && !rb(1)->isChecked() && rb(5)->isChecked());
        rb(6)->click();
        rb(6)->click();
        QVERIFY(rb(6)->isChecked());
        QCOMPARE(rb(2)->text(), QString("Klassen  mit Stunden ohne Zusatztext "));
    }

    void ohneAktuellesJahrVonAnderenFensternGeholt() {
        testhilfe::Programm p;
        ordner("2005 1");
        nux::jahrsetzen("");
        QVERIFY(!nux::jahrvorhanden());
        testhilfe::warten();
        QVERIFY(fenster()->isVisible());
        QCOMPARE(eintraege(), QStringList({kNeu, "2005 1"}));
        QVERIFY(nux::fehlerliste().isEmpty());
        druecken("2005 1");
        QVERIFY(nux::jahrvorhanden());
    }
};

QTEST_MAIN(JahrTest)
#include "jahr_test.moc"
