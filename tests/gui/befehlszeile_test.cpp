
#include "app/befehlszeile.h"
#include "storage/planung.h"
#include "testhilfe.h"

class BefehlszeileTest : public QObject {
    Q_OBJECT

private slots:
    void aufrufe() {
        // Status -1: the run goes on to the windows, with this folder if any.
        const struct { QStringList argumente; int status; QString text, ordner; } faelle[] = {
            {{}, -1, ""},
            {{"--help"}, 0, "  --ordner ORDNER    Arbeitet im Programmordner ORDNER"},
            {{"--version"}, 0, "nux 1.0"},
            {{"--sicherungen", "--ordner", "/tmp"}, -1, "", "/tmp"},
            {{"-platform", "offscreen", "-style=fusion", "-reverse"}, -1, ""},  // Qt's options stay Qt's
            {{"--farbe"}, 2, "nux: Unbekannte Option „--farbe“.\n„nux --help“"},
            {{"-x=1"}, 2, "Unbekannte Option „-x“."},  // named as typed
            {{"--ordner"}, 2, "Nach „--ordner“ fehlt ORDNER."},
            {{"--ordner="}, 2, "Der Wert von „--ordner“ ist leer."},
            {{"2026 1"}, 2, "Unerwartetes Argument „2026 1“."},
            {{"--help=ja"}, 2, "nux: Ungültiger Aufruf"},
            {{"--vergleich", "2026 1"}, 2, "„--vergleich“ braucht zwei Jahre"},
            {{"--vergleich", "2026 1", "2027 1"}, -1, ""},
            {{"--versetzen", "2026 1", "2027 1", "--oberstufe", "10"}, -1, ""},
            {{"--oberstufe", "10"}, 2, "„--oberstufe“ gilt nur zusammen mit „--versetzen“."},
        };
        for (const auto& f : faelle) {
            nux::Befehlszeile b;
            const auto ende = b.lesen(QStringList{"nux"} + f.argumente);
            QCOMPARE(ende ? ende->status : -1, f.status);
            if (ende) QVERIFY2(ende->text.contains(f.text), qPrintable(ende->text));
            else QVERIFY(b.gesetzt("ordner") == !f.ordner.isEmpty() && b.wert("ordner") == f.ordner);
        }
    }

    // Help and errors must work in a terminal without a desktop: nothing may
    // ask for a display before the command line is read.
    void ohneAnzeige() {
        for (const auto& [argument, status] : {std::pair{"--help", 0}, {"--version", 0}, {"--gibtsnicht", 2}}) {
            QProcess p;
            auto umgebung = QProcessEnvironment::systemEnvironment();
            umgebung.remove("DISPLAY");
            umgebung.remove("WAYLAND_DISPLAY");
            umgebung.insert("QT_QPA_PLATFORM", "xcb");
            p.setProcessEnvironment(umgebung);
            p.start(NUX_PROGRAMM, {argument});
            QVERIFY(p.waitForFinished(10000));
            QCOMPARE(p.exitCode(), status);
            QCOMPARE(p.readAllStandardOutput().isEmpty(), status != 0);
        }
    }

    // "--vergleich A B" and "--versetzen A B": 0, or a German reason and 2.
    void vergleich() {
        testhilfe::Programmordner ordner;
        for (const char* j : {"2026 1", "2027 1"}) QDir().mkdir(j);
        nux::neuschreiben<nux::Klassensatz>("2026 1/klassen", {{.name = "5a"}, {.name = "99z"}});
        const struct { QStringList argumente; int status; QString fehler; } faelle[] = {
            {{"--vergleich", "2026 1", "2027 1", "--export", "v.xlsx"}, 0, ""},
            {{"--vergleich", "2026 1", "2026 1"}, 2, "nux: Ein Jahr wird mit sich selbst verglichen"},
            {{"--vergleich", "2026 1", "2028 1"}, 2, "nux: „2028 1“ ist kein Jahresordner"},
            {{"--versetzen", "2026 1", "2027 1"}, 0, ""},
            {{"--versetzen", "2026 1", "2027 1", "--oberstufe", "100"}, 2, "nux: Die Klasse „99z“ würde „100z“"},
        };
        for (const auto& f : faelle) {
            QProcess p;
            p.start(NUX_PROGRAMM, f.argumente);
            QVERIFY(p.waitForFinished(10000));
            QCOMPARE(p.exitCode(), f.status);
            const QString fehler = QString::fromLocal8Bit(p.readAllStandardError());
            QVERIFY2(f.fehler.isEmpty() ? fehler.isEmpty() : fehler.startsWith(f.fehler), qPrintable(fehler));
        }
        QVERIFY(QFileInfo("v.xlsx").size() > 0);
        QCOMPARE(nux::laden<nux::Klassensatz>("2027 1/klassen").size(), std::size_t(2));  // 6a and the new 5a
    }

