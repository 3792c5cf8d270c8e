
#include "app/befehlszeile.h"
#include "testhilfe.h"

class BefehlszeileTest : public QObject {
    Q_OBJECT

private slots:
    void aufrufe_data() {
        QTest::addColumn<QStringList>("argumente");
        QTest::addColumn<int>("status");  // -1: the run goes on to the windows
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("ordner");
        const auto f = [](const char* name, QStringList a, int status, const char* text, const char* ordner = "") {
            QTest::newRow(name) << a << status << QString::fromUtf8(text) << QString::fromUtf8(ordner);
        };
        f("ohne Optionen", {}, -1, "");
        f("Hilfe", {"--help"}, 0, "  --ordner ORDNER  Arbeitet im Programmordner ORDNER");
        f("Version", {"--version"}, 0, "nux 1.0");
        f("Ordner", {"--ordner", "/tmp"}, -1, "", "/tmp");
        f("Sicherungen", {"--sicherungen", "--ordner", "/tmp"}, -1, "", "/tmp");
        f("Qt-Optionen bleiben Qt", {"-platform", "offscreen", "-style=fusion", "-reverse"}, -1, "");
        f("unbekannt lang", {"--farbe"}, 2, "nux: Unbekannte Option „--farbe“.\n„nux --help“");
        f("unbekannt kurz, wie getippt", {"-x=1"}, 2, "Unbekannte Option „-x“.");
        f("Ordner ohne Wert", {"--ordner"}, 2, "Nach „--ordner“ fehlt ORDNER.");
        f("Ordner leer", {"--ordner="}, 2, "Der Wert von „--ordner“ ist leer.");
        f("Argument ohne Option", {"2026 1"}, 2, "Unerwartetes Argument „2026 1“.");
        f("Wert für einen Schalter", {"--help=ja"}, 2, "nux: Ungültiger Aufruf");
    }
    void aufrufe() {
        QFETCH(QStringList, argumente);
        QFETCH(int, status);
        QFETCH(QString, text);
        QFETCH(QString, ordner);
        nux::Befehlszeile b;
        const auto ende = b.lesen(QStringList{"nux"} + argumente);
        QCOMPARE(ende ? ende->status : -1, status);
        if (ende) {
            QVERIFY2(ende->text.contains(text), qPrintable(ende->text));
            return;
        }
        QCOMPARE(b.gesetzt("ordner"), !ordner.isEmpty());
        QCOMPARE(b.wert("ordner"), ordner);
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
