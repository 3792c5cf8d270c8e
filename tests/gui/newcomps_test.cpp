#include <QClipboard>
#include <QLineEdit>
#include <QtTest>

#include "app/shell.h"
#include "editors/newcomps.h"

// Keystrokes of a test row: lower-case letters, digits and signs are typed;
// capitals are actions.
//   A select all, B backspace, D delete, H Home, E End, X leave the field,
//   V Ctrl+V, C Ctrl+C, R Return, T Tab-less control character (Ctrl+A).
class NewcompsTest : public QObject {
    Q_OBJECT

    QWidget* form = nullptr;
    QLineEdit* anderes = nullptr;

    void tippen(QLineEdit* f, const QString& tasten) {
        for (QChar t : tasten) {
            switch (t.unicode()) {
                case 'A': f->selectAll(); break;
                case 'B': QTest::keyClick(f, Qt::Key_Backspace); break;
                case 'D': QTest::keyClick(f, Qt::Key_Delete); break;
                case 'H': QTest::keyClick(f, Qt::Key_Home); break;
                case 'E': QTest::keyClick(f, Qt::Key_End); break;
                case 'X': anderes->setFocus(); f->setFocus(); break;
                case 'V': QTest::keyClick(f, Qt::Key_V, Qt::ControlModifier); break;
                case 'C': QTest::keyClick(f, Qt::Key_C, Qt::ControlModifier); break;
                case 'R': QTest::keyClick(f, Qt::Key_Return); break;
                case 'T': QTest::keyClick(f, Qt::Key_A, Qt::ControlModifier); break;
                default: QTest::keyClick(f, t.toLatin1()); break;
            }
        }
    }

private slots:
    void init() {
        form = new QWidget;
        anderes = new QLineEdit(form);
        anderes->move(0, 40);
        form->show();
        form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(form));
        QGuiApplication::clipboard()->setText(QStringLiteral("7x"));
    }
    void cleanup() {
        delete form;
        form = nullptr;
    }

    void erzeugung() {
        teditzahl z(form);
        QCOMPARE(z.text(), QString("0"));
        QCOMPARE(z.maxLength(), 1);
        QCOMPARE(z.wert(), 0);
        QCOMPARE(z.property("maximum").toInt(), 0);
        QCOMPARE(z.property("leer").toBool(), false);
        teditnummer n(form);
        QCOMPARE(n.property("mit").toBool(), false);
    }

    void zahl_data() {
        QTest::addColumn<int>("minimum");
        QTest::addColumn<int>("maximum");
        QTest::addColumn<bool>("leer");
        QTest::addColumn<QString>("tasten");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("wert");
        // The year field of the year window: 0..9999, never empty.
        QTest::newRow("alles loeschen zeigt 0") << 0 << 9999 << false << "AB" << "0" << 0;
        QTest::newRow("alles entfernen zeigt 0") << 0 << 9999 << false << "HD" << "0" << 0;
        QTest::newRow("minus dann 5 gibt 0") << 0 << 9999 << false << "A-5" << "0" << 0;
        QTest::newRow("minus vor die 5 gibt 0") << 0 << 9999 << false << "A5H-" << "0" << 0;
        QTest::newRow("00 zeigt 0") << 0 << 9999 << false << "A00" << "0" << 0;
        QTest::newRow("02 behaelt die Null") << 0 << 9999 << false << "A02" << "02" << 2;
        QTest::newRow("02 verlassen zeigt 2") << 0 << 9999 << false << "A02X" << "2" << 2;
        QTest::newRow("Jahr") << 0 << 9999 << false << "A2027" << "2027" << 2027;
        QTest::newRow("hoechstens vier Zeichen") << 0 << 9999 << false << "A20271" << "2027" << 2027;
        QTest::newRow("minus nur am Anfang") << 0 << 9999 << false << "A12-" << "12" << 12;
        QTest::newRow("minus nicht in der Mitte") << 0 << 9999 << false << "A12H5-" << "512" << 512;
        QTest::newRow("Buchstaben fallen weg") << 0 << 9999 << false << "A1a2,b" << "12" << 12;
        QTest::newRow("Steuerzeichen fallen weg") << 0 << 9999 << false << "A12VCRT3" << "123" << 123;
        QTest::newRow("Einfuegen per Tastatur faellt weg") << 0 << 9999 << false << "AV" << "0" << 0;
        QTest::newRow("minus ueber alles wartet") << 0 << 9999 << false << "A42XA-" << "-" << 42;
        QTest::newRow("minus ueber alles verlassen") << 0 << 9999 << false << "A42XA-X" << "42" << 42;
        // Other bounds.
        QTest::newRow("ueber dem Maximum") << 0 << 500 << false << "A600" << "500" << 500;
        QTest::newRow("unter dem Minimum") << 10 << 99 << false << "A5" << "10" << 10;
        QTest::newRow("leer gibt Minimum") << 10 << 99 << false << "AB" << "10" << 10;
        QTest::newRow("leer erlaubt") << 10 << 99 << true << "AB" << "" << 0;
        QTest::newRow("leer verlassen gibt Minimum") << 10 << 99 << true << "ABX" << "10" << 10;
        QTest::newRow("negativ") << -50 << 50 << false << "A-7" << "-7" << -7;
        QTest::newRow("negativ begrenzt") << -50 << 50 << false << "A-99" << "-50" << -50;
        QTest::newRow("minus null") << -50 << 50 << false << "A-0" << "-0" << 0;
        QTest::newRow("minus null verlassen") << -50 << 50 << false << "A-0X" << "0" << 0;
        // Bounds set the wrong way round still end, within them.
        QTest::newRow("vertauschte Grenzen") << 50 << 10 << false << "A30" << "50" << 50;
    }
    void zahl() {
        QFETCH(int, minimum);
        QFETCH(int, maximum);
        QFETCH(bool, leer);
        QFETCH(QString, tasten);
        QFETCH(QString, text);
        QFETCH(int, wert);
        auto* z = new teditzahl(form);
        z->setMaximum(maximum);
        z->setMinimum(minimum);
        z->setLeer(leer);
        z->setMaxLength(4);
        z->setText(QString::number(std::min(minimum, maximum)));
        z->show();
        z->setFocus();
        QStringList gesehen;
        connect(z, &teditzahl::geaendert, this, [&] { gesehen << z->text(); });
        tippen(z, tasten);
        QCOMPARE(z->text(), text);
        QCOMPARE(z->wert(), wert);
        // The form only ever sees a text within the bounds, or a lone minus.
        const int unten = std::min(minimum, maximum), oben = std::max(minimum, maximum);
        for (const QString& t : gesehen) {
            if (t == "-" || (t.isEmpty() && leer)) continue;
            bool zahl = false;
            const int v = t.toInt(&zahl);
            QVERIFY2(zahl && v >= unten && v <= oben, qPrintable(t));
        }
        delete z;
    }

    void eingefuegterText_data() {
        QTest::addColumn<QString>("eingefuegt");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("wert");
        QTest::addColumn<int>("piepser");
        QTest::newRow("Zahl") << "77" << "77" << 77 << 0;
        QTest::newRow("mit Leerzeichen") << " 42 " << "42" << 42 << 0;
        QTest::newRow("Buchstaben") << "7x" << "12" << 12 << 1;
        QTest::newRow("zwei Minus") << "--5" << "12" << 12 << 1;
        QTest::newRow("Zeilenende") << "\r\n" << "12" << 12 << 1;
        QTest::newRow("zu gross") << "99999999999999999999999" << "500" << 500 << 0;
        QTest::newRow("zu klein") << "-99999999999999999999999" << "0" << 0 << 0;
    }
    void eingefuegterText() {
        QFETCH(QString, eingefuegt);
        QFETCH(QString, text);
        QFETCH(int, wert);
        QFETCH(int, piepser);
        teditzahl z(form);
        z.setMaximum(500);
        z.setMinimum(0);
        z.setMaxLength(30);
        z.setText("12");
        z.show();
        z.setFocus();
        z.selectAll();
        const int vorher = nux::piepszahl();
        z.insert(eingefuegt);  // what the context menu's paste does
        QCOMPARE(z.text(), text);
        QCOMPARE(z.wert(), wert);
        QCOMPARE(nux::piepszahl() - vorher, piepser);
    }

    void verlassenMeldetNachDerKorrektur() {
        teditzahl z(form);
        z.setMaximum(9999);
        z.setMaxLength(4);
        z.show();
        z.setFocus();
        QString beimVerlassen;
        connect(&z, &teditzahl::verlassen, this, [&] { beimVerlassen = z.text(); });
        tippen(&z, "A07");
        QCOMPARE(z.text(), QString("07"));
        anderes->setFocus();
        QCOMPARE(beimVerlassen, QString("7"));
    }

    void nummer_data() {
        QTest::addColumn<bool>("mit");
        QTest::addColumn<int>("laenge");
        QTest::addColumn<QString>("tasten");
        QTest::addColumn<QString>("text");
        QTest::newRow("Ziffer") << false << 1 << "A5" << "5";
        QTest::newRow("nur ein Zeichen") << false << 1 << "A12" << "1";
        QTest::newRow("Raute ohne mit") << false << 1 << "A#" << "0";
        QTest::newRow("Raute mit") << true << 1 << "A#" << "#";
        QTest::newRow("Raute nur vorn") << true << 2 << "A1#" << "1";
        QTest::newRow("Zeichen der Liste") << false << 3 << "A&(." << "&(.";
        QTest::newRow("Buchstaben und Minus") << false << 1 << "Aa-x" << "0";
        QTest::newRow("Steuerzeichen") << false << 1 << "AVRT" << "0";
        QTest::newRow("Ruecktaste") << false << 1 << "EB" << "";
    }
    void nummer() {
        QFETCH(bool, mit);
        QFETCH(int, laenge);
        QFETCH(QString, tasten);
        QFETCH(QString, text);
        teditnummer n(form);
        n.setMit(mit);
        n.setMaxLength(laenge);
        n.setText("0");
        n.show();
        n.setFocus();
        tippen(&n, tasten);
        QCOMPARE(n.text(), text);
    }

    void nummerEingefuegt() {
        teditnummer n(form);
        n.setMaxLength(1);
        n.setText("0");
        n.selectAll();
        n.insert("x");
        QCOMPARE(n.text(), QString());
        n.insert("#");
        QCOMPARE(n.text(), QString());
        n.setMit(true);
        n.insert("#");
        QCOMPARE(n.text(), QString("#"));
    }
};

QTEST_MAIN(NewcompsTest)
#include "newcomps_test.moc"
