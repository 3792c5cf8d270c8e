#include "app/kern/code.h"
#include "fenster/listenzeichner.h"
#include "testhilfe.h"

// The menu and the year window it leads to.
namespace {

template <class T = QWidget>
T* teil(const char* name) { return testhilfe::teil<T>(jahrfenster, name); }
QListWidget* liste() { return teil<QListWidget>("ListBox1"); }
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

class MenueTest : public QObject {
    Q_OBJECT

    static bool entsperrt() { return menuform->findChild<QPushButton*>("Button1")->isEnabled(); }
    static QLineEdit* codefeld() { return menuform->findChild<QLineEdit*>("Edit2"); }
    // The menu in front, the code field focused.
    static void starte() {
        testhilfe::zeigen(menuform);
        codefeld()->setFocus();
    }

private slots:
    void achtZeichenPruefenBeimTippen() {
        // Upper case within Windows-1252: every character stays one, so the
        // eighth one checks the code, and once; a wrong one beeps three times.
        const struct { QString getippt, gezeigt; bool richtig; } faelle[] = {
            {"abcd1234", "ABCD1234", true}, {"1234567a", "1234567A", false}, {"abcdefg\u00DF", "ABCDEFG\u00DF", false},
            {"\u00B5\u00E4bcdef1", "\u00B5\u00C4BCDEF1", false}};
        for (const auto& f : faelle) {
            testhilfe::Programm p;
            nux::neuschreiben<nux::Codesatz>("codes", {nux::Codesatz{nux::codieren("ABCD1234")}});
            starte();
            const int vorher = nux::piepszahl();
            for (const QChar ch : f.getippt) QTest::sendKeyEvent(QTest::Click, codefeld(), Qt::Key_unknown, QString(ch), {});
            QCOMPARE(codefeld()->text(), f.gezeigt);
            QCOMPARE(nux::piepszahl() - vorher, f.richtig ? 0 : 3);
            QCOMPARE(entsperrt(), f.richtig);
            for (QLineEdit* feld : {codefeld(), codefenster->findChild<QLineEdit*>("Edit1")})
                QCOMPARE(feld->style()->styleHint(QStyle::SH_LineEdit_PasswordCharacter, nullptr, feld), int('*'));
        }
    }

    void endeMitFalschemCodeSchliesstAlles() {
        testhilfe::Programm p;
        starte();
        reinterpret_cast<nux::Fenster*>(jahrfenster)->vorholen();
        QTest::keyClicks(codefeld(), "12");
        const int vorher = nux::piepszahl();
        QTest::mouseClick(menuform->findChild<QPushButton*>("Button6"), Qt::LeftButton);
        QCOMPARE(nux::piepszahl() - vorher, 3);
        QVERIFY(!menuform->isVisible() && !jahrfenster->isVisible());
        // The window manager's close ends everything the same way.
        menuform->vorholen();
        reinterpret_cast<nux::Fenster*>(jahrfenster)->vorholen();
        menuform->close();
        QVERIFY(!jahrfenster->isVisible());
    }

    void jahraktFehltOderIstKurz() {
        // jahrakt missing, an empty line, no line end.
        const struct { QByteArray inhalt; QString anzeige; bool jahrfensterVorn; } faelle[] = {
            {{}, {}, true}, {"\r\n", "-", false}, {"2026 1", "2026-1", false}};
        for (const auto& f : faelle) {
            testhilfe::Programm p;
            QFile jahrakt("jahrakt");  // closed before the menu reads it
            if (!f.inhalt.isEmpty()) QVERIFY(jahrakt.open(QIODevice::WriteOnly) && jahrakt.write(f.inhalt) > 0);
            jahrakt.close();
            starte();
            QTest::keyClicks(codefeld(), "8153");
            QVERIFY(!entsperrt());  // shorter codes count only on leaving the field
            menuform->findChild<QPushButton*>("Button6")->setFocus();
            QVERIFY(entsperrt() && !menuform->findChild<QWidget*>("Panel1")->isVisible());
            QCOMPARE(menuejahr(), f.anzeige);
            QCOMPARE(reinterpret_cast<QWidget*>(jahrfenster)->isVisible(), f.jahrfensterVorn);
            QVERIFY(nux::fehlerliste().isEmpty());
        }
    }

    void rueckkehrLiestJahraktNichtNeu() {
        testhilfe::Programm p;
        nux::jahraktschreiben("2007 2");
        testhilfe::entsperren();
        nux::jahraktschreiben("2010 1");
        menuform->findChild<QPushButton*>("Button7")->click();
        menuform->vorholen();
        QCOMPARE(menuejahr(), QString("2007-2"));
        QCOMPARE(jahr(), QString("2007 2"));
    }

