#include <QClipboard>
#include <QLineEdit>
#include <QtTest>

#include "fenster/shell.h"
#include "fenster/newcomps.h"

// Keystrokes of a test row: lower-case letters, digits and signs are typed;
// capitals are actions: A select all, B backspace, D delete, H Home, E End,
// R Return, V Ctrl+V, C Ctrl+C, T Ctrl+A, X leave the field.
class NewcompsTest : public QObject {
    Q_OBJECT

    QWidget* form = nullptr;
    QLineEdit* anderes = nullptr;

    void tippen(QLineEdit* f, const QString& tasten) {
        static const Qt::Key aktion[] = {Qt::Key_Backspace, Qt::Key_Delete, Qt::Key_Home, Qt::Key_End,
                                         Qt::Key_Return,    Qt::Key_V,      Qt::Key_C,    Qt::Key_A};
        f->show();
        f->setFocus();
        for (QChar t : tasten) {
            const int i = QStringLiteral("BDHERVCT").indexOf(t);
            if (t == 'A') f->selectAll();
            else if (t == 'X') anderes->setFocus(), f->setFocus();
            else if (i >= 0) QTest::keyClick(f, aktion[i], i >= 5 ? Qt::ControlModifier : Qt::NoModifier);
            else QTest::keyClick(f, t.toLatin1());
        }
    }

private slots:
    void init() {
        form = new QWidget;
        anderes = new QLineEdit(form);
        form->show();
        form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(form));
        QGuiApplication::clipboard()->setText(QStringLiteral("7x"));
    }
    void cleanup() { delete form; }

    void zahl() {
        struct {
            int minimum, maximum;
            bool leer;
            const char *tasten, *text;
            int wert;
        } const faelle[] = {
            // The year field of the year window: 0..9999, never empty.
            {0, 9999, false, "AB", "0", 0},           {0, 9999, false, "A-5", "0", 0},
            {0, 9999, false, "A5H-", "0", 0},         {0, 9999, false, "A00", "0", 0},
            {0, 9999, false, "A02", "02", 2},         {0, 9999, false, "A02X", "2", 2},
            {0, 9999, false, "A20271", "2027", 2027}, {0, 9999, false, "A12-", "12", 12},
            {0, 9999, false, "A12H5-", "512", 512},   {0, 9999, false, "A1a2,b", "12", 12},
            {0, 9999, false, "A12VCRT3", "123", 123}, {0, 9999, false, "A42XA-", "-", 42},
            {0, 9999, false, "A42XA-X", "42", 42},
            // Other bounds; bounds the wrong way round still end within them.
            {0, 500, false, "A600", "500", 500},      {10, 99, false, "A5", "10", 10},
            {10, 99, false, "AB", "10", 10},          {10, 99, true, "AB", "", 0},
            {10, 99, true, "ABX", "10", 10},          {-50, 50, false, "A-99", "-50", -50},
            {-50, 50, false, "A-0X", "0", 0},         {50, 10, false, "A30", "50", 50},
        };
        for (const auto& f : faelle) {
            auto* z = new teditzahl(form);
            z->setMaximum(f.maximum);
            z->setMinimum(f.minimum);
            z->setLeer(f.leer);
            z->setMaxLength(4);
            z->setText(QString::number(std::min(f.minimum, f.maximum)));
            QStringList gesehen;
            connect(z, &teditzahl::geaendert, this, [&] { gesehen << z->text(); });
            tippen(z, f.tasten);
            QVERIFY2(z->text() == f.text && z->wert() == f.wert, qPrintable(f.tasten + (" -> " + z->text())));
            // The form only ever sees a text within the bounds, or a lone minus.
            for (const QString& t : gesehen) {
                bool zahl = false;
                const int v = t.toInt(&zahl);
                QVERIFY2(t == "-" || (t.isEmpty() && f.leer) ||
                             (zahl && v >= std::min(f.minimum, f.maximum) && v <= std::max(f.minimum, f.maximum)),
                         qPrintable(f.tasten + (": " + t)));
            }
            delete z;
        }
    }

    // What the context menu's paste does: into a number field 0..500 holding
    // "12" (art 0), or a one-sign field holding "0" without (1) or with "#" (2).
    void eingefuegt() {
        struct {
            int art;
            const char *eingefuegt, *text;
            int piepser;
        } const faelle[] = {
            {0, " 42 ", "42", 0}, {0, "7x", "12", 1}, {0, "--5", "12", 1}, {0, "\r\n", "12", 1},
            {0, "99999999999999999999999", "500", 0}, {0, "-99999999999999999999999", "0", 0},
            {1, "x", "", 1},      {1, "#", "", 1},    {2, "#", "#", 0},
        };
        for (const auto& e : faelle) {
            QLineEdit* f = e.art == 0 ? static_cast<QLineEdit*>(new teditzahl(form)) : new teditnummer(form);
            if (auto* z = qobject_cast<teditzahl*>(f)) z->setMaximum(500), z->setMaxLength(30), z->setText("12");
            if (auto* n = qobject_cast<teditnummer*>(f)) n->setMit(e.art == 2), n->setMaxLength(1), n->setText("0");
            tippen(f, "A");
            const int vorher = nux::piepszahl();
            f->insert(e.eingefuegt);
            QVERIFY2(f->text() == e.text && nux::piepszahl() - vorher == e.piepser, e.eingefuegt);
            delete f;
        }
    }

    void nummer() {
        struct {
            bool mit;
            int laenge;
            const char *tasten, *text;
        } const faelle[] = {
            {false, 1, "A12", "1"}, {false, 1, "A#", "0"},     {true, 1, "A#", "#"},      {true, 2, "A1#", "1"},
            {false, 3, "A&(.", "&(."}, {false, 1, "Aa-x", "0"}, {false, 1, "AVRT", "0"}, {false, 1, "EB", ""},
        };
        for (const auto& f : faelle) {
            teditnummer n(form);
            n.setMit(f.mit);
            n.setMaxLength(f.laenge);
            n.setText("0");
            tippen(&n, f.tasten);
            QVERIFY2(n.text() == f.text, qPrintable(f.tasten + (" -> " + n.text())));
        }
    }
};

QTEST_MAIN(NewcompsTest)
#include "newcomps_test.moc"
