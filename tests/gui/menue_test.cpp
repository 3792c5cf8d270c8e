
#include "app/kern/code.h"
#include "testhilfe.h"

class MenueTest : public QObject {
    Q_OBJECT

    static bool entsperrt() { return menuform->findChild<QPushButton*>("Button1")->isEnabled(); }
    static QLineEdit* codefeld() { return menuform->findChild<QLineEdit*>("Edit2"); }
    static void starte() {
        menuform->vorholen();
        testhilfe::warten();
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

    void jahraktFehltOderIstKurz_data() {
        QTest::addColumn<QByteArray>("inhalt");
        QTest::addColumn<QString>("anzeige");
        QTest::addColumn<bool>("jahrfensterVorn");
        QTest::newRow("fehlt") << QByteArray() << QString() << true;
        QTest::newRow("leer") << QByteArray("\r\n") << QString("-") << false;
        QTest::newRow("ohne Zeilenende") << QByteArray("2026 1") << QString("2026-1") << false;
    }
    void jahraktFehltOderIstKurz() {
        QFETCH(QByteArray, inhalt);
        QFETCH(QString, anzeige);
        QFETCH(bool, jahrfensterVorn);
        testhilfe::Programm p;
        if (!inhalt.isEmpty()) {
            QFile f("jahrakt");
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(inhalt);
        }
        starte();
        QTest::keyClicks(codefeld(), "8153");
        QVERIFY(!entsperrt());  // shorter codes count only on leaving the field
        menuform->findChild<QPushButton*>("Button6")->setFocus();
        QVERIFY(entsperrt() && !menuform->findChild<QWidget*>("Panel1")->isVisible());
        // The first check wrote the default code: its length byte, then the scrambled bytes.
        QCOMPARE(testhilfe::bytes("codes")[0], std::uint8_t(4));
        QCOMPARE(testhilfe::bytes("codes").size(), std::size_t(9));
        QCOMPARE(menuform->findChild<QLabel*>("Label1")->text(), anzeige);
        QCOMPARE(reinterpret_cast<QWidget*>(jahrfenster)->isVisible(), jahrfensterVorn);
        QVERIFY(nux::fehlerliste().isEmpty());
    }

    void rueckkehrLiestJahraktNichtNeu() {
        testhilfe::Programm p;
        nux::jahraktschreiben("2007 2");
        starte();
        QTest::keyClicks(codefeld(), "8153");
        menuform->findChild<QPushButton*>("Button6")->setFocus();
        nux::jahraktschreiben("2010 1");
        menuform->findChild<QPushButton*>("Button7")->click();
        menuform->vorholen();
        QCOMPARE(menuform->findChild<QLabel*>("Label1")->text(), QString("2007-2"));
        QCOMPARE(QString::fromStdString(nux::jahrordner()), QString("2007 2"));
    }

    void widmungstimerStartetNichtNeu() {
        testhilfe::Programm p;
        starte();
        QTest::keyClicks(codefeld(), "8153");
        menuform->findChild<QPushButton*>("Button6")->setFocus();
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
        starte();
        QTest::keyClicks(codefeld(), "8153");
        menuform->findChild<QPushButton*>("Button6")->setFocus();
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
        QCOMPARE(alt->text(), QString());
        QCOMPARE(neu->text(), QString());
        QVERIFY(!speichern->isEnabled());
        // Blanks alone cannot be stored; a leading blank is kept.
        QTest::keyClicks(neu, "  ");
        QVERIFY(!speichern->isEnabled());
        QTest::keyClicks(neu, "ab");
        QVERIFY(speichern->isEnabled());
        QCOMPARE(neu->text(), QString("  AB"));
        speichern->click();
        QVERIFY(nux::codestimmt("  AB") && !nux::codestimmt("AB"));
    }
};

QTEST_MAIN(MenueTest)
#include "menue_test.moc"