    // What the assignment window's Panel6 reports, in the terminal; the
    // status says whether every open hour can be covered.
    void pruefung() {
        testhilfe::Programmordner ordner;
        testhilfe::kleineschule();
        nux::jahrsetzen("");
        const auto pruefen = [](const QStringList& argumente) {
            QProcess p;
            p.start(NUX_PROGRAMM, QStringList{"--pruefung"} + argumente);
            p.waitForFinished(10000);
            return QString::number(p.exitCode()) + " " + QString::fromLocal8Bit(p.readAllStandardOutput() + p.readAllStandardError());
        };
        QCOMPARE(pruefen({"--jahr", "2026 1"}), QString("1 Prüfung 2026-1: 8,5 offene Stunden, aber noch keine Befähigungen "
                                                        "eingetragen (\"Wer unterrichtet was\", dort \"aus der Verteilung übernehmen\").\n"));
        nux::Befaehigungen b;
        b.setzen("AnnA", "D", nux::Stufe::wunsch);
        b.setzen("Ra", "D", nux::Stufe::befaehigt);
        nux::befaehigungenspeichern("2026 1", b);
        QCOMPARE(pruefen({"--jahr", "2026 1"}), QString("1 Prüfung 2026-1: von 8,5 offenen Stunden lassen sich höchstens 4,0 "
                                                        "mit befähigten LehrerInnen besetzen.\n  Mathematik: 4,5 Stunden "
                                                        "fehlen, keine befähigte Lehrkraft frei\n"));
        b.setzen("Ra", "M", nux::Stufe::befaehigt);
        nux::befaehigungenspeichern("2026 1", b);
        QVERIFY(pruefen({"--jahr", "2026 1"}).startsWith("0 Prüfung 2026-1: alle 8,5 offenen Stunden"));
        QCOMPARE(pruefen({"--jahr", "2027 1"}), QString("2 nux: Das Jahr \"2027 1\" gibt es in diesem Programmordner nicht.\n"));
    }

    // The proposal in the terminal and as a workbook; no file of the year changes.
    void vorschlag() {
        testhilfe::Programmordner ordner;
        testhilfe::kleineschule();
        nux::jahrsetzen("");
        const auto vorschlagen = [](const QStringList& argumente) {
            QProcess p;
            p.start(NUX_PROGRAMM, QStringList{"--vorschlag", "--jahr", "2026 1"} + argumente);
            p.waitForFinished(20000);
            return QString::number(p.exitCode()) + " " + QString::fromLocal8Bit(p.readAllStandardOutput() + p.readAllStandardError());
        };
        QVERIFY(vorschlagen({}).startsWith("2 nux: Es ist noch nicht erfasst, wer was unterrichten kann."));
        nux::Befaehigungen b;
        b.setzen("AnnA", "D", nux::Stufe::befaehigt);
        b.setzen("AnnA", "M", nux::Stufe::befaehigt);
        nux::befaehigungenspeichern("2026 1", b);
        const auto vorher = QDir("2026 1").entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
        const auto klassen = testhilfe::bytes("2026 1/klassen");
        const QString text = vorschlagen({"--export", "v.xlsx"});
        QVERIFY2(text.startsWith("0 3 Unterrichte vorgeschlagen, 0 bleiben offen;"), qPrintable(text));
        QVERIFY(text.contains("offene Stunden                     8,5      0,0      0,0"));
        QFile mappe("v.xlsx");
        QVERIFY(mappe.open(QIODevice::ReadOnly));
        QCOMPARE(mappe.read(2), QByteArray("PK"));
        QCOMPARE(QDir("2026 1").entryList(QDir::AllEntries | QDir::NoDotAndDotDot), vorher);
        QCOMPARE(testhilfe::bytes("2026 1/klassen"), klassen);
        QVERIFY(vorschlagen({}).startsWith("0 3 Unterrichte"));
        QCOMPARE(vorschlagen({"--jahr", "2027 1"}), QString("2 nux: Das Jahr \"2027 1\" gibt es in diesem Programmordner nicht.\n"));
    }

    void ordnerbetreten() {
        testhilfe::Programmordner ordner;
        QDir().mkdir("jahr");
        QFile("datei").open(QIODevice::WriteOnly);
        QCOMPARE(nux::ordnerbetreten("datei")->text, QString("nux: „datei“ ist kein Ordner.\n"));
        QCOMPARE(nux::ordnerbetreten("fehlt")->status, 1);
        QVERIFY(!nux::ordnerbetreten("jahr"));
        QCOMPARE(QDir::currentPath(), ordner.pfad() + "/jahr");
    }

    void qtSprichtDeutsch() {
        QVERIFY(nux::deutschladen());
        QMessageBox box;
        box.setStandardButtons(QMessageBox::Cancel);
        QCOMPARE(box.button(QMessageBox::Cancel)->text(), QString("Abbrechen"));
    }
};

QTEST_MAIN(BefehlszeileTest)
#include "befehlszeile_test.moc"