    void widmungstimerStartetNichtNeu() {
        testhilfe::Programm p;
        testhilfe::entsperren();
        auto* timer = menuform->findChild<QTimer*>("Timer1");
        menuform->findChild<QPushButton*>("Button1")->click();
        QVERIFY(timer->isActive());
        QTest::qWait(30);
        const int rest = timer->remainingTime();
        menuform->findChild<QPushButton*>("Button1")->click();
        QVERIFY(timer->remainingTime() <= rest);
        // The dedication shows when Timer1 elapses and hides when Timer2 does, 2 s later.
        auto* widmung = menuform->findChild<QLabel*>("Label5");
        auto* anzeige = menuform->findChild<QTimer*>("Timer2");
        timer->start(1);
        QTRY_VERIFY(widmung->isVisible() && anzeige->isActive());
        timer->stop();
        anzeige->start(1);
        QTRY_VERIFY(!widmung->isVisible() && !anzeige->isActive());
        menuform->findChild<QPushButton*>("Button2")->click();
        QVERIFY(!timer->isActive());
    }

    void codeAendern() {
        testhilfe::Programm p;
        testhilfe::entsperren();
        menuform->findChild<QPushButton*>("Button4")->click();
        testhilfe::warten();
        auto* alt = codefenster->findChild<QLineEdit*>("Edit2");
        auto* neu = codefenster->findChild<QLineEdit*>("Edit1");
        auto* speichern = codefenster->findChild<QPushButton*>("Button1");
        // A wrong old code empties both fields when the focus leaves.
        alt->setFocus();
        QTest::keyClicks(alt, "999");
        QTest::keyClicks(neu, "X");
        alt->setFocus();
        neu->setFocus();
        QVERIFY(alt->text().isEmpty() && neu->text().isEmpty() && !speichern->isEnabled());
        // Blanks alone cannot be stored; a leading blank is kept.
        QTest::keyClicks(neu, "  ");
        QVERIFY(!speichern->isEnabled());
        QTest::keyClicks(neu, "ab");
        QVERIFY(speichern->isEnabled());
        QCOMPARE(neu->text(), QString("  AB"));
        speichern->click();
        QVERIFY(nux::codestimmt("  AB") && !nux::codestimmt("AB"));
    }

    void jahrWaehlen() {
        testhilfe::Programm p;
        for (const char* o : {"2006 1", "2005 1", "abc", "2005 12"}) ordner(o);
        QFile("jahrakt").open(QIODevice::WriteOnly);  // an empty jahrakt: chosen years rewrite it
        nux::jahrsetzen("2006 1");
        oeffnen();
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
        QVERIFY(nux::zeilenvon(liste()) == std::vector<std::string>({"--> neues Jahr", "2005 1", "2027 1", "2030 1"}));
    }

    void uebernahme() {
        testhilfe::Programm p;
        nux::Klassensatz soll = zweijahre();
        nux::jahrsetzen("2005 1");
        oeffnen();
        // 1-4 are the class choices, 5-7 the teaching assignment: the later click of each group counts.
        for (const char* r : {"RadioButton4", "RadioButton7", "RadioButton5", "RadioButton6", "RadioButton2"}) teil<QRadioButton>(r)->click();
        // Into itself the classes would lose their extra texts: refused with a beep. A second
        // ALT-press before a new source: "Start" changes nothing, the target gets no teachers.
        const auto dateien = [] { return inhalt("2005 1/klassen") + "|" + inhalt("2006 1/lehrer"); };
        const auto vorher = dateien();
        druecken("2005 1", Qt::AltModifier);
        druecken("2005 1");
        const int piepser = nux::piepszahl();
        teil<QPushButton>("Button2")->click();
        QCOMPARE(nux::piepszahl(), piepser + 1);
        druecken("2006 1", Qt::AltModifier);
        teil<QPushButton>("Button2")->click();
        QVERIFY(!jahrfenster->isVisible() && dateien() == vorher);

        oeffnen();
        druecken("2006 1", Qt::AltModifier);
        druecken("2005 1");
        QCOMPARE(teil<QLabel>("Label4")->text(), QString("2006 1  übernimmt Daten von   2005 1"));
        teil<QPushButton>("Button2")->click();
        QCOMPARE(inhalt("2006 1/lehrer"), inhalt("2005 1/lehrer"));
        QCOMPARE(inhalt("2006 1/faecher"), inhalt("2005 1/faecher"));
        soll.l(1, 0) = soll.z(1, 0) = "";  // with hours, without extra text
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
};

QTEST_MAIN(MenueTest)
#include "menue_test.moc"
